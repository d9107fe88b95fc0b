// The container's COM objects: the frame's IOleInPlaceFrame, and for each site its
// client, in-place and control site, the extender and the sinks for the control's
// events and property changes. Internal to the container.
#pragma once

#include <olectl.h>

#include "container/container.h"

namespace vantiq::container {

// Reference counting for the container's COM objects; each answers QueryInterface
// itself.
template <typename... Interfaces>
class RefCounted : public Interfaces... {
 public:
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }

 protected:
  virtual ~RefCounted() = default;

 private:
  LONG refs_ = 1;
};

template <typename T>
inline HRESULT Answer(T* object, void** out) {
  *out = object;
  object->AddRef();
  return S_OK;
}

// IDispatch without type information (beside `Interfaces`): objects answered by
// dispatch id, or by the names they know.
template <typename... Interfaces>
class DispatchObject : public RefCounted<Interfaces..., IDispatch> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* ids) override {
    if (ids) *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
};

// --- The frame's IOleInPlaceFrame -------------------------------------------------------

class Frame::FrameObject final : public RefCounted<IOleInPlaceFrame> {
 public:
  explicit FrameObject(HWND hwnd) : hwnd_(hwnd) {}
  void Detach() {
    hwnd_ = nullptr;
    active_.Reset();
  }
  IOleInPlaceActiveObject* Active() const { return active_.Get(); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
        iid == IID_IOleInPlaceFrame)
      return Answer(static_cast<IOleInPlaceFrame*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return hwnd_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // No toolbars: the frame has no border space to give.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override {
    return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
  }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    active_ = ComPtr<IOleInPlaceActiveObject>(object);
    return S_OK;
  }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  HWND hwnd_;
  ComPtr<IOleInPlaceActiveObject> active_;
};

// --- The site's COM objects -------------------------------------------------------------
// Each points back at its Site until the Site goes; a control that keeps one longer
// finds a site that answers nothing.

// The client site, in-place site and control site, and the ambient properties.
class SiteObject final
    : public DispatchObject<IOleClientSite, IOleInPlaceSite, IOleControlSite> {
 public:
  explicit SiteObject(Site* site) : site_(site) {}
  void Detach() { site_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      return Answer(static_cast<IOleClientSite*>(this), out);
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      return Answer(static_cast<IOleInPlaceSite*>(this), out);
    if (iid == IID_IOleControlSite) return Answer(static_cast<IOleControlSite*>(this), out);
    if (iid == IID_IDispatch) return Answer(static_cast<IDispatch*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = site_ ? site_->frame_.hwnd_ : nullptr;
    return *hwnd ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return site_ ? S_OK : S_FALSE; }
  STDMETHODIMP OnInPlaceActivate() override {
    if (site_) site_->inPlaceActive_ = true;
    return S_OK;
  }
  STDMETHODIMP OnUIActivate() override {
    if (site_) site_->uiActive_ = true;
    return S_OK;
  }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = nullptr;
    *document = nullptr;  // the frame is the document window too
    if (!site_) return E_UNEXPECTED;
    Frame& owner = site_->frame_;
    owner.frameObject_->AddRef();
    *frame = owner.frameObject_;
    *position = site_->rect_;
    GetClientRect(owner.hwnd_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = owner.hwnd_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override {
    if (site_) site_->uiActive_ = false;
    return S_OK;
  }
  STDMETHODIMP OnInPlaceDeactivate() override {
    if (site_) site_->inPlaceActive_ = false;
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT position) override {
    if (!position) return E_POINTER;
    return site_ ? site_->Move(*position) : E_UNEXPECTED;
  }

  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
  STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
  STDMETHODIMP GetExtendedControl(IDispatch** extender) override;
  STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
  STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

  // IDispatch: the ambient properties, by their standard ids.
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                      EXCEPINFO*, UINT*) override {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!site_) return DISP_E_MEMBERNOTFOUND;
    Value value;
    switch (dispid) {
      case DISPID_AMBIENT_USERMODE:
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = site_->userMode_ ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case DISPID_AMBIENT_RIGHTTOLEFT:
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = site_->rightToLeft_ ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case DISPID_AMBIENT_LOCALEID:
        V_VT(&value) = VT_I4;
        V_I4(&value) = static_cast<LONG>(GetUserDefaultLCID());
        break;
      case DISPID_AMBIENT_AUTOCLIP:
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = VARIANT_TRUE;
        break;
      case DISPID_AMBIENT_MESSAGEREFLECT:
      case DISPID_AMBIENT_SHOWGRABHANDLES:
      case DISPID_AMBIENT_SHOWHATCHING:
      case DISPID_AMBIENT_DISPLAYASDEFAULT:
      case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = VARIANT_FALSE;
        break;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (result) {
      VariantClear(result);
      *result = value;
      VariantInit(&value);
    }
    return S_OK;
  }

 private:
  Site* site_;
};

// The extender: ToolTipText by name, read and written, and Name, read.
class Extender final : public DispatchObject<> {
 public:
  static constexpr DISPID kToolTipTextId = 1;
  static constexpr DISPID kNameId = 2;

  explicit Extender(Site* site) : site_(site) {}
  void Detach() { site_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) return Answer(static_cast<IDispatch*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    if (_wcsicmp(names[0], L"ToolTipText") == 0) {
      ids[0] = kToolTipTextId;
    } else if (_wcsicmp(names[0], L"Name") == 0) {
      ids[0] = kNameId;
    } else {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override {
    if (dispid == kNameId && site_ && (flags & DISPATCH_PROPERTYGET)) {
      if (result) {
        VariantClear(result);
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(site_->name_.data(), static_cast<UINT>(site_->name_.size()));
      }
      return S_OK;
    }
    if (dispid != kToolTipTextId || !site_) return DISP_E_MEMBERNOTFOUND;
    if (flags & DISPATCH_PROPERTYPUT) {
      if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      Value text;
      const HRESULT hr = VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR);
      if (FAILED(hr)) return hr;
      site_->toolTipText_.assign(V_BSTR(&text) ? V_BSTR(&text) : L"", SysStringLen(V_BSTR(&text)));
      return S_OK;
    }
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (result) {
      VariantClear(result);
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocStringLen(site_->toolTipText_.data(),
                                         static_cast<UINT>(site_->toolTipText_.size()));
    }
    return S_OK;
  }

 private:
  Site* site_;
};

inline STDMETHODIMP SiteObject::GetExtendedControl(IDispatch** extender) {
  if (!extender) return E_POINTER;
  *extender = nullptr;
  if (!site_ || !site_->extender_) return E_NOTIMPL;
  *extender = site_->extender_;
  (*extender)->AddRef();
  return S_OK;
}

// The control's event interface, answered by dispatch id.
class EventSink final : public DispatchObject<> {
 public:
  explicit EventSink(Site* site) : site_(site) {}
  void Detach() { site_ = nullptr; }
  void SetInterface(REFIID iid) { iid_ = iid; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || (iid_ != IID_NULL && iid == iid_))
      return Answer(static_cast<IDispatch*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    DISPPARAMS none{};
    if (site_) site_->OnEvent(dispid, params ? *params : none);
    return S_OK;
  }

 private:
  Site* site_;
  IID iid_ = IID_NULL;
};

class NotifySink final : public RefCounted<IPropertyNotifySink> {
 public:
  explicit NotifySink(Site* site) : site_(site) {}
  void Detach() { site_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPropertyNotifySink)
      return Answer(static_cast<IPropertyNotifySink*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP OnChanged(DISPID dispid) override {
    if (site_) site_->changes.push_back(dispid);
    return S_OK;
  }
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

 private:
  Site* site_;
};

}  // namespace vantiq::container
