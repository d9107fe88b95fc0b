// The Vantiq control as a COM object: it owns the core control, the host it talks to
// and the real platform, and exposes them through COM interfaces. Each interface has
// its own source file: IUnknown, IProvideClassInfo2 and ISupportErrorInfo here
// (control_object.cpp), IDispatch (dispatch.cpp), _Vantiq's properties
// (control_properties.cpp) and IObjectSafety (object_safety.cpp). An interface added
// later joins the base list, QueryInterface and a file of its own.
//
// Life: Create runs the control's Initialize and then InitProperties, so that an object
// a script creates is a complete new control. A container's InitNew (persistence
// interfaces) calls InitNew() again, when the container can answer ambient properties;
// its Load reads the saved properties over those of the new control. The last Release
// runs Terminate.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <objsafe.h>
#include <ocidl.h>

#include <vector>

#include "VantiqCtl.h"
#include "activex/com_host.h"
#include "activex/com_ptr.h"
#include "activex/module.h"
#include "backends/gdi/gdi_platform.h"
#include "control/vantiq.h"

namespace vantiq::activex {

class ControlObject final : public _Vantiq,
                            public IProvideClassInfo2,
                            public ISupportErrorInfo,
                            public IObjectSafety {
 public:
  // A new control handing out `iid`. With `outer` it joins that object as an aggregate:
  // `iid` must then be IID_IUnknown and the result is the inner, non-delegating IUnknown.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  ControlObject(const ControlObject&) = delete;
  ControlObject& operator=(const ControlObject&) = delete;

  // For the container-facing interfaces.
  vantiq::Vantiq& Control() { return control_; }
  ComHost& ControlHost() { return host_; }
  // The container initialises the object as a new control: properties it takes from
  // the container (the ambient right-to-left setting) are read again.
  void InitNew() { control_.InitProperties(); }

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

  LONG refs_ = 0;
  ModuleLock lock_;
  Inner inner_;
  IUnknown* outer_;  // the controlling unknown: the aggregate's, or &inner_
  ComPtr<ITypeInfo> dualInfo_;
  std::vector<DISPID> colorIds_;  // properties of type OLE_COLOR

  ComHost host_;
  GdiPlatform platform_;
  vantiq::Vantiq control_;  // last: it holds on to the host and the platform
};

}  // namespace vantiq::activex
