// A Surface over a 32-bit pixel buffer that draws exactly what GDI draws.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "draw/surface.h"
#include "platform/platform.h"

namespace vantiq {

class SoftSurface : public Surface {
 public:
  // A surface of w x h pixels, all black (0); `colors` gives the 3D colours of edges
  // and must outlive the surface.
  SoftSurface(int width, int height, SystemColors& colors);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRect(const Rect& rc, ColorRef color) override;
  void FrameRect(const Rect& rc, ColorRef color) override;
  void Line(int x1, int y1, int x2, int y2, ColorRef color) override;
  void SetPixel(int x, int y, ColorRef color) override;
  ColorRef GetPixel(int x, int y) const override;
  void SunkenEdge(const Rect& rc, EdgeKind kind) override;
  bool GradientFill(const Rect& rc, ColorRef start, ColorRef end,
                    GradientDirection direction) override;
  void CopyFrom(int x, int y, int w, int h, const Surface& source, int sx, int sy) override;
  void MirrorHorizontally(int w, int h) override;
  void SetClip(const std::optional<Rect>& rc) override;
  std::optional<Rect> Clip() const override { return clip_; }
  // The buffer is laid out as a DIB section, so every software surface has bits.
  std::uint8_t* Bits() override { return reinterpret_cast<std::uint8_t*>(pixels_.data()); }
  bool AlphaBlend(int x, int y, int w, int h, const Surface& source, int sx, int sy,
                  int constantAlpha) override;
  void DrawTextLine(const std::u16string& text, const Rect& rc, std::uint32_t flags,
                    const LogFont& font, ColorRef color) override;
  void DrawTextLineAnsi(const std::string& text, const Rect& rc, std::uint32_t flags,
                        const LogFont& font, ColorRef color) override;
  TextExtent MeasureText(const std::u16string& text, const LogFont& font) override;

  // The buffer in DIB layout: Height() rows of Width() pixels, the bottom row first;
  // each pixel 0xAARRGGBB (bytes blue, green, red, alpha in memory).
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  std::uint32_t* Pixels() { return pixels_.data(); }
  // The raw 32-bit value at (x, y), counted from the top; (x, y) must be inside.
  std::uint32_t RawPixel(int x, int y) const { return pixels_[Index(x, y)]; }

  // The pixel value GDI stores in a 32-bit DIB for a brush, pen or pixel colour: an RGB
  // colour's low 24 bits with alpha 0; PALETTEINDEX(i) takes entry i of the default
  // palette (entry 0 past its end); DIBINDEX is black, there being no colour table.
  static std::uint32_t ToPixel(ColorRef color);
  static ColorRef ToColorRef(std::uint32_t pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  // What drawing may touch: the surface, narrowed by the clip rectangle.
  Rect Visible() const;
  // PatBlt(x, y, w, h) with a solid colour, after GDI's normalisation of negative sizes.
  void PatBlt(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
              std::uint32_t pixel);
  void FillVisible(const Rect& rc, std::uint32_t pixel);
  void PlotClipped(std::int64_t x, std::int64_t y, std::uint32_t pixel, const Rect& visible);

  int width_;
  int height_;
  SystemColors& colors_;
  // A DIB's layout: bottom-up rows, 4 bytes blue, green, red, alpha per pixel.
  std::vector<std::uint32_t> pixels_;
  std::optional<Rect> clip_;
  // The clip as a region holds it: ordered corners, or nothing visible at all.
  Rect clip_region_;
};

}  // namespace vantiq
