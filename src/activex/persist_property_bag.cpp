// IPersistPropertyBag, and what the persistence interfaces share: the class, the dirty
// flag and InitNew. The keys, defaults and conversions are the core's
// (ReadProperties, WriteProperties).
#include "activex/com_property_bag.h"
#include "activex/control_object.h"
#include "activex/error_info.h"
#include "control/persistence.h"

namespace vantiq::activex {

STDMETHODIMP ControlObject::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Vantiq;
  return S_OK;
}

STDMETHODIMP ControlObject::InitNew() {
  control_.InitProperties();
  dirty_ = false;
  quietUntilState_ = false;
  return S_OK;
}

STDMETHODIMP ControlObject::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP ControlObject::Load(IPropertyBag* bag, IErrorLog* log) {
  if (!bag) return E_POINTER;
  KeepAlive hold(outer_);  // the values loaded repaint, and painting raises events
  const HRESULT hr = Guarded(IID_IPersistPropertyBag, [&] {
    ComPropertyBag adapter(bag, log, false);
    ReadProperties(control_, adapter);
  });
  // The setters that loading runs notify as they go; what was loaded is what is saved.
  if (SUCCEEDED(hr)) dirty_ = false;
  quietUntilState_ = false;
  return hr;
}

STDMETHODIMP ControlObject::Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) {
  if (!bag) return E_POINTER;
  const HRESULT hr = Guarded(IID_IPersistPropertyBag, [&] {
    // A container that asks for the changed properties only gets no defaults.
    ComPropertyBag adapter(bag, nullptr, !saveAll);
    WriteProperties(control_, adapter);
  });
  if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
  return hr;
}

}  // namespace vantiq::activex
