// The tooltip on the real comctl32: what the backend makes of the core's requests (the
// core's tooltip tests own the requests themselves). Real mouse messages do not reach the
// control here, so the tests call its mouse methods directly.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "backends/gdi/gdi_tip_window.h"
#include "support/real_window.h"
#include "support/window_host.h"
#include "window/unicode_tool_tip.h"

namespace vantiq::testing {
namespace {

// Cyrillic, CJK and an emoji (a surrogate pair): no ANSI code page holds them all.
const std::u16string kText = u"\u041F\u0440\u0438\u0432\u0435\u0442 \u4E16\u754C \U0001F600";

std::u16string U16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }

HWND TipAfterAMove(Vantiq& control) {
  std::int16_t button = 0, shift = 0;
  float x = 5, y = 5;
  control.MouseMove(button, shift, x, y);
  return control.ToolTip() ? reinterpret_cast<HWND>(control.ToolTip()->Hwnd()) : nullptr;
}

// The text TTM_GETTEXTW gives for the tool that is the window `tool`.
std::u16string TextOf(HWND tip, HWND tool) {
  wchar_t buffer[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = tool;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = buffer;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return U16(buffer);
}

TEST(ToolTipWindow, TheHostsTipShowsInARealTooltipWindowInUtf16UntilTheControlGoes) {
  WindowRig rig(120, 20);
  rig.Start();
  rig.host.toolTipText = kText;
  const HWND tip = TipAfterAMove(*rig.control);
  ASSERT_TRUE(IsWindow(tip));
  char className[64] = {};
  GetClassNameA(tip, className, sizeof className);
  EXPECT_STREQ(className, "tooltips_class32");
  EXPECT_NE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(GetClassLongA(tip, GCL_STYLE) & CS_DROPSHADOW, 0u) << "Wine reports a version from XP on";
  EXPECT_EQ(GetWindow(tip, GW_OWNER), rig.Hwnd());
  EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), TTS_ALWAYSTIP | TTS_NOPREFIX);
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(tip, GWLP_HINSTANCE)), GetModuleHandleW(nullptr))
      << "the module that holds the code: the program itself in this static build";
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(std::tie(tool.uId, tool.hwnd), std::make_tuple(reinterpret_cast<UINT_PTR>(rig.Hwnd()), rig.Hwnd()));
  EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT),
            static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT));
  EXPECT_EQ(std::tie(tool.rect.left, tool.rect.top, tool.rect.right, tool.rect.bottom),
            std::make_tuple(0L, 0L, 120L, 20L));
  EXPECT_EQ(TextOf(tip, rig.Hwnd()), kText);
  rig.control->Terminate();
  EXPECT_FALSE(IsWindow(tip));
  // Released with the control too, without a Terminate.
  WindowRig second(40, 10);
  second.host.toolTipText = kText;
  const HWND other = TipAfterAMove(*second.control);
  ASSERT_TRUE(IsWindow(other));
  second.control.reset();
  EXPECT_FALSE(IsWindow(other));
}

// What the tooltip window receives, seen from a subclass of it.
struct Received {
  WNDPROC original = nullptr;
  UINT addSize = 0, enumSize = 0, updateSize = 0;
  std::u16string updateText;
  int relays = 0;
  MSG relay{};
} received;

LRESULT CALLBACK Watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
  if (message == TTM_ADDTOOLW) received.addSize = info->cbSize;
  if (message == TTM_ENUMTOOLSW) received.enumSize = info->cbSize;
  if (message == TTM_UPDATETIPTEXTW) received.updateSize = info->cbSize, received.updateText = U16(info->lpszText);
  if (message == TTM_RELAYEVENT) ++received.relays, received.relay = *reinterpret_cast<const MSG*>(lParam);
  return CallWindowProcA(received.original, hwnd, message, wParam, lParam);
}

TEST(ToolTipWindow, MessagesCarryTheToolRecordOfThisArchitecture) {
  RealWindow owner(50, 10);
  GdiPlatform platform;
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner.Handle()));
  const HWND hwnd = reinterpret_cast<HWND>(tip.Hwnd());
  received = Received{};
  received.original =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Watch)));
  ASSERT_NE(received.original, nullptr);
  EXPECT_TRUE(tip.AddTool(owner.Handle(), owner.Handle(), u""));
  EXPECT_FALSE(tip.AddTool(owner.Handle(), owner.Handle(), u"again"));
  tip.UpdateToolText(owner.Handle(), kText);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(received.original));
  const UINT size = sizeof(void*) == 4 ? 44 : 64;  // TOOLINFOW up to lParam
  EXPECT_EQ(std::tie(received.addSize, received.enumSize, received.updateSize), std::make_tuple(size, size, size));
  EXPECT_EQ(received.updateText, kText);
  EXPECT_EQ(received.relays, 1) << "only the tool that was added relays";
  const MSG& m = received.relay;
  EXPECT_EQ(std::tie(m.hwnd, m.message, m.wParam, m.lParam, m.time, m.pt.x, m.pt.y),
            std::make_tuple(hwnd, 0x407u, WPARAM{0}, LPARAM{0x201}, DWORD{0}, 0L, 0L));
  EXPECT_EQ(TextOf(hwnd, owner.Get()), kText);
}

}  // namespace
}  // namespace vantiq::testing
