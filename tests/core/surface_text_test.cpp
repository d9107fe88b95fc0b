// Text through whatever surface MakeTestSurface gives: the software surface natively,
// GDI on a DIB section under Wine. The checks hold for both; the pictures in
// tests/images/text-*.png are GDI's own, and the software surface is held to them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "backends/soft/png_file.h"
#include "support/pixel_diff.h"
#include "support/test_surface.h"

namespace vantiq {
namespace {

constexpr ColorRef kPaper = Rgb(250, 240, 220), kInk = Rgb(20, 40, 160);
constexpr std::uint32_t kCentred = kDtCenter | kDtVCenter | kDtSingleLine;
constexpr std::uint32_t kLeft = kDtLeft | kDtVCenter | kDtSingleLine;

LogFont Font(const char16_t* face, int height, int weight = 400, int escapement = 0) {
  LogFont f;
  f.SetFaceName(face);
  f.lfHeight = height;
  f.lfWeight = weight;
  f.lfEscapement = escapement;
  f.lfQuality = 4;
  return f;
}
const LogFont kTahoma11 = Font(u"Tahoma", -11);

std::unique_ptr<Surface> Paper(int w, int h) {
  auto s = MakeTestSurface(w, h, HostSystemColors());
  s->FillRect(Rect{0, 0, w, h}, kPaper);
  return s;
}

Image Draw(const std::u16string& text, const Rect& rc, std::uint32_t flags, const LogFont& font = kTahoma11,
           int w = 120, int h = 40, const std::optional<Rect>& clip = std::nullopt) {
  auto s = Paper(w, h);
  s->SetClip(clip);
  s->DrawTextLine(text, rc, flags, font, kInk);
  s->SetClip(std::nullopt);
  return Capture(*s);
}

TextExtent Measure(const std::u16string& text, const LogFont& font = kTahoma11) {
  return MakeTestSurface(1, 1, HostSystemColors())->MeasureText(text, font);
}

// The bounding box of the pixels that differ from `paper`, and how many there are.
struct Ink {
  Rect box{};
  int count = 0;
};
Ink InkOf(const Image& image, const Image& paper) {
  Ink ink{Rect{image.width, image.height, 0, 0}, 0};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) == paper.At(x, y)) continue;
      ++ink.count;
      ink.box = Rect{std::min(ink.box.left, x), std::min(ink.box.top, y),
                     std::max(ink.box.right, x + 1), std::max(ink.box.bottom, y + 1)};
    }
  }
  return ink;
}
Ink InkOf(const Image& image) { return InkOf(image, Image(image.width, image.height, kPaper)); }

TEST(SurfaceText, MeasureAddsAdvancesAndGivesTheCellHeight) {
  EXPECT_EQ(Measure(u"42%").cx, Measure(u"4").cx + Measure(u"2").cx + Measure(u"%").cx);
  EXPECT_EQ(Measure(u"A&B").cx, Measure(u"A").cx + Measure(u"&").cx + Measure(u"B").cx);
  EXPECT_EQ(Measure(u"42%").cy, 13);
  EXPECT_EQ(Measure(u"", kTahoma11).cx, 0);
  EXPECT_EQ(Measure(u"x", Font(u"Tahoma", 0)).cy, 16) << "height 0 is a 16-pixel cell";
  EXPECT_EQ(Measure(u"x", Font(u"Tahoma", 20)).cy, 19)
      << "a positive height is the most the cell may take";
  const TextExtent regular = Measure(u"Caption"),
                   bold = Measure(u"Caption", Font(u"Tahoma", -11, 700)),
                   big = Measure(u"Caption", Font(u"Tahoma", -16));
  EXPECT_GT(bold.cx, regular.cx);
  EXPECT_EQ(bold.cy, regular.cy);
  EXPECT_GT(big.cx, regular.cx);
  EXPECT_GT(big.cy, regular.cy);
  // The dialog face is Tahoma; a face nobody has is DejaVu Sans.
  EXPECT_EQ(Measure(u"Caption", Font(u"MS Shell Dlg", -11)).cx, regular.cx);
  EXPECT_EQ(Measure(u"Caption", Font(u"No Such Face", -11)).cx,
            Measure(u"Caption", Font(u"DejaVu Sans", -11)).cx);
  EXPECT_NE(Measure(u"Caption", Font(u"DejaVu Sans", -11)).cx, regular.cx);
  // Each unit's low byte spells "tahoma": a name copied byte by byte would find it.
  EXPECT_NE(Measure(u"Caption", Font(u"\u0174ahoma", -11)).cx, regular.cx);
}

// Alignment, prefixes, styles and rotation are in the pictures below.
TEST(SurfaceText, TextEndsAtNulStaysOnOneLineAndInksOnlyInsideTheRectangleAndTheClip) {
  const Rect all{0, 0, 120, 40};
  EXPECT_EQ(Draw(std::u16string(u"AB\0CD", 5), all, kCentred).pixels, Draw(u"AB", all, kCentred).pixels);
  EXPECT_EQ(InkOf(Draw(u"", all, kCentred)).count, 0);
  const Ink line = InkOf(Draw(u"A\r\nB", all, kCentred));
  EXPECT_LE(line.box.Height(), Measure(u"A").cy);
  EXPECT_GT(line.box.Width(), Measure(u"AB").cx / 2);
  const Rect rc{10, 8, 70, 22}, clip{25, 0, 90, 40};
  const Ink ink = InkOf(Draw(u"A &long caption that overflows", rc, kCentred, Font(u"Tahoma", -16), 90, 40, clip));
  EXPECT_GT(ink.count, 50);
  EXPECT_EQ(Intersect(ink.box, Intersect(rc, clip)), ink.box);
#ifndef _WIN32
  // Underline and strike-out bars are cut there too. (Wine's GDI draws them whole.)
  LogFont lined = Font(u"Tahoma", -16);
  lined.lfUnderline = lined.lfStrikeOut = 1;
  const Ink bars = InkOf(Draw(u"An overflowing caption", Rect{10, 8, 70, 24}, kCentred, lined, 90, 40));
  EXPECT_EQ(std::tie(bars.box.left, bars.box.right), std::make_tuple(10, 70));
  EXPECT_GE(bars.box.top, 8);
  EXPECT_LE(bars.box.bottom, 24);
#endif
}

TEST(SurfaceText, GlyphEdgesBlendAndInkedPixelsLoseTheirAlpha) {
  auto s = MakeTestDibSection(100, 40, HostSystemColors());
  s->FillRect(Rect{0, 0, 100, 40}, kPaper);
  std::uint8_t* bits = s->Bits();
  ASSERT_NE(bits, nullptr);
  for (int i = 0; i < 100 * 40; ++i) bits[4 * i + 3] = 0x7F;
  s->DrawTextLine(u"Sw 42", Rect{0, 0, 100, 40}, kCentred, Font(u"Tahoma", -24), kInk);
  bits = s->Bits();
  int full = 0, partial = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      const ColorRef c = s->GetPixel(x, y);
      const std::uint8_t alpha = bits[4 * ((39 - y) * 100 + x) + 3];
      EXPECT_EQ(alpha, c == kPaper ? 0x7F : 0) << x << "," << y;
      if (c == kPaper) continue;
      (c == kInk ? full : partial)++;
      for (auto channel : {RedOf, GreenOf, BlueOf}) {
        EXPECT_GE(channel(c), std::min(channel(kPaper), channel(kInk)));
        EXPECT_LE(channel(c), std::max(channel(kPaper), channel(kInk)));
      }
    }
  }
  EXPECT_GT(full, 50);
  EXPECT_GT(partial, 50);
}

TEST(SurfaceText, AnsiTextIsWindows1252) {
  const Rect rc{0, 0, 120, 40};
  auto s = Paper(120, 40);
  s->DrawTextLineAnsi("caf\xE9 \x80\x93x\x94", rc, kCentred, kTahoma11, kInk);
  EXPECT_EQ(Capture(*s).pixels, Draw(u"caf\u00E9 \u20AC\u201Cx\u201D", rc, kCentred).pixels);
}

// Caption-like pictures, each a few lines drawn onto one surface in turn.
struct Line {
  Rect rc;
  std::uint32_t flags;
  LogFont font;
  std::u16string text;
  ColorRef paper = kPaper;  // filled over the line's rectangle (inside its clip) first
  ColorRef ink = kInk;
  std::optional<Rect> clip = std::nullopt;
};
struct Picture {
  const char* name;
  int w, h;
  std::vector<Line> lines;
};

std::vector<Picture> Pictures() {
  LogFont bold = Font(u"Tahoma", -11, 700), italic = kTahoma11, under = kTahoma11;
  LogFont struck = kTahoma11;
  italic.lfItalic = 1;
  under.lfUnderline = 1;
  struck.lfStrikeOut = 1;
  const ColorRef blue = Rgb(49, 106, 197), white = Rgb(255, 255, 255);
  const std::uint32_t right = kDtRight | kDtVCenter | kDtSingleLine;
  // clang-format off
  return {
      {"align", 160, 80, {
          {{5, 0, 160, 20}, kLeft, kTahoma11, u"Left 42%"},
          {{0, 20, 160, 40}, kCentred, kTahoma11, u"Centred 42%", blue, white},
          {{0, 40, 153, 60}, right, kTahoma11, u"Right 42%"},
          {{0, 60, 160, 80}, kDtCenter | kDtSingleLine, Font(u"Tahoma", -13), u"Top, centred"}}},
      {"styles", 160, 120, {
          {{4, 0, 160, 18}, kLeft, bold, u"Bold 100%"},
          {{4, 18, 160, 36}, kLeft, italic, u"Italic 7%", Rgb(212, 208, 200), Rgb(0, 0, 0)},
          {{4, 36, 160, 54}, kLeft, under, u"Underlined"},
          {{4, 54, 160, 72}, kLeft, struck, u"Struck out"},
          {{4, 72, 160, 102}, kLeft, Font(u"Tahoma", -24), u"Grey 24"},
          {{4, 102, 160, 120}, kLeft, Font(u"DejaVu Sans", -12), u"DejaVu Sans", kPaper,
           Rgb(200, 30, 30)}}},
      {"prefix", 100, 60, {
          {{0, 0, 100, 20}, kCentred, kTahoma11, u"A&BC && D&"},
          {{0, 20, 100, 40}, kCentred, Font(u"Tahoma", -16), u"&File"},
          {{0, 40, 100, 60}, kCentred, bold, u"Save &As"}}},
      {"vertical", 100, 120, {
          {{5, 0, 30, 120}, kLeft, Font(u"Tahoma", -11, 400, 900), u"Up 42%"},
          {{35, 0, 60, 120}, kLeft, Font(u"Tahoma", -16, 700, 900), u"Vertical"},
          {{70, 0, 100, 120}, kLeft, Font(u"DejaVu Sans", -13, 400, 900), u"DejaVu", kPaper,
           Rgb(0, 100, 0)}}},
      // The caption's two passes: over the fill and over the rest, split by the clip.
      {"split", 140, 24, {
          {{0, 0, 140, 24}, kCentred, bold, u"Progress 58%", blue, white, Rect{0, 0, 81, 24}},
          {{0, 0, 140, 24}, kCentred, bold, u"Progress 58%", kPaper, 0, Rect{81, 0, 140, 24}}}},
  };
  // clang-format on
}

Image Render(const Picture& p, bool text = true) {
  auto s = Paper(p.w, p.h);
  for (const Line& line : p.lines) {
    s->SetClip(line.clip);
    s->FillRect(line.rc, line.paper);
    if (text) s->DrawTextLine(line.text, line.rc, line.flags, line.font, line.ink);
  }
  return Capture(*s);
}

// GDI must give its own pictures exactly. The software surface may differ in a few
// edge pixels, as FreeType's 32-bit build and Wine's 32-bit GDI round some glyph
// and bar edges differently from the 64-bit ones: its ink's bounding box must be
// within 1 pixel of the picture's and at most 2% of the pixels inked in either may
// differ (a run moved by one pixel, a bar on the wrong row or linear instead of GDI's
// edge blending each changes far more).
TEST(SurfaceText, PicturesMatchGdi) {
  const std::string dir = std::string(VANTIQ_SOURCE_DIR) + "/tests/images/";
  const char* refresh = std::getenv("VANTIQ_REFRESH_IMAGES");
  for (const Picture& p : Pictures()) {
    const std::string path = dir + "text-" + p.name + ".png";
    const Image drawn = Render(p);
    const bool gdi = IsGdiSurface(*MakeTestSurface(1, 1, HostSystemColors()));
    if (gdi && refresh && *refresh == '1') {
      ASSERT_TRUE(WritePng(path, drawn)) << path;
    }
    const std::optional<Image> committed = ReadPng(path);
    ASSERT_TRUE(committed.has_value()) << path;
    ASSERT_EQ(committed->width, drawn.width);
    ASSERT_EQ(committed->height, drawn.height);
    if (gdi) {
      EXPECT_TRUE(testing::SamePixels(*committed, drawn)) << p.name;
      continue;
    }
    const Image bare = Render(p, false);
    const Ink want = InkOf(*committed, bare), got = InkOf(drawn, bare);
    int inked = 0, differing = 0;
    for (std::size_t i = 0; i < drawn.pixels.size(); ++i) {
      inked += committed->pixels[i] != bare.pixels[i] || drawn.pixels[i] != bare.pixels[i];
      differing += committed->pixels[i] != drawn.pixels[i];
    }
    for (auto side : {&Rect::left, &Rect::top, &Rect::right, &Rect::bottom})
      EXPECT_LE(std::abs(got.box.*side - want.box.*side), 1) << p.name;
    EXPECT_LE(differing * 50, inked)
        << p.name << ": " << differing << " of " << inked << " inked pixels differ";
  }
}

}  // namespace
}  // namespace vantiq
