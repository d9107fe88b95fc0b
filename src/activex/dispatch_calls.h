// One property of another object read or written by dispatch: a container's ambient
// properties and extender, or the controls a property page edits.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace vantiq::activex {

// The dispatch id of `name` on `object`.
inline HRESULT PropertyId(IDispatch* object, const wchar_t* name, DISPID& id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

// Reads (DISPATCH_PROPERTYGET, into `result`) or writes (DISPATCH_PROPERTYPUT, `value`)
// one property by id.
inline HRESULT InvokeProperty(IDispatch* object, DISPID dispid, WORD flags, VARIANT* value,
                              VARIANT* result) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgvarg = value;
    params.cArgs = 1;
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

}  // namespace vantiq::activex
