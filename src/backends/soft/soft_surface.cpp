#include "backends/soft/soft_surface.h"

#include <algorithm>
#include <cstdlib>

namespace vantiq {
namespace {

// GDI's rectangle primitives, in 64 bits so that no sum of two coordinates overflows.
struct Box {
  std::int64_t left, top, right, bottom;
};

Box Clamp(const Box& b, const Rect& to) {
  return Box{std::max<std::int64_t>(b.left, to.left), std::max<std::int64_t>(b.top, to.top),
             std::min<std::int64_t>(b.right, to.right),
             std::min<std::int64_t>(b.bottom, to.bottom)};
}

bool IsEmpty(const Box& b) { return b.right <= b.left || b.bottom <= b.top; }

// The bounding box GDI gives an origin and a signed extent: a negative extent covers
// the pixels before the origin's successor, so (10, -5) covers 6 to 10.
void Span(std::int64_t origin, std::int64_t extent, std::int64_t& low, std::int64_t& high) {
  low = origin;
  high = origin + extent;
  if (low > high) {
    low = high + 1;
    high = origin + 1;
  }
}

// A horizontal or vertical line keeps its start and drops its end, whichever way it runs.
void OrderEndPoints(std::int64_t& start, std::int64_t& end) {
  if (start > end) {
    const std::int64_t old_start = start;
    start = end + 1;
    end = old_start + 1;
  }
}

// The ceiling of a / b for b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return a > 0 ? (a + b - 1) / b : a / b; }

// The sloped-line driver divides coordinates beyond +-2^28 by 8 before stepping.
void CropCoordinates(std::int64_t& x, std::int64_t& y) {
  constexpr std::int64_t kLimit = 0x10000000;
  if (x >= kLimit || x <= -kLimit || y >= kLimit || y <= -kLimit) {
    x /= 8;
    y /= 8;
  }
}

// One channel of a GRADIENT_FILL_RECT pixel, with the 32-bit unsigned arithmetic of the
// DIB driver: the vertex channels are 16-bit (8-bit value * 256), pos runs 0..len-1.
std::uint32_t GradientChannel(std::uint32_t c0, std::uint32_t c1, std::uint32_t pos,
                              std::uint32_t len) {
  const std::uint32_t v0 = c0 << 8;
  const std::uint32_t v1 = c1 << 8;
  return ((v0 * (len - pos) + v1 * pos) / len / 256u) & 0xFFu;
}

std::uint32_t GradientPixel(ColorRef c0, ColorRef c1, std::uint32_t pos, std::uint32_t len) {
  const std::uint32_t r = GradientChannel(c0 & 0xFF, c1 & 0xFF, pos, len);
  const std::uint32_t g = GradientChannel((c0 >> 8) & 0xFF, (c1 >> 8) & 0xFF, pos, len);
  const std::uint32_t b = GradientChannel((c0 >> 16) & 0xFF, (c1 >> 16) & 0xFF, pos, len);
  return (r << 16) | (g << 8) | b;  // the vertices' alpha is 0
}

// The stock default palette that a memory context starts with, as 0x00RRGGBB.
constexpr std::uint32_t kDefaultPalette[20] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0xC0DCC0, 0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000,
    0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// One pixel of AlphaBlend with AC_SRC_ALPHA, in the DIB driver's integer arithmetic:
// the source (colour and alpha) is first scaled by the constant alpha, then each
// destination byte keeps (255 - source alpha) / 255 of itself, both rounded to
// nearest. A source that is not premultiplied can push a channel's sum past 255; the
// sums are OR-ed into place unmasked, so the carry spills into the next byte up (and
// out of the top), exactly as GDI leaves it.
std::uint32_t BlendPixel(std::uint32_t dst, std::uint32_t src, std::uint32_t constant) {
  const std::uint32_t alpha = ((src >> 24) * constant + 127) / 255;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t s =
        shift == 24 ? alpha : (((src >> shift) & 0xFFu) * constant + 127) / 255;
    const std::uint32_t d = (dst >> shift) & 0xFFu;
    out |= (s + (d * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

std::uint32_t SoftSurface::ToPixel(ColorRef color) {
  if ((color >> 16) == 0x10FFu) return 0;  // DIBINDEX
  if (color & 0x01000000u) {               // PALETTEINDEX
    const std::uint32_t index = color & 0xFFFFu;
    return kDefaultPalette[index < 20 ? index : 0];
  }
  return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

SoftSurface::SoftSurface(int width, int height, SystemColors& colors)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      colors_(colors),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0u) {}

Rect SoftSurface::Visible() const {
  const Rect bounds{0, 0, width_, height_};
  return clip_ ? Intersect(bounds, clip_region_) : bounds;
}

void SoftSurface::FillVisible(const Rect& rc, std::uint32_t pixel) {
  const Rect r = Intersect(rc, Visible());
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = &pixels_[Index(0, y)];
    std::fill(row + r.left, row + r.right, pixel);
  }
}

void SoftSurface::PatBlt(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
                         std::uint32_t pixel) {
  Box box{};
  Span(x, w, box.left, box.right);
  Span(y, h, box.top, box.bottom);
  box = Clamp(box, Visible());
  if (IsEmpty(box)) return;
  FillVisible(Rect{static_cast<std::int32_t>(box.left), static_cast<std::int32_t>(box.top),
                   static_cast<std::int32_t>(box.right), static_cast<std::int32_t>(box.bottom)},
              pixel);
}

void SoftSurface::PlotClipped(std::int64_t x, std::int64_t y, std::uint32_t pixel,
                              const Rect& visible) {
  if (x >= visible.left && x < visible.right && y >= visible.top && y < visible.bottom) {
    pixels_[Index(static_cast<int>(x), static_cast<int>(y))] = pixel;
  }
}

void SoftSurface::FillRect(const Rect& rc, ColorRef color) {
  // FillRect is a PatBlt of the rectangle's signed width and height.
  PatBlt(rc.left, rc.top, std::int64_t{rc.right} - rc.left, std::int64_t{rc.bottom} - rc.top,
         ToPixel(color));
}

void SoftSurface::FrameRect(const Rect& rc, ColorRef color) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  const std::uint32_t pixel = ToPixel(color);
  const std::int64_t w = std::int64_t{rc.right} - rc.left;
  const std::int64_t h = std::int64_t{rc.bottom} - rc.top;
  PatBlt(rc.left, rc.top, 1, h, pixel);
  PatBlt(std::int64_t{rc.right} - 1, rc.top, 1, h, pixel);
  PatBlt(rc.left, rc.top, w, 1, pixel);
  PatBlt(rc.left, std::int64_t{rc.bottom} - 1, w, 1, pixel);
}

void SoftSurface::Line(int x1, int y1, int x2, int y2, ColorRef color) {
  const std::uint32_t pixel = ToPixel(color);
  if (y1 == y2) {
    std::int64_t left = x1, right = x2;
    OrderEndPoints(left, right);
    PatBlt(left, y1, right - left, 1, pixel);
    return;
  }
  if (x1 == x2) {
    std::int64_t top = y1, bottom = y2;
    OrderEndPoints(top, bottom);
    PatBlt(x1, top, 1, bottom - top, pixel);
    return;
  }

  // A sloped line: Bresenham from the start, the end point left out. Step i moves one
  // pixel along the major axis; the minor axis has then moved
  // ceil((2 * minor * i + bias - major) / (2 * major)) pixels, where the bias (1 in the
  // octants that step towards -x or -y first in a tie: 3, 5, 6 and 8) decides ties the
  // way GDI does.
  std::int64_t sx = x1, sy = y1, ex = x2, ey = y2;
  CropCoordinates(sx, sy);
  CropCoordinates(ex, ey);
  const std::int64_t dx = ex - sx;
  const std::int64_t dy = ey - sy;
  int octant;
  if (dy > 0) {
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  } else {
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  }
  const bool x_major = octant == 1 || octant == 4 || octant == 5 || octant == 8;
  const std::int64_t bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  const std::int64_t x_inc = (octant == 1 || octant == 2 || octant == 7 || octant == 8) ? 1 : -1;
  const std::int64_t y_inc = octant <= 4 ? 1 : -1;
  const std::int64_t major = x_major ? std::llabs(dx) : std::llabs(dy);
  const std::int64_t minor = x_major ? std::llabs(dy) : std::llabs(dx);
  if (major == 0) return;

  // Only the steps whose major coordinate is visible can draw anything.
  const Rect visible = Visible();
  const std::int64_t start = x_major ? sx : sy;
  const std::int64_t inc = x_major ? x_inc : y_inc;
  const std::int64_t low = x_major ? visible.left : visible.top;
  const std::int64_t high = (x_major ? visible.right : visible.bottom) - 1;
  std::int64_t first = inc > 0 ? low - start : start - high;
  std::int64_t last = inc > 0 ? high - start : start - low;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, major - 1);
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t n = CeilDiv(2 * minor * i + bias - major, 2 * major);
    if (x_major) {
      PlotClipped(sx + i * x_inc, sy + n * y_inc, pixel, visible);
    } else {
      PlotClipped(sx + n * x_inc, sy + i * y_inc, pixel, visible);
    }
  }
}

void SoftSurface::SetPixel(int x, int y, ColorRef color) {
  PlotClipped(x, y, ToPixel(color), Visible());
}

ColorRef SoftSurface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColor;
  return ToColorRef(pixels_[Index(x, y)]);
}

void SoftSurface::SunkenEdge(const Rect& rc, EdgeKind kind) {
  // DrawEdge with BF_RECT draws the outer ring as four 1-pixel pen lines, left/top in
  // the shadow, right/bottom in the highlight (drawn second, so they own the top-right
  // and bottom-left corners), then for EDGE_SUNKEN the inner ring the same way, one
  // pixel in, with its left/top lines starting past the outer corner.
  const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
  const ColorRef lt_outer = colors_.GetSysColor(kColorBtnShadow);
  const ColorRef rb_outer = colors_.GetSysColor(kColorBtnHighlight);
  Line(l, t, r, t, lt_outer);
  Line(l, t, l, b, lt_outer);
  Line(l, b - 1, r, b - 1, rb_outer);
  Line(r - 1, t, r - 1, b, rb_outer);
  if (kind != EdgeKind::kSunken) return;
  const ColorRef lt_inner = colors_.GetSysColor(kColor3dDkShadow);
  const ColorRef rb_inner = colors_.GetSysColor(kColor3dLight);
  Line(l + 1, t + 1, r - 1, t + 1, lt_inner);
  Line(l + 1, t + 1, l + 1, b - 1, lt_inner);
  Line(l + 1, b - 2, r - 1, b - 2, rb_inner);
  Line(r - 2, t + 1, r - 2, b - 1, rb_inner);
}

bool SoftSurface::GradientFill(const Rect& rc, ColorRef start, ColorRef end,
                               GradientDirection direction) {
  // The vertex with the smaller coordinate along the gradient is its origin; the
  // other axis is just the span between the two vertices.
  const bool horizontal = direction == GradientDirection::kHorizontal;
  std::int64_t a0 = horizontal ? rc.left : rc.top;
  std::int64_t a1 = horizontal ? rc.right : rc.bottom;
  const std::int64_t b0 = horizontal ? rc.top : rc.left;
  const std::int64_t b1 = horizontal ? rc.bottom : rc.right;
  ColorRef c0 = start, c1 = end;
  if (a1 < a0) {
    std::swap(a0, a1);
    std::swap(c0, c1);
  }
  Box box = horizontal ? Box{a0, std::min(b0, b1), a1, std::max(b0, b1)}
                       : Box{std::min(b0, b1), a0, std::max(b0, b1), a1};
  box = Clamp(box, Visible());
  if (IsEmpty(box)) return true;

  const auto len = static_cast<std::uint32_t>(a1 - a0);
  for (std::int64_t y = box.top; y < box.bottom; ++y) {
    std::uint32_t* row = &pixels_[Index(0, static_cast<int>(y))];
    for (std::int64_t x = box.left; x < box.right; ++x) {
      const auto pos = static_cast<std::uint32_t>((horizontal ? x : y) - a0);
      row[x] = GradientPixel(c0, c1, pos, len);
    }
  }
  return true;
}

void SoftSurface::CopyFrom(int x, int y, int w, int h, const Surface& source, int sx, int sy) {
  const auto* src = dynamic_cast<const SoftSurface*>(&source);
  if (src == nullptr) return;

  // BitBlt clips the destination box to this surface and its clip, the source box to
  // the source surface, and copies where both survive.
  Box from{}, target{};
  Span(sx, w, from.left, from.right);
  Span(sy, h, from.top, from.bottom);
  from = Clamp(from, Rect{0, 0, src->width_, src->height_});
  Span(x, w, target.left, target.right);
  Span(y, h, target.top, target.bottom);
  target = Clamp(target, Visible());
  const std::int64_t ox = std::int64_t{x} - sx;
  const std::int64_t oy = std::int64_t{y} - sy;
  target.left = std::max(target.left, from.left + ox);
  target.right = std::min(target.right, from.right + ox);
  target.top = std::max(target.top, from.top + oy);
  target.bottom = std::min(target.bottom, from.bottom + oy);
  if (IsEmpty(target)) return;

  // Copying a surface onto itself reads what was there before the copy; a copy
  // between parts that do not overlap can read in place.
  std::vector<std::uint32_t> snapshot;
  const std::vector<std::uint32_t>* pixels = &src->pixels_;
  const bool overlaps = target.left - ox < target.right && target.left < target.right - ox &&
                        target.top - oy < target.bottom && target.top < target.bottom - oy;
  if (src == this && overlaps) {
    snapshot = pixels_;
    pixels = &snapshot;
  }
  for (std::int64_t ty = target.top; ty < target.bottom; ++ty) {
    const std::int64_t fy = ty - oy;
    const std::uint32_t* from_row = &(*pixels)[src->Index(0, static_cast<int>(fy))];
    std::uint32_t* to_row = &pixels_[Index(0, static_cast<int>(ty))];
    std::copy(from_row + (target.left - ox), from_row + (target.right - ox),
              to_row + target.left);
  }
}

bool SoftSurface::AlphaBlend(int x, int y, int w, int h, const Surface& source, int sx,
                             int sy, int constantAlpha) {
  const auto* src = dynamic_cast<const SoftSurface*>(&source);
  if (src == nullptr) return false;
  // GDI refuses a negative size, a source area that does not lie wholly on the source
  // surface, and a blend of a surface onto an overlapping part of itself.
  if (w < 0 || h < 0 || sx < 0 || sy < 0 || std::int64_t{sx} + w > src->width_ ||
      std::int64_t{sy} + h > src->height_) {
    return false;
  }
  if (src == this && std::int64_t{sx} + w > x && sx < std::int64_t{x} + w &&
      std::int64_t{sy} + h > y && sy < std::int64_t{y} + h) {
    return false;
  }
  // What survives this surface's bounds and clip is drawn; the source area is whole.
  Box target = Clamp(Box{x, y, std::int64_t{x} + w, std::int64_t{y} + h}, Visible());
  if (IsEmpty(target)) return true;
  const std::int64_t ox = std::int64_t{x} - sx;
  const std::int64_t oy = std::int64_t{y} - sy;
  const auto constant = static_cast<std::uint32_t>(constantAlpha) & 0xFFu;  // a BYTE field
  for (std::int64_t ty = target.top; ty < target.bottom; ++ty) {
    const std::uint32_t* from = &src->pixels_[src->Index(0, static_cast<int>(ty - oy))];
    std::uint32_t* to = &pixels_[Index(0, static_cast<int>(ty))];
    for (std::int64_t tx = target.left; tx < target.right; ++tx) {
      to[tx] = BlendPixel(to[tx], from[tx - ox], constant);
    }
  }
  return true;
}

void SoftSurface::MirrorHorizontally(int w, int h) {
  // An empty or negative area mirrors nothing: GDI's answer to one differs between its
  // 32- and 64-bit builds, so neither is copied.
  if (w <= 0 || h <= 0) return;
  // StretchBlt flips the part of the source that lies on the surface: an area wider
  // than the surface mirrors the surface's own width.
  const int span = std::min(w, width_);
  const Rect visible = Visible();
  std::int64_t top = 0, bottom = 0;
  Span(0, h, top, bottom);
  const int first_row = static_cast<int>(std::max<std::int64_t>(top, visible.top));
  const int rows = static_cast<int>(std::min<std::int64_t>(bottom, visible.bottom));
  const int end = std::min(span, visible.right);
  const std::vector<std::uint32_t> before = pixels_;
  for (int y = first_row; y < rows; ++y) {
    const std::size_t row = Index(0, y);
    for (int x = std::max(0, visible.left); x < end; ++x) {
      pixels_[row + x] = before[row + static_cast<std::size_t>(span - 1 - x)];
    }
  }
}

void SoftSurface::SetClip(const std::optional<Rect>& rc) {
  clip_ = rc;
  if (!rc) return;
  // CreateRectRgn orders the corners; a rectangle without width or height is empty.
  Rect r = *rc;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  clip_region_ = (r.left == r.right || r.top == r.bottom) ? Rect{} : r;
}

}  // namespace vantiq
