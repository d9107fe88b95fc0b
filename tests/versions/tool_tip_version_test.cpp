// The tooltip's drop shadow on each Windows version: the tooltip class gets
// CS_DROPSHADOW from NT 5.1 on and keeps the style it was registered with before.
#include <gtest/gtest.h>

#include "backends/gdi/gdi_platform.h"
#include "support/real_window.h"
#include "window/unicode_tool_tip.h"
#include "windows_version.h"

namespace vantiq::testing {
namespace {

TEST(ToolTipOnThisVersion, DropShadowFromXpOn) {
  const WindowsVersion* v = RunningAs();
  if (v == nullptr) GTEST_SKIP() << ProgramName() << " names no Windows version";
  RealWindow owner(40, 10);
  GdiPlatform platform;
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner.Handle())) << v->name;
  const HWND hwnd = reinterpret_cast<HWND>(tip.Hwnd());
  EXPECT_EQ((GetClassLongA(hwnd, GCL_STYLE) & CS_DROPSHADOW) != 0, v->winXPOrLater) << v->name;
  EXPECT_NE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << v->name;
}

}  // namespace
}  // namespace vantiq::testing
