// The control's connection points: one for its event interface and one for
// IPropertyNotifySink. Each is a part of the control object and counts its references
// on the control, so a client holding a connection point keeps the control alive.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <utility>
#include <vector>

#include "activex/com_ptr.h"

namespace vantiq::activex {

class ConnectionPoint final : public IConnectionPoint {
 public:
  // `owner` is the control's controlling unknown; `container` answers
  // GetConnectionPointContainer. With `acceptDispatch`, a sink that answers only
  // IDispatch connects too (an event interface is a dispatch interface).
  ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID iid,
                  bool acceptDispatch);
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  // The connected sinks, each as the interface it was connected by. A copy: a sink may
  // disconnect itself or others while it is called.
  template <typename Sink>
  std::vector<ComPtr<Sink>> Sinks() const {
    std::vector<ComPtr<Sink>> sinks;
    for (const auto& [cookie, sink] : sinks_) sinks.emplace_back(static_cast<Sink*>(sink.Get()));
    return sinks;
  }
  // Lets every sink go (the control's end).
  void Clear() { sinks_.clear(); }

 private:
  IUnknown* owner_;
  IConnectionPointContainer* container_;
  IID iid_;
  bool acceptDispatch_;
  std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks_;
  DWORD nextCookie_ = 1;
};

// An enumerator over the connection points, holding a reference to each.
HRESULT NewConnectionPointEnumerator(const std::vector<IConnectionPoint*>& points,
                                     IEnumConnectionPoints** out);

}  // namespace vantiq::activex
