// The control in the system's own ATL host. (What many hosted controls leave behind:
// load_test.cpp.)
#include <olectl.h>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using HostsTest = ContainerTest;

HRESULT PutByName(IDispatch* object, const wchar_t* name, VARIANT value) {
  DISPID dispid = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(hr)) return hr;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                        nullptr, nullptr, nullptr);
}

TEST_F(HostsTest, TheSystemsAtlHostShowsTheControlByItsProgId) {
  // The library's own registration, undone when the test ends.
  struct Registered {
    ~Registered() { ControlLibrary::Get().Unregister(); }
  } registered;
  ASSERT_EQ(ControlLibrary::Get().Register(), S_OK);
  HMODULE atl = LoadLibraryW(L"atl.dll");
  ASSERT_NE(atl, nullptr);
  using Init = BOOL(WINAPI*)();
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto getControl =
      reinterpret_cast<GetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  ASSERT_TRUE(init && getControl && init());
  HWND host = CreateWindowExW(0, L"AtlAxWin", L"VantiqCtl.Vantiq", WS_CHILD | WS_VISIBLE, 20, 20, 200,
                              20, frame->Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  {
    ComPtr<IUnknown> control;
    ASSERT_HRESULT_SUCCEEDED(getControl(host, control.Put()));
    auto dispatch = control.As<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(dispatch);
    VARIANT value;
    V_VT(&value) = VT_I4;
    V_I4(&value) = 0;
    EXPECT_HRESULT_SUCCEEDED(PutByName(dispatch.Get(), L"Style", value));
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = VARIANT_FALSE;
    EXPECT_HRESULT_SUCCEEDED(PutByName(dispatch.Get(), L"ShowCaption", value));
    V_VT(&value) = VT_R8;
    V_R8(&value) = 37;
    EXPECT_HRESULT_SUCCEEDED(PutByName(dispatch.Get(), L"Value", value));
    HWND window = nullptr;
    auto inPlace = control.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
    ASSERT_TRUE(inPlace);
    ASSERT_HRESULT_SUCCEEDED(inPlace->GetWindow(&window));
    EXPECT_EQ(GetParent(window), host);
    frame->PumpMessages();
    EXPECT_TRUE(SamePixels(SoftRender(200, 20, BarState{}), container::Capture(window)));
  }
  DestroyWindow(host);
  frame->PumpMessages();
}

}  // namespace
}  // namespace vantiq::activex::testing
