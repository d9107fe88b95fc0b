// _Vantiq: each property accessor hands its value across the COM edge (VARIANT_BOOL,
// BSTR, font and picture objects) to the core control and reports what it throws.
#include <utility>

#include "activex/com_font.h"
#include "activex/com_picture.h"
#include "activex/control_object.h"
#include "activex/error_info.h"

namespace vantiq::activex {

namespace {

VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

bool FromVariantBool(VARIANT_BOOL value) { return value != VARIANT_FALSE; }

// A getter: clears the out value, then stores what `read` returns.
template <typename Out, typename Read>
HRESULT Get(Out* out, Read&& read) {
  if (!out) return E_POINTER;
  *out = Out{};
  return Guarded(IID__Vantiq, [&] { *out = read(); });
}

// A setter: the core redraws at once, and the redraw may raise events.
template <typename Write>
HRESULT Put(IUnknown* self, Write&& write) {
  KeepAlive hold(self);
  return Guarded(IID__Vantiq, std::forward<Write>(write));
}

HRESULT GetText(BSTR* out, const std::u16string& text) {
  if (!out) return E_POINTER;
  *out = Bstr(text).Detach();
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

STDMETHODIMP ControlObject::get_TextAlignment(::eProgressBarTextAlign* eAlign) {
  return Get(eAlign,
             [&] { return static_cast<::eProgressBarTextAlign>(control_.TextAlignment()); });
}

STDMETHODIMP ControlObject::put_TextAlignment(::eProgressBarTextAlign eAlign) {
  return Put(outer_, [&] { control_.SetTextAlignment(eAlign); });
}

STDMETHODIMP ControlObject::get_Font(IFontDisp** oFnt) {
  return Get(oFnt, [&] { return FontDispOf(control_.Font()).Detach(); });
}

STDMETHODIMP ControlObject::putref_Font(IFontDisp* oFnt) {
  return Put(outer_, [&] { control_.SetFont(ComFont::WrapOrKeep(oFnt, control_.Font())); });
}

// Assigning a font object without Set behaves as with it.
STDMETHODIMP ControlObject::put_Font(IFontDisp* oFnt) { return putref_Font(oFnt); }

STDMETHODIMP ControlObject::get_hwnd(LONG* lHwnd) {
  return Get(lHwnd, [&] { return static_cast<LONG>(control_.Hwnd()); });
}

STDMETHODIMP ControlObject::put_hwnd(LONG lHwnd) {
  return Put(outer_, [&] { control_.SetHwnd(lHwnd); });
}

STDMETHODIMP ControlObject::get_Min(double* dMin) {
  return Get(dMin, [&] { return control_.Min(); });
}

STDMETHODIMP ControlObject::put_Min(double dMin) {
  return Put(outer_, [&] { control_.SetMin(dMin); });
}

STDMETHODIMP ControlObject::get_Max(double* dMax) {
  return Get(dMax, [&] { return control_.Max(); });
}

STDMETHODIMP ControlObject::put_Max(double dMax) {
  return Put(outer_, [&] { control_.SetMax(dMax); });
}

STDMETHODIMP ControlObject::get_MouseIcon(IPictureDisp** oIcon) {
  return Get(oIcon, [&] { return PictureDispOf(control_.MouseIcon()).Detach(); });
}

STDMETHODIMP ControlObject::putref_MouseIcon(IPictureDisp* oIcon) {
  return Put(outer_, [&] { control_.SetMouseIcon(ComPicture::Wrap(oIcon)); });
}

STDMETHODIMP ControlObject::get_MousePointer(::eMousePointer* ePointer) {
  return Get(ePointer, [&] { return static_cast<::eMousePointer>(control_.MousePointer()); });
}

STDMETHODIMP ControlObject::put_MousePointer(::eMousePointer ePointer) {
  return Put(outer_, [&] { control_.SetMousePointer(ePointer); });
}

STDMETHODIMP ControlObject::get_Orientation(::eProgressBarOrientation* eOrientation) {
  return Get(eOrientation,
             [&] { return static_cast<::eProgressBarOrientation>(control_.Orientation()); });
}

STDMETHODIMP ControlObject::put_Orientation(::eProgressBarOrientation eOrientation) {
  return Put(outer_, [&] { control_.SetOrientation(eOrientation); });
}

STDMETHODIMP ControlObject::get_Enabled(VARIANT_BOOL* bEnabled) {
  return Get(bEnabled, [&] { return ToVariantBool(control_.Enabled()); });
}

STDMETHODIMP ControlObject::put_Enabled(VARIANT_BOOL bEnabled) {
  return Put(outer_, [&] { control_.SetEnabled(FromVariantBool(bEnabled)); });
}

STDMETHODIMP ControlObject::get_Scrolling(::eProgressBarScroll* eScroll) {
  return Get(eScroll, [&] { return static_cast<::eProgressBarScroll>(control_.Scrolling()); });
}

STDMETHODIMP ControlObject::put_Scrolling(::eProgressBarScroll eScroll) {
  return Put(outer_, [&] { control_.SetScrolling(eScroll); });
}

STDMETHODIMP ControlObject::get_ShowCaption(VARIANT_BOOL* bShowCaption) {
  return Get(bShowCaption, [&] { return ToVariantBool(control_.ShowCaption()); });
}

STDMETHODIMP ControlObject::put_ShowCaption(VARIANT_BOOL bShowCaption) {
  return Put(outer_, [&] { control_.SetShowCaption(FromVariantBool(bShowCaption)); });
}

STDMETHODIMP ControlObject::get_SearchCaption(BSTR* sSearchCaption) {
  return GetText(sSearchCaption, control_.SearchCaption());
}

STDMETHODIMP ControlObject::put_SearchCaption(BSTR sSearchCaption) {
  return Put(outer_, [&] { control_.SetSearchCaption(FromBstr(sSearchCaption)); });
}

STDMETHODIMP ControlObject::get_PercentFormat(BSTR* sFormat) {
  return GetText(sFormat, control_.PercentFormat());
}

STDMETHODIMP ControlObject::put_PercentFormat(BSTR sFormat) {
  return Put(outer_, [&] { control_.SetPercentFormat(FromBstr(sFormat)); });
}

STDMETHODIMP ControlObject::get_Caption(BSTR* sCaption) {
  return GetText(sCaption, control_.Caption());
}

STDMETHODIMP ControlObject::put_Caption(BSTR sCaption) {
  return Put(outer_, [&] { control_.SetCaption(FromBstr(sCaption)); });
}

STDMETHODIMP ControlObject::get_Shadow(VARIANT_BOOL* bShadow) {
  return Get(bShadow, [&] { return ToVariantBool(control_.Shadow()); });
}

STDMETHODIMP ControlObject::put_Shadow(VARIANT_BOOL bShadow) {
  return Put(outer_, [&] { control_.SetShadow(FromVariantBool(bShadow)); });
}

STDMETHODIMP ControlObject::get_ShadowIntensity(LONG* lIntensity) {
  return Get(lIntensity, [&] { return static_cast<LONG>(control_.ShadowIntensity()); });
}

STDMETHODIMP ControlObject::put_ShadowIntensity(LONG lIntensity) {
  return Put(outer_, [&] { control_.SetShadowIntensity(lIntensity); });
}

STDMETHODIMP ControlObject::get_value(double* dValue) {
  return Get(dValue, [&] { return control_.Value(); });
}

STDMETHODIMP ControlObject::put_value(double dValue) {
  return Put(outer_, [&] { control_.SetValue(dValue); });
}

STDMETHODIMP ControlObject::get_style(::eProgressBarStyle* eStyle) {
  return Get(eStyle, [&] { return static_cast<::eProgressBarStyle>(control_.Style()); });
}

STDMETHODIMP ControlObject::put_style(::eProgressBarStyle eStyle) {
  return Put(outer_, [&] { control_.SetStyle(eStyle); });
}

STDMETHODIMP ControlObject::get_ForeColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.ForeColor()); });
}

STDMETHODIMP ControlObject::put_ForeColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetForeColor(lColor); });
}

STDMETHODIMP ControlObject::get_BackColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.BackColor()); });
}

STDMETHODIMP ControlObject::put_BackColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetBackColor(lColor); });
}

STDMETHODIMP ControlObject::get_ShadowColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.ShadowColor()); });
}

STDMETHODIMP ControlObject::put_ShadowColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetShadowColor(lColor); });
}

STDMETHODIMP ControlObject::get_SegmentBorderColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.SegmentBorderColor()); });
}

STDMETHODIMP ControlObject::put_SegmentBorderColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetSegmentBorderColor(lColor); });
}

STDMETHODIMP ControlObject::get_RightToLeft(VARIANT_BOOL* bRightToLeft) {
  return Get(bRightToLeft, [&] { return ToVariantBool(control_.RightToLeft()); });
}

STDMETHODIMP ControlObject::put_RightToLeft(VARIANT_BOOL bRightToLeft) {
  return Put(outer_, [&] { control_.SetRightToLeft(FromVariantBool(bRightToLeft)); });
}

STDMETHODIMP ControlObject::get_ProgressColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.ProgressColor()); });
}

STDMETHODIMP ControlObject::put_ProgressColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetProgressColor(lColor); });
}

STDMETHODIMP ControlObject::get_SegmentBorders(VARIANT_BOOL* bSegmentBorders) {
  return Get(bSegmentBorders, [&] { return ToVariantBool(control_.SegmentBorders()); });
}

STDMETHODIMP ControlObject::put_SegmentBorders(VARIANT_BOOL bSegmentBorders) {
  return Put(outer_, [&] { control_.SetSegmentBorders(FromVariantBool(bSegmentBorders)); });
}

STDMETHODIMP ControlObject::get_CaptionCallBack(VARIANT_BOOL* bCaptionCallBack) {
  return Get(bCaptionCallBack, [&] { return ToVariantBool(control_.CaptionCallBack()); });
}

STDMETHODIMP ControlObject::put_CaptionCallBack(VARIANT_BOOL bCaptionCallBack) {
  return Put(outer_, [&] { control_.SetCaptionCallBack(FromVariantBool(bCaptionCallBack)); });
}

STDMETHODIMP ControlObject::get_ProgressPicture(IPictureDisp** oPicture) {
  return Get(oPicture, [&] { return PictureDispOf(control_.ProgressPicture()).Detach(); });
}

STDMETHODIMP ControlObject::putref_ProgressPicture(IPictureDisp* oPicture) {
  return Put(outer_, [&] { control_.SetProgressPicture(ComPicture::Wrap(oPicture)); });
}

STDMETHODIMP ControlObject::get_BackgroundPicture(IPictureDisp** oPicture) {
  return Get(oPicture, [&] { return PictureDispOf(control_.BackgroundPicture()).Detach(); });
}

STDMETHODIMP ControlObject::putref_BackgroundPicture(IPictureDisp* oPicture) {
  return Put(outer_, [&] { control_.SetBackgroundPicture(ComPicture::Wrap(oPicture)); });
}

STDMETHODIMP ControlObject::get_AlternateForeColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.AlternateForeColor()); });
}

STDMETHODIMP ControlObject::put_AlternateForeColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetAlternateForeColor(lColor); });
}

STDMETHODIMP ControlObject::get_AlternateShadowColor(OLE_COLOR* lColor) {
  return Get(lColor, [&] { return static_cast<OLE_COLOR>(control_.AlternateShadowColor()); });
}

STDMETHODIMP ControlObject::put_AlternateShadowColor(OLE_COLOR lColor) {
  return Put(outer_, [&] { control_.SetAlternateShadowColor(lColor); });
}

}  // namespace vantiq::activex
