// CUnicodeToolTip over scripted tooltip windows: the window it makes, the tool it
// registers, the messages it sends and what it does when the window cannot be made.
#include "window/unicode_tool_tip.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "support/control_rig.h"

namespace vantiq {
namespace {

using Ids = std::vector<std::uint32_t>;

Ids Messages(const SoftTipWindow& w, std::size_t from = 0) {
  Ids ids;
  for (std::size_t i = from; i < w.messages.size(); ++i) ids.push_back(w.messages[i].message);
  return ids;
}

class ToolTipTest : public ::testing::Test {
 protected:
  ToolTipTest() { platform.SetVersion("winxp"); }
  SoftTipWindow& Window(const CUnicodeToolTip& tip) { return platform.tooltips.windows.at(tip.Hwnd()); }

  ScriptablePlatform platform;
  WindowHandle owner = platform.AddWindow(120, 20);
  WindowHandle other = platform.AddWindow(30, 40);
};

TEST_F(ToolTipTest, CreateMakesOneTopmostWindowWhoseBalloonBitFollowsTheFlag) {
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner));
  SoftTipWindow& w = Window(tip);
  EXPECT_EQ(w.style, kTtsAlwaysTip | kTtsNoPrefix | kTtsBalloon) << "a balloon by default";
  EXPECT_EQ(w.parent, owner);
  EXPECT_EQ(w.topmostCalls, 1);
  EXPECT_TRUE(tip.Create(other)) << "a second Create keeps the window it has";
  EXPECT_EQ(platform.tooltips.windows.size(), 1u);
  EXPECT_EQ(w.parent, owner);
  w.style |= 0x80000000u;  // only the balloon bit changes
  tip.SetBalloon(false);
  EXPECT_EQ(w.style, 0x80000000u | kTtsAlwaysTip | kTtsNoPrefix);
  tip.SetBalloon(true);
  EXPECT_EQ(w.style, 0x80000000u | kTtsAlwaysTip | kTtsNoPrefix | kTtsBalloon);
  CUnicodeToolTip plain(platform);
  plain.SetBalloon(false);
  ASSERT_TRUE(plain.Create(owner));
  EXPECT_EQ(Window(plain).style, kTtsAlwaysTip | kTtsNoPrefix);
}

TEST_F(ToolTipTest, AddToolRegistersEachWindowOnceAndRelaysOneMessage) {
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner));
  SoftTipWindow& w = Window(tip);
  EXPECT_TRUE(tip.AddTool(other, owner, u""));
  ASSERT_EQ(w.tools.size(), 1u);
  const ToolInfo& tool = w.tools[0];
  EXPECT_EQ(std::tie(tool.uFlags, tool.hwnd, tool.uId, tool.hinst, tool.lParam),
            std::make_tuple(0x111u, owner, std::uintptr_t{other}, std::uintptr_t{0}, std::intptr_t{0}));
  EXPECT_EQ(tool.rect, (Rect{0, 0, 30, 40})) << "the tool window's client rectangle";
  EXPECT_FALSE(tool.lpszText.has_value()) << "an empty text goes as a null pointer";
  EXPECT_EQ(Messages(w), (Ids{kTtmGetToolCount, kTtmAddToolW, kTtmRelayEvent}));
  const SoftTipMessage& relay = w.messages.back();
  EXPECT_EQ(relay.wParam, 0u);
  const RelayMessage& m = relay.relay;  // a left press, sent to the tip itself
  EXPECT_EQ(std::tie(m.hwnd, m.message, m.wParam, m.lParam, m.time, m.ptX, m.ptY),
            std::make_tuple(tip.Hwnd(), 0x407u, std::uintptr_t{0}, std::intptr_t{0x201}, 0u, 0, 0));

  // The same window again: looked up (count, one enumeration), refused, nothing sent.
  const std::size_t sent = w.messages.size();
  EXPECT_FALSE(tip.AddTool(other, other, u"second"));
  EXPECT_EQ(Messages(w, sent), (Ids{kTtmGetToolCount, kTtmEnumToolsW}));
  ASSERT_EQ(w.tools.size(), 1u);
  EXPECT_EQ(w.tools[0].hwnd, owner);
  EXPECT_TRUE(tip.AddTool(owner, owner, u"Owner's"));
  ASSERT_EQ(w.tools.size(), 2u);
  EXPECT_EQ(w.tools[1].lpszText, std::u16string(u"Owner's"));
  ASSERT_TRUE(tip.FindTool(owner));
  EXPECT_EQ(tip.Tool().uId, owner);
  // A window that refuses the tool still gets the relay.
  platform.tooltips.refusesTools = true;
  const std::size_t before = w.messages.size();
  EXPECT_FALSE(tip.AddTool(platform.AddWindow(5, 5), owner, u""));
  EXPECT_EQ(Messages(w, before).back(), kTtmRelayEvent);
}

TEST_F(ToolTipTest, UpdateToolTextReplacesTheTextAndPutsTheTipOnTopEveryTime) {
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner));
  ASSERT_TRUE(tip.AddTool(other, other, u""));
  ASSERT_TRUE(tip.AddTool(owner, owner, u""));
  SoftTipWindow& w = Window(tip);
  const std::u16string text = u"\u041F\u0440\u0438\u0432\u0435\u0442 \u4E16\u754C \U0001F600";
  tip.UpdateToolText(owner, text);
  EXPECT_EQ(w.tools[1].lpszText, text);
  EXPECT_FALSE(w.tools[0].lpszText.has_value()) << "the other tool keeps its text";
  EXPECT_EQ(w.messages.back().message, kTtmUpdateTipTextW);
  EXPECT_EQ(std::tie(w.messages.back().tool.uId, w.messages.back().tool.uFlags), std::make_tuple(owner, 0x111u));
  EXPECT_EQ(w.topmostCalls, 2);
  tip.UpdateToolText(owner, u"");
  EXPECT_EQ(w.tools[1].lpszText, std::u16string()) << "an empty text, not a null pointer";
  const std::size_t sent = w.messages.size();
  tip.UpdateToolText(0x999, u"nobody's");
  EXPECT_EQ(Messages(w, sent), (Ids{kTtmGetToolCount, kTtmEnumToolsW, kTtmEnumToolsW}));
  EXPECT_EQ(tip.ToolText(), u"") << "an unknown tool's text is not kept";
  EXPECT_EQ(w.topmostCalls, 4) << "on top again even for an unknown tool";
}

TEST_F(ToolTipTest, WithoutAWindowCreateAndAddToolFailAndUpdatesDoNothing) {
  platform.tooltips.creationFails = true;
  {
    CUnicodeToolTip tip(platform);
    EXPECT_FALSE(tip.Create(owner));
    EXPECT_EQ(tip.Hwnd(), 0u);
    EXPECT_FALSE(tip.AddTool(owner, owner, u"text"));
    tip.UpdateToolText(owner, u"other");
    EXPECT_EQ(tip.ToolCount(), 0);
  }
  EXPECT_TRUE(platform.tooltips.windows.empty());
  EXPECT_EQ(platform.tooltips.failedCalls, 2) << "only the z-order calls of Create and UpdateToolText";
}

// The version tests remember their answers per thread: one thread per version.
TEST(ToolTipShadow, TheClassGetsADropShadowFromXpOn) {
  for (const auto& [version, shadow] : {std::pair{"win98", false}, {"win2k", false}, {"winxp", true},
                                        {"win2003", true}, {"win7", true}, {"win10", true}}) {
    testing::OnNewThread([&, version = version, shadow = shadow] {
      ScriptablePlatform platform;
      platform.SetVersion(version);
      const std::uint32_t registered = platform.tooltips.classStyle;
      CUnicodeToolTip tip(platform);
      ASSERT_TRUE(tip.Create(platform.AddWindow(10, 10)));
      EXPECT_EQ(platform.tooltips.classStyle, registered | (shadow ? kCsDropShadow : 0u)) << version;
    });
  }
}

}  // namespace
}  // namespace vantiq
