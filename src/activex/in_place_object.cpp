// In-place activation: IOleInPlaceObject, IOleInPlaceActiveObject and their IOleWindow.
// Activated in place, the control has a window of its own in the container's window;
// UI activation also tells the container's frame which object is active. The control
// has no menus, toolbars or accelerators to merge.
#include "activex/control_identity.h"
#include "activex/control_object.h"
#include "activex/himetric.h"

namespace vantiq::activex {

HRESULT ControlObject::ActivateInPlace(IOleClientSite* site, bool ui) {
  if (!site) return E_UNEXPECTED;
  quietUntilState_ = false;  // a quick container that never loaded: shown is live
  if (!inPlaceActive_) {
    ComPtr<IOleInPlaceSite> inPlace;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(inPlace.Put()))) ||
        !inPlace)
      return E_NOINTERFACE;  // the control cannot open in a window of its own
    if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlaceSite_ = inPlace;
    inPlaceActive_ = true;
    inPlaceSite_->OnInPlaceActivate();
  }
  if (!window_.Handle()) {
    HWND parent = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    frame_.Reset();
    document_.Reset();
    HRESULT hr = inPlaceSite_->GetWindow(&parent);
    if (SUCCEEDED(hr))
      hr = inPlaceSite_->GetWindowContext(frame_.Put(), document_.Put(), &position, &clip, &frameInfo);
    if (SUCCEEDED(hr) && !window_.Create(parent, position)) hr = E_FAIL;
    if (FAILED(hr)) {
      InPlaceDeactivate();
      return hr;
    }
    extent_ = PixelsToHimetric(position.right - position.left, position.bottom - position.top);
    RECT visible{};
    clippedAway_ = !IntersectRect(&visible, &position, &clip);
    if (!clippedAway_) window_.SetVisible(true);
    site->ShowObject();
  } else if (!window_.Visible() && !clippedAway_) {
    window_.SetVisible(true);
  }
  if (ui && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    auto* active = static_cast<IOleInPlaceActiveObject*>(this);
    if (frame_) {
      frame_->SetActiveObject(active, kClassDescription);
      frame_->SetBorderSpace(nullptr);
    }
    if (document_) {
      document_->SetActiveObject(active, kClassDescription);
      document_->SetBorderSpace(nullptr);
    }
  }
  return S_OK;
}

STDMETHODIMP ControlObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_.Handle();
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP ControlObject::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ControlObject::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  UIDeactivate();
  inPlaceActive_ = false;
  clippedAway_ = false;
  window_.Destroy();
  frame_.Reset();
  document_.Reset();
  // Out of the member first: the site may call back while it hears of it.
  ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
  if (site) site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP ControlObject::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (document_) document_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP ControlObject::SetObjectRects(LPCRECT position, LPCRECT clip) {
  if (!position) return E_POINTER;
  KeepAlive hold(outer_);  // the move repaints, and painting raises events
  extent_ = PixelsToHimetric(position->right - position->left, position->bottom - position->top);
  if (!window_.Handle()) return S_OK;
  window_.Move(*position);
  // A window the container's clip leaves nothing of is hidden (the control's Hide) and
  // shown again when it comes back. A partial clip is the container window's own: it
  // clips its child windows.
  RECT visible{};
  const bool shown = clip ? IntersectRect(&visible, position, clip) != FALSE : !IsRectEmpty(position);
  if (!shown && !clippedAway_ && window_.Visible()) {
    clippedAway_ = true;
    window_.SetVisible(false);
  } else if (shown && clippedAway_) {
    clippedAway_ = false;
    window_.SetVisible(true);
  }
  return S_OK;
}

STDMETHODIMP ControlObject::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

STDMETHODIMP ControlObject::TranslateAccelerator(LPMSG) { return S_FALSE; }

STDMETHODIMP ControlObject::OnFrameWindowActivate(BOOL) { return S_OK; }

STDMETHODIMP ControlObject::OnDocWindowActivate(BOOL) { return S_OK; }

STDMETHODIMP ControlObject::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }

STDMETHODIMP ControlObject::EnableModeless(BOOL) { return S_OK; }

}  // namespace vantiq::activex
