// Exact pixels of the drawing operations, through whatever surface MakeTestSurface
// gives: the software surface natively, GDI on a DIB section under Wine. The pictures
// pin down GDI's rules; tests/windows/cross_backend_test.cpp holds the two backends to
// the same pixels over many more shapes and clips.
#include "support/test_surface.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/picture.h"

namespace vantiq {
namespace {

using testing::BlankSurface;
using testing::Looks;
using testing::PaintedSurface;
using Picture = std::vector<std::string>;
using Legend = std::map<char, ColorRef>;
using Draw = std::function<void(Surface&)>;

constexpr ColorRef kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255), kGreen = Rgb(0, 128, 0);
constexpr ColorRef kNever = Rgb(9, 9, 9);  // in no legend: drawn by mistake, it shows as '?'

ColorRef Sys(int index) { return HostSystemColors().GetSysColor(index) & 0xFFFFFFu; }

// What every picture may use besides its own entries: r u g for red, blue and green;
// s h d l for the edge colours shadow, highlight, dark shadow and light; A to Z for
// the pixels of painted surfaces.
Legend Colours(Legend own = {}) {
  own.insert({{'r', kRed}, {'u', kBlue}, {'g', kGreen}, {'s', Sys(kColorBtnShadow)},
              {'h', Sys(kColorBtnHighlight)}, {'d', Sys(kColor3dDkShadow)},
              {'l', Sys(kColor3dLight)}});
  for (int i = 0; i < 26; ++i) own['A' + i] = Rgb(10 + 9 * i, 200, 77);
  return own;
}

struct Case {
  const char* what;
  Draw draw;
  Picture after;
  Legend own = {};
  Picture before = {};  // blank, of the size of `after`, when empty
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const Picture blank(c.after.size(), std::string(c.after[0].size(), '.'));
    auto s = PaintedSurface(c.before.empty() ? blank : c.before, Colours(c.own));
    c.draw(*s);
    EXPECT_TRUE(Looks(*s, c.after, Colours(c.own))) << c.what;
  }
}

TEST(TestSurface, TheSuiteDrawsThroughGdiOnWindowsAndInSoftwareElsewhere) {
  const auto s = MakeTestSurface(3, 2, HostSystemColors());
#ifdef _WIN32
  EXPECT_TRUE(IsGdiSurface(*s));
#else
  EXPECT_FALSE(IsGdiSurface(*s));
#endif
  EXPECT_TRUE(Looks(*s, {"kkk", "kkk"}, {{'k', 0}})) << "a new surface is black";
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}}) {
    EXPECT_EQ(s->GetPixel(x, y), kInvalidColor) << x << "," << y;
  }
}

TEST(SurfacePictures, RectanglesPixelsAndTheClip) {
  Check({
      {"FillRect: right and bottom exclusive, inverted, empty, overhanging, high byte",
       [](Surface& s) {
         s.FillRect(Rect{1, 1, 3, 3}, kRed);
         s.FillRect(Rect{6, 5, 4, 3}, kBlue);  // a negative extent covers 5 and 6
         s.FillRect(Rect{3, 0, 3, 6}, kNever); s.FillRect(Rect{0, 3, 8, 3}, kNever);
         s.FillRect(Rect{5, -10, 40, 2}, kGreen); s.FillRect(Rect{-7, 4, 1, 99}, kGreen);
         s.FillRect(Rect{3, 4, 4, 5}, 0x80336699u);  // only the low 24 bits count
         s.FillRect(Rect{3, 5, 4, 6}, 0x02336699u);
       },
       {".....ggg",
        ".rr..ggg",
        ".rr.....",
        "........",
        "g..x.uu.",
        "g..x.uu."},
       {{'x', 0x336699u}}},
      {"FrameRect: along the inside; thin ones filled, inverted and empty ones not drawn",
       [](Surface& s) {
         for (Rect rc : {Rect{0, 0, 5, 4}, {6, 0, 7, 5}, {8, 1, 10, 2}, {8, 3, 9, 4}}) {
           s.FrameRect(rc, kRed);
         }
         s.FrameRect(Rect{4, 3, 1, 1}, kNever); s.FrameRect(Rect{7, 2, 7, 4}, kNever);
       },
       {"rrrrr.r...",
        "r...r.r.rr",
        "r...r.r...",
        "rrrrr.r.r.",
        "......r..."}},
      {"SetPixel: inside the surface and the clip only",
       [](Surface& s) {
         s.SetPixel(0, 0, kRed); s.SetPixel(3, 2, kBlue);
         for (auto [x, y] : {std::pair{-1, 1}, {4, 1}, {1, 3}}) s.SetPixel(x, y, kNever);
         s.SetClip(Rect{1, 1, 3, 2});
         s.SetPixel(1, 1, kGreen); s.SetPixel(3, 1, kNever); s.SetPixel(2, 0, kNever);
       },
       {"r...", ".g..", "...u"}},
      {"palette indices take the default palette, past its end entry 0; DIB indices black",
       [](Surface& s) {
         s.SetPixel(0, 0, 0x01000001u); s.SetPixel(1, 0, 0x01000013u);
         s.SetPixel(2, 0, 0x01000014u); s.SetPixel(3, 0, 0x10FF0002u);
       },
       {"mwkk"},
       {{'m', Rgb(0x80, 0, 0)}, {'w', Rgb(255, 255, 255)}, {'k', 0}}},
      {"an inverted clip is ordered, a flat one hides everything, and nullopt removes it",
       [](Surface& s) {
         s.SetClip(Rect{3, 2, 1, 0});
         EXPECT_EQ(s.Clip(), (Rect{3, 2, 1, 0}));
         s.FillRect(Rect{0, 0, 4, 3}, kGreen);
         s.SetClip(Rect{1, 0, 1, 3});
         s.FillRect(Rect{0, 0, 4, 3}, kNever); s.SetPixel(1, 1, kNever);
         s.SetClip(std::nullopt);
         EXPECT_FALSE(s.Clip().has_value());
         s.FillRect(Rect{3, 0, 4, 3}, kRed);
       },
       {".ggr", ".ggr", "...r"}},
  });
}

TEST(SurfacePictures, LinesLeaveOutTheirEndPoint) {
  Check({
      {"straight lines, both ways, and a point",
       [](Surface& s) {
         s.Line(1, 0, 5, 0, kRed); s.Line(4, 2, 0, 2, kRed);
         s.Line(5, 1, 5, 5, kBlue); s.Line(0, 5, 0, 3, kBlue);
         s.Line(3, 4, 3, 4, kNever);
       },
       {".rrrr.",
        ".....u",
        ".rrrru",
        ".....u",
        "u....u",
        "u....."}},
      {"diagonals; shallow and steep lines",
       [](Surface& s) {
         s.Line(0, 0, 4, 4, kRed); s.Line(4, 0, 1, 3, kBlue);
         s.Line(5, 0, 10, 2, kRed); s.Line(10, 5, 8, 0, kBlue);
       },
       {"r...urr....",
        ".r.u...ru..",
        "..u......u.",
        "...r.....u.",
        "..........u",
        "..........u"}},
      // Halfway between rows at x = 2, GDI's tie bias keeps the middle pixels either way.
      {"a tie, forwards and backwards",
       [](Surface& s) { s.Line(0, 0, 4, 2, kRed); s.Line(4, 5, 0, 3, kBlue); },
       {"rr...",
        "..rr.",
        ".....",
        ".u...",
        "..uu.",
        "....u"}},
  });
}

TEST(SurfacePictures, SunkenEdgesRightAndBottomLinesOwnTheCorners) {
  Check({
      {"EDGE_SUNKEN: shadow and highlight outside, dark shadow and light inside",
       [](Surface& s) { s.SunkenEdge(Rect{1, 1, 7, 6}, EdgeKind::kSunken); },
       {"........",
        ".sssssh.",
        ".sdddlh.",
        ".sd..lh.",
        ".sllllh.",
        ".hhhhhh.",
        "........"}},
      // The inner lines of a 1 x 1 rectangle run backwards, past the rectangle.
      {"BDR_SUNKENOUTER, and a 1 x 1 EDGE_SUNKEN",
       [](Surface& s) {
         s.SunkenEdge(Rect{0, 0, 4, 3}, EdgeKind::kSunkenOuter);
         s.SunkenEdge(Rect{6, 2, 7, 3}, EdgeKind::kSunken);
       },
       {"sssh.....",
        "s..h...l.",
        "hhhh..h..",
        ".....l.d.",
        "........."}},
  });
}

// channel = (start * 256 * (len - pos) + end * 256 * pos) / len / 256, truncated; the
// digits are positions along the ramp.
TEST(SurfacePictures, GradientsStartAtTheSmallerCoordinateAndNeverReachTheEnd) {
  Check({
      {"horizontal",
       [](Surface& s) {
         EXPECT_TRUE(s.GradientFill(Rect{1, 0, 5, 2}, Rgb(0, 255, 10), Rgb(255, 0, 10),
                                    GradientDirection::kHorizontal));
       },
       {".0123.", ".0123.", "......"},
       {{'0', Rgb(0, 255, 10)}, {'1', Rgb(63, 191, 10)}, {'2', Rgb(127, 127, 10)},
        {'3', Rgb(191, 63, 10)}}},
      {"vertical, a one-step rise and fall truncated towards 100",
       [](Surface& s) {
         s.GradientFill(Rect{0, 1, 2, 4}, Rgb(100, 101, 0), Rgb(101, 100, 255),
                        GradientDirection::kVertical);
       },
       {"...",
        "00.",
        "11.",
        "22.",
        "..."},
       {{'0', Rgb(100, 101, 0)}, {'1', Rgb(100, 100, 85)}, {'2', Rgb(100, 100, 170)}}},
      {"inverted: the second vertex is leftmost, so the end colour starts the ramp",
       [](Surface& s) {
         s.GradientFill(Rect{4, 0, 0, 2}, kRed, kBlue, GradientDirection::kHorizontal);
       },
       {"0123", "0123"},
       {{'0', Rgb(0, 0, 255)}, {'1', Rgb(63, 0, 191)}, {'2', Rgb(127, 0, 127)},
        {'3', Rgb(191, 0, 63)}}},
      {"one pixel long is the start colour; an empty one draws nothing",
       [](Surface& s) {
         s.GradientFill(Rect{0, 0, 1, 2}, kRed, kBlue, GradientDirection::kHorizontal);
         s.GradientFill(Rect{1, 1, 2, 2}, kGreen, kBlue, GradientDirection::kVertical);
         EXPECT_TRUE(s.GradientFill(Rect{1, 0, 1, 2}, 0, 0, GradientDirection::kHorizontal));
       },
       {"r.", "rg"}},
  });
}

TEST(SurfacePictures, CopiesAreCutToBothSurfacesAndMirrorsFlipInPlace) {
  auto copy = [](int x, int y, int w, int h, int sx, int sy) {
    return [=](Surface& s) {
      s.CopyFrom(x, y, w, h, *PaintedSurface({"ABCD", "EFGH", "IJKL"}, Colours()), sx, sy);
    };
  };
  auto mirror = [](int w, int h) { return [=](Surface& s) { s.MirrorHorizontally(w, h); }; };
  const Picture two = {"ABCDE", "FGHIJ"};
  Check({
      {"a block cut by the target", copy(3, 2, 3, 3, 1, 0), {".....", ".....", "...BC", "...FG"}},
      {"a block cut by the source", copy(0, 0, 3, 2, 2, 2), {"KL.", "..."}},
      {"negative sizes end at the origins", copy(2, 1, -2, -1, 3, 2), {"....", ".KL.", "...."}},
      {"onto itself, reading the pixels from before the copy",
       [](Surface& s) { s.CopyFrom(1, 0, 4, 1, s, 0, 0); s.CopyFrom(0, 2, 5, 2, s, 0, 1); },
       {"AABCD", "FGHIJ", "FGHIJ", "KLMNO"}, {}, {"ABCDE", "FGHIJ", "KLMNO", "PQRST"}},
      {"mirror: column x moves to w - 1 - x", mirror(5, 2), {"EDCBA", "JIHGF"}, {}, two},
      {"mirror part of the surface", mirror(4, 2), {"DCBAEF", "JIHGKL", "MNOPQR"}, {},
       {"ABCDEF", "GHIJKL", "MNOPQR"}},
      {"mirror an area wider than the surface: its own width", mirror(9, 1), {"EDCBA", "FGHIJ"},
       {}, two},
      {"mirror an empty or negative area: nothing",
       [](Surface& s) {
         for (auto [w, h] : {std::pair{0, 2}, {-2, 2}, {5, -1}, {5, 0}}) s.MirrorHorizontally(w, h);
       },
       two, {}, two},
  });
}

}  // namespace
}  // namespace vantiq
