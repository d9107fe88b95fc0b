// A Surface over a GDI device context.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <windows.h>

#include "backends/gdi/gdi_handles.h"
#include "draw/surface.h"
#include "platform/platform.h"

namespace vantiq {

class DibSectionPool;

class GdiSurface : public Surface {
 public:
  // Wraps a device context the caller owns (a window's DC); nothing is released, but a
  // clip region this surface selected is removed again.
  GdiSurface(HDC dc, int width, int height);
  ~GdiSurface() override;
  GdiSurface(const GdiSurface&) = delete;
  GdiSurface& operator=(const GdiSurface&) = delete;

  // The back buffer: CreateDCA("DISPLAY") + CreateCompatibleDC + CreateCompatibleBitmap,
  // the bitmap selected into the memory context. Null when any step fails or the size
  // is not positive.
  static std::unique_ptr<GdiSurface> CreateBackBuffer(int width, int height);
  enum class Rows { kTopDown, kBottomUp };
  // A 32-bit DIB section in its own memory context (CreateCompatibleDC(NULL)), all
  // zero. Top-down ones serve tests and readback; bottom-up ones are the platform's DIB
  // surfaces. Null when any step fails, a size is not positive or the bytes would not
  // fit a 32-bit size.
  static std::unique_ptr<GdiSurface> CreateDibSection(int width, int height,
                                                      Rows rows = Rows::kTopDown);

  HDC Hdc() const { return dc_; }
  // The pixels of a top-down DIB section (top row first, Width() pixels a row, each
  // 0xAARRGGBB), current as of this call; null for other surfaces.
  const std::uint32_t* DibBits() const;

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
  // A bottom-up DIB section's memory, current as of this call; null for other surfaces.
  std::uint8_t* Bits() override;
  // msimg32's AlphaBlend; the source must be a GdiSurface.
  bool AlphaBlend(int x, int y, int w, int h, const Surface& source, int sx, int sy,
                  int constantAlpha) override;
  void DrawTextLine(const std::u16string& text, const Rect& rc, std::uint32_t flags,
                    const LogFont& font, ColorRef color) override;
  void DrawTextLineAnsi(const std::string& text, const Rect& rc, std::uint32_t flags,
                        const LogFont& font, ColorRef color) override;
  TextExtent MeasureText(const std::u16string& text, const LogFont& font) override;
  int LogPixelsY() const override;

 private:
  friend class DibSectionPool;
  HBRUSH SolidBrush(ColorRef color);
  struct Owned;  // memory context, bitmap and the bitmap selected before it
  // A section kept by the pool, cleared, as a surface again.
  static std::unique_ptr<GdiSurface> Reuse(std::unique_ptr<Owned> owned, int width, int height);
  // Where a bottom-up section goes when the surface does, instead of being deleted.
  void ReturnTo(std::weak_ptr<DibSectionPool> pool) { pool_ = std::move(pool); }
  // The last font made, kept while the next text asks for the same one.
  struct FontCache {
    LogFont description;
    gdi::Font font;
  };
  // The font for `font`: the handle it carries, or one made once per distinct LogFont;
  // null when creation fails.
  HFONT FontFor(const LogFont& font);
  GdiSurface(std::unique_ptr<Owned> owned, HDC dc, int width, int height);

  std::unique_ptr<Owned> owned_;
  HDC dc_;
  int width_;
  int height_;
  std::optional<Rect> clip_;
  std::optional<COLORREF> brushColor_;  // the context's brush colour before SolidBrush changed it
  std::unique_ptr<FontCache> font_;
  std::weak_ptr<DibSectionPool> pool_;
};

}  // namespace vantiq
