#include "render/fill_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "common/enums.h"

namespace vantiq {
namespace {

FillInputs Bar(int w, int h, double value, std::int32_t style = eProgStandard,
               std::int32_t scrolling = eProgressBarScrollStandard,
               std::int32_t orientation = eProgressBarOrientationHorizontal) {
  FillInputs in;
  in.client = {0, 0, w, h};
  in.value = value, in.style = style, in.scrolling = scrolling, in.orientation = orientation;
  return in;
}

FillInputs Range(FillInputs in, double min, double max) {
  in.min = min, in.max = max;
  return in;
}

TEST(FillGeometry, SegmentMetricsFollowStyleAndScrolling) {
  constexpr std::int32_t kStd = eProgressBarScrollStandard, kSmooth = eProgressBarScrollSmooth;
  const struct {
    std::int32_t style, scrolling;
    bool themed;
    int chunk, gap;
  } cases[] = {
      {eProgStandard, kStd, false, 9, 1}, {eProgThin, eProgressBarScrollMarquee, false, 9, 1}, {eProgXP, kStd, true, 6, 2},
      {eProgXP, eProgressBarScrollMarquee, true, 6, 2}, {eProgSystem, kStd, true, 9, 1}, {3, kStd, false, 9, 1},
      {eProgStandard, kSmooth, false, 1, 2}, {eProgXP, kSmooth, true, 1, 2}, {eProgSystem, kSmooth, false, 1, 2},
      {eProgSystem, kSmooth, true, 1, 1},
  };
  for (const auto& c : cases) {
    FillInputs in = Bar(100, 20, 50, c.style, c.scrolling);
    in.themedMode = c.themed;
    const FillGeometry g = ComputeFillGeometry(in);
    EXPECT_EQ(std::pair(g.chunk, g.gap), std::pair(c.chunk, c.gap)) << "style " << c.style << " scrolling " << c.scrolling;
  }
}

// The fill ends at `edge`: its right when horizontal; its top when vertical, the fill
// growing up from the bottom.
TEST(FillGeometry, FractionAndFillEdgeForEachState) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  constexpr std::int32_t kSmooth = eProgressBarScrollSmooth, kVert = eProgressBarOrientationVertical;
  const struct {
    const char* what;
    FillInputs in;
    std::optional<double> fraction;
    int edge;
  } cases[] = {
      {"half", Bar(200, 20, 50), 0.5, 100},
      {"XP snaps back to steps of 8: 50 - 2", Bar(100, 20, 50, eProgXP), 0.5, 48},
      {"smooth snaps back to steps of 3", Bar(100, 20, 50, eProgStandard, kSmooth), 0.5, 48},
      // Steps of 3: half to even gives 14 and 6, half up 15 and 6, truncation 14 and 5.
      {"14.5 rounds down to even 14, snapped to 12", Bar(29, 10, 50, eProgStandard, kSmooth), 0.5, 12},
      {"5.5 rounds up to even 6, a whole step", Bar(11, 10, 50, eProgStandard, kSmooth), 0.5, 6},
      {"full: two pixels before the edge", Bar(200, 20, 100), 1, 198},
      {"above 0.99", Bar(200, 20, 99.5, eProgXP), 0.995, 198},
      {"0.99 exactly snaps like any other", Bar(200, 20, 99), 0.99, 190},
      {"below Min clamps to 0", Bar(200, 20, -5), 0, 0},
      {"above Max clamps to 1", Bar(200, 20, 500), 1, 198},
      {"equal bounds at Min", Range(Bar(200, 20, 10), 10, 10), 0, 0},
      {"equal bounds: the distance from Min", Range(Bar(200, 20, 10.25), 10, 10), 0.25, 50},
      {"NaN value: empty", Bar(200, 20, nan), std::nullopt, 0},
      {"infinite bounds: empty", Range(Bar(200, 20, 5), -inf, inf), std::nullopt, 0},
      {"vertical NaN: empty", Bar(20, 100, nan, eProgStandard, 0, kVert), std::nullopt, 100},
      {"vertical at Min: p = 98, remainder -2", Bar(20, 100, 0, eProgStandard, 0, kVert), 0.98, 100},
      {"vertical full: p = -2, remainder -2", Bar(20, 100, 100, eProgStandard, 0, kVert), -0.02, 0},
      {"vertical half", Bar(20, 100, 50, eProgStandard, 0, kVert), 0.48, 50},
      {"any other orientation is vertical", Bar(20, 100, 50, eProgStandard, 0, 7), 0.48, 50},
  };
  for (const auto& c : cases) {
    const FillGeometry g = ComputeFillGeometry(c.in);
    const Rect& rc = c.in.client;
    const Rect fill = IsHorizontal(c.in.orientation) ? Rect{0, 0, c.edge, rc.bottom} : Rect{0, c.edge, rc.right, rc.bottom};
    EXPECT_EQ(g.fill, fill) << c.what;
    if (c.fraction) EXPECT_NEAR(g.fraction, *c.fraction, 1e-12) << c.what;
  }
}

}  // namespace
}  // namespace vantiq
