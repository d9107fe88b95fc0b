#include "caption/dib_shadow.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "common/runtime_error.h"

namespace vantiq {
namespace {

constexpr OleColor kWhite = 0xFFFFFF;

std::int64_t Clamp(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value < low ? low : (value > high ? high : value);
}

// The pixel for each value of sum \ area.
using Shades = std::array<std::array<std::uint8_t, 4>, 256>;

// Up to this area (a box of 255 x 255), sum \ area equals (sum * m) >> 40 with
// m = ceil(2^40 / area) for every sum up to 255 x area: the product overestimates
// sum / area by less than 255 x area / 2^40 <= 1 / area, too little to reach the next
// whole number, and stays below 2^48. A multiplication in place of a division per
// pixel roughly halves the filter's time.
constexpr std::uint32_t kReciprocalAreaLimit = 255 * 255;

// One row of Result: the box of column xo is columns[xo .. xo + span - 1], slid along
// by adding the column that enters and taking off the one that leaves. The running
// sum never exceeds 255 x area, so 32 bits hold it (wrapping in between is harmless).
template <typename Quotient>
void ShadeRow(std::uint8_t* row, std::int64_t width, std::int64_t span,
              const std::uint32_t* columns, const Shades& shade, Quotient quotient) {
  std::uint32_t sum = 0;
  for (std::int64_t j = 0; j < span; ++j) sum += columns[j];
  for (std::int64_t xo = 0; xo < width; ++xo) {
    std::memcpy(row + 4 * xo, shade[quotient(sum)].data(), 4);
    sum += columns[xo + span] - columns[xo];
  }
}

}  // namespace

// Everything one Render needs, fixed before the filter runs. Columns and memory rows
// of Result map to the centre of their box in the mask: cx = xo - shiftX - r and
// cm = mo + shiftY - r, so a box spans columns xo - shiftX - 2r .. xo - shiftX and rows
// mo + shiftY - 2r .. mo + shiftY, cut to the mask.
struct CDibShadow::Layout {
  std::int64_t ws = 0, hs = 0;          // mask
  std::int64_t wo = 0, ho = 0;          // Result
  std::int64_t r = 0;
  std::int64_t shiftX = 0, shiftY = 0;  // only OffsetX >= 1 and OffsetY < 0 move the box
  std::int64_t dx = 0, dy = 0;          // where the composite puts the mask
  std::int64_t area = 1;                // the divisor, whatever part of the box is cut
  int intensity = 0;
  int red = 0, green = 0, blue = 0;
};

void CDibShadow::SetSource(std::shared_ptr<CDib32> source) {
  source_ = std::move(source);
  Rebuild();
}

OleColor CDibShadow::TransparentColor() const {
  if (transparentColor_ != kShadowKeyFromSource) return transparentColor_;
  if (!source_) return kWhite;
  return source_->DC() ? source_->DC()->GetPixel(0, 0) : kInvalidColor;
}

void CDibShadow::SetTransparentColor(OleColor value) {
  transparentColor_ = value;
  Rebuild();
}

void CDibShadow::SetScale(std::int32_t value) {
  if (value <= 0) throw RuntimeError(kErrInvalidProcedureCall, u"Scale must be greater than 0");
  scale_ = value;
  Rebuild();
}

void CDibShadow::Rebuild() {
  if (!source_) return;
  // Scaling to width 0 (or from it) would divide by zero.
  const int width = source_->Width() / scale_;
  if (width == 0) throw RuntimeError(kErrDivisionByZero);
  // An untranslatable key stays 0, as KeyToAlpha would read it.
  ColorRef key = 0;
  if (transparentColor_ == kShadowKeyFromSource) {
    key = source_->DC()->GetPixel(0, 0);
  } else {
    platform_.OleTranslateColor(transparentColor_, key);
  }
  if (scale_ == 1) {
    KeyIntoMask(key);
    return;
  }
  if (!keyed_) keyed_ = std::make_unique<CDib32>(platform_);
  source_->CloneInto(*keyed_);
  keyed_->KeyToAlpha(key, 255, true);
  // The first Mask is made only once the scaling has not thrown.
  std::unique_ptr<CDib32> first;
  CDib32& mask = mask_ ? *mask_ : *(first = std::make_unique<CDib32>(platform_));
  keyed_->ScaleToWidthInto(width, mask);
  if (first) mask_ = std::move(first);
  mask_->Premultiply();
}

void CDibShadow::KeyIntoMask(ColorRef key) {
  // What keying at full alpha, scaling by 1 and premultiplying come to, in one pass: the
  // key's pixels clear, every other one opaque in its own colour.
  ColorRef rgb = 0;
  platform_.OleTranslateColor(key, rgb);
  const int kb = BlueOf(rgb), kg = GreenOf(rgb), kr = RedOf(rgb);
  if (!mask_) mask_ = std::make_unique<CDib32>(platform_);
  if (!mask_->Recreate(source_->Width(), source_->Height())) return;
  const std::uint8_t* from = source_->Bits();
  std::uint8_t* to = mask_->Bits();
  const std::size_t count = static_cast<std::size_t>(source_->Width()) * static_cast<std::size_t>(source_->Height());
  for (std::size_t i = 0; i < count; ++i, from += 4, to += 4) {
    if (from[0] == kb && from[1] == kg && from[2] == kr) continue;  // Recreate cleared it
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
    to[3] = 255;
  }
}

CDibShadow::Layout CDibShadow::Prepare() {
  if (radius_ < 0 || radius_ > kMaxShadowRadius) {
    throw RuntimeError(kErrInvalidProcedureCall, u"Radius must be between 0 and 2047");
  }
  Layout l;
  l.ws = mask_->Width();
  l.hs = mask_->Height();
  l.r = radius_;
  const std::int64_t ox = offsetX_, oy = offsetY_;
  l.shiftX = ox >= 1 ? ox : 0;
  l.shiftY = oy < 0 ? oy : 0;
  if (expand_) {
    l.wo = l.ws + (ox < 0 ? -ox : ox) + 2 * l.r + 2;
    l.ho = l.hs + (oy < 0 ? -oy : oy) + 2 * l.r + 2;
    l.dx = ox < 0 ? -ox : 0;
    l.dy = oy < 0 ? -oy : 0;
  } else {
    l.wo = l.ws;
    l.ho = l.hs;
  }
  l.area = (2 * l.r + 1) * (2 * l.r + 1);
  // Outside 0..255 the alpha and colour bytes would wrap; the control clamps its own.
  l.intensity = static_cast<int>(Clamp(intensity_, 0, 255));
  ColorRef rgb = 0;  // black when untranslatable
  platform_.OleTranslateColor(color_, rgb);
  l.red = RedOf(rgb);
  l.green = GreenOf(rgb);
  l.blue = BlueOf(rgb);

  // Create refuses what a section cannot hold; Result then stays empty.
  if (!result_) result_ = std::make_unique<CDib32>(platform_);
  if (l.wo <= INT32_MAX && l.ho <= INT32_MAX) {
    result_->Recreate(static_cast<int>(l.wo), static_cast<int>(l.ho));
  } else {
    result_->Release();
  }
  return l;
}

void CDibShadow::Render(bool bComposite) {
  if (!mask_) return;
  const Layout l = Prepare();
  std::uint8_t* out = result_->Bits();
  if (out != nullptr) {
    // Every pixel depends only on its box's sum \ area (0..255): colour them once.
    Shades shade{};
    for (int q = 0; q < 256; ++q) {
      const int a = l.intensity * q / 255;
      shade[q] = {static_cast<std::uint8_t>(l.blue * a / 255),
                  static_cast<std::uint8_t>(l.green * a / 255),
                  static_cast<std::uint8_t>(l.red * a / 255), static_cast<std::uint8_t>(a)};
    }
    // Walks Result row by row, keeping per column the alpha total of the mask rows in
    // the current box, [rowLo, rowHi); that window only moves forward, so each mask row
    // enters and leaves once. The totals sit in `columns` at index x + pad, zero beyond
    // the mask, so that the box of result column xo is exactly columns[xo .. xo + 2r]
    // and slides along a row without clamping (ShadeRow).
    const std::int64_t span = 2 * l.r + 1;
    const std::int64_t pad = l.shiftX + 2 * l.r;
    const std::int64_t length = l.wo + span;  // the slide reads one past the last box
    // Mask columns that no box reaches are left out.
    const std::int64_t used = std::max<std::int64_t>(0, std::min(l.ws, length - pad));
    columns_.assign(static_cast<std::size_t>(length), 0);
    std::uint32_t* const first = columns_.data() + (used > 0 ? pad : 0);
    const std::uint8_t* mask = mask_->Bits();
    const std::size_t maskRowBytes = static_cast<std::size_t>(mask_->RowBytes());
    const std::size_t outRowBytes = static_cast<std::size_t>(result_->RowBytes());
    const auto area = static_cast<std::uint32_t>(l.area);
    std::int64_t rowLo = 0, rowHi = 0;
    for (std::int64_t mo = 0; mo < l.ho; ++mo) {
      const std::int64_t lo = Clamp(mo + l.shiftY - 2 * l.r, 0, l.hs);
      const std::int64_t hi = Clamp(mo + l.shiftY + 1, 0, l.hs);
      for (; rowHi < hi; ++rowHi) {
        const std::uint8_t* p = mask + static_cast<std::size_t>(rowHi) * maskRowBytes + 3;
        for (std::int64_t x = 0; x < used; ++x) first[x] += p[4 * x];
      }
      for (; rowLo < lo; ++rowLo) {
        const std::uint8_t* p = mask + static_cast<std::size_t>(rowLo) * maskRowBytes + 3;
        for (std::int64_t x = 0; x < used; ++x) first[x] -= p[4 * x];
      }
      if (lo == hi || used == 0) continue;  // an empty box: the row stays zero
      std::uint8_t* row = out + static_cast<std::size_t>(mo) * outRowBytes;
      if (area <= kReciprocalAreaLimit) {
        const std::uint64_t m = ((std::uint64_t{1} << 40) + area - 1) / area;
        ShadeRow(row, l.wo, span, columns_.data(), shade,
                 [m](std::uint32_t sum) { return static_cast<std::uint32_t>((sum * m) >> 40); });
      } else {
        ShadeRow(row, l.wo, span, columns_.data(), shade,
                 [area](std::uint32_t sum) { return sum / area; });
      }
    }
  }
  if (bComposite) Composite(l);
}

void CDibShadow::RenderDirect(bool bComposite) {
  if (!mask_) return;
  const Layout l = Prepare();
  std::uint8_t* out = result_->Bits();
  const std::uint8_t* mask = mask_->Bits();
  for (std::int64_t xo = 0; out != nullptr && xo < l.wo; ++xo) {
    for (std::int64_t mo = 0; mo < l.ho; ++mo) {
      const std::int64_t cx = xo - l.shiftX - l.r, cm = mo + l.shiftY - l.r;
      std::int64_t sum = 0;
      for (std::int64_t x = std::max<std::int64_t>(cx - l.r, 0);
           x <= std::min<std::int64_t>(cx + l.r, l.ws - 1); ++x) {
        for (std::int64_t m = std::max<std::int64_t>(cm - l.r, 0);
             m <= std::min<std::int64_t>(cm + l.r, l.hs - 1); ++m) {
          sum += mask[m * mask_->RowBytes() + 4 * x + 3];
        }
      }
      const std::int64_t a = l.intensity * (sum / l.area) / 255;
      std::uint8_t* p = out + mo * result_->RowBytes() + 4 * xo;
      p[0] = static_cast<std::uint8_t>(l.blue * a / 255);
      p[1] = static_cast<std::uint8_t>(l.green * a / 255);
      p[2] = static_cast<std::uint8_t>(l.red * a / 255);
      p[3] = static_cast<std::uint8_t>(a);
    }
  }
  if (bComposite) Composite(l);
}

void CDibShadow::Composite(const Layout& l) {
  // The text itself on top of its shadow, cut where it would overflow Result.
  if (result_->DC() == nullptr) return;
  mask_->AlphaDraw(*result_->DC(), static_cast<int>(l.dx), static_cast<int>(l.dy),
                   static_cast<int>(std::min(l.ws, l.wo - l.dx)),
                   static_cast<int>(std::min(l.hs, l.ho - l.dy)));
}

void CDibShadow::DrawTo(Surface& target, int x, int y, int width, int height) const {
  if (result_) result_->AlphaDraw(target, x, y, width, height);
}

}  // namespace vantiq
