// The control's connection points: one for its event interface and one for
// IPropertyNotifySink. Each is a part of the control object and counts its references
// on the control, so a client holding a connection point keeps the control alive.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <cstddef>
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

  // Calls `call` with each connected sink, as the interface it was connected by. The
  // sinks are held in a copy first, since one may disconnect itself or others while it
  // is called; the copy of the usual few lies on the stack, so firing allocates nothing.
  template <typename Sink, typename Call>
  void ForEachSink(Call&& call) const {
    constexpr std::size_t kOnStack = 4;
    const std::size_t n = sinks_.size();
    if (n <= kOnStack) {
      ComPtr<Sink> held[kOnStack];
      for (std::size_t i = 0; i < n; ++i) held[i] = ComPtr<Sink>(static_cast<Sink*>(sinks_[i].second.Get()));
      for (std::size_t i = 0; i < n; ++i) call(held[i].Get());
      return;
    }
    std::vector<ComPtr<Sink>> held;
    for (const auto& [cookie, sink] : sinks_) held.emplace_back(static_cast<Sink*>(sink.Get()));
    for (const auto& sink : held) call(sink.Get());
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
