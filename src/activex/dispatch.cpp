// IDispatch of the control: names, ids, argument coercion and calls all come from the
// type library, so late-bound callers see exactly what it declares.
//
// One exception: colours (OLE_COLOR, an unsigned 32-bit value) travel as 32-bit signed
// integers with the same bits. Script engines have no unsigned type: they write
// &H8000000F as a negative Long, which plain coercion would refuse as an overflow, and
// they cannot compute with an unsigned result.
#include <algorithm>

#include "activex/control_object.h"

namespace vantiq::activex {

namespace {

// True when the type is an alias of an unsigned 32-bit integer (OLE_COLOR).
bool IsUnsignedAlias(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt != VT_USERDEFINED) return false;
  ComPtr<ITypeInfo> alias;
  if (FAILED(info->GetRefTypeInfo(type.hreftype, alias.Put()))) return false;
  TYPEATTR* attr = nullptr;
  if (FAILED(alias->GetTypeAttr(&attr))) return false;
  const bool unsignedAlias = attr->typekind == TKIND_ALIAS && attr->tdescAlias.vt == VT_UI4;
  alias->ReleaseTypeAttr(attr);
  return unsignedAlias;
}

// The dispatch ids of the properties whose value is a colour.
std::vector<DISPID> ColorProperties(ITypeInfo* info) {
  std::vector<DISPID> ids;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return ids;
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    if (func->invkind == INVOKE_PROPERTYPUT && func->cParams == 1 &&
        IsUnsignedAlias(info, func->lprgelemdescParam[0].tdesc))
      ids.push_back(func->memid);
    info->ReleaseFuncDesc(func);
  }
  return ids;
}

}  // namespace

HRESULT ControlObject::DualTypeInfo(ComPtr<ITypeInfo>& info) {
  if (!dualInfo_) {
    ComPtr<ITypeInfo> dispatchSide;
    HRESULT hr = ModuleTypeInfo(IID__Vantiq, dispatchSide);
    if (FAILED(hr)) return hr;
    // A dual interface's entry in the library is its dispatch side; calls need the
    // vtable side that it refers to as implemented type -1.
    HREFTYPE vtableRef = 0;
    hr = dispatchSide->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef);
    if (SUCCEEDED(hr)) hr = dispatchSide->GetRefTypeInfo(vtableRef, dualInfo_.Put());
    if (FAILED(hr)) return hr;
    colorIds_ = ColorProperties(dualInfo_.Get());
  }
  info = dualInfo_;
  return S_OK;
}

STDMETHODIMP ControlObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP ControlObject::GetTypeInfo(UINT index, LCID /*lcid*/, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ComPtr<ITypeInfo> dispatchSide;
  const HRESULT hr = ModuleTypeInfo(IID__Vantiq, dispatchSide);
  if (SUCCEEDED(hr)) *info = dispatchSide.Detach();
  return hr;
}

STDMETHODIMP ControlObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID /*lcid*/,
                                          DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  const HRESULT hr = DualTypeInfo(info);
  if (FAILED(hr)) return hr;
  return info->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP ControlObject::Invoke(DISPID id, REFIID iid, LCID /*lcid*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  HRESULT hr = DualTypeInfo(info);
  if (FAILED(hr)) return hr;
  const bool color = std::find(colorIds_.begin(), colorIds_.end(), id) != colorIds_.end();

  // A colour written as a signed integer keeps its bits; a 16-bit one (a script's -1 or
  // &HFF00) is sign-extended first, as a 32-bit one of the same value would be.
  VARIANT colorArg;
  VariantInit(&colorArg);
  DISPPARAMS colorParams{};
  if (color && (flags & DISPATCH_PROPERTYPUT) && params && params->cArgs == 1 &&
      SUCCEEDED(VariantCopyInd(&colorArg, &params->rgvarg[0])) &&
      (V_VT(&colorArg) == VT_I4 || V_VT(&colorArg) == VT_I2 || V_VT(&colorArg) == VT_I1) &&
      SUCCEEDED(VariantChangeType(&colorArg, &colorArg, 0, VT_I4))) {
    V_VT(&colorArg) = VT_UI4;
    colorParams = *params;
    colorParams.rgvarg = &colorArg;
    params = &colorParams;
  }
  hr = info->Invoke(static_cast<_Vantiq*>(this), id, flags, params, result, exception, argError);
  VariantClear(&colorArg);

  if (color && SUCCEEDED(hr) && result && V_VT(result) == VT_UI4) V_VT(result) = VT_I4;
  return hr;
}

}  // namespace vantiq::activex
