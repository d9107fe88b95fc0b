#include "activex/control_object.h"

#include <new>

namespace vantiq::activex {

HRESULT ControlObject::Create(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
  ControlObject* object = nullptr;
  try {
    object = new ControlObject(outer);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
  // The object's own reference for the duration of the call; the caller's comes from
  // QueryInterface.
  object->inner_.AddRef();
  const HRESULT hr = object->inner_.QueryInterface(iid, out);
  object->inner_.Release();
  return hr;
}

ControlObject::ControlObject(IUnknown* outer)
    : inner_(*this), outer_(outer ? outer : &inner_), control_(host_, platform_) {
  control_.Initialize();
  control_.InitProperties();
}

ControlObject::~ControlObject() { control_.Terminate(); }

STDMETHODIMP ControlObject::Inner::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  ControlObject& o = owner_;
  if (iid == IID_IUnknown)
    *out = static_cast<IUnknown*>(this);
  else if (iid == IID_IDispatch || iid == IID__Vantiq)
    *out = static_cast<_Vantiq*>(&o);
  else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
    *out = static_cast<IProvideClassInfo2*>(&o);
  else if (iid == IID_ISupportErrorInfo)
    *out = static_cast<ISupportErrorInfo*>(&o);
  else if (iid == IID_IObjectSafety)
    *out = static_cast<IObjectSafety*>(&o);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  static_cast<IUnknown*>(*out)->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ControlObject::Inner::AddRef() { return InterlockedIncrement(&owner_.refs_); }

STDMETHODIMP_(ULONG) ControlObject::Inner::Release() {
  const ULONG refs = InterlockedDecrement(&owner_.refs_);
  if (refs == 0) {
    // Guards against a release from inside the destructor's own calls.
    owner_.refs_ = 1;
    delete &owner_;
  }
  return refs;
}

STDMETHODIMP ControlObject::QueryInterface(REFIID iid, void** out) {
  return outer_->QueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) ControlObject::AddRef() { return outer_->AddRef(); }

STDMETHODIMP_(ULONG) ControlObject::Release() { return outer_->Release(); }

STDMETHODIMP ControlObject::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ComPtr<ITypeInfo> coclass;
  const HRESULT hr = ModuleTypeInfo(CLSID_Vantiq, coclass);
  if (SUCCEEDED(hr)) *info = coclass.Detach();
  return hr;
}

STDMETHODIMP ControlObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_INVALIDARG;
  }
  *guid = DIID___Vantiq;
  return S_OK;
}

STDMETHODIMP ControlObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__Vantiq || iid == IID_IDispatch ? S_OK : S_FALSE;
}

}  // namespace vantiq::activex
