#include "container/container.h"

#include <olectl.h>

#include <algorithm>

namespace vantiq::container {

namespace {

constexpr wchar_t kFrameClass[] = L"VantiqContainerFrame";
constexpr DISPID kToolTipTextId = 1;
constexpr DISPID kNameId = 2;

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
HRESULT Answer(T* object, void** out) {
  *out = object;
  object->AddRef();
  return S_OK;
}

SIZEL PixelsToHimetric(int width, int height) {
  HDC screen = GetDC(nullptr);
  const int dx = GetDeviceCaps(screen, LOGPIXELSX);
  const int dy = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return SIZEL{MulDiv(width, 2540, dx), MulDiv(height, 2540, dy)};
}

// A by-reference event argument of the given type, directly or through a VARIANT.
template <typename T>
T* Ref(VARIANTARG& arg, VARTYPE type, T* (*field)(VARIANT*)) {
  if (V_VT(&arg) == (type | VT_BYREF)) return static_cast<T*>(V_BYREF(&arg));
  if (V_VT(&arg) == (VT_VARIANT | VT_BYREF) && V_VT(V_VARIANTREF(&arg)) == type)
    return field(V_VARIANTREF(&arg));
  return nullptr;
}
double* R8(VARIANT* v) { return &V_R8(v); }
SHORT* I2(VARIANT* v) { return &V_I2(v); }
FLOAT* R4(VARIANT* v) { return &V_R4(v); }
BSTR* Text(VARIANT* v) { return &V_BSTR(v); }

HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument,
               VARIANT* result) {
  if (!object) return E_NOINTERFACE;
  DISPID dispid = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(hr)) return hr;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (argument) {
    params.rgvarg = argument;
    params.cArgs = 1;
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  hr = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                      nullptr);
  if (hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    if (FAILED(exception.scode)) hr = exception.scode;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  return hr;
}

}  // namespace

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
    : public RefCounted<IOleClientSite, IOleInPlaceSite, IOleControlSite, IDispatch> {
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
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
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
class Extender final : public RefCounted<IDispatch> {
 public:
  explicit Extender(Site* site) : site_(site) {}
  void Detach() { site_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) return Answer(static_cast<IDispatch*>(this), out);
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
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

STDMETHODIMP SiteObject::GetExtendedControl(IDispatch** extender) {
  if (!extender) return E_POINTER;
  *extender = nullptr;
  if (!site_ || !site_->extender_) return E_NOTIMPL;
  *extender = site_->extender_;
  (*extender)->AddRef();
  return S_OK;
}

// The control's event interface, answered by dispatch id.
class EventSink final : public RefCounted<IDispatch> {
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
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
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

// --- ControlLibrary ---------------------------------------------------------------------

ControlLibrary::ControlLibrary(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}

ControlLibrary::~ControlLibrary() {
  if (module_ && CanUnloadNow() == S_OK) FreeLibrary(module_);
}

HRESULT ControlLibrary::GetClassFactory(REFCLSID clsid, ComPtr<IClassFactory>& factory) const {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto entry = module_ ? reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(
                             GetProcAddress(module_, "DllGetClassObject")))
                       : nullptr;
  if (!entry) return CO_E_ERRORINDLL;
  return entry(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
}

HRESULT ControlLibrary::CanUnloadNow() const {
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto entry = module_ ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(
                             GetProcAddress(module_, "DllCanUnloadNow")))
                       : nullptr;
  return entry ? entry() : S_FALSE;
}

// --- Site ---------------------------------------------------------------------------------

Site::Site(Frame& frame, const RECT& rect, const SiteOptions& options)
    : frame_(frame),
      rect_(rect),
      userMode_(options.userMode),
      rightToLeft_(options.rightToLeft),
      toolTipText_(options.toolTipText),
      name_(options.name),
      site_(new SiteObject(this)),
      sink_(new EventSink(this)),
      notify_(new NotifySink(this)),
      extender_(new Extender(this)) {}

Site::~Site() {
  Stop();
  site_->Detach();
  sink_->Detach();
  notify_->Detach();
  extender_->Detach();
  site_->Release();
  sink_->Release();
  notify_->Release();
  extender_->Release();
}

HRESULT Site::Start(IClassFactory* factory, const SiteOptions& options) {
  HRESULT hr = factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(object_.Put()));
  if (FAILED(hr)) return hr;
  DWORD misc = 0;
  object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
  // Most controls want their site before their state, to ask for ambient properties.
  const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
  IOleClientSite* clientSite = site_;
  if (siteFirst) object_->SetClientSite(clientSite);
  hr = Initialize(options);
  if (FAILED(hr)) return hr;
  if (!siteFirst) object_->SetClientSite(clientSite);
  Connect();
  object_->SetHostNames(L"Vantiq container", nullptr);
  SIZEL extent = PixelsToHimetric(rect_.right - rect_.left, rect_.bottom - rect_.top);
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  return object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, frame_.hwnd_, &rect_);
}

HRESULT Site::Initialize(const SiteOptions& options) {
  if (options.bag) {
    auto persist = As<IPersistPropertyBag>(IID_IPersistPropertyBag);
    return persist ? persist->Load(options.bag, nullptr) : E_NOINTERFACE;
  }
  if (options.stream) {
    auto persist = As<IPersistStreamInit>(IID_IPersistStreamInit);
    ComPtr<IStream> stream = NewStream(*options.stream);
    return persist ? persist->Load(stream.Get()) : E_NOINTERFACE;
  }
  if (options.storage) {
    auto persist = As<IPersistStorage>(IID_IPersistStorage);
    return persist ? persist->Load(options.storage) : E_NOINTERFACE;
  }
  if (auto persist = As<IPersistStreamInit>(IID_IPersistStreamInit)) return persist->InitNew();
  if (auto persist = As<IPersistPropertyBag>(IID_IPersistPropertyBag)) return persist->InitNew();
  return S_OK;
}

void Site::Connect() {
  auto points = As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (!points) return;
  IID events = IID_NULL;
  if (auto info = As<IProvideClassInfo2>(IID_IProvideClassInfo2))
    info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events);
  sink_->SetInterface(events);
  if (events != IID_NULL && SUCCEEDED(points->FindConnectionPoint(events, eventPoint_.Put())) &&
      FAILED(eventPoint_->Advise(static_cast<IDispatch*>(sink_), &eventCookie_)))
    eventPoint_.Reset();
  if (SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, notifyPoint_.Put())) &&
      FAILED(notifyPoint_->Advise(static_cast<IPropertyNotifySink*>(notify_), &notifyCookie_)))
    notifyPoint_.Reset();
}

void Site::Stop() {
  if (eventPoint_) eventPoint_->Unadvise(eventCookie_);
  if (notifyPoint_) notifyPoint_->Unadvise(notifyCookie_);
  eventPoint_.Reset();
  notifyPoint_.Reset();
  if (!object_) return;
  if (auto inPlace = As<IOleInPlaceObject>(IID_IOleInPlaceObject)) inPlace->InPlaceDeactivate();
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  object_.Reset();
}

ComPtr<IDispatch> Site::Dispatch() const { return As<IDispatch>(IID_IDispatch); }

HWND Site::Window() const {
  HWND hwnd = nullptr;
  if (auto window = As<IOleWindow>(IID_IOleInPlaceObject))
    if (FAILED(window->GetWindow(&hwnd))) hwnd = nullptr;
  return hwnd;
}

HRESULT Site::Put(const wchar_t* name, const VARIANT& value) {
  Value argument;
  VariantCopy(&argument, const_cast<VARIANT*>(&value));
  return Invoke(Dispatch().Get(), name, DISPATCH_PROPERTYPUT, &argument, nullptr);
}

HRESULT Site::Put(const wchar_t* name, double value) {
  Value v;
  V_VT(&v) = VT_R8;
  V_R8(&v) = value;
  return Put(name, v);
}

HRESULT Site::Put(const wchar_t* name, long value) {
  Value v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return Put(name, v);
}

HRESULT Site::Put(const wchar_t* name, bool value) {
  Value v;
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return Put(name, v);
}

HRESULT Site::Put(const wchar_t* name, const wchar_t* value) {
  Value v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(value);
  return Put(name, v);
}

HRESULT Site::PutRef(const wchar_t* name, IDispatch* object) {
  Value argument;
  V_VT(&argument) = VT_DISPATCH;
  V_DISPATCH(&argument) = object;
  if (object) object->AddRef();
  return Invoke(Dispatch().Get(), name, DISPATCH_PROPERTYPUTREF, &argument, nullptr);
}

HRESULT Site::Get(const wchar_t* name, VARIANT& value) {
  VariantClear(&value);
  return Invoke(Dispatch().Get(), name, DISPATCH_PROPERTYGET, nullptr, &value);
}

double Site::GetDouble(const wchar_t* name) {
  Value v;
  if (FAILED(Get(name, v)) || FAILED(VariantChangeType(&v, &v, 0, VT_R8))) return 0;
  return V_R8(&v);
}

long Site::GetLong(const wchar_t* name) {
  Value v;
  if (FAILED(Get(name, v)) || FAILED(VariantChangeType(&v, &v, 0, VT_I4))) return 0;
  return V_I4(&v);
}

std::wstring Site::GetText(const wchar_t* name) {
  Value v;
  if (FAILED(Get(name, v)) || FAILED(VariantChangeType(&v, &v, 0, VT_BSTR))) return {};
  return std::wstring(V_BSTR(&v) ? V_BSTR(&v) : L"", SysStringLen(V_BSTR(&v)));
}

void Site::SetUserMode(bool userMode) {
  userMode_ = userMode;
  TellAmbientChanged(DISPID_AMBIENT_USERMODE);
}

void Site::SetRightToLeft(bool rightToLeft) {
  rightToLeft_ = rightToLeft;
  TellAmbientChanged(DISPID_AMBIENT_RIGHTTOLEFT);
}

void Site::TellAmbientChanged(DISPID dispid) {
  if (auto control = As<IOleControl>(IID_IOleControl)) control->OnAmbientPropertyChange(dispid);
}

void Site::OnEvent(DISPID dispid, DISPPARAMS& params) {
  eventLog.push_back(dispid);
  VARIANTARG* args = params.rgvarg;  // last argument first
  switch (dispid) {
    case kProgressTextCallBack: {
      if (params.cArgs != 4 || !events.progressText) return;
      double* value = Ref<double>(args[3], VT_R8, R8);
      double* min = Ref<double>(args[2], VT_R8, R8);
      double* max = Ref<double>(args[1], VT_R8, R8);
      BSTR* text = Ref<BSTR>(args[0], VT_BSTR, Text);
      if (!value || !min || !max || !text) return;
      const std::wstring before(*text ? *text : L"", SysStringLen(*text));
      std::wstring after = before;
      events.progressText(*value, *min, *max, after);
      if (after != before) {
        SysFreeString(*text);
        *text = SysAllocStringLen(after.data(), static_cast<UINT>(after.size()));
      }
      return;
    }
    case kClick:
      if (events.click) events.click();
      return;
    case kMouseMove:
    case kMouseDown:
    case kMouseUp: {
      auto& handler = dispid == kMouseMove ? events.mouseMove
                      : dispid == kMouseDown ? events.mouseDown
                                             : events.mouseUp;
      if (params.cArgs != 4 || !handler) return;
      SHORT* button = Ref<SHORT>(args[3], VT_I2, I2);
      SHORT* shift = Ref<SHORT>(args[2], VT_I2, I2);
      FLOAT* x = Ref<FLOAT>(args[1], VT_R4, R4);
      FLOAT* y = Ref<FLOAT>(args[0], VT_R4, R4);
      if (button && shift && x && y) handler(*button, *shift, *x, *y);
      return;
    }
    default:
      return;
  }
}

HRESULT Site::Move(const RECT& rect) {
  rect_ = rect;
  if (!object_) return E_UNEXPECTED;
  SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  auto inPlace = As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (!inPlace) return S_OK;
  RECT clip{};
  GetClientRect(frame_.hwnd_, &clip);
  return inPlace->SetObjectRects(&rect_, &clip);
}

HRESULT Site::DoVerb(LONG verb) {
  if (!object_) return E_UNEXPECTED;
  return object_->DoVerb(verb, nullptr, site_, 0, frame_.hwnd_, &rect_);
}

HRESULT Site::Deactivate() {
  auto inPlace = As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  return inPlace ? inPlace->InPlaceDeactivate() : E_NOINTERFACE;
}

HRESULT Site::IsDirty() {
  auto persist = As<IPersistStreamInit>(IID_IPersistStreamInit);
  return persist ? persist->IsDirty() : E_NOINTERFACE;
}

HRESULT Site::SaveToBag(PropertyBag& bag, bool saveAll) {
  auto persist = As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  return persist ? persist->Save(&bag, TRUE, saveAll ? TRUE : FALSE) : E_NOINTERFACE;
}

HRESULT Site::LoadFromBag(PropertyBag& bag) {
  auto persist = As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  return persist ? persist->Load(&bag, nullptr) : E_NOINTERFACE;
}

HRESULT Site::SaveToStream(std::vector<std::uint8_t>& bytes) {
  auto persist = As<IPersistStreamInit>(IID_IPersistStreamInit);
  if (!persist) return E_NOINTERFACE;
  ComPtr<IStream> stream = NewStream();
  const HRESULT hr = persist->Save(stream.Get(), TRUE);
  if (SUCCEEDED(hr)) bytes = StreamBytes(stream.Get());
  return hr;
}

HRESULT Site::LoadFromStream(const std::vector<std::uint8_t>& bytes) {
  auto persist = As<IPersistStreamInit>(IID_IPersistStreamInit);
  if (!persist) return E_NOINTERFACE;
  ComPtr<IStream> stream = NewStream(bytes);
  return persist->Load(stream.Get());
}

HRESULT Site::SaveToStorage(IStorage* storage) {
  auto persist = As<IPersistStorage>(IID_IPersistStorage);
  if (!persist) return E_NOINTERFACE;
  // As OleSave: the class first, then the object's own streams.
  HRESULT hr = OleSave(persist.Get(), storage, FALSE);
  if (SUCCEEDED(hr)) hr = persist->SaveCompleted(nullptr);
  return hr;
}

HRESULT Site::LoadFromStorage(IStorage* storage) {
  auto persist = As<IPersistStorage>(IID_IPersistStorage);
  return persist ? persist->Load(storage) : E_NOINTERFACE;
}

// --- Frame --------------------------------------------------------------------------------

Frame::Frame(int width, int height, const wchar_t* title) {
  static const ATOM registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Frame::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameClass;
    return RegisterClassExW(&wc);
  }();
  if (!registered) return;
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT outer{0, 0, width, height};
  AdjustWindowRect(&outer, style, FALSE);
  hwnd_ = CreateWindowExW(0, kFrameClass, title, style, 0, 0, outer.right - outer.left,
                          outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  frameObject_ = new FrameObject(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
}

Frame::~Frame() {
  sites_.clear();
  if (frameObject_) {
    frameObject_->Detach();
    frameObject_->Release();
  }
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

Site* Frame::Add(IClassFactory* factory, const RECT& rect, const SiteOptions& options) {
  if (!hwnd_) return nullptr;
  auto site = std::unique_ptr<Site>(new Site(*this, rect, options));
  site->status_ = factory ? site->Start(factory, options) : E_POINTER;
  sites_.push_back(std::move(site));
  return sites_.back().get();
}

Site* Frame::Add(REFCLSID clsid, const RECT& rect, const SiteOptions& options) {
  if (!hwnd_) return nullptr;
  ComPtr<IClassFactory> factory;
  const HRESULT hr = CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                      reinterpret_cast<void**>(factory.Put()));
  if (SUCCEEDED(hr)) return Add(factory.Get(), rect, options);
  auto site = std::unique_ptr<Site>(new Site(*this, rect, options));
  site->status_ = hr;
  sites_.push_back(std::move(site));
  return sites_.back().get();
}

void Frame::Remove(Site* site) {
  auto it = std::find_if(sites_.begin(), sites_.end(),
                         [&](const std::unique_ptr<Site>& s) { return s.get() == site; });
  if (it == sites_.end()) return;
  // Out of the list before it goes: the control's end may call back into the frame.
  std::unique_ptr<Site> gone = std::move(*it);
  sites_.erase(it);
}

void Frame::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

IOleInPlaceActiveObject* Frame::ActiveObject() const {
  return frameObject_ ? frameObject_->Active() : nullptr;
}

LRESULT CALLBACK Frame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    // Only top-level windows hear of these; the controls' windows need them too.
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
      if (frame)
        for (const auto& site : frame->sites_)
          if (HWND child = site->Window()) SendMessageW(child, message, wParam, lParam);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace vantiq::container
