#include "draw/region.h"

#include <gtest/gtest.h>

namespace vantiq {
namespace {

TEST(Region, SubtractionCutsPiecesThatDoNotOverlapAndCanLeaveNothing) {
  Region r(Rect{0, 0, 10, 6});
  EXPECT_EQ(r.Type(), RegionType::kSimple);
  r.Subtract({0, 0, 2, 1});
  r.Subtract({0, 1, 1, 2});
  EXPECT_EQ(r.Type(), RegionType::kComplex);
  for (auto [x, y, in] : {std::tuple{0, 0, false}, {1, 0, false}, {0, 1, false}, {2, 0, true}, {1, 1, true},
                          {9, 5, true}, {10, 5, false}})
    EXPECT_EQ(r.Contains(x, y), in) << x << "," << y;
  int covered = 0;
  for (const Rect& piece : r.Rects()) covered += piece.Width() * piece.Height();
  EXPECT_EQ(covered, 60 - 3) << "pieces must not overlap";
  r.Subtract({0, 0, 10, 10});
  EXPECT_EQ(r.Type(), RegionType::kNull);
  EXPECT_EQ(Region(Rect{3, 3, 3, 9}).Type(), RegionType::kNull);
}

}  // namespace
}  // namespace vantiq
