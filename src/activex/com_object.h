// IUnknown for the small heap objects of the COM layer that answer one interface: it
// gives out IUnknown and that interface, counts references and deletes the object with
// its last one.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace vantiq::activex {

template <typename Interface>
class SingleInterfaceObject : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == iid_) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }

 protected:
  // `initialRefs`: 1 for an object its maker holds, 0 for one handed out with AddRef.
  SingleInterfaceObject(REFIID iid, LONG initialRefs) : iid_(iid), refs_(initialRefs) {}
  virtual ~SingleInterfaceObject() = default;
  REFIID Iid() const { return iid_; }

 private:
  IID iid_;
  LONG refs_;
};

}  // namespace vantiq::activex
