// The project's own ActiveX container: a frame window that hosts controls in place, as
// a form or a page does. Each control gets a site that answers its ambient properties
// (UserMode, RightToLeft, ...), an extender with ToolTipText and Name, an event sink for the
// Vantiq events with by-reference arguments, an IPropertyNotifySink, and saving and
// loading through a property bag, a stream or a storage.
//
// Everything runs on one thread, which must have entered a single-threaded apartment
// (OleInitialize or CoInitialize) before the first Frame and stay in it until the last
// is gone.
//
//   vantiq::container::Frame frame(400, 300);
//   Site* bar = frame.Add(CLSID_Vantiq, {10, 10, 210, 30});
//   bar->Put(L"Value", 42.0);
//   frame.PumpMessages();
//   vantiq::container::Pixels shot = Capture(bar->Window());
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "activex/com_ptr.h"

namespace vantiq::container {

using activex::ComPtr;

// The dispatch ids of the Vantiq events.
enum VantiqEvent : DISPID {
  kProgressTextCallBack = 1,
  kClick = 2,
  kMouseMove = 3,
  kMouseDown = 4,
  kMouseUp = 5,
};

// A window's client pixels as GetPixel reads them (0x00BBGGRR), top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;
  COLORREF At(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
};

// The client area of a window, children included (BitBlt from the window's DC).
Pixels Capture(HWND window);
// What a control draws through IViewObject::Draw into a memory DC of w x h pixels
// cleared to `background`.
Pixels DrawView(IUnknown* control, int width, int height, COLORREF background);
// Printing as containers print: the same at `bounds`, in the logical units `prepare`
// sets up on the DC (a mapping mode, say); with `metafile`, drawn into an enhanced
// metafile of the memory DC's resolution and played back over all w x h pixels.
Pixels DrawView(IUnknown* control, int width, int height, COLORREF background, const RECTL& bounds,
                const std::function<void(HDC)>& prepare, bool metafile);

// A VARIANT that clears itself.
struct Value : VARIANT {
  Value() { VariantInit(this); }
  Value(const Value&) = delete;
  Value& operator=(const Value&) = delete;
  ~Value() { VariantClear(this); }
};

// A control library loaded from its file, without registration.
class ControlLibrary {
 public:
  explicit ControlLibrary(const std::wstring& path);
  // Unloads the library when DllCanUnloadNow allows it.
  ~ControlLibrary();
  ControlLibrary(const ControlLibrary&) = delete;
  ControlLibrary& operator=(const ControlLibrary&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  HRESULT GetClassFactory(REFCLSID clsid, ComPtr<IClassFactory>& factory) const;
  HRESULT CanUnloadNow() const;

 private:
  HMODULE module_ = nullptr;
};

// Names and values in memory, as a form file keeps them. Objects (fonts, pictures) are
// kept as the bytes their IPersistStream writes and made anew on every read, so nothing
// is shared between the controls that read them; an object that cannot save itself is
// kept by reference.
class PropertyBag final : public IPropertyBag {
 public:
  static ComPtr<PropertyBag> Create();

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // E_INVALIDARG for a name the bag does not hold. A requested type other than
  // VT_EMPTY is coerced to.
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

  // In the order first written.
  std::vector<std::wstring> Names() const;
  bool Contains(const std::wstring& name) const;
  // The value under the name as Read gives it; VT_EMPTY when absent.
  HRESULT Get(const std::wstring& name, VARIANT& value);
  HRESULT Set(const std::wstring& name, const VARIANT& value) {
    return Write(name.c_str(), const_cast<VARIANT*>(&value));
  }
  void Remove(const std::wstring& name);

 private:
  struct Entry;
  PropertyBag();
  ~PropertyBag();
  Entry* Find(const std::wstring& name);
  const Entry* Find(const std::wstring& name) const;

  LONG refs_ = 1;
  std::vector<std::unique_ptr<Entry>> entries_;
};

// Streams in memory.
ComPtr<IStream> NewStream(const std::vector<std::uint8_t>& bytes = {});
std::vector<std::uint8_t> StreamBytes(IStream* stream);
// A compound file in memory.
ComPtr<IStorage> NewStorage();

// The control's events. Each handler may change its by-reference arguments; the control
// sees the changes when the event returns.
struct ControlEvents {
  std::function<void(double& value, double& min, double& max, std::wstring& text)> progressText;
  std::function<void()> click;
  std::function<void(short& button, short& shift, float& x, float& y)> mouseMove;
  std::function<void(short& button, short& shift, float& x, float& y)> mouseDown;
  std::function<void(short& button, short& shift, float& x, float& y)> mouseUp;
};

// What a site starts its control with.
struct SiteOptions {
  bool userMode = true;      // ambient UserMode: run time
  bool rightToLeft = false;  // ambient RightToLeft
  std::wstring toolTipText;  // the extender's ToolTipText
  std::wstring name;         // the extender's Name, read-only
  // Starts the control with one IQuickActivate call (when it has the interface)
  // instead of SetClientSite, the connection points' Advise and SetExtent one by one.
  bool quickActivate = false;
  // Saved state to load instead of InitNew; at most one.
  PropertyBag* bag = nullptr;
  const std::vector<std::uint8_t>* stream = nullptr;
  IStorage* storage = nullptr;
};

class Frame;
class SiteObject;
class EventSink;
class NotifySink;
class Extender;

// One control on the frame: its client site, in-place site and control site.
class Site {
 public:
  ~Site();
  Site(const Site&) = delete;
  Site& operator=(const Site&) = delete;

  // What creating the control returned; the members below need it to be S_OK.
  HRESULT Status() const { return status_; }
  IUnknown* Object() const { return object_.Get(); }
  ComPtr<IDispatch> Dispatch() const;
  template <typename T>
  ComPtr<T> As(REFIID iid) const {
    return object_.As<T>(iid);
  }
  // The control's own window (IOleWindow::GetWindow); null while it is not in place.
  HWND Window() const;
  const RECT& Rect() const { return rect_; }

  // --- Properties by name, through IDispatch --------------------------------------
  HRESULT Put(const wchar_t* name, const VARIANT& value);
  HRESULT Put(const wchar_t* name, double value);
  HRESULT Put(const wchar_t* name, long value);
  HRESULT Put(const wchar_t* name, bool value);
  HRESULT Put(const wchar_t* name, const wchar_t* value);
  // Set: an object by reference (a font, a picture).
  HRESULT PutRef(const wchar_t* name, IDispatch* object);
  HRESULT Get(const wchar_t* name, VARIANT& value);
  double GetDouble(const wchar_t* name);
  long GetLong(const wchar_t* name);
  std::wstring GetText(const wchar_t* name);

  // --- Container services -----------------------------------------------------------
  // Ambient properties; a change is reported to the control (OnAmbientPropertyChange).
  bool UserMode() const { return userMode_; }
  void SetUserMode(bool userMode);
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool rightToLeft);
  // The extender's ToolTipText, as the control reads and writes it.
  std::wstring ToolTipText() const { return toolTipText_; }
  void SetToolTipText(const std::wstring& text) { toolTipText_ = text; }

  ControlEvents events;
  // Every event's dispatch id, in order of arrival.
  std::vector<DISPID> eventLog;
  // The dispatch ids of IPropertyNotifySink::OnChanged, in order.
  std::vector<DISPID> changes;
  // What the site heard of the control's activation.
  bool InPlaceActive() const { return inPlaceActive_; }
  bool UIActive() const { return uiActive_; }
  // What the control answered to quick activation; all zero when it went the long way.
  const QACONTROL& QuickStatus() const { return quickStatus_; }

  // --- Placement and activation ---------------------------------------------------
  HRESULT Move(const RECT& rect);
  HRESULT DoVerb(LONG verb);
  HRESULT Deactivate();

  // --- Saving and loading -----------------------------------------------------------
  HRESULT IsDirty();  // S_OK when dirty
  // With `saveAll` false, only values that differ from their defaults.
  HRESULT SaveToBag(PropertyBag& bag, bool saveAll = false);
  HRESULT LoadFromBag(PropertyBag& bag);
  HRESULT SaveToStream(std::vector<std::uint8_t>& bytes);
  HRESULT LoadFromStream(const std::vector<std::uint8_t>& bytes);
  HRESULT SaveToStorage(IStorage* storage);
  HRESULT LoadFromStorage(IStorage* storage);

 private:
  friend class Frame;
  friend class SiteObject;
  friend class EventSink;
  friend class NotifySink;
  friend class Extender;

  Site(Frame& frame, const RECT& rect, const SiteOptions& options);
  HRESULT Start(IClassFactory* factory, const SiteOptions& options);
  // Site, sinks and extent through IQuickActivate; false when the control has none.
  bool QuickActivate(const SIZEL& extent);
  HRESULT Initialize(const SiteOptions& options);
  void Connect();
  void Stop();
  void OnEvent(DISPID dispid, DISPPARAMS& params);
  void TellAmbientChanged(DISPID dispid);

  Frame& frame_;
  RECT rect_;
  HRESULT status_ = E_UNEXPECTED;
  bool userMode_;
  bool rightToLeft_;
  std::wstring toolTipText_;
  std::wstring name_;
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  QACONTROL quickStatus_{};

  ComPtr<IOleObject> object_;
  SiteObject* site_ = nullptr;
  EventSink* sink_ = nullptr;
  NotifySink* notify_ = nullptr;
  Extender* extender_ = nullptr;
  ComPtr<IConnectionPoint> eventPoint_;
  ComPtr<IConnectionPoint> notifyPoint_;
  DWORD eventCookie_ = 0;
  DWORD notifyCookie_ = 0;
};

// A top-level window of the given client size, shown, that hosts controls.
class Frame {
 public:
  Frame(int width, int height, const wchar_t* title = L"Vantiq container");
  // Closes and releases every control first.
  ~Frame();
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  HWND Hwnd() const { return hwnd_; }
  // A control made by `factory`, set up as `options` say and activated in place at
  // `rect` (client pixels). Null when the frame has no window; otherwise a site whose
  // Status() tells whether the control came to life.
  Site* Add(IClassFactory* factory, const RECT& rect, const SiteOptions& options = {});
  // The same through the registry (CoGetClassObject).
  Site* Add(REFCLSID clsid, const RECT& rect, const SiteOptions& options = {});
  // Deactivates, closes and releases the control.
  void Remove(Site* site);
  const std::vector<std::unique_ptr<Site>>& Sites() const { return sites_; }

  // Runs every message waiting for this thread, paints included.
  void PumpMessages();
  // The object the frame was told is UI active (IOleInPlaceFrame::SetActiveObject).
  IOleInPlaceActiveObject* ActiveObject() const;

 private:
  friend class Site;
  friend class SiteObject;
  class FrameObject;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  FrameObject* frameObject_ = nullptr;
  std::vector<std::unique_ptr<Site>> sites_;
};

}  // namespace vantiq::container
