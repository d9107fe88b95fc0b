#include "render/drawing_ops.h"

#include <gtest/gtest.h>

#include <tuple>

#include "backends/soft/scriptable_platform.h"
#include "support/test_surface.h"

namespace vantiq {
namespace {

class DrawingOpsTest : public ::testing::Test {
 protected:
  DrawingOpsTest() : ops(platform, gradientFill) {
    for (int i = 0; i < 31; ++i) platform.sysColors[static_cast<std::size_t>(i)] = HostSystemColors().GetSysColor(i);
  }
  ScriptablePlatform platform;
  bool gradientFill = false;
  DrawingOps ops;
};

TEST(LightenColor, MovesEachChannelTowardsWhiteWithTruncation) {
  EXPECT_EQ(LightenColor(Rgb(46, 211, 49), 0), Rgb(46, 211, 49));
  EXPECT_EQ(LightenColor(Rgb(46, 211, 49), 255), Rgb(255, 255, 255));
  // 46 * 90 / 255 = 16.2 -> 16, + 165 = 181; 211 * 90 / 255 = 74.47 -> 74, + 165 = 239.
  EXPECT_EQ(LightenColor(Rgb(46, 211, 49), 165), Rgb(181, 239, 182));
  EXPECT_EQ(LightenColor(Rgb(255, 0, 128), 150), Rgb(255, 150, 202));
}

TEST_F(DrawingOpsTest, TranslateColorResolvesSystemReferencesOnly) {
  EXPECT_EQ(ops.TranslateColor(0x80000000u + kColorHighlight), platform.GetSysColor(kColorHighlight));
  EXPECT_EQ(ops.TranslateColor(0x00123456u), 0x00123456u);
  EXPECT_EQ(ops.TranslateColor(0x80001234u), 0u) << "an index the system does not know";
}

TEST_F(DrawingOpsTest, FillTranslatesAndFrameDoesNot) {
  auto dc = MakeTestSurface(6, 4, platform);
  platform.sysColors[kColorBtnFace] = HostSystemColors().GetSysColor(kColorBtnFace);
  ops.FillRectColor({1, 1, 5, 3}, 0x8000000Fu, *dc);
  const ColorRef face = platform.GetSysColor(kColorBtnFace);
  EXPECT_EQ(std::tuple(dc->GetPixel(1, 1), dc->GetPixel(4, 2), dc->GetPixel(5, 2)), std::tuple(face, face, 0u));
  ops.FrameRectColor({0, 0, 6, 4}, Rgb(9, 8, 7), *dc);
  EXPECT_EQ(std::tuple(dc->GetPixel(5, 3), dc->GetPixel(2, 2)), std::tuple(Rgb(9, 8, 7), face));
}

TEST_F(DrawingOpsTest, LineGradientGivesEachColumnItsRoundedShare) {
  auto dc = MakeTestSurface(6, 3, platform);
  ops.GradientRect(*dc, 1, 0, 4, 2, Rgb(0, 0, 0), Rgb(255, 10, 100), GradientDirection::kHorizontal);
  // Column i of 4: channel * i / 4, rounded half to even (127.5 -> 128).
  const ColorRef expected[] = {Rgb(0, 0, 0), Rgb(64, 2, 25), Rgb(128, 5, 50), Rgb(191, 8, 75)};
  for (int i = 0; i < 4; ++i)  // the bottom edge is exclusive
    EXPECT_EQ(std::tuple(dc->GetPixel(1 + i, 0), dc->GetPixel(1 + i, 1), dc->GetPixel(1 + i, 2)),
              std::tuple(expected[i], expected[i], 0u)) << i;
  EXPECT_EQ(dc->GetPixel(0, 0) | dc->GetPixel(5, 0), 0u) << "nor is the end colour's edge";

  auto rows = MakeTestSurface(2, 3, platform);
  ops.GradientRect(*rows, 0, 0, 2, 3, Rgb(30, 30, 30), Rgb(0, 90, 0), GradientDirection::kVertical);
  EXPECT_EQ(std::tuple(rows->GetPixel(1, 0), rows->GetPixel(1, 1), rows->GetPixel(0, 2)),
            std::tuple(Rgb(30, 30, 30), Rgb(20, 50, 20), Rgb(10, 70, 10)));
}

TEST_F(DrawingOpsTest, GradientUsesThePlatformFillWhenAvailable) {
  gradientFill = true;
  auto platformFill = MakeTestSurface(8, 2, platform);
  ops.GradientRect(*platformFill, 0, 0, 8, 2, Rgb(0, 0, 0), Rgb(0, 0, 255), GradientDirection::kHorizontal);
  auto direct = MakeTestSurface(8, 2, platform);
  direct->GradientFill({0, 0, 8, 2}, Rgb(0, 0, 0), Rgb(0, 0, 255), GradientDirection::kHorizontal);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(platformFill->GetPixel(x, 1), direct->GetPixel(x, 1)) << x;
  EXPECT_NE(platformFill->GetPixel(7, 0), 0u);
}

TEST_F(DrawingOpsTest, TilesAreAnchoredAtTheOrigin) {
  auto source = MakeTestSurface(10, 10, platform);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) source->SetPixel(x, y, Rgb(x * 20, y * 20, 7));
  auto dc = MakeTestSurface(100, 20, platform);
  ops.TileBitmap(*dc, 2, 2, 96, 16, *source, 10, 10, 0, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x)
      ASSERT_EQ(dc->GetPixel(x, y), x >= 2 && x < 98 && y >= 2 && y < 18 ? Rgb(x % 10 * 20, y % 10 * 20, 7) : 0u)
          << x << "," << y;
  // Offsets shift the phase; a negative one wraps like a positive.
  auto shifted = MakeTestSurface(12, 3, platform);
  ops.TileBitmap(*shifted, 0, 0, 12, 3, *source, 10, 10, -3, 4);
  for (int x = 0; x < 12; ++x)
    EXPECT_EQ(shifted->GetPixel(x, 1), Rgb(((x + 7) % 10) * 20, 5 * 20, 7)) << x;
  // A source without size draws nothing.
  auto untouched = MakeTestSurface(4, 4, platform);
  ops.TileBitmap(*untouched, 0, 0, 4, 4, *source, 0, 10, 0, 0);
  EXPECT_EQ(untouched->GetPixel(1, 1), 0u);
}

}  // namespace
}  // namespace vantiq
