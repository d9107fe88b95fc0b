#include "activex/accessible_control.h"

#include <olectl.h>

#include <string>

// What the standard object answers, or the disconnected object's error.
#define VANTIQ_FORWARD(call)                     \
  do {                                           \
    if (!standard_) return CO_E_OBJNOTCONNECTED; \
    return standard_->call;                      \
  } while (0)

namespace vantiq::activex {

namespace {

BSTR NewBstr(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

// IAccessible's identifier comes from the header (__uuidof): MinGW's oleacc import library
// also defines an IID_IAccessible symbol, which is a jump stub rather than the GUID.
AccessibleControl* AccessibleControl::Create(HWND hwnd, ComHost& host, IUnknown* owner) {
  ComPtr<IAccessible> standard;
  if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(standard.Put()))))
    return nullptr;
  return new AccessibleControl(hwnd, host, owner, std::move(standard));
}

AccessibleControl::AccessibleControl(HWND hwnd, ComHost& host, IUnknown* owner,
                                     ComPtr<IAccessible> standard)
    : hwnd_(hwnd), host_(&host), owner_(owner), standard_(std::move(standard)) {}

void AccessibleControl::Disconnect() {
  hwnd_ = nullptr;
  host_ = nullptr;
  owner_ = nullptr;
  standard_.Reset();
}

STDMETHODIMP AccessibleControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleControl::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) AccessibleControl::Release() {
  const ULONG refs = InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP AccessibleControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP AccessibleControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AccessibleControl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP AccessibleControl::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                       EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT AccessibleControl::Check(const VARIANT& child) const {
  if (!standard_) return CO_E_OBJNOTCONNECTED;
  if (V_VT(&child) != VT_I4 || V_I4(&child) != CHILDID_SELF) return E_INVALIDARG;
  return S_OK;
}

std::wstring AccessibleControl::ExtenderName() const {
  ComPtr<IOleObject> object;
  ComPtr<IOleClientSite> site;
  if (!owner_ || FAILED(owner_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.Put()))) ||
      FAILED(object->GetClientSite(site.Put())) || !site)
    return {};
  auto controlSite = site.As<IOleControlSite>(IID_IOleControlSite);
  ComPtr<IDispatch> extender;
  if (!controlSite || FAILED(controlSite->GetExtendedControl(extender.Put())) || !extender) return {};
  LPOLESTR name = const_cast<LPOLESTR>(L"Name");
  DISPID dispid = DISPID_UNKNOWN;
  if (FAILED(extender->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid))) return {};
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{};
  std::wstring text;
  if (SUCCEEDED(extender->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                 &result, nullptr, nullptr)) &&
      SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)) && V_BSTR(&result))
    text.assign(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
  VariantClear(&result);
  return text;
}

STDMETHODIMP AccessibleControl::get_accParent(IDispatch** parent) { VANTIQ_FORWARD(get_accParent(parent)); }

STDMETHODIMP AccessibleControl::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return standard_ ? S_OK : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP AccessibleControl::get_accChild(VARIANT, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return standard_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;  // no children
}

STDMETHODIMP AccessibleControl::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (const HRESULT hr = Check(child); FAILED(hr)) return hr;
  const std::wstring text = ExtenderName();
  if (text.empty()) return standard_->get_accName(child, name);  // the window's own text
  *name = NewBstr(text);
  return *name ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP AccessibleControl::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  if (const HRESULT hr = Check(child); FAILED(hr)) return hr;
  const std::u16string& shown = host_->ShownCaption();
  if (shown.empty()) return S_FALSE;  // no caption on the bar
  *value = NewBstr(std::wstring(shown.begin(), shown.end()));
  return *value ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP AccessibleControl::get_accDescription(VARIANT child, BSTR* description) {
  VANTIQ_FORWARD(get_accDescription(child, description));
}

STDMETHODIMP AccessibleControl::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  if (const HRESULT hr = Check(child); FAILED(hr)) return hr;
  V_VT(role) = VT_I4;
  V_I4(role) = ROLE_SYSTEM_PROGRESSBAR;
  return S_OK;
}

STDMETHODIMP AccessibleControl::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  if (const HRESULT hr = Check(child); FAILED(hr)) return hr;
  LONG bits = STATE_SYSTEM_READONLY;
  if (!IsWindowVisible(hwnd_)) bits |= STATE_SYSTEM_INVISIBLE;
  if (!IsWindowEnabled(hwnd_)) bits |= STATE_SYSTEM_UNAVAILABLE;
  V_VT(state) = VT_I4;
  V_I4(state) = bits;
  return S_OK;
}

STDMETHODIMP AccessibleControl::get_accHelp(VARIANT child, BSTR* help) { VANTIQ_FORWARD(get_accHelp(child, help)); }

STDMETHODIMP AccessibleControl::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  VANTIQ_FORWARD(get_accHelpTopic(file, child, topic));
}

STDMETHODIMP AccessibleControl::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  VANTIQ_FORWARD(get_accKeyboardShortcut(child, shortcut));
}

STDMETHODIMP AccessibleControl::get_accFocus(VARIANT* focus) { VANTIQ_FORWARD(get_accFocus(focus)); }

STDMETHODIMP AccessibleControl::get_accSelection(VARIANT* selection) {
  VANTIQ_FORWARD(get_accSelection(selection));
}

STDMETHODIMP AccessibleControl::get_accDefaultAction(VARIANT child, BSTR* action) {
  VANTIQ_FORWARD(get_accDefaultAction(child, action));
}

STDMETHODIMP AccessibleControl::accSelect(LONG flags, VARIANT child) { VANTIQ_FORWARD(accSelect(flags, child)); }

STDMETHODIMP AccessibleControl::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                            VARIANT child) {
  VANTIQ_FORWARD(accLocation(left, top, width, height, child));
}

STDMETHODIMP AccessibleControl::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  VANTIQ_FORWARD(accNavigate(direction, start, end));
}

STDMETHODIMP AccessibleControl::accHitTest(LONG x, LONG y, VARIANT* child) {
  VANTIQ_FORWARD(accHitTest(x, y, child));
}

STDMETHODIMP AccessibleControl::accDoDefaultAction(VARIANT child) {
  VANTIQ_FORWARD(accDoDefaultAction(child));
}

// Read-only: the caption follows the control's properties, the name the container.
STDMETHODIMP AccessibleControl::put_accName(VARIANT, BSTR) { return standard_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }

STDMETHODIMP AccessibleControl::put_accValue(VARIANT, BSTR) { return standard_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }

}  // namespace vantiq::activex

#undef VANTIQ_FORWARD
