// The software surface against GDI: the same drawing through a SoftSurface and a
// GdiSurface DIB section must leave the same 32-bit pixels, alpha included. Whole
// paints are compared by the gallery test.
#include "backends/gdi/gdi_surface.h"
#include "backends/soft/soft_surface.h"
#include "support/pixel_diff.h"
#include "support/test_surface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace vantiq {
namespace {

using Script = std::function<void(Surface&)>;

// The same size of surface in both backends; the software one reads the real system
// colours, as DrawEdge does.
struct Pair {
  Pair(int w, int h) : soft(w, h, HostSystemColors()), gdi(GdiSurface::CreateDibSection(w, h)) {}
  void Run(const Script& script) {
    script(soft);
    script(*gdi);
  }
  SoftSurface soft;
  std::unique_ptr<GdiSurface> gdi;
};

std::string Hex(std::uint32_t v) {
  std::ostringstream out;
  out << "0x" << std::hex << v;
  return out.str();
}

// Every pixel equal, or a report of how many differ and where the first ones are (the
// GDI pixel is the one expected).
::testing::AssertionResult SamePixels(const Pair& pair) {
  if (!pair.gdi) return ::testing::AssertionFailure() << "no DIB section";
  const std::uint32_t* bits = pair.gdi->DibBits();
  const int w = pair.soft.Width(), h = pair.soft.Height();
  return testing::ComparePixels(
      w, h, [&](int x, int y) { return bits[static_cast<std::size_t>(y) * w + x]; }, w, h,
      [&](int x, int y) { return pair.soft.RawPixel(x, y); });
}

// A background that no drawing operation produces by accident, so that pixels an
// operation must leave alone are checked too.
void Texture(Surface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      s.SetPixel(x, y, Rgb(x * 7 + 3, y * 5 + 11, (x ^ y) * 3));
    }
  }
}

// A fresh textured pair of w x h surfaces drawn on by `draw` under `clip`, compared.
::testing::AssertionResult SameAfter(int w, int h, const std::optional<Rect>& clip, const Script& draw) {
  Pair pair(w, h);
  pair.Run([&](Surface& s) {
    Texture(s);
    s.SetClip(clip);
    draw(s);
  });
  return SamePixels(pair);
}

std::string Show(const Rect& rc) {
  std::ostringstream out;
  out << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
  return out.str();
}

ColorRef Sys(int index) { return ::GetSysColor(index); }

const std::vector<ColorRef>& Colors() {
  static const std::vector<ColorRef> colors = {
      Rgb(0, 0, 0),       Rgb(255, 255, 255), Rgb(12, 200, 77),   Rgb(1, 2, 3),
      Sys(COLOR_BTNFACE), Sys(COLOR_HIGHLIGHT), Sys(COLOR_3DDKSHADOW),
      // Only the low 24 bits of a COLORREF reach a 32-bit DIB.
      0x02336699u,        0x80000005u};
  return colors;
}

const std::vector<Rect>& AwkwardRects() {
  static const std::vector<Rect> rects = {
      {2, 3, 9, 8},     {0, 0, 1, 1},     {4, 4, 5, 9},      {3, 6, 10, 7},   {5, 5, 5, 9},
      {5, 5, 9, 5},     {8, 7, 3, 2},     {8, 2, 3, 7},      {3, 7, 8, 2},    {6, 6, 5, 5},
      {-3, -4, 4, 5},   {9, 9, 40, 40},   {-20, 2, -5, 6},   {11, 1, 12, 12}, {0, 0, 12, 12},
      {-1, -1, 13, 13}, {7, 0, 7, 12},    {12, 12, 0, 0},    {1, 10, 11, 11}, {10, 1, 11, 11},
      {2, 2, 4, 4},     {2, 2, 5, 5},     {2, 2, 3, 6},      {2, 2, 6, 3}};
  return rects;
}

const std::vector<std::optional<Rect>>& Clips() {
  static const std::vector<std::optional<Rect>> clips = {
      std::nullopt, Rect{3, 2, 8, 10}, Rect{9, 9, 1, 1}, Rect{4, 4, 4, 8}, Rect{-5, 6, 20, 7}};
  return clips;
}

TEST(CrossBackend, FillRectAndFrameRectMatchForAwkwardRectsColoursAndClips) {
  for (const auto& clip : Clips()) {
    for (ColorRef color : Colors()) {
      EXPECT_TRUE(SameAfter(12, 12, clip, [&](Surface& s) {
        for (const Rect& rc : AwkwardRects()) s.FillRect(rc, color);
      })) << "FillRect colour " << Hex(color);
    }
    for (std::size_t i = 0; i < AwkwardRects().size(); ++i) {
      const Rect& rc = AwkwardRects()[i];
      EXPECT_TRUE(SameAfter(12, 12, clip, [&](Surface& s) {
        s.FrameRect(rc, Colors()[i % Colors().size()]);
      })) << "FrameRect " << Show(rc);
    }
  }
}

TEST(CrossBackend, LinesInEveryDirectionMatchWithAndWithoutClip) {
  // From two centres to every point of a square ring around them: all octants, the
  // diagonals and the axes, ends inside and outside the surface.
  const std::vector<std::optional<Rect>> clips = {std::nullopt, Rect{5, 4, 17, 13},
                                                  Rect{0, 10, 21, 11}, Rect{14, 0, 15, 21}};
  for (const auto& clip : clips) {
    for (int cx : {10, 3}) {
      for (int radius : {1, 2, 5, 9, 14}) {
        std::vector<std::pair<int, int>> ends;
        for (int k = -radius; k <= radius; ++k) {
          ends.push_back({cx + k, 10 - radius});
          ends.push_back({cx + k, 10 + radius});
          ends.push_back({cx - radius, 10 + k});
          ends.push_back({cx + radius, 10 + k});
        }
        for (const auto& [ex, ey] : ends) {
          ASSERT_TRUE(SameAfter(21, 21, clip, [&, ex = ex, ey = ey](Surface& s) {
            s.Line(cx, 10, ex, ey, Rgb(250, 10, 100));
            s.Line(ex, ey, cx, 10, Rgb(20, 240, 30));
          })) << "line (" << cx << ",10)-(" << ex << "," << ey << ") clip " << (clip ? "on" : "off");
        }
      }
    }
  }
}

TEST(CrossBackend, LongAndFarAwayLinesMatch) {
  const std::vector<std::array<int, 4>> lines = {
      {-50, -7, 60, 30},    {60, 30, -50, -7},     {-1000, 5, 1000, 6},   {3, -900, 4, 900},
      {0, 0, 300, 7},       {299, 20, 0, 0},       {-100000, -3, 100000, 15},
      {0x20000000, 1, -5, 9}, {-0x30000000, 0x30000000, 8, 8}, {17, 3, 17, 3},
      {40, 2, -3, 2},       {5, 40, 5, -3}};
  for (const auto& clip : {std::optional<Rect>{}, std::optional<Rect>{Rect{2, 3, 30, 15}}}) {
    for (const auto& l : lines) {
      EXPECT_TRUE(SameAfter(37, 19, clip, [&](Surface& s) { s.Line(l[0], l[1], l[2], l[3], Rgb(0, 0, 255)); }))
          << "line " << l[0] << "," << l[1] << " - " << l[2] << "," << l[3];
    }
  }
}

TEST(CrossBackend, PixelsSetAndReadBackMatchIncludingOutsideAndUnderClip) {
  Pair pair(9, 7);
  pair.Run([](Surface& s) {
    s.SetPixel(0, 0, Rgb(1, 2, 3));
    s.SetPixel(8, 6, Rgb(4, 5, 6));
    s.SetPixel(-1, 3, Rgb(7, 8, 9));
    s.SetPixel(9, 3, Rgb(7, 8, 9));
    s.SetPixel(4, 7, Rgb(7, 8, 9));
    s.SetClip(Rect{2, 2, 5, 5});
    s.SetPixel(1, 2, Rgb(10, 11, 12));
    s.SetPixel(2, 2, Rgb(13, 14, 15));
    s.SetPixel(4, 4, 0x01FFFFFFu);
    s.SetPixel(5, 4, Rgb(16, 17, 18));
  });
  EXPECT_TRUE(SamePixels(pair));
  // Palette indices, in range and past the default palette's 20 entries, and
  // DIB indices, through each way of putting a colour down.
  pair.Run([](Surface& s) {
    s.SetClip(std::nullopt);
    for (int i = 0; i < 9 * 3; ++i) s.SetPixel(i % 9, i / 9, 0x01000000u | i);
    s.SetPixel(0, 3, 0x01000100u);
    s.SetPixel(1, 3, 0x010F0005u);
    s.FillRect(Rect{2, 3, 4, 4}, 0x0100000Du);
    s.Line(4, 3, 9, 3, 0x01000010u);
    s.FrameRect(Rect{0, 4, 9, 6}, 0x10FF0003u);
    s.Line(0, 6, 9, 6, 0x10FF0000u);
  });
  EXPECT_TRUE(SamePixels(pair));
  for (int y = -1; y <= 7; ++y) {
    for (int x = -1; x <= 9; ++x) {
      EXPECT_EQ(pair.soft.GetPixel(x, y), pair.gdi->GetPixel(x, y)) << x << "," << y;
    }
  }
}

TEST(CrossBackend, SunkenEdgesMatchOnEverySmallRectAndUnderClip) {
  for (EdgeKind kind : {EdgeKind::kSunken, EdgeKind::kSunkenOuter}) {
    for (const auto& clip : Clips()) {
      std::vector<Rect> rects = AwkwardRects();
      for (int w = -2; w <= 6; ++w) {
        for (int h = -2; h <= 6; ++h) rects.push_back(Rect{3, 4, 3 + w, 4 + h});
      }
      for (const Rect& rc : rects) {
        ASSERT_TRUE(SameAfter(12, 12, clip, [&](Surface& s) { s.SunkenEdge(rc, kind); }))
            << (kind == EdgeKind::kSunken ? "EDGE_SUNKEN " : "") << Show(rc);
      }
    }
  }
}

struct ColorPair {
  ColorRef start, end;
};

const std::vector<ColorPair>& GradientColors() {
  static const std::vector<ColorPair> pairs = {
      {Rgb(0, 0, 0), Rgb(255, 255, 255)},       // the largest rise
      {Rgb(255, 255, 255), Rgb(0, 0, 0)},       // the largest fall
      {Rgb(100, 101, 102), Rgb(101, 100, 102)}, // deltas of +1, -1 and 0
      {Rgb(10, 200, 30), Rgb(240, 20, 31)},     // mixed
      {Rgb(49, 106, 197), Sys(COLOR_BTNFACE)},
      {Sys(COLOR_HIGHLIGHT), Sys(COLOR_3DDKSHADOW)}};
  return pairs;
}

TEST(CrossBackend, GradientsMatchForEveryWidthHeightAndColourPair) {
  const std::vector<int> extents = {1, 2, 3, 7, 255, 256, 300};
  for (GradientDirection direction :
       {GradientDirection::kHorizontal, GradientDirection::kVertical}) {
    for (int w : extents) {
      for (int h : extents) {
        if (w > 7 && h > 7 && w != h) continue;  // the large ones are slow and alike
        for (const ColorPair& c : GradientColors()) {
          Pair pair(w + 2, h + 2);
          pair.Run([&](Surface& s) {
            s.FillRect(Rect{0, 0, w + 2, h + 2}, Rgb(9, 9, 9));
            EXPECT_TRUE(s.GradientFill(Rect{1, 1, 1 + w, 1 + h}, c.start, c.end, direction));
          });
          ASSERT_TRUE(SamePixels(pair))
              << w << "x" << h << (direction == GradientDirection::kVertical ? " V " : " H ")
              << Hex(c.start) << "->" << Hex(c.end);
        }
      }
    }
  }
}

TEST(CrossBackend, GradientsMatchWhenInvertedOffsetOrClipped) {
  const std::vector<Rect> rects = {{20, 3, 2, 9},    {2, 9, 20, 3},    {20, 9, 2, 3},
                                   {-30, -2, 15, 8}, {5, 5, 5, 9},     {5, 5, 9, 5},
                                   {3, 1, 400, 12},  {-250, 0, 10, 11}, {0, 11, 22, -300}};
  const std::vector<std::optional<Rect>> clips = {std::nullopt, Rect{4, 2, 11, 8},
                                                  Rect{0, 0, 1, 12}};
  for (GradientDirection direction :
       {GradientDirection::kHorizontal, GradientDirection::kVertical}) {
    for (const auto& clip : clips) {
      for (const Rect& rc : rects) {
        for (const ColorPair& c : GradientColors()) {
          ASSERT_TRUE(SameAfter(22, 12, clip, [&](Surface& s) { s.GradientFill(rc, c.start, c.end, direction); }))
              << Show(rc) << " " << Hex(c.start) << "->" << Hex(c.end);
        }
      }
    }
  }
}

TEST(CrossBackend, CopiesMatchForOffsetsOverhangsNegativeSizesAndSelfCopies) {
  struct Copy {
    int x, y, w, h, sx, sy;
  };
  const std::vector<Copy> copies = {
      {0, 0, 15, 11, 0, 0},  {3, 2, 5, 4, 1, 1},    {-2, -3, 8, 8, 0, 0}, {10, 8, 9, 9, 2, 2},
      {2, 2, 6, 6, -3, -1},  {2, 2, 6, 6, 12, 9},   {7, 6, -4, -3, 5, 5}, {1, 1, 0, 5, 0, 0},
      {4, 3, 20, 20, 1, 0},  {0, 0, 15, 11, 14, 10}};
  for (const auto& clip : Clips()) {
    for (const Copy& c : copies) {
      for (bool self : {false, true}) {
        Pair source(13, 10);
        source.Run([](Surface& s) {
          Texture(s);
          s.FillRect(Rect{2, 2, 6, 5}, Rgb(200, 0, 0));
        });
        Pair pair(15, 11);
        pair.Run([](Surface& s) {
          s.GradientFill(Rect{0, 0, 15, 11}, 0, Rgb(0, 255, 90), GradientDirection::kVertical);
        });
        pair.soft.SetClip(clip);
        pair.gdi->SetClip(clip);
        if (self) {
          pair.soft.CopyFrom(c.x, c.y, c.w, c.h, pair.soft, c.sx, c.sy);
          pair.gdi->CopyFrom(c.x, c.y, c.w, c.h, *pair.gdi, c.sx, c.sy);
        } else {
          pair.soft.CopyFrom(c.x, c.y, c.w, c.h, source.soft, c.sx, c.sy);
          pair.gdi->CopyFrom(c.x, c.y, c.w, c.h, *source.gdi, c.sx, c.sy);
        }
        EXPECT_TRUE(SamePixels(pair)) << (self ? "self " : "") << c.x << "," << c.y << " "
                                      << c.w << "x" << c.h << " from " << c.sx << "," << c.sy;
      }
    }
  }
}

TEST(CrossBackend, MirrorMatchesOnWholeAndPartialAreasAndUnderClip) {
  const std::vector<std::pair<int, int>> sizes = {{1, 1},  {2, 3},   {3, 2},   {7, 5},
                                                  {64, 9}, {255, 4}, {256, 3}, {300, 6}};
  for (const auto& [w, h] : sizes) {
    // Whole, narrower and lower areas, and wider, taller, empty and negative ones
    // (which mirror nothing).
    const std::vector<std::pair<int, int>> areas = {
        {w, h}, {w - 1, h}, {w / 2, h - 1}, {w + 3, h}, {w, h + 2}, {0, h}, {-2, h}, {w, -1}};
    for (const auto& area : areas) {
      for (const auto& clip : {std::optional<Rect>{}, std::optional<Rect>{Rect{1, 0, w - 1, h}}}) {
        EXPECT_TRUE(SameAfter(w, h, clip, [&](Surface& s) { s.MirrorHorizontally(area.first, area.second); }))
            << w << "x" << h << " mirroring " << area.first << "x" << area.second;
      }
    }
  }
}

// Bytes that look random and repeat from run to run.
int Noise(int x, int y, int c) {
  return static_cast<int>((x * 73856093u ^ y * 19349663u ^ c * 83492791u) % 251u);
}

// Both backends' DIB surfaces (bottom-up, with bits) holding byte(x, y, channel), y
// counted from the bottom as memory runs.
struct DibPair {
  DibPair(int w, int h, int (*byte)(int, int, int) = Noise)
      : soft(w, h, HostSystemColors()),
        gdi(GdiSurface::CreateDibSection(w, h, GdiSurface::Rows::kBottomUp)) {
    for (Surface* s : {static_cast<Surface*>(&soft), static_cast<Surface*>(gdi.get())}) {
      for (int i = 0; i < w * h * 4; ++i) s->Bits()[i] = byte(i / 4 % w, i / 4 / w, i % 4);
    }
  }
  bool Same() {
    const std::size_t bytes = std::size_t{4} * soft.Width() * soft.Height();
    return std::memcmp(soft.Bits(), gdi->Bits(), bytes) == 0;
  }
  SoftSurface soft;
  std::unique_ptr<GdiSurface> gdi;
};

TEST(CrossBackend, AlphaBlendGivesGdisBytesForEverySourceByteAndConstantAlpha) {
  // Column x against row y: each colour byte meets each alpha, premultiplied or not (a
  // colour above its alpha carries into the next byte in GDI's arithmetic).
  DibPair source(256, 256, [](int x, int y, int c) {
    return c == 3 ? y : c == 1 ? 255 - x : x * (c + 1);
  });
  for (int constant : {255, 254, 128, 127, 1, 0}) {
    DibPair target(256, 256);
    EXPECT_TRUE(target.soft.AlphaBlend(0, 0, 256, 256, source.soft, 0, 0, constant));
    EXPECT_TRUE(target.gdi->AlphaBlend(0, 0, 256, 256, *source.gdi, 0, 0, constant));
    EXPECT_TRUE(target.Same()) << "constant alpha " << constant;
  }
}

TEST(CrossBackend, AlphaBlendClipsAndRefusesAsGdiDoes) {
  // Inside, overhanging, empty, off the source, negative, off the target; then a
  // surface onto itself, apart and overlapping.
  const std::vector<std::array<int, 6>> blends = {
      {0, 0, 9, 7, 0, 0},  {2, 1, 4, 3, 3, 2},  {-3, -2, 9, 7, 0, 0}, {6, 5, 9, 7, 0, 0},
      {1, 1, 0, 3, 0, 0},  {0, 0, 9, 7, 1, 0},  {0, 0, 3, 3, -1, 0},  {0, 0, 3, 3, 0, -1},
      {0, 0, -2, 3, 4, 0}, {0, 0, 3, -2, 0, 4}, {20, 20, 3, 3, 0, 0}, {5, 3, 4, 4, 0, 0}};
  DibPair source(9, 7, [](int x, int y, int c) {
    return Noise(x, y, c) * (c == 3 ? 255 : Noise(x, y, 3)) / 255;
  });
  for (const auto& clip : {std::optional<Rect>{}, std::optional<Rect>{Rect{2, 1, 7, 5}}}) {
    for (bool self : {false, true}) {
      for (const auto& [x, y, w, h, sx, sy] : blends) {
        DibPair target(self ? 9 : 11, self ? 7 : 8);
        target.soft.SetClip(clip);
        target.gdi->SetClip(clip);
        const bool soft =
            target.soft.AlphaBlend(x, y, w, h, self ? target.soft : source.soft, sx, sy, 200);
        const bool gdi =
            target.gdi->AlphaBlend(x, y, w, h, self ? *target.gdi : *source.gdi, sx, sy, 200);
        EXPECT_EQ(soft, gdi) << x << "," << y << " " << w << "x" << h << " from " << sx << ","
                             << sy;
        EXPECT_TRUE(target.Same())
            << x << "," << y << " " << w << "x" << h << " from " << sx << "," << sy;
      }
    }
  }
}

}  // namespace
}  // namespace vantiq
