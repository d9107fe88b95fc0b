// The control's tooltip on the real comctl32: the window it makes, the tool and the
// UTF-16 text read back from the window, and the records the messages carry. Real
// mouse messages do not reach the control yet (its own window comes with the ActiveX
// shell), so the tests call its mouse methods directly.
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

// A mouse move at (5, 5) with no button: the control shows the host's tip.
void Move(Vantiq& control) {
  std::int16_t button = 0, shift = 0;
  float x = 5, y = 5;
  control.MouseMove(button, shift, x, y);
}

HWND TipOf(const Vantiq& control) {
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

TEST(ToolTipWindow, TheHostsTipShowsInATopmostTooltipWindowInUtf16) {
  WindowRig rig(120, 20);
  rig.Start();
  rig.host.toolTipText = kText;
  Move(*rig.control);
  EXPECT_EQ(rig.host.toolTipText, u"");
  const HWND tip = TipOf(*rig.control);
  ASSERT_TRUE(IsWindow(tip));

  char className[64] = {};
  GetClassNameA(tip, className, sizeof className);
  EXPECT_STREQ(className, "tooltips_class32");
  EXPECT_NE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetWindow(tip, GW_OWNER), rig.Hwnd());
  EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON),
            TTS_ALWAYSTIP | TTS_NOPREFIX);
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(tip, GWLP_HINSTANCE)),
            GetModuleHandleW(nullptr))
      << "the module that holds the code: the program itself in this static build";

  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[64] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(rig.Hwnd()));
  EXPECT_EQ(tool.hwnd, rig.Hwnd());
  EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT),
            static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT));
  EXPECT_EQ(std::tie(tool.rect.right, tool.rect.bottom), std::make_tuple(120L, 20L));
  EXPECT_EQ(U16(text), kText);
  EXPECT_EQ(TextOf(tip, rig.Hwnd()), kText);

  rig.control->Terminate();
  EXPECT_FALSE(IsWindow(tip));
}

TEST(ToolTipWindow, TheWindowEndsWithTheControl) {
  WindowRig rig(40, 10);
  rig.host.toolTipText = kText;
  Move(*rig.control);
  const HWND tip = TipOf(*rig.control);
  ASSERT_TRUE(IsWindow(tip));
  rig.control.reset();
  EXPECT_FALSE(IsWindow(tip));
}

// What the tooltip window receives, seen from a subclass of it.
struct Received {
  WNDPROC original = nullptr;
  UINT addSize = 0, enumSize = 0, updateSize = 0;
  std::u16string updateText;
  int relays = 0;
  MSG relay{};
};
Received received;

LRESULT CALLBACK Watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
  switch (message) {
    case TTM_ADDTOOLW: received.addSize = info->cbSize; break;
    case TTM_ENUMTOOLSW: received.enumSize = info->cbSize; break;
    case TTM_UPDATETIPTEXTW:
      received.updateSize = info->cbSize;
      received.updateText = U16(info->lpszText);
      break;
    case TTM_RELAYEVENT:
      ++received.relays;
      received.relay = *reinterpret_cast<const MSG*>(lParam);
      break;
  }
  return CallWindowProcA(received.original, hwnd, message, wParam, lParam);
}

TEST(ToolTipWindow, MessagesCarryTheToolRecordOfThisArchitecture) {
  RealWindow owner(50, 10);
  GdiPlatform platform;
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner.Handle()));
  const HWND hwnd = reinterpret_cast<HWND>(tip.Hwnd());
  received = Received{};
  received.original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Watch)));
  ASSERT_NE(received.original, nullptr);

  EXPECT_TRUE(tip.AddTool(owner.Handle(), owner.Handle(), u""));
  EXPECT_FALSE(tip.AddTool(owner.Handle(), owner.Handle(), u"again"));
  tip.UpdateToolText(owner.Handle(), kText);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(received.original));

  const UINT expected = sizeof(void*) == 4 ? 44 : 64;
  EXPECT_EQ(GdiTipWindow::kToolRecordSize, expected);
  EXPECT_EQ(received.addSize, expected);
  EXPECT_EQ(received.enumSize, expected);
  EXPECT_EQ(received.updateSize, expected);
  EXPECT_EQ(received.updateText, kText);
  EXPECT_EQ(received.relays, 1) << "only the tool that was added relays";
  EXPECT_EQ(received.relay.hwnd, hwnd);
  EXPECT_EQ(received.relay.message, 0x407u);
  EXPECT_EQ(received.relay.wParam, 0u);
  EXPECT_EQ(received.relay.lParam, 0x201);
  EXPECT_EQ(received.relay.time, 0u);
  EXPECT_EQ(received.relay.pt.x, 0);
  EXPECT_EQ(received.relay.pt.y, 0);
  EXPECT_EQ(TextOf(hwnd, owner.Get()), kText);
}

}  // namespace
}  // namespace vantiq::testing
