// The Vantiq control as a COM object: it owns the core control, the host it talks to
// and the real platform, and exposes them through COM interfaces. Each interface has
// its own source file: IUnknown, IProvideClassInfo2 and ISupportErrorInfo here
// (control_object.cpp), IDispatch (dispatch.cpp), _Vantiq's properties
// (control_properties.cpp), IObjectSafety (object_safety.cpp), IOleObject
// (ole_object.cpp), IOleInPlaceObject and IOleInPlaceActiveObject (in_place_object.cpp),
// IOleControl (ole_control.cpp), IViewObjectEx (view_object.cpp), IQuickActivate
// (quick_activate.cpp), the connection points (connection_points.cpp),
// IPersistPropertyBag (persist_property_bag.cpp), IPersistStreamInit and IPersistStorage
// (persist_stream.cpp), ISpecifyPropertyPages (specify_property_pages.cpp) and
// IPerPropertyBrowsing (per_property_browsing.cpp); the General page those name is a
// class of its own (general_page.cpp). An interface added later joins the base list,
// QueryInterface and a file of its own.
//
// Life: Create runs the control's Initialize and then InitProperties, so that an object
// a script creates is a complete new control. A container's InitNew (persistence
// interfaces) runs InitProperties again, when the container can answer ambient
// properties; its Load reads the saved properties over those of the new control. In-place
// activation gives the control a window of its own (ControlWindow); deactivation and
// Close take it away again. The last Release runs Terminate.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <objsafe.h>
#include <ocidl.h>

#include <vector>

#include "VantiqCtl.h"
#include "activex/com_host.h"
#include "activex/com_ptr.h"
#include "activex/connection_points.h"
#include "activex/control_window.h"
#include "activex/module.h"
#include "backends/gdi/gdi_platform.h"
#include "control/vantiq.h"

namespace vantiq::activex {

// A reference held for the length of a call that may raise events: a handler may let
// the last reference from outside go while the call is still running in the object.
class KeepAlive {
 public:
  explicit KeepAlive(IUnknown* object) : object_(object) { object_->AddRef(); }
  ~KeepAlive() { object_->Release(); }
  KeepAlive(const KeepAlive&) = delete;
  KeepAlive& operator=(const KeepAlive&) = delete;

 private:
  IUnknown* object_;
};

class ControlObject final : public _Vantiq,
                            public IProvideClassInfo2,
                            public ISupportErrorInfo,
                            public IObjectSafety,
                            public IOleObject,
                            public IOleInPlaceObject,
                            public IOleInPlaceActiveObject,
                            public IOleControl,
                            public IViewObjectEx,
                            public IQuickActivate,
                            public IConnectionPointContainer,
                            public IPersistPropertyBag,
                            public IPersistStreamInit,
                            public IPersistStorage,
                            public ISpecifyPropertyPages,
                            public IPerPropertyBrowsing,
                            private ContainerLink {
 public:
  // A new control handing out `iid`. With `outer` it joins that object as an aggregate:
  // `iid` must then be IID_IUnknown and the result is the inner, non-delegating IUnknown.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  ControlObject(const ControlObject&) = delete;
  ControlObject& operator=(const ControlObject&) = delete;

  // For the container-facing interfaces.
  vantiq::Vantiq& Control() { return control_; }
  ComHost& ControlHost() { return host_; }

  // --- IUnknown: delegates to the controlling unknown ------------------------------
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // --- IDispatch, through the type library -----------------------------------------
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // --- _Vantiq ---------------------------------------------------------------------
  STDMETHODIMP get_TextAlignment(::eProgressBarTextAlign* eAlign) override;
  STDMETHODIMP put_TextAlignment(::eProgressBarTextAlign eAlign) override;
  STDMETHODIMP get_Font(IFontDisp** oFnt) override;
  STDMETHODIMP putref_Font(IFontDisp* oFnt) override;
  STDMETHODIMP put_Font(IFontDisp* oFnt) override;
  STDMETHODIMP get_hwnd(LONG* lHwnd) override;
  STDMETHODIMP put_hwnd(LONG lHwnd) override;
  STDMETHODIMP get_Min(double* dMin) override;
  STDMETHODIMP put_Min(double dMin) override;
  STDMETHODIMP get_Max(double* dMax) override;
  STDMETHODIMP put_Max(double dMax) override;
  STDMETHODIMP get_MouseIcon(IPictureDisp** oIcon) override;
  STDMETHODIMP putref_MouseIcon(IPictureDisp* oIcon) override;
  STDMETHODIMP get_MousePointer(::eMousePointer* ePointer) override;
  STDMETHODIMP put_MousePointer(::eMousePointer ePointer) override;
  STDMETHODIMP get_Orientation(::eProgressBarOrientation* eOrientation) override;
  STDMETHODIMP put_Orientation(::eProgressBarOrientation eOrientation) override;
  STDMETHODIMP get_Enabled(VARIANT_BOOL* bEnabled) override;
  STDMETHODIMP put_Enabled(VARIANT_BOOL bEnabled) override;
  STDMETHODIMP get_Scrolling(::eProgressBarScroll* eScroll) override;
  STDMETHODIMP put_Scrolling(::eProgressBarScroll eScroll) override;
  STDMETHODIMP get_ShowCaption(VARIANT_BOOL* bShowCaption) override;
  STDMETHODIMP put_ShowCaption(VARIANT_BOOL bShowCaption) override;
  STDMETHODIMP get_SearchCaption(BSTR* sSearchCaption) override;
  STDMETHODIMP put_SearchCaption(BSTR sSearchCaption) override;
  STDMETHODIMP get_PercentFormat(BSTR* sFormat) override;
  STDMETHODIMP put_PercentFormat(BSTR sFormat) override;
  STDMETHODIMP get_Caption(BSTR* sCaption) override;
  STDMETHODIMP put_Caption(BSTR sCaption) override;
  STDMETHODIMP get_Shadow(VARIANT_BOOL* bShadow) override;
  STDMETHODIMP put_Shadow(VARIANT_BOOL bShadow) override;
  STDMETHODIMP get_ShadowIntensity(LONG* lIntensity) override;
  STDMETHODIMP put_ShadowIntensity(LONG lIntensity) override;
  STDMETHODIMP get_value(double* dValue) override;
  STDMETHODIMP put_value(double dValue) override;
  STDMETHODIMP get_style(::eProgressBarStyle* eStyle) override;
  STDMETHODIMP put_style(::eProgressBarStyle eStyle) override;
  STDMETHODIMP get_ForeColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_ForeColor(OLE_COLOR lColor) override;
  STDMETHODIMP get_BackColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_BackColor(OLE_COLOR lColor) override;
  STDMETHODIMP get_ShadowColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_ShadowColor(OLE_COLOR lColor) override;
  STDMETHODIMP get_SegmentBorderColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_SegmentBorderColor(OLE_COLOR lColor) override;
  STDMETHODIMP get_RightToLeft(VARIANT_BOOL* bRightToLeft) override;
  STDMETHODIMP put_RightToLeft(VARIANT_BOOL bRightToLeft) override;
  STDMETHODIMP get_ProgressColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_ProgressColor(OLE_COLOR lColor) override;
  STDMETHODIMP get_SegmentBorders(VARIANT_BOOL* bSegmentBorders) override;
  STDMETHODIMP put_SegmentBorders(VARIANT_BOOL bSegmentBorders) override;
  STDMETHODIMP get_CaptionCallBack(VARIANT_BOOL* bCaptionCallBack) override;
  STDMETHODIMP put_CaptionCallBack(VARIANT_BOOL bCaptionCallBack) override;
  STDMETHODIMP get_ProgressPicture(IPictureDisp** oPicture) override;
  STDMETHODIMP putref_ProgressPicture(IPictureDisp* oPicture) override;
  STDMETHODIMP get_BackgroundPicture(IPictureDisp** oPicture) override;
  STDMETHODIMP putref_BackgroundPicture(IPictureDisp* oPicture) override;
  STDMETHODIMP get_AlternateForeColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_AlternateForeColor(OLE_COLOR lColor) override;
  STDMETHODIMP get_AlternateShadowColor(OLE_COLOR* lColor) override;
  STDMETHODIMP put_AlternateShadowColor(OLE_COLOR lColor) override;

  // --- IProvideClassInfo2 ----------------------------------------------------------
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // --- ISupportErrorInfo -----------------------------------------------------------
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

  // --- IObjectSafety ---------------------------------------------------------------
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // --- IOleObject ------------------------------------------------------------------
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR application, LPCOLESTR document) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* activeSite, LONG index,
                      HWND parent, LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // --- IOleWindow, for IOleInPlaceObject and IOleInPlaceActiveObject alike -----------
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

  // --- IOleInPlaceObject -----------------------------------------------------------
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;

  // --- IOleInPlaceActiveObject -----------------------------------------------------
  STDMETHODIMP TranslateAccelerator(LPMSG message) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;

  // --- IOleControl -----------------------------------------------------------------
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* message) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID dispid) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // --- IViewObject2 ----------------------------------------------------------------
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                    HDC targetInfo, HDC target, LPCRECTL bounds, LPCRECTL metafileBounds,
                    BOOL(STDMETHODCALLTYPE* keepGoing)(ULONG_PTR), ULONG_PTR keepGoingArg) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                           HDC targetInfo, LOGPALETTE** colors) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  STDMETHODIMP Unfreeze(DWORD freeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // --- IViewObjectEx: opacity and hit testing, from the window's region ---------------
  STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG closeHint,
                             DWORD* result) override;
  STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG closeHint,
                            DWORD* result) override;
  STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, HDC targetInfo,
                                DVEXTENTINFO* info, LPSIZEL size) override;

  // --- IQuickActivate ---------------------------------------------------------------
  STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  STDMETHODIMP SetContentExtent(LPSIZEL size) override;
  STDMETHODIMP GetContentExtent(LPSIZEL size) override;

  // --- IConnectionPointContainer ---------------------------------------------------
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // --- IPersist, IPersistPropertyBag, IPersistStreamInit, IPersistStorage -------------
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  // A new control: InitProperties again, now that the container can answer.
  STDMETHODIMP InitNew() override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
  STDMETHODIMP Load(LPSTREAM stream) override;
  STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew(IStorage* storage) override;
  STDMETHODIMP Load(IStorage* storage) override;
  STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHODIMP SaveCompleted(IStorage* storage) override;
  STDMETHODIMP HandsOffStorage() override;

  // --- ISpecifyPropertyPages -------------------------------------------------------
  STDMETHODIMP GetPages(CAUUID* pages) override;

  // --- IPerPropertyBrowsing --------------------------------------------------------
  STDMETHODIMP GetDisplayString(DISPID id, BSTR* text) override;
  STDMETHODIMP MapPropertyToPage(DISPID id, CLSID* page) override;
  STDMETHODIMP GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) override;
  STDMETHODIMP GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) override;

 private:
  // The object's own IUnknown, which an aggregating outer object holds.
  class Inner final : public IUnknown {
   public:
    explicit Inner(ControlObject& owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

   private:
    ControlObject& owner_;
  };

  explicit ControlObject(IUnknown* outer);
  ~ControlObject();

  // The _Vantiq type information, vtable side: IDispatch calls go through it.
  HRESULT DualTypeInfo(ComPtr<ITypeInfo>& info);

  // --- ContainerLink: the core's change notifications and events -------------------
  void OnPropertyChanged(const std::u16string& name) override;
  void FireEvent(DISPID dispid, DISPPARAMS& params) override;
  // The dispatch id of a property by the name the core notifies; DISPID_UNKNOWN
  // ("some properties changed") for a name the type library does not know.
  DISPID PropertyDispId(const std::u16string& name);
  // ProgressPicture, BackgroundPicture or MouseIcon.
  bool IsPictureProperty(DISPID id);

  // In-place activation, with UI activation when `ui`.
  HRESULT ActivateInPlace(IOleClientSite* site, bool ui);
  // The extent as pixels of the screen, for a drawing without a window.
  SIZE ExtentInPixels() const;
  // Where the control is hit when drawn at `bounds`: its window's region placed there,
  // or all of `bounds` while it has no region (or no window). Deleted by the caller.
  HRGN HitArea(const RECT& bounds) const;

  LONG refs_ = 0;
  ModuleLock lock_;
  Inner inner_;
  IUnknown* outer_;  // the controlling unknown: the aggregate's, or &inner_
  ComPtr<ITypeInfo> dualInfo_;
  std::vector<DISPID> colorIds_;  // properties of type OLE_COLOR

  // The container: its client site and, while in place, its in-place site, frame and
  // document window.
  ComPtr<IOleClientSite> clientSite_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> document_;
  ComPtr<IOleAdviseHolder> adviseHolder_;  // IOleObject::Advise, made on first use
  ComPtr<IAdviseSink> viewSink_;           // IViewObject::SetAdvise
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  SIZEL extent_{};  // HIMETRIC
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  bool clippedAway_ = false;  // hidden because the container's clip leaves nothing
  bool dirty_ = false;
  LONG frozenEvents_ = 0;
  // Sinks connected by QuickActivate hear nothing until InitNew or Load has run.
  bool quietUntilState_ = false;
  ConnectionPoint events_;
  ConnectionPoint propertyNotify_;

  ComHost host_;
  GdiPlatform platform_;
  vantiq::Vantiq control_;  // it holds on to the host and the platform
  ControlWindow window_;    // last: it holds on to the control
};

}  // namespace vantiq::activex
