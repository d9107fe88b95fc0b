// The control in a real window on the real platform: what USER, GDI and the visual
// styles do with its region, its colours and its theme state.
#include <gtest/gtest.h>

#include "platform/mod_version_ex.h"
#include "support/window_host.h"

namespace vantiq::testing {
namespace {

TEST(ControlWindow, XPLookCutsThreePixelsAtEachCornerUntilTerminate) {
  WindowRig rig(100, 20);
  rig.Start();
  rig.control->SetStyle(eProgXP);
  EXPECT_EQ(rig.RegionType(), COMPLEXREGION);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {98, 0}, {99, 0}, {99, 1}, {0, 19}, {1, 19}, {0, 18},
                      {98, 19}, {99, 19}, {99, 18}})
    EXPECT_FALSE(rig.RegionContains(x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{2, 0}, {1, 1}, {97, 0}, {98, 1}, {50, 10}, {2, 19}, {1, 18}})
    EXPECT_TRUE(rig.RegionContains(x, y)) << x << "," << y;

  rig.control->SetStyle(eProgStandard);
  EXPECT_EQ(rig.RegionType(), ERROR) << "the region is removed again";
  rig.control->SetStyle(eProgXP);
  ASSERT_EQ(rig.RegionType(), COMPLEXREGION);
  rig.control->Terminate();
  EXPECT_EQ(rig.RegionType(), ERROR) << "Terminate leaves no region";
  EXPECT_EQ(rig.control->paint().m_hTheme, 0u);
}

TEST(ControlWindow, BackgroundReachesTheWindow) {
  WindowRig rig(60, 12);
  rig.Start();
  rig.control->SetStyle(eProgXP);
  auto shot = rig.Snapshot();
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->GetPixel(30, 6), Rgb(255, 255, 255));
  rig.control->SetStyle(eProgStandard);
  shot = rig.Snapshot();
  EXPECT_EQ(shot->GetPixel(30, 6), static_cast<ColorRef>(GetSysColor(COLOR_BTNFACE)));
  rig.control->SetBackColor(0x80000000u + COLOR_HIGHLIGHT);
  shot = rig.Snapshot();
  EXPECT_EQ(shot->GetPixel(57, 9), static_cast<ColorRef>(GetSysColor(COLOR_HIGHLIGHT)))
      << "to the far corner inside the sunken edge";
}

TEST(ControlWindow, VisualStylesFollowTheWindowsTheme) {
  WindowRig rig(100, 20);
  rig.Start();
  const bool canTheme = modVersionEx::IsWinXPOrLater(rig.platform);
  if (!canTheme) GTEST_SKIP() << "visual styles need XP or later";
  EXPECT_TRUE(rig.control->paint().m_bThemesActive);
  EXPECT_NE(rig.control->paint().m_hTheme, 0u);
  EXPECT_FALSE(rig.control->paint().m_sThemeFile.empty());
  ASSERT_EQ(TurnVisualStylesOff(rig.Hwnd()), S_OK);
  rig.control->RefreshThemeState(0, 794, 0, 0);
  EXPECT_FALSE(rig.control->paint().m_bThemesActive);
  EXPECT_EQ(rig.control->paint().m_hTheme, 0u);
  EXPECT_EQ(rig.control->paint().m_sThemeFile, u"");
  rig.control->SetStyle(eProgXP);
  EXPECT_EQ(rig.RegionType(), COMPLEXREGION) << "without visual styles the imitation rounds";
}

}  // namespace
}  // namespace vantiq::testing
