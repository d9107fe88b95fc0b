// The real platform as each Windows version: the version record, the seven version
// tests, visual styles on a real window, and the Msimg32 library tests.
#include "backends/gdi/gdi_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/color_xp.h"
#include "platform/mod_version_ex.h"
#include "platform/mod_visual_styles.h"
#include "support/real_window.h"
#include "windows_version.h"

namespace vantiq::testing {
namespace {

namespace mv = modVersionEx;

#define REQUIRE_VERSION(v)                                                    \
  const WindowsVersion* v = RunningAs();                                      \
  if (v == nullptr) GTEST_SKIP() << ProgramName() << " names no Windows version"

bool EndsWith(const std::u16string& s, const std::u16string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(VersionProgram, ItsFileNameNamesAWindowsVersion) {
  EXPECT_NE(RunningAs(), nullptr)
      << ProgramName() << ": run this program as vantiq-<version>.exe through "
      << "scripts/test-versions.sh, which also tells Wine which version to report";
}

TEST(RealVersion, GetVersionExAReportsTheVersionWineWasAskedFor) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  OsVersionInfo info;
  ASSERT_TRUE(gdi.GetVersionExA(info));
  EXPECT_EQ(info.dwPlatformId, v->platformId);
  EXPECT_EQ(info.dwMajorVersion, v->major);
  EXPECT_EQ(info.dwMinorVersion, v->minor);
  EXPECT_EQ(info.dwBuildNumber, v->build) << std::hex << info.dwBuildNumber;
}

TEST(RealVersion, TheSevenVersionTestsAnswerForThisVersion) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  // On a thread of its own, so no earlier test's memo answers for it.
  std::thread([&] {
    for (int round = 0; round < 2; ++round) {  // the second round answers from the memos
      EXPECT_EQ(mv::IsWin98SE(gdi), v->win98SE) << round;
      EXPECT_EQ(mv::IsWinME(gdi), v->winME) << round;
      EXPECT_EQ(mv::IsWinNT(gdi), v->winNT) << round;
      EXPECT_EQ(mv::IsWin2000OrLater(gdi), v->win2000OrLater) << round;
      EXPECT_EQ(mv::IsWinXP(gdi), v->winXP) << round;
      EXPECT_EQ(mv::IsWinVista(gdi), v->winVista) << round;
      EXPECT_EQ(mv::IsWinXPOrLater(gdi), v->winXPOrLater) << round;
    }
  }).join();
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

TEST(RealVisualStyles, ARealWindowHasTheLightStyleFromXpOnAndNoneBefore) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  RealWindow window(100, 20);
  ASSERT_NE(window.Get(), nullptr);
  // Wine's theme engine serves every version alike; the version decides.
  const ThemeHandle probe = gdi.OpenThemeData(window.Handle(), u"Button");
  ASSERT_NE(probe, 0u) << "visual styles are off in this Wine prefix";
  gdi.CloseThemeData(probe);

  const auto [active, file, color] = ReadIdentity(gdi, window.Handle());
  if (v->winXPOrLater) {
    EXPECT_TRUE(active);
    EXPECT_TRUE(EndsWith(file, u"\\LIGHT\\LIGHT.MSSTYLES"));
    EXPECT_EQ(color, u"BLUE");
  } else {
    EXPECT_FALSE(active);
    EXPECT_EQ(file, u"");
    EXPECT_EQ(color, u"");
  }
}

TEST(RealVisualStyles, AWindowWhoseStyleIsTurnedOffHasNone) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  RealWindow window(100, 20);
  ASSERT_NE(window.Get(), nullptr);
  ASSERT_EQ(TurnVisualStylesOff(window.Get()), S_OK);
  const auto [active, file, color] = ReadIdentity(gdi, window.Handle());
  EXPECT_FALSE(active);
  EXPECT_EQ(file, u"");
  EXPECT_EQ(color, u"");
}

TEST(RealLibraries, Msimg32AndItsExportsAreFound) {
  REQUIRE_VERSION(v);
  GdiPlatform gdi;
  EXPECT_TRUE(modVisualStyles::IsDllPresent(gdi, "Msimg32.dll"));
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "GradientFill"));
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "AlphaBlend"));
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "TransparentBlt"));
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "NoSuchExport"));
  EXPECT_FALSE(modVisualStyles::IsDllPresent(gdi, "NoSuchLibrary.dll"));
}

}  // namespace
}  // namespace vantiq::testing
