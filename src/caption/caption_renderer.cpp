#include "caption/caption_renderer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "caption/compose_caption.h"
#include "caption/dib_shadow.h"
#include "caption/font_conversion.h"
#include "control/vantiq.h"
#include "imaging/dib.h"
#include "platform/mod_version_ex.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

// The caption rectangle and DrawText alignment for a horizontal caption. A stored
// alignment the control does not know is reset to centred.
std::uint32_t HorizontalLayout(Properties& p, Rect& r) {
  const bool rtl = p.m_bRightToLeft;
  switch (p.m_lTextAlignment) {
    case ePbTextAlignLeft:
      if (rtl) { r.right -= kCaptionRightInset; return kDtRight; }
      r.left += kCaptionLeftInset;
      return kDtLeft;
    case ePbTextAlignRight:
      if (rtl) { r.left += kCaptionLeftInset; return kDtLeft; }
      r.right -= kCaptionRightInset;
      return kDtRight;
    case ePbTextAlignCenter:
      return kDtCenter;
    default:
      p.m_lTextAlignment = ePbTextAlignCenter;
      return kDtCenter;
  }
}

// round() of single-precision pixels, ties to even.
int RoundPixels(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void CaptionRenderer::CheckShadowAvailable() {
  Properties& p = control_.props();
  Platform& platform = control_.platform();
  const bool vertical = p.m_lOrientation == eProgressBarOrientationVertical;
  if (modVersionEx::IsWin98SE(platform) || (modVersionEx::IsWinME(platform) && vertical) ||
      !control_.paint().m_bMsimg32)
    p.m_bShadow = false;
}

void CaptionRenderer::DrawCaption(bool bInFill) {
  Properties& p = control_.props();
  PaintState& paint = control_.paint();
  Platform& platform = control_.platform();
  if (!p.m_bShowCaption || !paint.m_hDC) return;
  Surface& dc = *paint.m_hDC;
  const Rect& client = paint.m_rcClient;

  CheckShadowAvailable();
  // The shadow's settings are taken before the text is composed: what a caption
  // handler changes shows from the next pass on.
  struct ShadowSettings {
    ColorRef color;
    std::int32_t intensity;
  };
  std::optional<ShadowSettings> shadowSettings;
  if (p.m_bShadow)
    shadowSettings = ShadowSettings{
        control_.TranslateColor(bInFill ? p.m_lAlternateShadowColor : p.m_lShadowColor), p.m_lShadowIntensity};
  const std::u16string text = ComposeCaption(control_);

  m_oCaptionFont = p.m_oFnt;
  if (!m_oCaptionFont) return;
  // Only a change is written: every write to the font object notifies its sinks.
  const FontRef baseFont = control_.host().BaseFont();
  if (baseFont && baseFont->Bold() && !m_oCaptionFont->Bold()) m_oCaptionFont->SetBold(true);

  const bool vertical = p.m_lOrientation == eProgressBarOrientationVertical;
  const LogFont horizontalFont = CaptionLogFont(*m_oCaptionFont, dc.LogPixelsY());
  LogFont font = horizontalFont;
  if (vertical) {
    font = modFontConversion::FontToLogFont(*m_oCaptionFont, &dc, false, platform);
    font.lfEscapement = kVerticalEscapement;
  }
  const ColorRef color = bInFill ? AlternateTextColor() : control_.TranslateColor(p.m_lForeColor);

  Rect r = client;
  std::uint32_t flags = kDtVCenter | kDtSingleLine;
  if (vertical) {
    // Laid out as if horizontal, so that the upward run starts low enough to be
    // centred along the bar and across it.
    const TextExtent extent = dc.MeasureText(text, horizontalFont);
    r.left = client.left + (client.right - client.left) / 2 - RoundPixels(extent.cy) / 2;
    r.bottom = RoundPixels(static_cast<double>(client.bottom) + extent.cx);
  } else {
    flags |= HorizontalLayout(p, r);
  }

  const bool unicode = modVersionEx::IsWinNT(platform);
  const std::string ansi = unicode ? std::string() : platform.WideCharToMultiByte(platform.GetACP(), text);
  const auto draw = [&](Surface& target, const Rect& rect, ColorRef textColor) {
    if (unicode)
      target.DrawTextLine(text, rect, flags, font, textColor);
    else
      target.DrawTextLineAnsi(ansi, rect, flags, font, textColor);
  };

  // A handler that turned Shadow off drops this pass's shadow; one that turned it on
  // finds none prepared, and the next pass draws it.
  if (shadowSettings && p.m_bShadow) {
    // The shape of the text in grey on black, blurred and blended under it at (-5, -5),
    // as wide as the caption rectangle allows.
    const auto [first, last] = vertical || !cropShadow_
                                   ? std::pair<int, int>(0, client.right - client.left)
                                   : InkColumns(dc, text, r, flags, font);
    auto shape = std::make_shared<CDib32>(platform);
    shape->Create(last - first, client.bottom - client.top);
    CDibShadow shadow(platform);
    shadow.SetColor(shadowSettings->color);
    shadow.SetOffsetX(3);
    shadow.SetRadius(3);
    shadow.SetIntensity(shadowSettings->intensity);
    shadow.SetExpand(true);
    // A cropped picture's corner may be ink; the client-sized one's is always blank.
    if (first != 0) shadow.SetTransparentColor(0);
    if (Surface* surface = shape->DC())
      draw(*surface, {r.left - first, r.top, r.right - first, r.bottom}, kShadowTextColor);
    shadow.SetSource(shape);
    shadow.Render(false);
    // Where a client-sized picture would end; a cropped one is transparent beyond its
    // own width, and a blend must not read past it.
    const Rect& placed = vertical ? client : r;
    int width = placed.right - placed.left - first;
    if (first != 0 || last != client.right - client.left)
      width = std::min(width, shadow.Result() ? shadow.Result()->Width() : 0);
    if (width > 0)
      shadow.DrawTo(dc, first + kShadowPlacement, kShadowPlacement, width, placed.bottom - placed.top);
  }
  draw(dc, r, color);
}

std::pair<int, int> CaptionRenderer::InkColumns(Surface& dc, const std::u16string& text, const Rect& r,
                                                std::uint32_t flags, const LogFont& font) const {
  const int width = control_.paint().m_rcClient.right - control_.paint().m_rcClient.left;
  // Prefixes change the drawn width from the measured one: keep the whole width.
  if (text.find(u'&') != std::u16string::npos) return {0, width};
  const TextExtent extent = dc.MeasureText(text, font);
  const std::int64_t start = (flags & kDtCenter)  ? (std::int64_t{r.left} + r.right - extent.cx) / 2
                             : (flags & kDtRight) ? std::int64_t{r.right} - extent.cx
                                                  : r.left;
  // A text height either side holds any overhang of italic or wide glyphs.
  const std::int64_t first = std::max<std::int64_t>({0, r.left, start - extent.cy});
  const std::int64_t last = std::min<std::int64_t>({width, r.right, start + extent.cx + extent.cy});
  if (last <= first) return {0, 1};
  return {static_cast<int>(first), static_cast<int>(last)};
}

ColorRef CaptionRenderer::AlternateTextColor() const {
  const Properties& p = control_.props();
  const PaintState& paint = control_.paint();
  const bool xpBlueFill = (p.m_lStyle == eProgSystem && paint.m_bThemesActive) ||
                          (p.m_lStyle == eProgXP && p.m_lProgressColor == kAutoColor);
  const bool lunaScheme = LunaSchemeColor(paint.m_sThemeFile, paint.m_sColorName).has_value();
  if (p.m_lAlternateForeColor == kAutoTextColor && xpBlueFill && lunaScheme) return 0;
  return control_.TranslateColor(p.m_lAlternateForeColor);
}

}  // namespace vantiq
