// Exact pixels of every drawing operation, through whatever surface MakeTestSurface
// gives: the software surface natively, GDI on a DIB section under Wine.
#include "support/test_surface.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace vantiq {
namespace {

constexpr ColorRef kBack = Rgb(1, 2, 3);  // what nothing draws by accident

std::unique_ptr<Surface> Blank(int w, int h) {
  auto s = MakeTestSurface(w, h, HostSystemColors());
  s->FillRect(Rect{0, 0, w, h}, kBack);
  return s;
}

ColorRef Sys(int index) { return HostSystemColors().GetSysColor(index) & 0xFFFFFFu; }

// Compares the surface with a picture, one character a pixel; '.' is kBack.
::testing::AssertionResult Looks(const Surface& s, const std::vector<std::string>& rows,
                                 std::map<char, ColorRef> legend) {
  legend['.'] = kBack;
  bool same = static_cast<int>(rows.size()) == s.Height();
  std::ostringstream actual;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const ColorRef got = s.GetPixel(x, y);
      const bool drawn = y < static_cast<int>(rows.size()) && x < static_cast<int>(rows[y].size());
      if (!drawn || legend.count(rows[y][x]) == 0 || legend[rows[y][x]] != got) same = false;
      char shown = '?';
      for (const auto& [c, color] : legend) {
        if (color == got) shown = c;
      }
      actual << shown;
    }
    actual << '\n';
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the surface shows\n" << actual.str();
}

std::vector<ColorRef> AllPixels(const Surface& s) {
  std::vector<ColorRef> out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.GetPixel(x, y));
  }
  return out;
}

TEST(TestSurface, TheSuiteDrawsThroughGdiOnWindowsAndInSoftwareElsewhere) {
  const auto s = MakeTestSurface(3, 2, HostSystemColors());
#ifdef _WIN32
  EXPECT_TRUE(IsGdiSurface(*s));
#else
  EXPECT_FALSE(IsGdiSurface(*s));
#endif
  EXPECT_EQ(s->Width(), 3);
  EXPECT_EQ(s->Height(), 2);
  for (ColorRef c : AllPixels(*s)) EXPECT_EQ(c, 0u) << "a new surface is black";
}

// --- FillRect and FrameRect ----------------------------------------------------------

TEST(SurfaceFillRect, FillsLeftAndTopInclusiveRightAndBottomExclusive) {
  auto s = Blank(6, 5);
  s->FillRect(Rect{1, 1, 4, 3}, Rgb(200, 0, 0));
  EXPECT_TRUE(Looks(*s, {"......",
                         ".###..",
                         ".###..",
                         "......",
                         "......"},
                    {{'#', Rgb(200, 0, 0)}}));
}

TEST(SurfaceFillRect, AnInvertedRectangleCoversThePixelsAfterItsRightAndBottom) {
  // PatBlt with a negative extent: left 5 with width -3 covers columns 3 to 5.
  auto s = Blank(7, 6);
  s->FillRect(Rect{5, 4, 2, 1}, Rgb(0, 0, 250));
  EXPECT_TRUE(Looks(*s, {".......",
                         ".......",
                         "...###.",
                         "...###.",
                         "...###.",
                         "......."},
                    {{'#', Rgb(0, 0, 250)}}));
}

TEST(SurfaceFillRect, EmptyRectanglesDrawNothingAndOverhangsAreCut) {
  auto s = Blank(5, 4);
  s->FillRect(Rect{2, 1, 2, 4}, Rgb(9, 9, 9));
  s->FillRect(Rect{0, 2, 5, 2}, Rgb(9, 9, 9));
  s->FillRect(Rect{3, -10, 40, 2}, Rgb(0, 128, 0));
  s->FillRect(Rect{-7, 3, 1, 99}, Rgb(0, 128, 0));
  EXPECT_TRUE(Looks(*s, {"...##",
                         "...##",
                         ".....",
                         "#...."},
                    {{'#', Rgb(0, 128, 0)}}));
}

TEST(SurfaceFillRect, OnlyTheLow24BitsOfAnRgbColourCount) {
  auto s = Blank(2, 1);
  s->FillRect(Rect{0, 0, 1, 1}, 0x80336699u);
  s->FillRect(Rect{1, 0, 2, 1}, 0x02336699u);
  EXPECT_EQ(s->GetPixel(0, 0), 0x336699u);
  EXPECT_EQ(s->GetPixel(1, 0), 0x336699u);
}

TEST(SurfaceFrameRect, DrawsOnePixelAlongTheInsideOfTheRectangle) {
  auto s = Blank(7, 5);
  s->FrameRect(Rect{1, 1, 6, 5}, Rgb(255, 255, 0));
  EXPECT_TRUE(Looks(*s, {".......",
                         ".#####.",
                         ".#...#.",
                         ".#...#.",
                         ".#####."},
                    {{'#', Rgb(255, 255, 0)}}));
}

TEST(SurfaceFrameRect, ThinRectanglesAreFilledAndInvertedOnesDrawNothing) {
  auto s = Blank(6, 4);
  s->FrameRect(Rect{0, 0, 1, 4}, Rgb(10, 20, 30));   // one pixel wide
  s->FrameRect(Rect{2, 1, 6, 2}, Rgb(10, 20, 30));   // one pixel high
  s->FrameRect(Rect{3, 3, 4, 4}, Rgb(10, 20, 30));   // a single pixel
  s->FrameRect(Rect{5, 3, 2, 0}, Rgb(250, 0, 0));    // inverted
  s->FrameRect(Rect{4, 2, 4, 4}, Rgb(250, 0, 0));    // empty
  EXPECT_TRUE(Looks(*s, {"#.....",
                         "#.####",
                         "#.....",
                         "#..#.."},
                    {{'#', Rgb(10, 20, 30)}}));
}

// --- Lines -----------------------------------------------------------------------------

TEST(SurfaceLine, StraightLinesLeaveOutTheirEndPointInBothDirections) {
  auto s = Blank(6, 6);
  s->Line(1, 0, 5, 0, Rgb(255, 0, 0));   // right: 1..4
  s->Line(4, 2, 0, 2, Rgb(255, 0, 0));   // left: 4..1
  s->Line(5, 1, 5, 5, Rgb(0, 0, 255));   // down: 1..4
  s->Line(0, 5, 0, 3, Rgb(0, 0, 255));   // up: 5..4
  s->Line(3, 4, 3, 4, Rgb(255, 0, 0));   // a point: nothing
  EXPECT_TRUE(Looks(*s, {".####.",
                         ".....b",
                         ".####b",
                         ".....b",
                         "b....b",
                         "b....."},
                    {{'#', Rgb(255, 0, 0)}, {'b', Rgb(0, 0, 255)}}));
}

TEST(SurfaceLine, DiagonalsStepOnePixelEachWayAndStopBeforeTheEnd) {
  auto s = Blank(5, 5);
  s->Line(0, 0, 4, 4, Rgb(255, 0, 0));
  s->Line(4, 0, 1, 3, Rgb(0, 0, 255));
  EXPECT_TRUE(Looks(*s, {"#...b",
                         ".#.b.",
                         "..b..",
                         "...#.",
                         "....."},
                    {{'#', Rgb(255, 0, 0)}, {'b', Rgb(0, 0, 255)}}));
}

TEST(SurfaceLine, ShallowAndSteepLinesFollowBresenham) {
  auto s = Blank(6, 6);
  s->Line(0, 0, 5, 2, Rgb(255, 0, 0));   // x-major, down-right
  s->Line(5, 5, 3, 0, Rgb(0, 0, 255));   // y-major, up-left
  EXPECT_TRUE(Looks(*s, {"##....",
                         "..#b..",
                         "....b.",
                         "....b.",
                         ".....b",
                         ".....b"},
                    {{'#', Rgb(255, 0, 0)}, {'b', Rgb(0, 0, 255)}}));
}

TEST(SurfaceLine, AReversedLineCoversTheSameMiddlePixelsWhenItPassesAHalfway) {
  // From (0,0) to (4,2) the line is exactly halfway between rows at x = 2; drawn the
  // other way it must still go through the same pixels (GDI's tie bias).
  auto forward = Blank(5, 3);
  auto backward = Blank(5, 3);
  forward->Line(0, 0, 4, 2, Rgb(255, 0, 0));
  backward->Line(4, 2, 0, 0, Rgb(255, 0, 0));
  EXPECT_TRUE(Looks(*forward, {"##...",
                               "..##.",
                               "....."},
                    {{'#', Rgb(255, 0, 0)}}));
  EXPECT_TRUE(Looks(*backward, {".#...",
                                "..##.",
                                "....#"},
                    {{'#', Rgb(255, 0, 0)}}));
}

TEST(SurfaceLine, ClippingKeepsExactlyThePixelsOfTheUnclippedLine) {
  const Rect clip{3, 2, 9, 7};
  for (int ex : {-4, 0, 5, 13, 17}) {
    for (int ey : {-3, 0, 9, 12}) {
      auto whole = Blank(13, 10);
      auto cut = Blank(13, 10);
      whole->Line(6, 4, ex, ey, Rgb(0, 200, 0));
      whole->Line(ex, ey, 2, 8, Rgb(200, 0, 0));
      cut->SetClip(clip);
      cut->Line(6, 4, ex, ey, Rgb(0, 200, 0));
      cut->Line(ex, ey, 2, 8, Rgb(200, 0, 0));
      for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 13; ++x) {
          const ColorRef want = clip.Contains(x, y) ? whole->GetPixel(x, y) : kBack;
          ASSERT_EQ(cut->GetPixel(x, y), want) << "end " << ex << "," << ey << " at " << x
                                               << "," << y;
        }
      }
    }
  }
}

// --- Pixels ----------------------------------------------------------------------------

TEST(SurfacePixel, SetPixelWritesOnePixelInsideTheSurfaceAndTheClip) {
  auto s = Blank(4, 3);
  s->SetPixel(0, 0, Rgb(10, 20, 30));
  s->SetPixel(3, 2, Rgb(40, 50, 60));
  s->SetPixel(-1, 1, Rgb(255, 0, 0));
  s->SetPixel(4, 1, Rgb(255, 0, 0));
  s->SetPixel(1, 3, Rgb(255, 0, 0));
  s->SetClip(Rect{1, 1, 3, 2});
  s->SetPixel(1, 1, Rgb(70, 80, 90));
  s->SetPixel(3, 1, Rgb(255, 0, 0));
  s->SetPixel(2, 0, Rgb(255, 0, 0));
  EXPECT_TRUE(Looks(*s, {"a...",
                         ".c..",
                         "...b"},
                    {{'a', Rgb(10, 20, 30)}, {'b', Rgb(40, 50, 60)}, {'c', Rgb(70, 80, 90)}}));
}

TEST(SurfacePixel, GetPixelOutsideTheSurfaceIsInvalid) {
  auto s = Blank(3, 2);
  EXPECT_EQ(s->GetPixel(-1, 0), kInvalidColor);
  EXPECT_EQ(s->GetPixel(0, -1), kInvalidColor);
  EXPECT_EQ(s->GetPixel(3, 0), kInvalidColor);
  EXPECT_EQ(s->GetPixel(0, 2), kInvalidColor);
  EXPECT_EQ(s->GetPixel(2, 1), kBack);
}

TEST(SurfacePixel, PaletteIndicesTakeTheDefaultPaletteAndDibIndicesAreBlack) {
  auto s = Blank(4, 1);
  s->SetPixel(0, 0, 0x01000001u);  // PALETTEINDEX(1): dark red
  s->SetPixel(1, 0, 0x01000013u);  // PALETTEINDEX(19): white
  s->SetPixel(2, 0, 0x01000014u);  // past the 20 entries: entry 0, black
  s->SetPixel(3, 0, 0x10FF0002u);  // DIBINDEX(2) without a colour table
  EXPECT_EQ(s->GetPixel(0, 0), Rgb(0x80, 0, 0));
  EXPECT_EQ(s->GetPixel(1, 0), Rgb(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(s->GetPixel(2, 0), 0u);
  EXPECT_EQ(s->GetPixel(3, 0), 0u);
}

// --- Sunken edges ----------------------------------------------------------------------

std::map<char, ColorRef> EdgeLegend() {
  return {{'s', Sys(kColorBtnShadow)},
          {'h', Sys(kColorBtnHighlight)},
          {'d', Sys(kColor3dDkShadow)},
          {'l', Sys(kColor3dLight)}};
}

TEST(SurfaceSunkenEdge, EdgeSunkenIsTwoRingsWhoseRightAndBottomLinesOwnTheCorners) {
  auto s = Blank(8, 7);
  s->SunkenEdge(Rect{1, 1, 7, 6}, EdgeKind::kSunken);
  EXPECT_TRUE(Looks(*s, {"........",
                         ".sssssh.",
                         ".sdddlh.",
                         ".sd..lh.",
                         ".sllllh.",
                         ".hhhhhh.",
                         "........"},
                    EdgeLegend()))
      << "outer: shadow left/top, highlight right/bottom; inner: dark shadow, light";
}

TEST(SurfaceSunkenEdge, SunkenOuterIsTheOuterRingAlone) {
  auto s = Blank(5, 4);
  s->SunkenEdge(Rect{0, 0, 4, 3}, EdgeKind::kSunkenOuter);
  EXPECT_TRUE(Looks(*s, {"sssh.",
                         "s..h.",
                         "hhhh.",
                         "....."},
                    EdgeLegend()));
}

TEST(SurfaceSunkenEdge, ATinyEdgeSunkenLetsItsInnerLinesRunOutsideTheRectangle) {
  // The inner lines of a 1 x 1 rectangle run backwards, and a backwards line covers
  // the pixels after its end point.
  auto s = Blank(5, 5);
  s->SunkenEdge(Rect{2, 2, 3, 3}, EdgeKind::kSunken);
  EXPECT_TRUE(Looks(*s, {".....",
                         "...l.",
                         "..h..",
                         ".l.d.",
                         "....."},
                    EdgeLegend()));
}

// --- Gradients -------------------------------------------------------------------------

TEST(SurfaceGradient, HorizontalRunsFromTheStartColourAndNeverReachesTheEnd) {
  auto s = Blank(6, 3);
  EXPECT_TRUE(s->GradientFill(Rect{1, 0, 5, 2}, Rgb(0, 255, 10), Rgb(255, 0, 10),
                              GradientDirection::kHorizontal));
  // channel = (start * 256 * (4 - pos) + end * 256 * pos) / 4 / 256, truncated.
  EXPECT_TRUE(Looks(*s, {".abcd.",
                         ".abcd.",
                         "......"},
                    {{'a', Rgb(0, 255, 10)},
                     {'b', Rgb(63, 191, 10)},
                     {'c', Rgb(127, 127, 10)},
                     {'d', Rgb(191, 63, 10)}}));
}

TEST(SurfaceGradient, VerticalGivesEveryRowOneColour) {
  auto s = Blank(3, 5);
  s->GradientFill(Rect{0, 1, 2, 4}, Rgb(100, 101, 0), Rgb(101, 100, 255),
                  GradientDirection::kVertical);
  // A one-step rise and fall over three rows: both truncate towards 100.
  EXPECT_TRUE(Looks(*s, {"...",
                         "aa.",
                         "bb.",
                         "cc.",
                         "..."},
                    {{'a', Rgb(100, 101, 0)},
                     {'b', Rgb(100, 100, 85)},
                     {'c', Rgb(100, 100, 170)}}));
}

TEST(SurfaceGradient, AOnePixelGradientIsTheStartColour) {
  auto s = Blank(2, 2);
  s->GradientFill(Rect{0, 0, 1, 2}, Rgb(7, 8, 9), Rgb(200, 200, 200),
                  GradientDirection::kHorizontal);
  s->GradientFill(Rect{1, 1, 2, 2}, Rgb(70, 80, 90), Rgb(200, 200, 200),
                  GradientDirection::kVertical);
  EXPECT_EQ(s->GetPixel(0, 0), Rgb(7, 8, 9));
  EXPECT_EQ(s->GetPixel(0, 1), Rgb(7, 8, 9));
  EXPECT_EQ(s->GetPixel(1, 1), Rgb(70, 80, 90));
  EXPECT_EQ(s->GetPixel(1, 0), kBack);
}

TEST(SurfaceGradient, A256PixelRampStepsBy255Over256) {
  auto s = Blank(256, 1);
  s->GradientFill(Rect{0, 0, 256, 1}, Rgb(0, 0, 255), Rgb(255, 255, 0),
                  GradientDirection::kHorizontal);
  for (int x = 0; x < 256; ++x) {
    const int up = 255 * x / 256;
    ASSERT_EQ(s->GetPixel(x, 0), Rgb(up, up, 255 - up - (255 * x % 256 ? 1 : 0))) << x;
  }
}

TEST(SurfaceGradient, AnInvertedRectangleStartsFromTheVertexWithTheSmallerCoordinate) {
  auto s = Blank(4, 2);
  // The second vertex (x = 0) is leftmost, so the end colour is where the ramp starts.
  s->GradientFill(Rect{4, 0, 0, 2}, Rgb(255, 0, 0), Rgb(0, 0, 255),
                  GradientDirection::kHorizontal);
  EXPECT_TRUE(Looks(*s, {"abcd",
                         "abcd"},
                    {{'a', Rgb(0, 0, 255)},
                     {'b', Rgb(63, 0, 191)},
                     {'c', Rgb(127, 0, 127)},
                     {'d', Rgb(191, 0, 63)}}));
}

TEST(SurfaceGradient, ClippingKeepsEachPixelsColourAndAnEmptyRectangleDrawsNothing) {
  auto whole = Blank(9, 4);
  auto cut = Blank(9, 4);
  whole->GradientFill(Rect{-3, 0, 9, 4}, Rgb(0, 10, 250), Rgb(240, 120, 0),
                      GradientDirection::kHorizontal);
  cut->SetClip(Rect{2, 1, 6, 3});
  EXPECT_TRUE(cut->GradientFill(Rect{-3, 0, 9, 4}, Rgb(0, 10, 250), Rgb(240, 120, 0),
                                GradientDirection::kHorizontal));
  EXPECT_TRUE(cut->GradientFill(Rect{4, 0, 4, 4}, 0, 0, GradientDirection::kHorizontal));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 9; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 1 && y < 3;
      EXPECT_EQ(cut->GetPixel(x, y), inside ? whole->GetPixel(x, y) : kBack) << x << "," << y;
    }
  }
}

// --- Copies, mirrors and the clip ------------------------------------------------------

void Number(Surface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) s.SetPixel(x, y, Rgb(x, y, 77));
  }
}

TEST(SurfaceCopy, CopiesTheSourceBlockToTheTargetCutToBothSurfaces) {
  auto src = Blank(4, 3);
  Number(*src);
  auto s = Blank(5, 4);
  s->CopyFrom(3, 2, 3, 3, *src, 1, 0);  // 2 x 2 survive the target's edge
  EXPECT_TRUE(Looks(*s, {".....",
                         ".....",
                         "...ab",
                         "...cd"},
                    {{'a', Rgb(1, 0, 77)}, {'b', Rgb(2, 0, 77)}, {'c', Rgb(1, 1, 77)},
                     {'d', Rgb(2, 1, 77)}}));
  auto t = Blank(3, 2);
  t->CopyFrom(0, 0, 3, 2, *src, 2, 2);  // only the source's corner column exists
  EXPECT_TRUE(Looks(*t, {"ab.",
                         "..."},
                    {{'a', Rgb(2, 2, 77)}, {'b', Rgb(3, 2, 77)}}));
}

TEST(SurfaceCopy, NegativeSizesCopyTheBlockEndingAtTheOrigins) {
  auto src = Blank(4, 3);
  Number(*src);
  auto s = Blank(4, 3);
  s->CopyFrom(2, 1, -2, -1, *src, 3, 2);  // target columns 1-2 row 1, source 2-3 row 2
  EXPECT_TRUE(Looks(*s, {"....",
                         ".ab.",
                         "...."},
                    {{'a', Rgb(2, 2, 77)}, {'b', Rgb(3, 2, 77)}}));
}

TEST(SurfaceCopy, CopyingOntoItselfReadsThePixelsFromBeforeTheCopy) {
  auto s = Blank(5, 4);
  Number(*s);
  s->CopyFrom(1, 0, 4, 1, *s, 0, 0);  // one row to the right
  EXPECT_EQ(s->GetPixel(0, 0), Rgb(0, 0, 77));
  for (int x = 1; x < 5; ++x) EXPECT_EQ(s->GetPixel(x, 0), Rgb(x - 1, 0, 77)) << x;
  s->CopyFrom(0, 2, 5, 2, *s, 0, 1);  // two rows down by one
  for (int y = 2; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(s->GetPixel(x, y), Rgb(x, y - 1, 77)) << x << "," << y;
  }
}

TEST(SurfaceMirror, ColumnXMovesToWidthMinusOneMinusXIncludingTheFirstAndLast) {
  for (int w : {1, 2, 5, 8}) {
    auto s = Blank(w, 2);
    Number(*s);
    s->MirrorHorizontally(w, 2);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < w; ++x) ASSERT_EQ(s->GetPixel(x, y), Rgb(w - 1 - x, y, 77)) << w;
    }
  }
}

TEST(SurfaceMirror, MirroringPartOfTheSurfaceLeavesTheRestAndTwiceRestores) {
  auto s = Blank(6, 3);
  Number(*s);
  const std::vector<ColorRef> before = AllPixels(*s);
  s->MirrorHorizontally(4, 2);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool moved = x < 4 && y < 2;
      EXPECT_EQ(s->GetPixel(x, y), Rgb(moved ? 3 - x : x, y, 77)) << x << "," << y;
    }
  }
  s->MirrorHorizontally(4, 2);
  EXPECT_EQ(AllPixels(*s), before);
}

TEST(SurfaceMirror, AnEmptyOrNegativeAreaLeavesEveryPixel) {
  auto s = Blank(6, 3);
  Number(*s);
  const std::vector<ColorRef> before = AllPixels(*s);
  for (auto [w, h] : {std::pair{0, 3}, {-2, 3}, {6, -1}, {6, 0}}) {
    s->MirrorHorizontally(w, h);
    EXPECT_EQ(AllPixels(*s), before) << w << "x" << h;
  }
}

TEST(SurfaceMirror, AnAreaWiderThanTheSurfaceMirrorsTheSurfacesOwnWidth) {
  // StretchBlt flips only the part of its source that exists.
  auto s = Blank(5, 2);
  Number(*s);
  s->MirrorHorizontally(9, 1);
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(s->GetPixel(x, 0), Rgb(4 - x, 0, 77)) << x;
    EXPECT_EQ(s->GetPixel(x, 1), Rgb(x, 1, 77)) << x;
  }
}

TEST(SurfaceClip, ClipReportsWhatWasSetAndNulloptRemovesIt) {
  auto s = Blank(4, 4);
  EXPECT_FALSE(s->Clip().has_value());
  s->SetClip(Rect{1, 1, 3, 3});
  ASSERT_TRUE(s->Clip().has_value());
  EXPECT_EQ(*s->Clip(), (Rect{1, 1, 3, 3}));
  s->SetClip(std::nullopt);
  EXPECT_FALSE(s->Clip().has_value());
  s->FillRect(Rect{0, 0, 4, 4}, Rgb(0, 99, 0));
  for (ColorRef c : AllPixels(*s)) EXPECT_EQ(c, Rgb(0, 99, 0));
}

TEST(SurfaceClip, AnInvertedClipIsOrderedAndAFlatOneHidesEverything) {
  auto s = Blank(4, 3);
  s->SetClip(Rect{3, 2, 1, 0});
  s->FillRect(Rect{0, 0, 4, 3}, Rgb(0, 99, 0));
  EXPECT_TRUE(Looks(*s, {".##.",
                         ".##.",
                         "...."},
                    {{'#', Rgb(0, 99, 0)}}));
  s->SetClip(Rect{1, 0, 1, 3});
  s->FillRect(Rect{0, 0, 4, 3}, Rgb(255, 0, 0));
  s->SetPixel(1, 1, Rgb(255, 0, 0));
  EXPECT_TRUE(Looks(*s, {".##.",
                         ".##.",
                         "...."},
                    {{'#', Rgb(0, 99, 0)}}));
}

TEST(SurfaceClip, EveryDrawingOperationStaysInsideTheClip) {
  auto src = Blank(12, 10);
  src->FillRect(Rect{0, 0, 12, 10}, Rgb(9, 200, 9));
  const std::vector<std::pair<const char*, std::function<void(Surface&)>>> operations = {
      {"FillRect", [](Surface& s) { s.FillRect(Rect{0, 0, 12, 10}, Rgb(255, 0, 0)); }},
      {"FrameRect", [](Surface& s) { s.FrameRect(Rect{4, 3, 11, 9}, Rgb(255, 0, 0)); }},
      {"Line", [](Surface& s) { s.Line(0, 1, 12, 8, Rgb(255, 0, 0)); }},
      {"SetPixel",
       [](Surface& s) {
         s.SetPixel(3, 3, Rgb(255, 0, 0));
         s.SetPixel(2, 2, Rgb(255, 0, 0));
       }},
      {"SunkenEdge", [](Surface& s) { s.SunkenEdge(Rect{1, 1, 11, 9}, EdgeKind::kSunken); }},
      {"GradientFill",
       [](Surface& s) {
         s.GradientFill(Rect{0, 0, 12, 10}, Rgb(255, 0, 0), Rgb(0, 255, 0),
                        GradientDirection::kVertical);
       }},
      {"CopyFrom", [&src](Surface& s) { s.CopyFrom(0, 0, 12, 10, *src, 0, 0); }},
      {"MirrorHorizontally", [](Surface& s) { s.MirrorHorizontally(12, 10); }},
  };
  const Rect clip{3, 2, 8, 7};
  for (const auto& [name, draw] : operations) {
    auto s = Blank(12, 10);
    Number(*s);
    const std::vector<ColorRef> before = AllPixels(*s);
    s->SetClip(clip);
    draw(*s);
    int changed_inside = 0;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 12; ++x) {
        const ColorRef now = s->GetPixel(x, y);
        if (clip.Contains(x, y)) {
          changed_inside += now != before[y * 12 + x];
        } else {
          ASSERT_EQ(now, before[y * 12 + x]) << name << " drew at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(changed_inside, 0) << name << " drew nothing inside the clip";
  }
}

}  // namespace
}  // namespace vantiq
