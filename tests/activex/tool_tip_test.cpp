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

TEST_F(ToolTipTest, TheHostsTextShowsUnchangedThroughPressesAndGoesWithTheControl) {
  const std::wstring text = L"\u041f\u0440\u043e\u0433\u0440\u0435\u0441\u0441 \u9032\u6357 \U0001F680";
  SiteOptions options;
  options.toolTipText = text;
  const std::size_t before = TooltipWindows().size();
  Site* site = AddBar({10, 10, 210, 30}, options);
  HWND window = site->Window();
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  std::vector<HWND> tips = TooltipWindows();
  ASSERT_EQ(tips.size(), before + 1);
  HWND tip = tips.back();
  EXPECT_EQ(ToolText(tip, window), text);
  EXPECT_TRUE(GetWindowLongW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);

  for (int press = 0; press < 3; ++press) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(site->ToolTipText(), text) << "given back unchanged";
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(site->ToolTipText(), L"");
    EXPECT_EQ(ToolText(tip, window), text) << "after press " << press;
  }
  EXPECT_EQ(TooltipWindows().size(), before + 1) << "one tooltip window for the control";

  frame->Remove(site);
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(ToolTipTest, NoTextNoTooltip) {
  const std::size_t before = TooltipWindows().size();
  Site* site = AddBar();
  SendMessageW(site->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(site->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(site->Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageW(site->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  EXPECT_EQ(site->ToolTipText(), L"") << "a press writes nothing";
  EXPECT_EQ(TooltipWindows().size(), before);
}

}  // namespace
}  // namespace vantiq::activex::testing
