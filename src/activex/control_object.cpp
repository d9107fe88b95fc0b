#include "activex/control_object.h"

#include <new>

#include "activex/himetric.h"

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
    : inner_(*this),
      outer_(outer ? outer : &inner_),
      events_(outer_, this, DIID___Vantiq, true),
      propertyNotify_(outer_, this, IID_IPropertyNotifySink, false),
      control_(host_, platform_),
      window_(control_, host_, outer_) {
  // A bar of 200 x 20 pixels until the container says otherwise.
  extent_ = PixelsToHimetric(200, 20);
  control_.Initialize();
  control_.InitProperties();
  // Only now: a new control has told nobody anything and is not dirty.
  host_.SetContainerLink(this);
}

ControlObject::~ControlObject() {
  // A container that let go without deactivating leaves the window behind.
  window_.Destroy();
  control_.Terminate();
  host_.SetContainerLink(nullptr);
}

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
  else if (iid == IID_IOleObject)
    *out = static_cast<IOleObject*>(&o);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
    *out = static_cast<IOleInPlaceObject*>(&o);
  else if (iid == IID_IOleInPlaceActiveObject)
    *out = static_cast<IOleInPlaceActiveObject*>(&o);
  else if (iid == IID_IOleControl)
    *out = static_cast<IOleControl*>(&o);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx)
    *out = static_cast<IViewObjectEx*>(&o);
  else if (iid == IID_IQuickActivate)
    *out = static_cast<IQuickActivate*>(&o);
  else if (iid == IID_IConnectionPointContainer)
    *out = static_cast<IConnectionPointContainer*>(&o);
  else if (iid == IID_IPersistPropertyBag)
    *out = static_cast<IPersistPropertyBag*>(&o);
  // IPersistStream is IPersistStreamInit without its last method.
  else if (iid == IID_IPersistStreamInit || iid == IID_IPersistStream)
    *out = static_cast<IPersistStreamInit*>(&o);
  else if (iid == IID_IPersistStorage)
    *out = static_cast<IPersistStorage*>(&o);
  else if (iid == IID_IPersist)
    *out = static_cast<IPersistStreamInit*>(&o);
  else if (iid == IID_ISpecifyPropertyPages)
    *out = static_cast<ISpecifyPropertyPages*>(&o);
  else if (iid == IID_IPerPropertyBrowsing)
    *out = static_cast<IPerPropertyBrowsing*>(&o);
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
