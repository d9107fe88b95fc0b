// What the control tells its container: events with by-reference arguments, change
// notifications and the dirty flag, and mouse input turned into its mouse events.
#include <olectl.h>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using EventsTest = ContainerTest;

struct Mouse {
  DISPID event;
  short button, shift;
  float x, y;
  bool operator==(const Mouse& o) const {
    return event == o.event && button == o.button && shift == o.shift && x == o.x && y == o.y;
  }
};

std::ostream& operator<<(std::ostream& out, const Mouse& m) {
  return out << "{" << m.event << ": " << m.button << ", " << m.shift << ", " << m.x << ", " << m.y << "}";
}

TEST_F(EventsTest, ProgressTextCallBackShowsTheHandlersTextAndWritesBackItsValue) {
  Site* site = AddBar();
  Site* plain = AddBar({10, 40, 210, 60});
  BarState state;
  state.showCaption = true;
  state.value = 25;
  Apply(*plain, state);
  plain->Put(L"Caption", L"Half way");

  std::vector<std::wstring> offered;
  std::vector<double> args;
  site->events.progressText = [&](double& value, double& min, double& max, std::wstring& text) {
    offered.push_back(text);
    args = {value, min, max};
    text = L"Half way";
  };
  Apply(*site, state);
  site->Put(L"CaptionCallBack", true);
  EXPECT_TRUE(SamePixels(Shot(*plain), Shot(*site))) << "the handler's text is drawn";
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.back(), L"25%");
  EXPECT_EQ(args, (std::vector<double>{25, 0, 100}));

  // The handler's value goes straight into the control, unclamped.
  site->events.progressText = [](double& value, double& min, double& max, std::wstring&) {
    value = 80;
    max = 60;
  };
  site->Put(L"Caption", L"");
  EXPECT_EQ(site->GetDouble(L"Value"), 80);
  EXPECT_EQ(site->GetDouble(L"Max"), 60);
}

TEST_F(EventsTest, PropertyChangesReachTheSinkAndMakeTheControlDirty) {
  Site* site = AddBar();
  EXPECT_EQ(site->IsDirty(), S_FALSE) << "a new control";
  site->changes.clear();
  site->Put(L"Value", 30.0);
  site->Put(L"Style", 2L);
  site->Put(L"Max", 20.0);
  site->Put(L"TextAlignment", 9L);  // refused: no notification
  site->Put(L"ForeColor", 255L);
  EXPECT_EQ(site->changes, (std::vector<DISPID>{0, 0x68030009, 0x68030013, DISPID_FORECOLOR}));
  EXPECT_EQ(site->IsDirty(), S_OK);
  std::vector<std::uint8_t> saved;
  ASSERT_HRESULT_SUCCEEDED(site->SaveToStream(saved));
  EXPECT_EQ(site->IsDirty(), S_FALSE);

  // The font object the control hands out notifies through the control.
  container::Value font;
  ASSERT_HRESULT_SUCCEEDED(site->Get(L"Font", font));
  ASSERT_EQ(V_VT(&font), VT_DISPATCH);
  ComPtr<IFont> ifont;
  ASSERT_HRESULT_SUCCEEDED(V_DISPATCH(&font)->QueryInterface(IID_IFont, reinterpret_cast<void**>(ifont.Put())));
  site->changes.clear();
  ifont->put_Bold(TRUE);
  EXPECT_EQ(site->changes, (std::vector<DISPID>{DISPID_FONT}));
  EXPECT_EQ(site->IsDirty(), S_OK);
}

TEST_F(EventsTest, MouseMessagesRaiseMouseEventsWithButtonShiftAndPosition) {
  Site* site = AddBar();
  HWND window = site->Window();
  std::vector<Mouse> seen;
  auto record = [&](DISPID event) {
    return [&seen, event](short& button, short& shift, float& x, float& y) {
      seen.push_back({event, button, shift, x, y});
      button = 0;  // changes nothing in the control
    };
  };
  site->events.mouseDown = record(container::kMouseDown);
  site->events.mouseMove = record(container::kMouseMove);
  site->events.mouseUp = record(container::kMouseUp);
  int clicks = 0;
  site->events.click = [&] { ++clicks; };

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(12, 7));
  EXPECT_EQ(GetCapture(), window);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_CONTROL, MAKELPARAM(190, 3));
  SendMessageW(window, WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(190, 3));
  EXPECT_EQ(GetCapture(), window) << "the left button is still held";
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(150, 9));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(clicks, 1);
  // Alt comes from the keyboard; a drag outside keeps its negative coordinates.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(window, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(-4, 25));
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
  SendMessageW(window, WM_MBUTTONUP, 0, MAKELPARAM(-4, 25));
  EXPECT_EQ(seen, (std::vector<Mouse>{{container::kMouseDown, 1, 1, 12, 7},
                                      {container::kMouseMove, 3, 2, 190, 3},
                                      {container::kMouseUp, 2, 0, 190, 3},
                                      {container::kMouseUp, 1, 0, 150, 9},
                                      {container::kMouseDown, 4, 4, -4, 25},
                                      {container::kMouseUp, 4, 0, -4, 25}}));
  EXPECT_EQ(clicks, 1) << "a middle click is no Click";
}

TEST_F(EventsTest, EveryConnectedSinkHearsTheEventInTurn) {
  Site* site = AddBar();
  ComPtr<IConnectionPoint> point;
  ASSERT_HRESULT_SUCCEEDED(site->As<IConnectionPointContainer>(IID_IConnectionPointContainer)
                               ->FindConnectionPoint(DIID___Vantiq, point.Put()));
  // A second sink beside the container's: it records the button each MouseMove brings it.
  std::vector<short> buttons;
  TestDispatch second([&](DISPID id, DISPPARAMS* params, VARIANT*) {
    if (id == container::kMouseMove && params->cArgs == 4) buttons.push_back(*V_I2REF(&params->rgvarg[3]));
    return S_OK;
  });
  DWORD cookie = 0;
  ASSERT_HRESULT_SUCCEEDED(point->Advise(&second, &cookie));
  // The container's handler, connected first, changes the by-reference button.
  site->events.mouseMove = [](short& button, short&, float&, float&) { button = 7; };
  SendMessageW(site->Window(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(5, 5));
  ASSERT_HRESULT_SUCCEEDED(point->Unadvise(cookie));
  SendMessageW(site->Window(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(6, 5));
  EXPECT_EQ(buttons, std::vector<short>{7});
  EXPECT_EQ(site->eventLog, (std::vector<DISPID>{container::kMouseMove, container::kMouseMove}));
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

TEST_F(EventsTest, FrozenEventsAreDropped) {
  Site* site = AddBar();
  auto control = site->As<IOleControl>(IID_IOleControl);
  ASSERT_HRESULT_SUCCEEDED(control->FreezeEvents(TRUE));
  SendMessageW(site->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(site->eventLog.empty());
  ASSERT_HRESULT_SUCCEEDED(control->FreezeEvents(FALSE));
  SendMessageW(site->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(site->eventLog, (std::vector<DISPID>{container::kMouseMove}));
}

}  // namespace
}  // namespace vantiq::activex::testing
