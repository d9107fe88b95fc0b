// IOleObject: the control's client site and what it learns from it (ambient properties,
// the extender), its verbs, its extent and its advise connections. In-place activation
// itself is in in_place_object.cpp.
#include <olectl.h>

#include <cstring>
#include <cwchar>

#include "activex/control_identity.h"
#include "activex/control_object.h"
#include "activex/himetric.h"

namespace vantiq::activex {

STDMETHODIMP ControlObject::SetClientSite(IOleClientSite* site) {
  clientSite_ = ComPtr<IOleClientSite>(site);
  host_.SetAmbientDispatch(clientSite_.As<IDispatch>(IID_IDispatch).Get());
  ComPtr<IDispatch> extender;
  if (auto controlSite = clientSite_.As<IOleControlSite>(IID_IOleControlSite))
    if (FAILED(controlSite->GetExtendedControl(extender.Put()))) extender.Reset();
  host_.SetExtender(extender.Get());
  return S_OK;
}

STDMETHODIMP ControlObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = ComPtr<IOleClientSite>(clientSite_).Detach();
  return S_OK;
}

STDMETHODIMP ControlObject::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP ControlObject::Close(DWORD saveOption) {
  if (dirty_ && clientSite_ &&
      (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
    clientSite_->SaveObject();
    if (adviseHolder_) adviseHolder_->SendOnSave();
  }
  InPlaceDeactivate();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  viewSink_.Reset();
  return S_OK;
}

STDMETHODIMP ControlObject::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP ControlObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlObject::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP ControlObject::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                                   LPCRECT) {
  IOleClientSite* site = clientSite_ ? clientSite_.Get() : activeSite;
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(site, true);
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
      return ActivateInPlace(site, false);
    case OLEIVERB_HIDE:
      UIDeactivate();
      clippedAway_ = false;
      window_.SetVisible(false);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;  // the control keeps no undo state
    case OLEIVERB_OPEN:        // no window of its own outside the container
    case OLEIVERB_PROPERTIES:  // no property pages
      return E_NOTIMPL;
    default:
      break;
  }
  if (verb < 0) return E_NOTIMPL;
  // A verb the control does not know runs the primary one.
  const HRESULT hr = ActivateInPlace(site, true);
  return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
}

STDMETHODIMP ControlObject::EnumVerbs(IEnumOLEVERB** verbs) {
  if (!verbs) return E_POINTER;
  return OleRegEnumVerbs(CLSID_Vantiq, verbs);
}

STDMETHODIMP ControlObject::Update() { return S_OK; }

STDMETHODIMP ControlObject::IsUpToDate() { return S_OK; }

STDMETHODIMP ControlObject::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Vantiq;
  return S_OK;
}

STDMETHODIMP ControlObject::GetUserType(DWORD, LPOLESTR* type) {
  if (!type) return E_POINTER;
  const std::size_t bytes = (std::wcslen(kClassDescription) + 1) * sizeof(wchar_t);
  *type = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*type) return E_OUTOFMEMORY;
  std::memcpy(*type, kClassDescription, bytes);
  return S_OK;
}

STDMETHODIMP ControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP ControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP ControlObject::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!connection) return E_POINTER;
  *connection = 0;
  if (!adviseHolder_) {
    const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP ControlObject::Unadvise(DWORD connection) {
  if (!adviseHolder_) return OLE_E_NOCONNECTION;
  return adviseHolder_->Unadvise(connection);
}

STDMETHODIMP ControlObject::EnumAdvise(IEnumSTATDATA** advises) {
  if (!advises) return E_POINTER;
  *advises = nullptr;
  if (!adviseHolder_) return S_OK;  // nothing connected
  return adviseHolder_->EnumAdvise(advises);
}

STDMETHODIMP ControlObject::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP ControlObject::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

SIZE ControlObject::ExtentInPixels() const { return HimetricToPixels(extent_); }

}  // namespace vantiq::activex
