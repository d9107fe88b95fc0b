#include "render/fill_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "control/enums.h"

namespace vantiq {
namespace {

FillInputs Bar(int w, int h, double value, std::int32_t style = eProgStandard,
               std::int32_t scrolling = eProgressBarScrollStandard,
               std::int32_t orientation = eProgressBarOrientationHorizontal) {
  FillInputs in;
  in.client = {0, 0, w, h};
  in.value = value;
  in.style = style;
  in.scrolling = scrolling;
  in.orientation = orientation;
  return in;
}

TEST(FillGeometry, SegmentMetricsFollowStyleAndScrolling) {
  struct Case {
    std::int32_t style, scrolling;
    bool themed;
    int chunk, gap;
  } cases[] = {
      {eProgStandard, eProgressBarScrollStandard, false, 9, 1},
      {eProgThin, eProgressBarScrollMarquee, false, 9, 1},
      {eProgXP, eProgressBarScrollStandard, true, 6, 2},
      {eProgXP, eProgressBarScrollMarquee, true, 6, 2},
      {eProgSystem, eProgressBarScrollStandard, true, 9, 1},
      {3, eProgressBarScrollStandard, false, 9, 1},
      {eProgStandard, eProgressBarScrollSmooth, false, 1, 2},
      {eProgXP, eProgressBarScrollSmooth, true, 1, 2},
      {eProgSystem, eProgressBarScrollSmooth, false, 1, 2},
      {eProgSystem, eProgressBarScrollSmooth, true, 1, 1},
  };
  for (const Case& c : cases) {
    FillInputs in = Bar(100, 20, 50, c.style, c.scrolling);
    in.themedMode = c.themed;
    const FillGeometry g = ComputeFillGeometry(in);
    EXPECT_EQ(g.chunk, c.chunk) << "style " << c.style << " scrolling " << c.scrolling;
    EXPECT_EQ(g.gap, c.gap) << "style " << c.style << " scrolling " << c.scrolling;
  }
}

TEST(FillGeometry, HorizontalFillSnapsBackToWholeSteps) {
  EXPECT_EQ(ComputeFillGeometry(Bar(200, 20, 50)).fill.right, 100);
  // 100 wide, XP (step 8): p = 50, 50 mod 8 = 2, so 48.
  EXPECT_EQ(ComputeFillGeometry(Bar(100, 20, 50, eProgXP)).fill.right, 48);
  // Smooth standard (step 3) lands on 48 as well.
  EXPECT_EQ(ComputeFillGeometry(Bar(100, 20, 50, eProgStandard, eProgressBarScrollSmooth)).fill.right, 48);
  const FillGeometry g = ComputeFillGeometry(Bar(200, 20, 50));
  EXPECT_EQ(g.fill, (Rect{0, 0, 100, 20}));
  EXPECT_DOUBLE_EQ(g.fraction, 0.5);
}

TEST(FillGeometry, RoundsHalfToEvenBeforeSnapping) {
  // 25 wide at 0.5: 12.5 rounds to 12 (even), step 3 smooth: 12 - 0 = 12.
  FillInputs in = Bar(25, 10, 50, eProgStandard, eProgressBarScrollSmooth);
  EXPECT_EQ(ComputeFillGeometry(in).fill.right, 12);
  // 27 wide at 0.5: 13.5 rounds to 14, 14 mod 3 = 2 so 12.
  in.client.right = 27;
  EXPECT_EQ(ComputeFillGeometry(in).fill.right, 12);
}

TEST(FillGeometry, NearlyFullBarEndsTwoPixelsBeforeTheEdge) {
  EXPECT_EQ(ComputeFillGeometry(Bar(200, 20, 100)).fill.right, 198);
  EXPECT_EQ(ComputeFillGeometry(Bar(200, 20, 99.5, eProgXP)).fill.right, 198);
  // 0.99 exactly is not "above 0.99": it snaps like any other value.
  EXPECT_EQ(ComputeFillGeometry(Bar(200, 20, 99)).fill.right, 190);
}

TEST(FillGeometry, FractionIsClampedAndEqualBoundsUseTheDistanceFromMin) {
  FillInputs in = Bar(200, 20, -5);
  EXPECT_DOUBLE_EQ(ComputeFillGeometry(in).fraction, 0);
  EXPECT_EQ(ComputeFillGeometry(in).fill.right, 0);
  in.value = 500;
  EXPECT_DOUBLE_EQ(ComputeFillGeometry(in).fraction, 1);
  in.min = in.max = 10;
  in.value = 10;
  EXPECT_DOUBLE_EQ(ComputeFillGeometry(in).fraction, 0);
  EXPECT_EQ(ComputeFillGeometry(in).fill.right, 0);
  in.value = 10.25;  // range 0: the fraction is Value - Min
  EXPECT_DOUBLE_EQ(ComputeFillGeometry(in).fraction, 0.25);
}

TEST(FillGeometry, NonFiniteStateShowsAnEmptyBar) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  FillInputs in = Bar(200, 20, nan);
  EXPECT_EQ(ComputeFillGeometry(in).fill.right, 0);
  in.value = 5;
  in.min = -inf;
  in.max = inf;
  EXPECT_EQ(ComputeFillGeometry(in).fill.right, 0);
  in = Bar(20, 100, nan, eProgStandard, 0, eProgressBarOrientationVertical);
  EXPECT_EQ(ComputeFillGeometry(in).fill.top, 100);
}

TEST(FillGeometry, VerticalFillGrowsUpFromTheBottom) {
  FillInputs in = Bar(20, 100, 0, eProgStandard, 0, eProgressBarOrientationVertical);
  FillGeometry g = ComputeFillGeometry(in);
  EXPECT_DOUBLE_EQ(g.fraction, 0.98);
  EXPECT_EQ(g.fill, (Rect{0, 100, 20, 100}));  // p = 98, remainder -2
  in.value = 100;
  g = ComputeFillGeometry(in);
  EXPECT_NEAR(g.fraction, -0.02, 1e-12);
  EXPECT_EQ(g.fill.top, 0);  // p = -2, remainder -2
  in.value = 50;
  EXPECT_EQ(ComputeFillGeometry(in).fill.top, 50);
  // Any orientation other than horizontal draws vertically.
  in.orientation = 7;
  EXPECT_EQ(ComputeFillGeometry(in).fill.top, 50);
}

}  // namespace
}  // namespace vantiq
