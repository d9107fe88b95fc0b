// The container's tooltip text in the control's own tooltip window: shown exactly (also
// outside the system code page), unchanged by any number of presses, and gone with the
// control.
#include "container_support.h"

#include <commctrl.h>

namespace vantiq::activex::testing {
namespace {

using ToolTipTest = ContainerTest;

BOOL CALLBACK CollectTooltip(HWND hwnd, LPARAM list) {
  wchar_t name[64];
  if (GetClassNameW(hwnd, name, 64) && std::wstring(name) == L"tooltips_class32")
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// This thread's tooltip windows.
std::vector<HWND> TooltipWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The text of the tool for `control` (a window tool owned by the control itself).
std::wstring ToolText(HWND tip, HWND control) {
  wchar_t text[256] = {};
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V1_SIZE;
  info.hwnd = control;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return text;
}

// The window's own style and the text's way through comctl32: tool_tip_window_test.cpp;
// what a press does with the text: the core's mouse tests. Here, the extender's
// ToolTipText through the container, read and written back.
TEST_F(ToolTipTest, TheExtendersTextShowsUnchangedThroughPressesAndGoesWithTheControl) {
  const std::wstring text = L"\u041f\u0440\u043e\u0433\u0440\u0435\u0441\u0441 \u9032\u6357 \U0001F680";
  SiteOptions options;
  options.toolTipText = text;
  const std::size_t before = TooltipWindows().size();
  Site* plain = AddBar({10, 40, 210, 60});  // no text: no tooltip, and a press writes none
  Site* site = AddBar({10, 10, 210, 30}, options);
  for (Site* bar : {plain, site}) {
    HWND window = bar->Window();
    for (int press = 0; press < 2; ++press) {
      SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5 + press, 5));
      SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      EXPECT_EQ(bar->ToolTipText(), bar == site ? text : L"") << "given back unchanged";
      SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
  }
  SendMessageW(site->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  EXPECT_EQ(site->ToolTipText(), L"");
  const std::vector<HWND> tips = TooltipWindows();
  ASSERT_EQ(tips.size(), before + 1) << "one tooltip window, for the control with a text";
  EXPECT_EQ(ToolText(tips.back(), site->Window()), text);
  frame->Remove(site);
  EXPECT_FALSE(IsWindow(tips.back()));
}

}  // namespace
}  // namespace vantiq::activex::testing
