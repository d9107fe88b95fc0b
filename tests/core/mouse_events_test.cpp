// Mouse input: the control's own mouse events and Click, and the hand-over of the
// host's tooltip text to the control's tooltip window (scripted here).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "control/vantiq.h"
#include "support/recording_host.h"
#include "window/unicode_tool_tip.h"

namespace vantiq {
namespace {

using Args = std::tuple<std::int16_t, std::int16_t, float, float>;
using Events = std::vector<std::u16string>;

class MouseEventsTest : public ::testing::Test {
 protected:
  MouseEventsTest() {
    platform.SetVersion("winxp");
    host.windowHandle = hwnd;
    host.width = 120;
    host.height = 20;
  }
  // One mouse event: 'm' move, 'd' down, 'u' up.
  void Mouse(char event, std::int16_t button = 1, float x = 5, float y = 5, Vantiq* on = nullptr) {
    Vantiq& c = on ? *on : control;
    std::int16_t shift = 0;
    if (event == 'm') c.MouseMove(button, shift, x, y);
    if (event == 'd') c.MouseDown(button, shift, x, y);
    if (event == 'u') c.MouseUp(button, shift, x, y);
  }
  SoftTipWindow& Tip() { return platform.tooltips.windows.at(control.ToolTip()->Hwnd()); }
  // The text the tooltip shows for the control's window.
  std::u16string Shown() {
    EXPECT_EQ(Tip().tools.size(), 1u);
    return Tip().tools.at(0).lpszText.value_or(u"<null>");
  }

  ScriptablePlatform platform;
  testing::RecordingHost host;
  WindowHandle hwnd = platform.AddWindow(120, 20);
  Vantiq control{host, platform};
};

TEST_F(MouseEventsTest, TheHostsTipIsTakenOverAndEveryPressGivesItBackUnchanged) {
  host.toolTipText = u"Tip";
  Mouse('m', 0);
  EXPECT_EQ(host.toolTipText, u"") << "the host shows no tip of its own";
  ASSERT_NE(control.ToolTip(), nullptr);
  EXPECT_EQ(Tip().parent, hwnd);
  EXPECT_EQ(Tip().style, kTtsAlwaysTip | kTtsNoPrefix) << "no balloon";
  EXPECT_EQ(std::tie(Tip().tools.at(0).uId, Tip().tools.at(0).hwnd), std::make_tuple(hwnd, hwnd));
  EXPECT_EQ(Shown(), u"Tip");
  const std::size_t sent = Tip().messages.size();
  Mouse('m', 0);
  EXPECT_EQ(Tip().messages.size(), sent) << "an empty host text changes nothing";
  EXPECT_EQ(host.toolTipWrites, 1);
  for (int press = 0; press < 2; ++press) {  // the second press finds what the first left
    Mouse('d');
    EXPECT_EQ(host.toolTipText, u"Tip") << "press " << press;
    Mouse('u');
    Mouse('m', 0);
    EXPECT_EQ(host.toolTipText, u"") << "press " << press;
    EXPECT_EQ(Shown(), u"Tip") << "press " << press;
  }
  host.toolTipText = u"Other";
  Mouse('m', 0);
  EXPECT_EQ(Shown(), u"Other") << "a new text goes to the same tool";
  EXPECT_EQ(platform.tooltips.windows.size(), 1u);
  // UTF-8 held one byte per character is decoded for the tip; the host gets back what it had.
  host.toolTipText = u"caf\u00C3\u00A9";
  Mouse('m', 0);
  EXPECT_EQ(Shown(), u"caf\u00E9");
  Mouse('d');
  EXPECT_EQ(host.toolTipText, u"caf\u00C3\u00A9");
  control.Terminate();
  EXPECT_FALSE(platform.tooltips.windows.begin()->second.alive) << "released with its window";
  EXPECT_EQ(control.ToolTip(), nullptr);
}

TEST_F(MouseEventsTest, WithoutATipNothingIsWrittenAndNoTooltipIsMade) {
  for (char event : {'m', 'd', 'u', 'm'}) Mouse(event);
  host.toolTipText.reset();  // a host without the extender property
  for (char event : {'m', 'd'}) Mouse(event);
  EXPECT_EQ(host.toolTipWrites, 0);
  EXPECT_EQ(control.ToolTip(), nullptr);
  EXPECT_EQ(platform.tooltips.commonControlsInits, 0);
  EXPECT_EQ(host.events, (Events{u"MouseMove", u"MouseDown", u"MouseUp", u"Click", u"MouseMove",
                                 u"MouseMove", u"MouseDown"}));
}

TEST_F(MouseEventsTest, MouseUpNeverTouchesTheTooltip) {
  host.toolTipText = u"Tip";
  Mouse('m', 0);
  const std::size_t sent = Tip().messages.size();
  const int topmost = Tip().topmostCalls;
  host.toolTipText = u"Changed";
  Mouse('u', 0);
  Mouse('u', 2);
  EXPECT_EQ(Tip().messages.size(), sent);
  EXPECT_EQ(Tip().topmostCalls, topmost);
  EXPECT_EQ(host.toolTipWrites, 1);
  EXPECT_EQ(host.toolTipText, u"Changed");
}

TEST_F(MouseEventsTest, AFailedTooltipWindowStopsNothing) {
  platform.tooltips.creationFails = true;
  host.toolTipText = u"Tip";
  for (char event : {'m', 'd', 'm'}) Mouse(event, 0);
  EXPECT_EQ(host.toolTipText, u"");
  ASSERT_NE(control.ToolTip(), nullptr);
  EXPECT_EQ(control.ToolTip()->Hwnd(), 0u);
  EXPECT_EQ(platform.tooltips.commonControlsInits, 1) << "one wrapper, one attempt";
  EXPECT_EQ(host.events.size(), 3u);
}

TEST_F(MouseEventsTest, ArgumentsReachTheHostByReferenceAndItsChangesStayThere) {
  Args received;
  host.onMouse = [&](std::int16_t& b, std::int16_t& s, float& x, float& y) {
    received = Args(b, s, x, y);
    b = 2, s = 7, x = -50, y = 99;
  };
  for (auto event : {&Vantiq::MouseDown, &Vantiq::MouseMove, &Vantiq::MouseUp}) {
    std::int16_t button = 1, shift = 6;
    float x = 3.5f, y = 19.75f;
    (control.*event)(button, shift, x, y);
    EXPECT_EQ(received, Args(1, 6, 3.5f, 19.75f));
    EXPECT_EQ(Args(button, shift, x, y), Args(2, 7, -50, 99)) << "the handler's values come back";
  }
  // A left press released inside, whatever the handlers made of it.
  EXPECT_EQ(host.events, (Events{u"MouseDown", u"MouseMove", u"MouseUp", u"Click"}));
}

TEST_F(MouseEventsTest, ClickFollowsALeftPressReleasedInsideTheControl) {
  struct Case {
    const char* what;
    std::vector<std::tuple<char, std::int16_t, float, float>> events;
    int clicks;
  };
  const Case cases[] = {
      {"left press and release", {{'d', 1, 5, 5}, {'u', 1, 5, 5}}, 1},
      {"released at the top left pixel", {{'d', 1, 5, 5}, {'u', 1, 0, 0}}, 1},
      {"released at the bottom right pixel", {{'d', 1, 5, 5}, {'u', 1, 119.5f, 19.5f}}, 1},
      {"released right of the control", {{'d', 1, 5, 5}, {'u', 1, 120, 5}}, 0},
      {"released below", {{'d', 1, 5, 5}, {'u', 1, 5, 20}}, 0}, {"left", {{'d', 1, 5, 5}, {'u', 1, -0.5f, 5}}, 0},
      {"above", {{'d', 1, 5, 5}, {'u', 1, 5, -0.5f}}, 0}, {"right button", {{'d', 2, 5, 5}, {'u', 2, 5, 5}}, 0},
      {"middle button", {{'d', 4, 5, 5}, {'u', 4, 5, 5}}, 0}, {"release without a press", {{'u', 1, 5, 5}}, 0},
      {"right released while left is held", {{'d', 1, 5, 5}, {'d', 2, 5, 5}, {'u', 2, 5, 5}, {'u', 1, 5, 5}}, 1},
      {"one click per press", {{'d', 1, 5, 5}, {'u', 1, 5, 5}, {'u', 1, 5, 5}}, 1},
      {"a release outside spends the press", {{'d', 1, 5, 5}, {'u', 1, 130, 5}, {'u', 1, 5, 5}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host.events.clear();
    Vantiq fresh(host, platform);
    for (auto [event, button, x, y] : c.events) Mouse(event, button, x, y, &fresh);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), u"Click"), c.clicks);
    for (std::size_t i = 0; i < host.events.size(); ++i)
      if (host.events[i] == u"Click") EXPECT_EQ(host.events.at(i - 1), u"MouseUp") << "after the release";
  }
}

TEST_F(MouseEventsTest, ANewControlWindowGetsATipOfItsOwnWithTheSameText) {
  host.toolTipText = u"Copying";
  Mouse('m', 0);
  const WindowHandle firstTip = control.ToolTip()->Hwnd();
  // The container deactivates and activates the control again: a new window.
  const WindowHandle second = platform.AddWindow(120, 20);
  host.windowHandle = second;
  Mouse('m', 0);
  ASSERT_NE(control.ToolTip(), nullptr);
  EXPECT_FALSE(platform.tooltips.windows.at(firstTip).alive) << "the old tip went";
  EXPECT_EQ(Tip().parent, second);
  EXPECT_EQ(Tip().tools.at(0).uId, second);
  EXPECT_EQ(Shown(), u"Copying");
  EXPECT_EQ(host.toolTipText, u"") << "still the control's to show";
}

}  // namespace
}  // namespace vantiq::testing
