// Connection points, their enumerators, IConnectionPointContainer, and the control's
// link to its container: change notifications to IPropertyNotifySink and events to every
// connected event sink.
#include "activex/connection_points.h"

#include <olectl.h>

#include <new>

#include "activex/com_object.h"
#include "activex/control_object.h"

namespace vantiq::activex {

namespace {

// What an enumerator item holds: a reference to its object, taken when it is copied.
void Hold(IConnectionPoint* point) { point->AddRef(); }
void Drop(IConnectionPoint* point) { point->Release(); }
void Hold(const CONNECTDATA& data) { data.pUnk->AddRef(); }
void Drop(const CONNECTDATA& data) { data.pUnk->Release(); }

// IEnumConnectionPoints and IEnumConnections: a fixed list and a position.
template <typename Interface, typename Item>
class Enumerator final : public SingleInterfaceObject<Interface> {
 public:
  Enumerator(REFIID iid, std::vector<Item> items, std::size_t position)
      : SingleInterfaceObject<Interface>(iid, 0), items_(std::move(items)), position_(position) {
    for (const Item& item : items_) Hold(item);
  }
  ~Enumerator() {
    for (const Item& item : items_) Drop(item);
  }


  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count != 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && position_ < items_.size(); ++n, ++position_) {
      out[n] = items_[position_];
      Hold(out[n]);
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const std::size_t left = items_.size() - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Interface** out) override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) Enumerator(this->Iid(), items_, position_);
    if (!*out) return E_OUTOFMEMORY;
    (*out)->AddRef();
    return S_OK;
  }

 private:
  ModuleLock lock_;
  std::vector<Item> items_;
  std::size_t position_;
};

}  // namespace

HRESULT NewConnectionPointEnumerator(const std::vector<IConnectionPoint*>& points,
                                     IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow)
      Enumerator<IEnumConnectionPoints, IConnectionPoint*>(IID_IEnumConnectionPoints, points, 0);
  if (!*out) return E_OUTOFMEMORY;
  (*out)->AddRef();
  return S_OK;
}

ConnectionPoint::ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID iid,
                                 bool acceptDispatch)
    : owner_(owner), container_(container), iid_(iid), acceptDispatch_(acceptDispatch) {}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = container_;
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  ComPtr<IUnknown> connected;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(connected.Put()))) &&
      (!acceptDispatch_ ||
       FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(connected.Put())))))
    return CONNECT_E_CANNOTCONNECT;
  if (!connected) return CONNECT_E_CANNOTCONNECT;
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, std::move(connected));
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first != cookie) continue;
    // Out of the list before the release: the sink's end may call back.
    ComPtr<IUnknown> sink = std::move(it->second);
    sinks_.erase(it);
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (!connections) return E_POINTER;
  std::vector<CONNECTDATA> data;
  for (const auto& [cookie, sink] : sinks_) data.push_back(CONNECTDATA{sink.Get(), cookie});
  *connections = new (std::nothrow)
      Enumerator<IEnumConnections, CONNECTDATA>(IID_IEnumConnections, std::move(data), 0);
  if (!*connections) return E_OUTOFMEMORY;
  (*connections)->AddRef();
  return S_OK;
}

// --- The control's side -----------------------------------------------------------------

STDMETHODIMP ControlObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return NewConnectionPointEnumerator({&events_, &propertyNotify_}, points);
}

STDMETHODIMP ControlObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid == DIID___Vantiq)
    *point = &events_;
  else if (iid == IID_IPropertyNotifySink)
    *point = &propertyNotify_;
  else
    return CONNECT_E_NOCONNECTION;
  (*point)->AddRef();
  return S_OK;
}

DISPID ControlObject::PropertyDispId(const std::u16string& name) {
  ComPtr<ITypeInfo> info;
  if (FAILED(DualTypeInfo(info))) return DISPID_UNKNOWN;
  // The type library's names compare without case: "Value" finds value.
  std::u16string text = name;
  LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(text.data())};
  DISPID dispid = DISPID_UNKNOWN;
  if (FAILED(info->GetIDsOfNames(names, 1, &dispid))) return DISPID_UNKNOWN;
  return dispid;
}

void ControlObject::OnPropertyChanged(const std::u16string& name) {
  dirty_ = true;
  const DISPID dispid = PropertyDispId(name);
  if (!quietUntilState_)
    propertyNotify_.ForEachSink<IPropertyNotifySink>([&](IPropertyNotifySink* sink) { sink->OnChanged(dispid); });
  // Without a window of its own the control is drawn by the container, through
  // IViewObject: it is told to draw again.
  if (viewSink_ && !window_.Handle()) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

void ControlObject::FireEvent(DISPID dispid, DISPPARAMS& params) {
  if (frozenEvents_ > 0 || quietUntilState_) return;
  events_.ForEachSink<IDispatch>([&](IDispatch* sink) {
    sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  });
}

}  // namespace vantiq::activex
