// The frame renderer: the XP border's rings and corners, what frameOnly leaves alone,
// the sunken edge by style and Windows version, the themed bar's part and the picture.
#include "render/frame_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "support/render_probe.h"

namespace vantiq::testing {
namespace {

TEST(FrameRenderer, XPBorderRingsAndCornerPixels) {
  auto rig = StartBar({100, 20, eProgXP, 0, 0, 0});
  for (auto [x, y, color] : {std::tuple{0, 0, 0x686868u}, {50, 0, 0x686868u}, {99, 10, 0x686868u}, {99, 19, 0x686868u},
                             {1, 1, 0x777777u}, {98, 1, 0x777777u}, {1, 18, 0x777777u}, {98, 18, 0x777777u},
                             {2, 1, 0xBEBEBEu}, {97, 1, 0xBEBEBEu}, {1, 2, 0xEFEFEFu}, {97, 2, 0xEFEFEFu},
                             {98, 10, 0xEFEFEFu}, {50, 18, 0xEFEFEFu}, {2, 3, kBack}, {97, 17, kBack}})
    EXPECT_EQ(rig->BufferPixel(x, y), color) << x << "," << y;
}

TEST(FrameRenderer, FrameOnlyDrawsTheBorderAlone) {
  for (auto [style, depth] : {std::pair{eProgStandard, 2}, {eProgThin, 1}, {eProgXP, 2}}) {
    auto rig = StartBar({30, 12, style});
    for (bool frameOnly : {true, false}) {
      const Surface& dc = DrawAlone(*rig, false, frameOnly);
      // Only the sunken looks fill the background; the XP one leaves it to the paint.
      const ColorRef inside = frameOnly || style == eProgXP ? kClear : kBack;
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x) {
          const bool border = std::min({x, y, 29 - x, 11 - y}) < depth || (style == eProgXP && y == 2);
          ASSERT_EQ(dc.GetPixel(x, y) != inside, border) << style << " " << x << "," << y;
        }
    }
  }
}

TEST(FrameRenderer, SunkenEdgeDepthByStyleAndWindowsVersion) {
  // The two-pixel EDGE_SUNKEN (deep) or the one-pixel BDR_SUNKENOUTER.
  for (auto [version, style, deep] : {std::tuple{"win98", eProgSystem, true}, {"winme", eProgSystem, false},
                                      {"win2k", eProgSystem, false}, {"winxp", eProgSystem, false},
                                      {"win98", eProgThin, false}, {"winxp", eProgStandard, true}}) {
    OnNewThread([&, version = version, style = style, deep = deep] {  // versions are remembered per thread
      Bar bar{60, 12, style, 0, 0, 0, version};
      bar.visualStyles = false;
      auto rig = StartBar(bar);
      ScriptablePlatform& p = rig->platform;
      EXPECT_EQ(rig->BufferPixel(30, 0), p.GetSysColor(kColorBtnShadow)) << version;
      EXPECT_EQ(rig->BufferPixel(59, 6), p.GetSysColor(kColorBtnHighlight)) << version;
      EXPECT_EQ(rig->BufferPixel(30, 1), deep ? p.GetSysColor(kColor3dDkShadow) : kBack) << version;
      EXPECT_EQ(rig->BufferPixel(30, 10), deep ? p.GetSysColor(kColor3dLight) : kBack) << version;
    });
  }
}

TEST(FrameRenderer, ThemedBarPartFollowsTheShapeNotTheOrientation) {
  for (auto [w, h] : {std::pair{200, 20}, {21, 20}, {20, 20}, {20, 100}}) {
    auto rig = StartBar({w, h, eProgSystem, 0, 0, 0});
    for (bool frameOnly : {false, true}) {
      const Surface& dc = DrawAlone(*rig, false, frameOnly);
      EXPECT_EQ(dc.GetPixel(w - 1, h - 1), ScriptablePlatform::kThemeBarFrame);
      // The bar's shine runs along its inner top, the vertical bar's down its inner left.
      EXPECT_EQ(dc.GetPixel(w / 2, 1) == ScriptablePlatform::kThemeBarShine, w > h) << w << "x" << h;
      EXPECT_EQ(dc.GetPixel(1, h / 2) == ScriptablePlatform::kThemeBarShine, w <= h) << w << "x" << h;
    }
  }
}

TEST(FrameRenderer, BackgroundPictureTilesFromTheOriginInsideTheBorder) {
  // The inset of each style; the system look never shows the picture.
  for (auto [style, inset] : {std::pair{eProgStandard, 2}, {eProgThin, 1}, {eProgXP, 0}, {eProgSystem, 99}}) {
    auto rig = StartBar({100, 20, style, 0, 0, 0});
    rig->control->SetBackgroundPicture(TestPicture(rig->platform));
    if (style == eProgXP) {
      EXPECT_EQ(rig->BufferPixel(0, 0), 0x686868u) << "the XP border goes back on top";
    }
    const Surface& dc = DrawAlone(*rig, false);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 100; ++x)
        ASSERT_EQ(dc.GetPixel(x, y) == Tiled(x, y), std::min({x, y, 99 - x, 19 - y}) >= inset) << x << "," << y;
    EXPECT_NE(DrawAlone(*rig, false, true).GetPixel(50, 10), Tiled(50, 10)) << "never over the caption";
  }
}

}  // namespace
}  // namespace vantiq::testing
