// IObjectSafety: the core decides; this file turns the interface identifier into the
// registry text the core compares.
#include "control/object_safety.h"

#include <cwctype>

#include "activex/control_object.h"

namespace vantiq::activex {

namespace {

// The identifier's address. A C caller may pass a null identifier through the
// reference; the empty asm keeps the compiler from assuming a reference is never null.
const IID* AddressOf(REFIID iid) {
  const IID* address = &iid;
  asm("" : "+r"(address));
  return address;
}

// "{XXXXXXXX-...}" in upper case, as the registry writes identifiers.
std::u16string IidText(const IID& iid) {
  wchar_t buffer[40] = {};
  StringFromGUID2(iid, buffer, 40);
  std::u16string text;
  for (const wchar_t* c = buffer; *c; ++c) text.push_back(static_cast<char16_t>(std::towupper(*c)));
  return text;
}

}  // namespace

STDMETHODIMP ControlObject::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                      DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  const IID* address = AddressOf(iid);
  std::u16string text;
  if (address) text = IidText(*address);
  std::uint32_t supportedOptions = *supported;
  std::uint32_t enabledOptions = *enabled;
  const HRESULT hr = vantiq::GetInterfaceSafetyOptions(control_, address ? &text : nullptr,
                                                       supportedOptions, enabledOptions);
  *supported = supportedOptions;
  *enabled = enabledOptions;
  return hr;
}

STDMETHODIMP ControlObject::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  const IID* address = AddressOf(iid);
  std::u16string text;
  if (address) text = IidText(*address);
  return vantiq::SetInterfaceSafetyOptions(control_, address ? &text : nullptr, mask, enabled);
}

}  // namespace vantiq::activex
