// IOleControl: no keyboard mnemonics; ambient changes and frozen events.
#include "activex/control_object.h"

namespace vantiq::activex {

STDMETHODIMP ControlObject::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP ControlObject::OnMnemonic(MSG*) { return E_NOTIMPL; }

// UserMode is asked again on its next use. RightToLeft is the control's own property
// once the control exists: the ambient setting only gives a new control its start.
STDMETHODIMP ControlObject::OnAmbientPropertyChange(DISPID dispid) {
  KeepAlive hold(outer_);  // a change may repaint, and painting raises events
  host_.AmbientChanged(dispid);
  return S_OK;
}

// While frozen, events are dropped, not queued: a container freezes them while it
// loads its controls.
STDMETHODIMP ControlObject::FreezeEvents(BOOL freeze) {
  if (freeze)
    ++frozenEvents_;
  else if (frozenEvents_ > 0)
    --frozenEvents_;
  return S_OK;
}

}  // namespace vantiq::activex
