// The container's sites: a control started on the frame, driven through its
// interfaces, and its events handed to the test's or the demo's handlers.
#include <olectl.h>

#include "container/container.h"
#include "container/site_objects.h"

namespace vantiq::container {

namespace {

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
  IOleClientSite* clientSite = site_;
  SIZEL extent = PixelsToHimetric(rect_.right - rect_.left, rect_.bottom - rect_.top);
  if (options.quickActivate && QuickActivate(extent)) {
    hr = Initialize(options);
    if (FAILED(hr)) return hr;
    object_->SetHostNames(L"Vantiq container", nullptr);
    return object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, frame_.hwnd_, &rect_);
  }
  DWORD misc = 0;
  object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
  // Most controls want their site before their state, to ask for ambient properties.
  const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) object_->SetClientSite(clientSite);
  hr = Initialize(options);
  if (FAILED(hr)) return hr;
  if (!siteFirst) object_->SetClientSite(clientSite);
  Connect();
  object_->SetHostNames(L"Vantiq container", nullptr);
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

bool Site::QuickActivate(const SIZEL& extent) {
  auto quick = As<IQuickActivate>(IID_IQuickActivate);
  if (!quick) return false;
  IID events = IID_NULL;
  if (auto info = As<IProvideClassInfo2>(IID_IProvideClassInfo2))
    info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events);
  sink_->SetInterface(events);
  QACONTAINER container{};
  container.cbSize = sizeof container;
  container.pClientSite = site_;
  container.pPropertyNotifySink = notify_;
  container.pUnkEventSink = static_cast<IDispatch*>(sink_);
  container.dwAmbientFlags = userMode_ ? QACONTAINER_USERMODE : 0;
  container.lcid = LOCALE_USER_DEFAULT;
  QACONTROL control{};
  control.cbSize = sizeof control;
  if (FAILED(quick->QuickActivate(&container, &control))) return false;
  // The connection points only to let go of the connections the call made.
  if (auto points = As<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
    if (control.dwEventCookie && SUCCEEDED(points->FindConnectionPoint(events, eventPoint_.Put())))
      eventCookie_ = control.dwEventCookie;
    if (control.dwPropNotifyCookie &&
        SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, notifyPoint_.Put())))
      notifyCookie_ = control.dwPropNotifyCookie;
  }
  quickStatus_ = control;
  SIZEL size = extent;
  quick->SetContentExtent(&size);
  return true;
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

}  // namespace vantiq::container
