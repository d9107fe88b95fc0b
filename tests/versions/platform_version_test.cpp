// The real platform as each Windows version: the version record (the core's version
// tests answer for each such record), visual styles on a real window and the tooltip's
// drop shadow. (Library lookups do not depend on the version: the Windows suite checks them.)
#include "backends/gdi/gdi_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <tuple>

#include "platform/color_xp.h"
#include "support/real_window.h"
#include "window/unicode_tool_tip.h"
#include "windows_version.h"

namespace vantiq::testing {
namespace {

bool EndsWith(const std::u16string& s, const std::u16string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(VersionProgram, ItsFileNameNamesAWindowsVersion) {
  EXPECT_NE(RunningAs(), nullptr)
      << ProgramName() << ": run this program as vantiq_version_tests-<version>.exe through "
      << "scripts/test-versions.sh, which also tells Wine which version to report";
}

TEST(RealVersion, GetVersionExAReportsTheVersionWineWasAskedFor) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  OsVersionInfo info;
  ASSERT_TRUE(gdi.GetVersionExA(info));
  EXPECT_EQ(std::tie(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber),
            std::tie(v->platformId, v->major, v->minor, v->build));
}

// The window's visual-style identity, asked on a thread of its own so that the
// version answers are fresh.
struct Identity {
  bool active;
  std::u16string file, color;
};
Identity ReadIdentity(GdiPlatform& gdi, WindowHandle hwnd) {
  Identity id{false, u"unset", u"unset"};
  std::thread([&] {
    CColorXP colors(gdi);
    id.active = colors.IsVisualStyleActive(hwnd);
    id.file = colors.ThemeFileName(hwnd);
    id.color = colors.ThemeColorName(hwnd);
  }).join();
  return id;
}

// Wine's theme engine serves every version alike; the version decides. A window whose
// style is turned off has none on any version.
TEST(RealVisualStyles, ARealWindowHasTheLightStyleFromXpOnUnlessTurnedOff) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  for (bool turnedOff : {false, true}) {
    RealWindow window(100, 20);
    ASSERT_NE(window.Get(), nullptr);
    const ThemeHandle probe = gdi.OpenThemeData(window.Handle(), u"Button");
    ASSERT_NE(probe, 0u) << "visual styles are off in this Wine prefix";
    gdi.CloseThemeData(probe);
    if (turnedOff) ASSERT_EQ(TurnVisualStylesOff(window.Get()), S_OK);

    const auto [active, file, color] = ReadIdentity(gdi, window.Handle());
    if (v->winXPOrLater && !turnedOff) {
      EXPECT_TRUE(active);
      EXPECT_TRUE(EndsWith(file, u"\\LIGHT\\LIGHT.MSSTYLES"));
      EXPECT_EQ(color, u"BLUE");
    } else {
      EXPECT_FALSE(active) << turnedOff;
      EXPECT_EQ(file, u"") << turnedOff;
      EXPECT_EQ(color, u"") << turnedOff;
    }
  }
}

// The tooltip class gets CS_DROPSHADOW from NT 5.1 on and keeps its style before.
TEST(RealToolTip, DropShadowFromXpOn) {
  REQUIRE_VERSION(v);
  RealWindow owner(40, 10);
  GdiPlatform platform;
  CUnicodeToolTip tip(platform);
  ASSERT_TRUE(tip.Create(owner.Handle()));
  const HWND hwnd = reinterpret_cast<HWND>(tip.Hwnd());
  EXPECT_EQ((GetClassLongA(hwnd, GCL_STYLE) & CS_DROPSHADOW) != 0, v->winXPOrLater);
  EXPECT_NE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

}  // namespace
}  // namespace vantiq::testing
