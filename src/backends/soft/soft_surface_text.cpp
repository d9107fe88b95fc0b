// Text on the software surface: DrawText's single-line layout and ExtTextOut's glyph
// run as GDI's DIB driver draws them, over the FreeType glyphs of font_face.h. Builds
// without FreeType (the Windows ones: VANTIQ_SOFT_TEXT unset) draw no text there and
// measure every text as empty; their text goes through GDI surfaces.
#include "backends/soft/cp1252.h"
#include "backends/soft/font_face.h"
#include "backends/soft/soft_surface.h"

#if VANTIQ_SOFT_TEXT
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#endif

namespace vantiq {

#if VANTIQ_SOFT_TEXT

namespace {

// DrawText lays a line out in a buffer of this many characters; the rest is dropped.
constexpr std::size_t kLineCapacity = 1024;
constexpr char16_t kPrefix = u'&';
constexpr char16_t kAlphaPrefix = 0x1E;  // an older spelling of "&"
constexpr char16_t kKanaPrefix = 0x1F;   // hides itself and the character after it
constexpr double kPi = 3.14159265358979323846;

// The line DrawText draws: prefix characters taken out, and the index of the character
// that follows the last single "&", which gets underlined (-1 for none).
struct PrefixedLine {
  std::u16string chars;
  int underlined = -1;
};

PrefixedLine RemovePrefixes(std::u16string_view text) {
  PrefixedLine line;
  std::size_t i = 0;
  const auto keep = [&] {
    if (line.chars.size() < kLineCapacity) line.chars.push_back(text[i]);
    ++i;
  };
  while (i < text.size()) {
    const std::size_t left = text.size() - i;
    const char16_t c = text[i];
    if (left <= 1) {
      keep();  // a trailing "&" stays as it is
    } else if (c == kPrefix || c == kAlphaPrefix) {
      ++i;
      if (text[i] == kPrefix) {
        keep();
      } else {
        line.underlined = static_cast<int>(line.chars.size());
      }
    } else if (c == kKanaPrefix) {
      i += 2;
    } else {
      keep();
    }
  }
  return line;
}

// Brightness of the 16 partial coverage levels for a full-intensity text channel on
// black; the DIB driver blends anti-aliased text with these rather than linearly.
constexpr std::uint8_t kRamp[17] = {0,    0x4d, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                                    0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};

// One channel of a partly covered pixel: the destination moves toward the text value,
// as far as the level's range between text-on-black (min) and text-on-white (max)
// allows. The two ends lie on either side of the text value, so nothing goes negative.
std::uint8_t BlendChannel(std::uint32_t dst, std::uint32_t text, int level) {
  if (dst == text) return static_cast<std::uint8_t>(dst);
  if (dst > text) {
    const std::uint32_t max = kRamp[16 - level] + (0xFFu - kRamp[16 - level]) * text / 0xFFu;
    return static_cast<std::uint8_t>(text + (dst - text) * (max - text) / (0xFFu - text));
  }
  const std::uint32_t min = kRamp[level] * text / 0xFFu;
  return static_cast<std::uint8_t>(text - (text - dst) * (text - min) / text);
}

// The pixels text may touch: the surface's memory in DIB order and the clip of one call.
struct Canvas {
  std::uint32_t* pixels;
  int width;
  int height;
  Rect clip;

  std::uint32_t& At(int x, int y) const {
    return pixels[static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }

  void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
            std::uint32_t pixel) const {
    left = std::max<std::int64_t>(left, clip.left);
    top = std::max<std::int64_t>(top, clip.top);
    right = std::min<std::int64_t>(right, clip.right);
    bottom = std::min<std::int64_t>(bottom, clip.bottom);
    for (std::int64_t y = top; y < bottom; ++y) {
      for (std::int64_t x = left; x < right; ++x)
        At(static_cast<int>(x), static_cast<int>(y)) = pixel;
    }
  }

  // Full coverage writes the text pixel, partial coverage blends toward it; either
  // way the alpha byte ends up 0. Levels 0 and 1 leave the pixel alone.
  void DrawGlyph(const soft_text::Glyph& glyph, std::int64_t pen_x, std::int64_t pen_y,
                 std::uint32_t pixel) const {
    const std::int64_t gx = pen_x + glyph.left;
    const std::int64_t gy = pen_y - glyph.top;
    const std::int64_t left = std::max<std::int64_t>(gx, clip.left);
    const std::int64_t top = std::max<std::int64_t>(gy, clip.top);
    const std::int64_t right = std::min<std::int64_t>(gx + glyph.width, clip.right);
    const std::int64_t bottom = std::min<std::int64_t>(gy + glyph.height, clip.bottom);
    for (std::int64_t y = top; y < bottom; ++y) {
      const std::uint8_t* levels = &glyph.levels[static_cast<std::size_t>((y - gy) * glyph.width)];
      for (std::int64_t x = left; x < right; ++x) {
        const int level = levels[x - gx];
        if (level <= 1) continue;
        std::uint32_t& dst = At(static_cast<int>(x), static_cast<int>(y));
        if (level >= 16) {
          dst = pixel;
          continue;
        }
        std::uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          out |=
              std::uint32_t{BlendChannel((dst >> shift) & 0xFFu, (pixel >> shift) & 0xFFu, level)}
              << shift;
        }
        dst = out;
      }
    }
  }
};

Rect Ordered(const Rect& rc) {
  return Rect{std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
              std::max(rc.top, rc.bottom)};
}

// A double converted to an integer coordinate the way C does: toward zero. (GDI's
// 32-bit build works in x87 precision and can cut a hair-off-integer total of a
// rotated run one pixel lower; this follows the 64-bit build.)
std::int64_t Trunc(double v) { return static_cast<std::int64_t>(v); }

std::int64_t Extent(soft_text::Font& font, std::u16string_view chars) {
  std::int64_t cx = 0;
  for (const char16_t c : chars) cx += font.Advance(c);
  return cx;
}

// ExtTextOut(x, y, ETO_CLIPPED, ...) with the text aligned at its top-left: the glyphs
// from the baseline one ascent down (across, for a rotated font), then the font's
// underline and strike-out bars.
void DrawRun(const Canvas& canvas, soft_text::Font& font, const LogFont& lf,
             std::u16string_view chars, std::int64_t x, std::int64_t y, std::uint32_t pixel) {
  if (chars.empty()) return;
  const soft_text::FontMetrics& m = font.Metrics();
  const bool rotated = lf.lfEscapement != 0;
  const double angle = lf.lfEscapement * kPi / 1800;
  const double cos_esc = rotated ? std::cos(angle) : 1.0;
  const double sin_esc = rotated ? std::sin(angle) : 0.0;

  // A rotated run steps by the unrotated advances turned through the escapement, each
  // total cut toward zero; a plain one by the glyphs' own advances.
  std::int64_t width_x = 0, width_y = 0;
  if (!rotated) width_x = Extent(font, chars);
  y = Trunc(static_cast<double>(y) + m.ascent * cos_esc);
  x = Trunc(static_cast<double>(x) + m.ascent * sin_esc);

  std::int64_t pen_x = x, pen_y = y, total = 0;
  for (const char16_t c : chars) {
    const soft_text::Glyph& glyph = font.GlyphFor(c);
    canvas.DrawGlyph(glyph, pen_x, pen_y, pixel);
    if (rotated) {
      total += font.Advance(c);
      const std::int64_t to_x = Trunc(cos_esc * static_cast<double>(total));
      const std::int64_t to_y = Trunc(-sin_esc * static_cast<double>(total));
      pen_x += to_x - width_x;
      pen_y += to_y - width_y;
      width_x = to_x;
      width_y = to_y;
    } else {
      pen_x += glyph.advance_x;
      pen_y += glyph.advance_y;
    }
  }

  // The bars are quadrilaterals along the run; only right angles make them rectangles,
  // and only rectangles are drawn. They stay inside the rectangle and the clip, as the
  // glyphs do (Wine's GDI lets them run past the rectangle).
  if (lf.lfEscapement % 900 != 0) return;
  const auto bar = [&](int position, int size) {
    int thickness = std::abs(size);
    if (thickness == 0) thickness = 1;
    if (size < 0) thickness = -thickness;
    const double offset = position + thickness / 2;
    const std::int64_t x0 = Trunc(static_cast<double>(x) - offset * sin_esc);
    const std::int64_t y0 = Trunc(static_cast<double>(y) - offset * cos_esc);
    const std::int64_t x1 = Trunc(static_cast<double>(x + width_x) - offset * sin_esc);
    const std::int64_t y1 = Trunc(static_cast<double>(y + width_y) - offset * cos_esc);
    const std::int64_t x2 = Trunc(static_cast<double>(x1) + thickness * sin_esc);
    const std::int64_t y2 = Trunc(static_cast<double>(y1) + thickness * cos_esc);
    const std::int64_t x3 = Trunc(static_cast<double>(x0) + thickness * sin_esc);
    const std::int64_t y3 = Trunc(static_cast<double>(y0) + thickness * cos_esc);
    // A filled polygon leaves out its right and bottom edges.
    canvas.Fill(std::min({x0, x1, x2, x3}), std::min({y0, y1, y2, y3}), std::max({x0, x1, x2, x3}),
                std::max({y0, y1, y2, y3}), pixel);
  };
  if (lf.lfUnderline) bar(m.underline_position, m.underline_size);
  if (lf.lfStrikeOut) bar(m.strikeout_position, m.strikeout_size);
}

}  // namespace

void SoftSurface::DrawTextLine(const std::u16string& text, const Rect& rc, std::uint32_t flags,
                               const LogFont& font, ColorRef color) {
  const std::u16string_view whole = std::u16string_view(text).substr(0, text.find(u'\0'));
  if (whole.empty()) return;
  std::lock_guard<std::mutex> lock(soft_text::TextLock());
  const std::shared_ptr<soft_text::Font> realized = soft_text::RealizeFont(font);
  if (!realized) return;
  soft_text::Font& f = *realized;

  const PrefixedLine line = RemovePrefixes(whole);
  const std::int64_t cx = Extent(f, line.chars);
  const std::int64_t cy = f.Metrics().height;
  std::int64_t x = rc.left;
  std::int64_t y = rc.top;
  if (flags & kDtCenter) {
    x = (std::int64_t{rc.left} + rc.right - cx) / 2;
  } else if (flags & kDtRight) {
    x = rc.right - cx;
  }
  if ((flags & kDtSingleLine) && (flags & kDtVCenter)) {
    y = rc.top + (std::int64_t{rc.bottom} - rc.top) / 2 - cy / 2;
  }

  const Canvas canvas{pixels_.data(), width_, height_, Intersect(Ordered(rc), Visible())};
  const std::uint32_t pixel = ToPixel(color);
  DrawRun(canvas, f, font, line.chars, x, y, pixel);

  // The underlined character gets a 1-pixel pen line one row under the baseline of the
  // unrotated layout, from its left edge to one pixel short of its right one, cut to the
  // rectangle like the glyphs.
  if (line.underlined < 0 || line.underlined >= static_cast<int>(line.chars.size())) return;
  const std::u16string_view chars(line.chars);
  const std::int64_t row = y + f.Metrics().ascent + 1;
  std::int64_t start = x + Extent(f, chars.substr(0, line.underlined));
  std::int64_t end = x + Extent(f, chars.substr(0, line.underlined + 1)) - 1;
  if (start > rc.right || end < rc.left || row < rc.top || row > rc.bottom) return;
  start = std::max<std::int64_t>(start, rc.left);
  end = std::min<std::int64_t>(end, rc.right);
  // The line keeps its start point and drops its end point, whichever way it runs.
  if (start > end) {
    const std::int64_t first = end + 1;
    end = start + 1;
    start = first;
  }
  canvas.Fill(start, row, end, row + 1, pixel);
}

void SoftSurface::DrawTextLineAnsi(const std::string& text, const Rect& rc, std::uint32_t flags,
                                   const LogFont& font, ColorRef color) {
  std::u16string wide;
  wide.reserve(text.size());
  for (const char byte : text) {
    wide.push_back(Cp1252ToUnicode(static_cast<unsigned char>(byte)));
  }
  DrawTextLine(wide, rc, flags, font, color);
}

TextExtent SoftSurface::MeasureText(const std::u16string& text, const LogFont& font) {
  std::lock_guard<std::mutex> lock(soft_text::TextLock());
  const std::shared_ptr<soft_text::Font> realized = soft_text::RealizeFont(font);
  if (!realized) return {};
  return {static_cast<int>(Extent(*realized, text)), realized->Metrics().height};
}

#else  // !VANTIQ_SOFT_TEXT

void SoftSurface::DrawTextLine(const std::u16string&, const Rect&, std::uint32_t, const LogFont&,
                               ColorRef) {}

void SoftSurface::DrawTextLineAnsi(const std::string&, const Rect&, std::uint32_t, const LogFont&,
                                   ColorRef) {}

TextExtent SoftSurface::MeasureText(const std::u16string&, const LogFont&) { return {}; }

#endif  // VANTIQ_SOFT_TEXT

}  // namespace vantiq
