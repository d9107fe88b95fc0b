#include "activex/class_factory.h"

#include <new>

#include "activex/com_object.h"
#include "activex/module.h"

namespace vantiq::activex {

namespace {

class ClassFactory final : public SingleInterfaceObject<IClassFactory> {
 public:
  explicit ClassFactory(CreateObject create) : SingleInterfaceObject(IID_IClassFactory, 1), create_(create) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    return create_(outer, iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      LockModule();
    else
      UnlockModule();
    return S_OK;
  }

 private:
  CreateObject create_;
  ModuleLock moduleLock_;
};

}  // namespace

HRESULT CreateClassFactory(CreateObject create, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* factory = new (std::nothrow) ClassFactory(create);
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

}  // namespace vantiq::activex
