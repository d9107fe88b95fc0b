#include "activex/com_host.h"

#include <olectl.h>

#include <vector>

#include "activex/com_font.h"
#include "activex/control_identity.h"
#include "activex/dispatch_calls.h"
#include "activex/error_info.h"
#include "caption/number_format.h"
#include "caption/user_number_locale.h"

namespace vantiq::activex {

namespace {

DISPID IdOfName(IDispatch* object, const wchar_t* name) {
  DISPID dispid = DISPID_UNKNOWN;
  ThrowIfFailed(PropertyId(object, name, dispid));
  return dispid;
}

}  // namespace

int ComHost::ScaleWidth() {
  RECT rc{};
  if (!window_ || !GetClientRect(window_, &rc)) return 0;
  return rc.right - rc.left;
}

int ComHost::ScaleHeight() {
  RECT rc{};
  if (!window_ || !GetClientRect(window_, &rc)) return 0;
  return rc.bottom - rc.top;
}

void ComHost::SetBaseEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled ? TRUE : FALSE);
}

SIZE ComHost::MeasureText(const std::u16string& text) {
  SIZE size{};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return size;
  // The OLE font keeps its HFONT; without one the system font measures.
  HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  if (auto* com = dynamic_cast<ComFont*>(font_.get())) {
    HFONT own = nullptr;
    if (SUCCEEDED(com->Font()->get_hFont(&own)) && own) font = own;
  }
  HGDIOBJ old = SelectObject(dc, font);
  if (text.empty()) {
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) size.cy = metrics.tmHeight;
  } else {
    GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

int ComHost::TextWidth(const std::u16string& text) { return MeasureText(text).cx; }

int ComHost::TextHeight(const std::u16string& text) { return MeasureText(text).cy; }

FontRef ComHost::CreateStandardFont() { return ComFont::CreateStandard(); }

std::optional<bool> ComHost::AmbientBool(DISPID dispid) {
  if (!ambient_) return std::nullopt;
  VARIANT result;
  VariantInit(&result);
  std::optional<bool> answer;
  if (SUCCEEDED(InvokeProperty(ambient_.Get(), dispid, DISPATCH_PROPERTYGET, nullptr, &result)) &&
      SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BOOL)))
    answer = V_BOOL(&result) != VARIANT_FALSE;
  VariantClear(&result);
  return answer;
}

bool ComHost::AmbientUserMode() {
  if (!userMode_) userMode_ = AmbientBool(DISPID_AMBIENT_USERMODE).value_or(true);
  return *userMode_;
}

void ComHost::AmbientChanged(DISPID dispid) {
  if (dispid == DISPID_AMBIENT_USERMODE || dispid == DISPID_UNKNOWN) userMode_.reset();
}

bool ComHost::AmbientRightToLeft() {
  const std::optional<bool> answer = AmbientBool(DISPID_AMBIENT_RIGHTTOLEFT);
  if (!answer) throw RuntimeError(kErrClientSiteNotAvailable);
  return *answer;
}

std::u16string ComHost::ExtenderToolTipText() {
  if (!extender_) throw RuntimeError(kErrClientSiteNotAvailable);
  const DISPID dispid = IdOfName(extender_.Get(), L"ToolTipText");
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = InvokeProperty(extender_.Get(), dispid, DISPATCH_PROPERTYGET, nullptr, &result);
  if (SUCCEEDED(hr)) hr = VariantChangeType(&result, &result, 0, VT_BSTR);
  std::u16string text = SUCCEEDED(hr) ? FromBstr(V_BSTR(&result)) : std::u16string();
  VariantClear(&result);
  ThrowIfFailed(hr);
  return text;
}

void ComHost::SetExtenderToolTipText(const std::u16string& text) {
  if (!extender_) throw RuntimeError(kErrClientSiteNotAvailable);
  const DISPID dispid = IdOfName(extender_.Get(), L"ToolTipText");
  Bstr value(text);
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_BSTR;
  V_BSTR(&arg) = value.Get();
  ThrowIfFailed(InvokeProperty(extender_.Get(), dispid, DISPATCH_PROPERTYPUT, &arg, nullptr));
}

void ComHost::FormatNumber(double value, const std::u16string& pattern, std::u16string& out) {
  // Read on every call: the user may change the regional settings while the control lives.
  UserNumberLocale(locale_);
  numbers_.Format(value, pattern, locale_, out);
}

void ComHost::PropertyChanged(const std::u16string& name) {
  if (link_) link_->OnPropertyChanged(name);
}

void ComHost::CaptionShown(const std::u16string& text) {
  if (text == shownCaption_) return;
  shownCaption_ = text;
  if (window_) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

void ComHost::RaiseProgressTextCallBack(double& value, double& min, double& max,
                                        std::u16string& text) {
  if (!link_) return;
  Bstr callBackText(text);
  // Dispatch arguments travel last to first.
  VARIANTARG args[4];
  for (VARIANTARG& arg : args) VariantInit(&arg);
  V_VT(&args[3]) = VT_R8 | VT_BYREF;
  V_R8REF(&args[3]) = &value;
  V_VT(&args[2]) = VT_R8 | VT_BYREF;
  V_R8REF(&args[2]) = &min;
  V_VT(&args[1]) = VT_R8 | VT_BYREF;
  V_R8REF(&args[1]) = &max;
  V_VT(&args[0]) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&args[0]) = callBackText.Slot();
  DISPPARAMS params{args, nullptr, 4, 0};
  link_->FireEvent(1, params);
  text = FromBstr(callBackText.Get());
}

void ComHost::RaiseClick() {
  if (!link_) return;
  DISPPARAMS params{};
  link_->FireEvent(2, params);
}

void ComHost::RaiseMouse(DISPID dispid, std::int16_t& button, std::int16_t& shift, float& x,
                         float& y) {
  if (!link_) return;
  VARIANTARG args[4];
  for (VARIANTARG& arg : args) VariantInit(&arg);
  V_VT(&args[3]) = VT_I2 | VT_BYREF;
  V_I2REF(&args[3]) = &button;
  V_VT(&args[2]) = VT_I2 | VT_BYREF;
  V_I2REF(&args[2]) = &shift;
  V_VT(&args[1]) = VT_R4 | VT_BYREF;
  V_R4REF(&args[1]) = &x;
  V_VT(&args[0]) = VT_R4 | VT_BYREF;
  V_R4REF(&args[0]) = &y;
  DISPPARAMS params{args, nullptr, 4, 0};
  link_->FireEvent(dispid, params);
}

void ComHost::RaiseMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  RaiseMouse(3, button, shift, x, y);
}

void ComHost::RaiseMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  RaiseMouse(4, button, shift, x, y);
}

void ComHost::RaiseMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  RaiseMouse(5, button, shift, x, y);
}

}  // namespace vantiq::activex
