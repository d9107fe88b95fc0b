#include "draw/region.h"

#include <gtest/gtest.h>

namespace vantiq {
namespace {

TEST(Region, SubtractingCornerPixelsMakesAComplexRegionThatExcludesThem) {
  Region r(Rect{0, 0, 10, 6});
  EXPECT_EQ(r.Type(), RegionType::kSimple);
  r.Subtract({0, 0, 2, 1});
  r.Subtract({0, 1, 1, 2});
  EXPECT_EQ(r.Type(), RegionType::kComplex);
  EXPECT_FALSE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(1, 0));
  EXPECT_FALSE(r.Contains(0, 1));
  EXPECT_TRUE(r.Contains(2, 0));
  EXPECT_TRUE(r.Contains(1, 1));
  EXPECT_TRUE(r.Contains(9, 5));
  EXPECT_FALSE(r.Contains(10, 5));
  int covered = 0;
  for (const Rect& piece : r.Rects()) covered += piece.Width() * piece.Height();
  EXPECT_EQ(covered, 60 - 3) << "pieces must not overlap";
}

TEST(Region, SubtractingEverythingLeavesANullRegion) {
  Region r(Rect{2, 2, 5, 5});
  r.Subtract({0, 0, 10, 10});
  EXPECT_EQ(r.Type(), RegionType::kNull);
  EXPECT_EQ(Region(Rect{3, 3, 3, 9}).Type(), RegionType::kNull);
}

}  // namespace
}  // namespace vantiq
