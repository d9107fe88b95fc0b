// Windows only: COM strings and variants as the tests read them.
#pragma once
#ifdef _WIN32

#include <windows.h>
#include <ole2.h>

#include <string>

namespace vantiq::testing {

// A VARIANT that clears itself.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(this); }
};

// The text of a BSTR a callee handed out, embedded NULs included; the BSTR is freed.
inline std::wstring TakeText(BSTR text) {
  std::wstring copy(text ? text : L"", SysStringLen(text));
  SysFreeString(text);
  return copy;
}

// "<variant type> <value in US English>", "object" or "Nothing": equal exactly for equal
// types and values.
inline std::wstring VariantText(const VARIANT& v) {
  if (V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) return V_UNKNOWN(&v) ? L"object" : L"Nothing";
  Variant text;
  if (FAILED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&v), 1033, 0, VT_BSTR)))
    return std::to_wstring(V_VT(&v)) + L" ?";
  return std::to_wstring(V_VT(&v)) + L" " + std::wstring(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
}

// A variant of type `vt` made from its US English text (VT_DISPATCH: Nothing; VT_EMPTY
// and VT_NULL: the text is not read).
inline void MakeVariant(VARTYPE vt, const std::wstring& text, VARIANT& v) {
  VariantClear(&v);
  if (vt == VT_DISPATCH || vt == VT_EMPTY || vt == VT_NULL) {
    V_VT(&v) = vt;
    V_DISPATCH(&v) = nullptr;
    return;
  }
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (vt != VT_BSTR) VariantChangeTypeEx(&v, &v, 1033, 0, vt);
}

}  // namespace vantiq::testing

#endif  // _WIN32
