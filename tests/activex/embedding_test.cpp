// The control embedded in the container: its window and how activation, placement,
// visibility and the ambient properties reach it.
#include <olectl.h>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using EmbeddingTest = ContainerTest;

TEST_F(EmbeddingTest, ActivatesInAWindowOfItsOwnInsideTheContainer) {
  Site* site = AddBar({10, 20, 160, 44});
  HWND window = site->Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(site->InPlaceActive());
  EXPECT_EQ(GetParent(window), frame->Hwnd());
  EXPECT_TRUE(IsWindowVisible(window));
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 150);
  EXPECT_EQ(client.bottom, 24);
  POINT origin{0, 0};
  MapWindowPoints(window, frame->Hwnd(), &origin, 1);
  EXPECT_EQ(origin.x, 10);
  EXPECT_EQ(origin.y, 20);
  // Double clicks arrive; no background brush paints under the control.
  EXPECT_TRUE(GetClassLongPtrW(window, GCL_STYLE) & CS_DBLCLKS);
  EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), 0u);
  EXPECT_EQ(site->GetLong(L"hwnd"), static_cast<long>(reinterpret_cast<LONG_PTR>(window)));
}

TEST_F(EmbeddingTest, DeactivationAndCloseDestroyTheWindow) {
  Site* site = AddBar();
  HWND first = site->Window();
  ASSERT_NE(first, nullptr);
  ASSERT_HRESULT_SUCCEEDED(site->Deactivate());
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(site->Window(), nullptr);
  EXPECT_FALSE(site->InPlaceActive());
  EXPECT_EQ(site->GetLong(L"hwnd"), 0) << "the control forgets its window";

  ASSERT_HRESULT_SUCCEEDED(site->DoVerb(OLEIVERB_INPLACEACTIVATE));
  HWND second = site->Window();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(IsWindowVisible(second));
  frame->Remove(site);
  EXPECT_FALSE(IsWindow(second));
}

TEST_F(EmbeddingTest, FollowsTheContainersPlacementAndClip) {
  Site* site = AddBar();
  Apply(*site, BarState{});
  ASSERT_HRESULT_SUCCEEDED(site->Move({30, 40, 130, 58}));
  HWND window = site->Window();
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, frame->Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 40);
  EXPECT_EQ(rect.right, 130);
  EXPECT_EQ(rect.bottom, 58);
  BarState state;
  EXPECT_TRUE(SamePixels(SoftRender(100, 18, state), Shot(*site))) << "redrawn at the new size";

  // Out of the container's clip the window hides, and it comes back with the clip.
  auto inPlace = site->As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  const RECT position{30, 40, 130, 58};
  const RECT elsewhere{200, 100, 300, 200};
  ASSERT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&position, &elsewhere));
  EXPECT_FALSE(IsWindowVisible(window));
  const RECT all{0, 0, 320, 200};
  ASSERT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&position, &all));
  EXPECT_TRUE(IsWindowVisible(window));

  ASSERT_HRESULT_SUCCEEDED(site->DoVerb(OLEIVERB_HIDE));
  EXPECT_FALSE(IsWindowVisible(window));
  ASSERT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&position, &all));
  EXPECT_FALSE(IsWindowVisible(window)) << "hidden on request stays hidden";
  ASSERT_HRESULT_SUCCEEDED(site->DoVerb(OLEIVERB_SHOW));
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(EmbeddingTest, UIActivationNamesTheControlToTheFrame) {
  Site* site = AddBar();
  EXPECT_FALSE(site->UIActive());
  EXPECT_EQ(frame->ActiveObject(), nullptr);
  ASSERT_HRESULT_SUCCEEDED(site->DoVerb(OLEIVERB_UIACTIVATE));
  EXPECT_TRUE(site->UIActive());
  auto active = site->As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  EXPECT_EQ(frame->ActiveObject(), active.Get());
  ASSERT_HRESULT_SUCCEEDED(site->Deactivate());
  EXPECT_FALSE(site->UIActive());
  EXPECT_EQ(frame->ActiveObject(), nullptr);
  EXPECT_EQ(site->DoVerb(OLEIVERB_OPEN), E_NOTIMPL);
  EXPECT_EQ(site->DoVerb(7), OLEOBJ_S_INVALIDVERB) << "an unknown verb runs the primary one";
  EXPECT_TRUE(site->UIActive());
}

TEST_F(EmbeddingTest, AmbientPropertiesReachTheControl) {
  SiteOptions options;
  options.userMode = false;
  options.rightToLeft = true;
  Site* site = AddBar({10, 10, 210, 30}, options);
  EXPECT_EQ(site->GetLong(L"RightToLeft"), -1) << "a new control reads the container's setting";
  container::Value hwnd;
  EXPECT_EQ(site->Get(L"hwnd", hwnd), CTL_E_SETNOTPERMITTED) << "no handle at design time";
  site->SetUserMode(true);
  EXPECT_HRESULT_SUCCEEDED(site->Get(L"hwnd", hwnd)) << "the change is heard";
  site->SetRightToLeft(false);
  EXPECT_EQ(site->GetLong(L"RightToLeft"), -1) << "once made, the property is the control's own";
}

TEST_F(EmbeddingTest, PointerShapesFollowMousePointer) {
  Site* site = AddBar();
  HWND window = site->Window();
  auto cursorOver = [&] {
    SetCursor(nullptr);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorOver(), LoadCursorW(nullptr, IDC_ARROW)) << "the class's arrow by default";
  site->Put(L"MousePointer", 2L);
  EXPECT_EQ(cursorOver(), LoadCursorW(nullptr, IDC_CROSS));
  site->Put(L"MousePointer", 11L);
  EXPECT_EQ(cursorOver(), LoadCursorW(nullptr, IDC_WAIT));

  // 99 shows MouseIcon.
  ICONINFO info{};
  GetIconInfo(LoadIconW(nullptr, IDI_QUESTION), &info);
  info.fIcon = FALSE;
  HICON custom = CreateIconIndirect(&info);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  ASSERT_HRESULT_SUCCEEDED(site->PutRef(L"MouseIcon", IconPicture(custom, true).Get()));
  site->Put(L"MousePointer", 99L);
  EXPECT_EQ(cursorOver(), custom);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace vantiq::activex::testing
