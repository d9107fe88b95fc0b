// The property accessors: validation, clamping, change notification and redraw.
#include <cmath>

#include "control/vantiq.h"

namespace vantiq {

void Vantiq::Changed(const std::u16string& name) {
  host_.PropertyChanged(name);
  paint_.m_bRedraw = true;
  Redraw();
}

void Vantiq::SetTextAlignment(std::int32_t value) {
  if (value < ePbTextAlignLeft || value > ePbTextAlignCenter) return;
  props_.m_lTextAlignment = value;
  IgnoreErrors([&] { host_.PropertyChanged(u"TextAlignment"); });
  paint_.m_bRedraw = true;
  Redraw();
}

void Vantiq::SetFont(const FontRef& font) {
  // A script may pass Nothing: the control keeps drawing with the font it has.
  if (!font) return;
  if (props_.m_oFnt != font) {
    if (props_.m_oFnt) props_.m_oFnt->Unadvise(this);
    props_.m_oFnt = font;
    font->Advise(this);
  }
  host_.SetBaseFont(font);
  Changed(u"Font");
}

void Vantiq::OnFontChanged(const std::u16string& /*attribute*/) {
  host_.PropertyChanged(u"Font");
  Redraw();
}

std::int32_t Vantiq::Hwnd() {
  if (!host_.AmbientUserMode()) throw RuntimeError(kErrSetNotPermitted);
  return static_cast<std::int32_t>(props_.m_lHwnd);
}

void Vantiq::SetHwnd(std::int32_t /*value*/) { throw RuntimeError(kErrSetNotPermitted); }

void Vantiq::SetMin(double value) {
  props_.m_dMin = value;
  if (!(props_.m_dValue >= value)) props_.m_dValue = value;
  Changed(u"Min");
}

void Vantiq::SetMax(double value) {
  props_.m_dMax = value;
  if (props_.m_dValue > value) props_.m_dValue = value;
  Changed(u"Max");
}

void Vantiq::SetValue(double value) {
  if (!(value >= props_.m_dMin))
    props_.m_dValue = props_.m_dMin;
  else if (value > props_.m_dMax)
    props_.m_dValue = props_.m_dMax;
  else
    props_.m_dValue = value;
  Changed(u"Value");
}

PictureRef Vantiq::MouseIcon() { return host_.BaseMouseIcon(); }

void Vantiq::SetMouseIcon(const PictureRef& icon) {
  IgnoreErrors([&] { host_.SetBaseMouseIcon(icon); });
  paint_.m_bRedraw = true;
  IgnoreErrors([&] { host_.PropertyChanged(u"MouseIcon"); });
}

std::int32_t Vantiq::MousePointer() { return host_.BaseMousePointer(); }

void Vantiq::SetMousePointer(std::int32_t value) {
  IgnoreErrors([&] { host_.SetBaseMousePointer(static_cast<std::int16_t>(value & 0xFFFF)); });
  paint_.m_bRedraw = true;
  IgnoreErrors([&] { host_.PropertyChanged(u"MousePointer"); });
}

bool Vantiq::Enabled() { return host_.BaseEnabled(); }

void Vantiq::SetEnabled(bool value) {
  host_.SetBaseEnabled(value);
  Changed(u"Enabled");
}

void Vantiq::SetOrientation(std::int32_t value) {
  props_.m_lOrientation = value;
  Changed(u"Orientation");
}

void Vantiq::SetScrolling(std::int32_t value) {
  props_.m_lScrolling = value;
  Changed(u"Scrolling");
}

void Vantiq::SetShowCaption(bool value) {
  props_.m_bShowCaption = value;
  Changed(u"ShowCaption");
}

void Vantiq::SetSearchCaption(const std::u16string& value) {
  props_.m_sSearchCaption = value;
  Changed(u"SearchCaption");
}

void Vantiq::SetPercentFormat(const std::u16string& value) {
  std::u16string stripped;
  stripped.reserve(value.size());
  for (char16_t c : value)
    if (c != u'%') stripped.push_back(c);
  props_.m_sPercentFormat = std::move(stripped);
  Changed(u"PercentFormat");
}

void Vantiq::SetCaption(const std::u16string& value) {
  props_.m_sCaption = value;
  Changed(u"Caption");
}

void Vantiq::SetShadow(bool value) {
  props_.m_bShadow = value;
  Changed(u"Shadow");
}

void Vantiq::SetShadowIntensity(std::int32_t value) {
  props_.m_lShadowIntensity = value < 0 ? 0 : (value > 255 ? 255 : value);
  Changed(u"ShadowIntensity");
}

void Vantiq::SetStyle(std::int32_t value) {
  props_.m_lStyle = value;
  paint_.m_bRegionDirty = true;
  RefreshThemeIdentity();
  Changed(u"Style");
}

void Vantiq::SetForeColor(OleColor value) {
  props_.m_lForeColor = value;
  Changed(u"ForeColor");
}

void Vantiq::SetBackColor(OleColor value) {
  props_.m_lBackColor = value;
  Changed(u"BackColor");
}

void Vantiq::SetShadowColor(OleColor value) {
  props_.m_lShadowColor = value;
  Changed(u"ShadowColor");
}

void Vantiq::SetSegmentBorderColor(OleColor value) {
  props_.m_lSegmentBorderColor = value;
  Changed(u"SegmentBorderColor");
}

void Vantiq::SetRightToLeft(bool value) {
  props_.m_bRightToLeft = value;
  Changed(u"RightToLeft");
}

void Vantiq::SetProgressColor(OleColor value) {
  props_.m_lProgressColor = value;
  Changed(u"ProgressColor");
}

void Vantiq::SetSegmentBorders(bool value) {
  props_.m_bSegmentBorders = value;
  Changed(u"SegmentBorders");
}

void Vantiq::SetCaptionCallBack(bool value) {
  props_.m_bCaptionCallBack = value;
  Changed(u"CaptionCallBack");
}

void Vantiq::SetProgressPicture(const PictureRef& picture) {
  props_.m_oProgressPicture = picture;
  // The same picture set again may show new content: a kept fill is drawn afresh.
  if (renderers_) renderers_->ForgetBackdrop();
  Changed(u"ProgressPicture");
}

void Vantiq::SetBackgroundPicture(const PictureRef& picture) {
  props_.m_oBackgroundPicture = picture;
  // The same picture set again may show new content: the kept backdrop is drawn afresh.
  if (renderers_) renderers_->ForgetBackdrop();
  Changed(u"BackgroundPicture");
}

void Vantiq::SetAlternateForeColor(OleColor value) {
  ColorRef rgb = 0;
  const HResult hr = platform_.OleTranslateColor(value, rgb);
  if (hr < 0) throw RuntimeError::FromHResult(hr);
  props_.m_lAlternateForeColor = rgb;
  Changed(u"AlternateForeColor");
}

void Vantiq::SetAlternateShadowColor(OleColor value) {
  props_.m_lAlternateShadowColor = value;
  Changed(u"AlternateShadowColor");
}

}  // namespace vantiq
