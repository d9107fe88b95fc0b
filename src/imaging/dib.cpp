#include "imaging/dib.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/runtime_error.h"

namespace vantiq {
namespace {

// Every 32-bit pixel of the surface, as bytes blue, green, red, alpha.
template <typename Visit>
void ForEachPixel(std::uint8_t* bits, int width, int height, Visit&& visit) {
  if (bits == nullptr) return;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (std::size_t i = 0; i < count; ++i) visit(bits + i * 4);
}

std::uint8_t TimesAlpha(std::uint8_t value, std::uint8_t alpha) {
  return static_cast<std::uint8_t>(value * alpha / 255);
}

// The overlap of [a0, a1) and [b0, b1).
std::int64_t Overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  const std::int64_t low = a0 > b0 ? a0 : b0;
  const std::int64_t high = a1 < b1 ? a1 : b1;
  return high > low ? high - low : 0;
}

}  // namespace

bool CDib32::Create(int width, int height) {
  Release();
  // The image size is a 32-bit field of the section's header, and RowBytes() an int.
  if (width <= 0 || height <= 0 || std::int64_t{width} * height * 4 > INT_MAX) return false;
  std::unique_ptr<Surface> surface = platform_.CreateDibSection(width, height);
  if (!surface || surface->Bits() == nullptr) return false;
  surface_ = std::move(surface);
  width_ = width;
  height_ = height;
  return true;
}

bool CDib32::Recreate(int width, int height) {
  if (surface_ && width == width_ && height == height_) {
    if (std::uint8_t* bits = Bits()) {
      std::memset(bits, 0, static_cast<std::size_t>(height_) * static_cast<std::size_t>(RowBytes()));
      return true;
    }
  }
  return Create(width, height);
}

void CDib32::CreateFromBitmap(std::uintptr_t bitmap) {
  // A handle that is no bitmap reads as 0 x 0, which Create refuses (leaving the
  // surface empty).
  int width = 0, height = 0;
  if (!platform_.GetBitmapSize(bitmap, width, height)) width = height = 0;
  if (!Create(width, height)) return;
  platform_.CopyBitmap(bitmap, *surface_, width_, height_);
}

void CDib32::CopyFromDC(const Surface& source, int x, int y, int width, int height) {
  if (!surface_) return;
  surface_->CopyFrom(0, 0, width < 0 ? width_ : width, height < 0 ? height_ : height, source, x, y);
}

void CDib32::AlphaDraw(Surface& target, int x, int y, int width, int height, int sourceX,
                       int sourceY, int constantAlpha) const {
  if (!surface_) return;
  target.AlphaBlend(x, y, width < 0 ? width_ : width, height < 0 ? height_ : height, *surface_,
                    sourceX, sourceY, constantAlpha);
}

void CDib32::Release() {
  surface_.reset();
  width_ = 0;
  height_ = 0;
}

std::uint8_t* CDib32::Bits() const { return surface_ ? surface_->Bits() : nullptr; }

std::unique_ptr<CDib32> CDib32::Clone() const {
  auto copy = std::make_unique<CDib32>(platform_);
  CloneInto(*copy);
  return copy;
}

void CDib32::CloneInto(CDib32& copy) const {
  if (copy.Recreate(width_, height_)) {
    std::memcpy(copy.Bits(), Bits(),
                static_cast<std::size_t>(height_) * static_cast<std::size_t>(RowBytes()));
  }
}

void CDib32::KeyToAlpha(OleColor key, int alpha, bool premultiply) {
  // An untranslatable key stays at the output's initial 0, so black is keyed then.
  ColorRef rgb = 0;
  platform_.OleTranslateColor(key, rgb);
  const auto kr = static_cast<std::uint8_t>(rgb & 0xFF);
  const auto kg = static_cast<std::uint8_t>((rgb >> 8) & 0xFF);
  const auto kb = static_cast<std::uint8_t>((rgb >> 16) & 0xFF);
  // An alpha above 255 counts by its low byte, for the alpha byte and the colours
  // alike, so the colours stay within it.
  const int a = alpha & 0xFF;
  ForEachPixel(Bits(), width_, height_, [&](std::uint8_t* p) {
    if (p[0] == kb && p[1] == kg && p[2] == kr) {
      p[3] = 0;
      if (premultiply) p[0] = p[1] = p[2] = 0;
    } else if (alpha > 0) {
      p[3] = static_cast<std::uint8_t>(a);
      if (premultiply) {
        // Nearest: p x a / 255 is never halfway between two whole numbers.
        for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>((p[c] * a + 127) / 255);
      }
    }
  });
}

void CDib32::Premultiply() {
  ForEachPixel(Bits(), width_, height_, [](std::uint8_t* p) {
    for (int c = 0; c < 3; ++c) p[c] = TimesAlpha(p[c], p[3]);
  });
}

std::unique_ptr<CDib32> CDib32::ScaleToWidth(int newWidth) const {
  auto result = std::make_unique<CDib32>(platform_);
  ScaleToWidthInto(newWidth, *result);
  return result;
}

void CDib32::ScaleToWidthInto(int newWidth, CDib32& result) const {
  const std::int64_t w = width_, h = height_, w2 = newWidth;
  if (w == 0 || w2 == 0) throw RuntimeError(kErrDivisionByZero);
  // The height in proportion, rounded up; Create refuses one that is out of range.
  const std::int64_t h2 = h * w2 / w + (h * w2 % w != 0 ? 1 : 0);
  if (h2 <= 0 || h2 > INT_MAX) {
    result.Release();
    return;
  }
  if (!result.Recreate(newWidth, static_cast<int>(h2))) return;

  const std::uint8_t* from = Bits();
  std::uint8_t* to = result.Bits();
  const std::size_t rowBytes = static_cast<std::size_t>(RowBytes());
  const std::size_t toRowBytes = static_cast<std::size_t>(result.RowBytes());

  if (w % w2 == 0 && h % h2 == 0) {
    // Each result pixel averages a bx x by block of memory: the colours of the pixels
    // that show (premultiplied), and the alpha of all of them.
    const std::int64_t bx = w / w2, by = h / h2;
    for (std::int64_t j = 0; j < h2; ++j) {
      for (std::int64_t i = 0; i < w2; ++i) {
        std::uint64_t sum[3] = {0, 0, 0}, alpha = 0, count = 0;
        for (std::int64_t y = j * by; y < (j + 1) * by; ++y) {
          const std::uint8_t* p = from + static_cast<std::size_t>(y) * rowBytes;
          for (std::int64_t x = i * bx; x < (i + 1) * bx; ++x) {
            const std::uint8_t* q = p + x * 4;
            if (q[3] > 0) {
              for (int c = 0; c < 3; ++c) sum[c] += TimesAlpha(q[c], q[3]);
              ++count;
            }
            alpha += q[3];
          }
        }
        std::uint8_t* out = to + static_cast<std::size_t>(j) * toRowBytes + i * 4;
        for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(count ? sum[c] / count : 0);
        out[3] = static_cast<std::uint8_t>(alpha / static_cast<std::uint64_t>(bx * by));
      }
    }
    return;
  }

  // Other ratios weight each source pixel by the area it shares with the result pixel.
  // The source's W x H pixels are stretched over the result's w2 x h2, so in units of
  // 1 / w2 source column x spans [x * w2, (x + 1) * w2) and result column i spans
  // [i * W, (i + 1) * W); rows likewise in units of 1 / h2. A weight is the product of
  // the two overlaps, and a result pixel's weights add up to W * H. As in the block
  // average above, which this equals for whole multiples, the colour is the weighted
  // mean of the premultiplied colours of the pixels that show (weights of pixels with
  // alpha 0 left out) and the alpha the weighted mean over all of them; both truncate.
  for (std::int64_t j = 0; j < h2; ++j) {
    const std::int64_t y0 = j * h / h2, y1 = ((j + 1) * h + h2 - 1) / h2;
    for (std::int64_t i = 0; i < w2; ++i) {
      const std::int64_t x0 = i * w / w2, x1 = ((i + 1) * w + w2 - 1) / w2;
      std::uint64_t sum[3] = {0, 0, 0}, alpha = 0, shown = 0;
      for (std::int64_t y = y0; y < y1 && y < h; ++y) {
        const auto wy =
            static_cast<std::uint64_t>(Overlap(y * h2, (y + 1) * h2, j * h, (j + 1) * h));
        const std::uint8_t* p = from + static_cast<std::size_t>(y) * rowBytes;
        for (std::int64_t x = x0; x < x1 && x < w; ++x) {
          const std::uint64_t weight =
              wy * static_cast<std::uint64_t>(Overlap(x * w2, (x + 1) * w2, i * w, (i + 1) * w));
          const std::uint8_t* q = p + x * 4;
          if (q[3] > 0) {
            for (int c = 0; c < 3; ++c) sum[c] += weight * TimesAlpha(q[c], q[3]);
            shown += weight;
          }
          alpha += weight * q[3];
        }
      }
      std::uint8_t* out = to + static_cast<std::size_t>(j) * toRowBytes + i * 4;
      for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(shown ? sum[c] / shown : 0);
      out[3] = static_cast<std::uint8_t>(alpha / static_cast<std::uint64_t>(w * h));
    }
  }
}

void CDib24::CreateFromPicture(const PictureRef& picture) {
  CreateFromBitmap(picture ? picture->Handle() : 0);
}

}  // namespace vantiq
