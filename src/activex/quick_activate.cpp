// IQuickActivate: the container's site, sinks and ambient answers in one call, and the
// control's status back, instead of the handshake of SetClientSite, Advise and
// GetMiscStatus one by one. Sinks connected here stay silent until InitNew or Load has
// given the control its state, so a quick container hears what one that connects after
// loading hears.
#include <cstddef>

#include "activex/control_object.h"

namespace vantiq::activex {

namespace {

// Containers built against older headers pass shorter structures: each must at least
// reach past the last field read or written here.
constexpr ULONG kSmallestContainer = offsetof(QACONTAINER, colorFore);
constexpr ULONG kSmallestControl = offsetof(QACONTROL, dwPointerActivationPolicy);

}  // namespace

STDMETHODIMP ControlObject::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (!container || !control) return E_POINTER;
  if (container->cbSize < kSmallestContainer || control->cbSize < kSmallestControl)
    return E_INVALIDARG;
  KeepAlive hold(outer_);
  const ULONG controlSize = control->cbSize;
  ZeroMemory(reinterpret_cast<BYTE*>(control) + sizeof control->cbSize,
             (controlSize < sizeof(QACONTROL) ? controlSize : sizeof(QACONTROL)) - sizeof control->cbSize);

  if (container->pClientSite) SetClientSite(container->pClientSite);
  // The structure's answer stands for the site's, which is not asked again until the
  // container reports a change.
  host_.SetAmbientUserMode((container->dwAmbientFlags & QACONTAINER_USERMODE) != 0);
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);

  quietUntilState_ = true;
  if (container->pUnkEventSink &&
      FAILED(events_.Advise(container->pUnkEventSink, &control->dwEventCookie)))
    control->dwEventCookie = 0;
  if (container->pPropertyNotifySink &&
      FAILED(propertyNotify_.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie)))
    control->dwPropNotifyCookie = 0;

  GetMiscStatus(DVASPECT_CONTENT, &control->dwMiscStatus);
  GetViewStatus(&control->dwViewStatus);
  // dwPointerActivationPolicy stays 0: the control has no IPointerInactive.
  return S_OK;
}

STDMETHODIMP ControlObject::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }

STDMETHODIMP ControlObject::GetContentExtent(LPSIZEL size) {
  return GetExtent(DVASPECT_CONTENT, static_cast<SIZEL*>(size));
}

}  // namespace vantiq::activex
