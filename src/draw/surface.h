// The drawing surface: the device-context operations every renderer draws through.
// backends/gdi implements it over an HDC, backends/soft over a 32-bit pixel buffer;
// both must give the same pixels for every operation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/types.h"
#include "draw/log_font.h"

namespace vantiq {

// The two DrawEdge looks the frames use, always with BF_RECT.
enum class EdgeKind {
  kSunken,       // EDGE_SUNKEN: two pixels deep
  kSunkenOuter,  // BDR_SUNKENOUTER: one pixel deep
};

enum class GradientDirection {
  kHorizontal = 0,  // GRADIENT_FILL_RECT_H: left to right
  kVertical = 1,    // GRADIENT_FILL_RECT_V: top to bottom
};

class Surface {
 public:
  virtual ~Surface() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // FillRect with a solid brush; right and bottom exclusive.
  virtual void FillRect(const Rect& rc, ColorRef color) = 0;
  // FrameRect with a solid brush: a 1-pixel frame along the inside of rc.
  virtual void FrameRect(const Rect& rc, ColorRef color) = 0;
  // MoveToEx + LineTo with a solid 1-pixel pen: the end point is not drawn.
  virtual void Line(int x1, int y1, int x2, int y2, ColorRef color) = 0;
  // SetPixelV.
  virtual void SetPixel(int x, int y, ColorRef color) = 0;
  // GetPixel: kInvalidColor outside the surface.
  virtual ColorRef GetPixel(int x, int y) const = 0;
  // DrawEdge(rc, kind, BF_RECT) in the system's 3D colours.
  virtual void SunkenEdge(const Rect& rc, EdgeKind kind) = 0;
  // GradientFill over rc with one GRADIENT_RECT whose first vertex (rc.left, rc.top)
  // has `start` and second vertex (rc.right, rc.bottom) has `end`; each 8-bit channel
  // goes in as channel * 256. Returns false when the platform call fails.
  virtual bool GradientFill(const Rect& rc, ColorRef start, ColorRef end,
                            GradientDirection direction) = 0;
  // BitBlt(this, x, y, w, h, source, sx, sy, SRCCOPY). The source is a surface of the
  // same backend.
  virtual void CopyFrom(int x, int y, int w, int h, const Surface& source, int sx, int sy) = 0;
  // Mirrors the area (0, 0, w, h) left to right in place: column x moves to w - 1 - x.
  virtual void MirrorHorizontally(int w, int h) = 0;
  // Restricts later drawing to rc (CreateRectRgn + SelectClipRgn); nullopt removes it.
  virtual void SetClip(const std::optional<Rect>& rc) = 0;
  virtual std::optional<Rect> Clip() const = 0;

  // The pixel memory of a DIB surface (bottom-up rows of blue, green, red, alpha, no
  // padding); null for a surface that has none.
  virtual std::uint8_t* Bits() { return nullptr; }
  // AlphaBlend of source (sx, sy, w, h) onto (x, y, w, h): premultiplied source-over
  // with a constant alpha, no stretching, honouring this surface's clip. False when
  // it cannot be drawn.
  virtual bool AlphaBlend(int x, int y, int w, int h, const Surface& source, int sx, int sy,
                          int constantAlpha) {
    return false;
  }

  // DrawTextW(text, -1, rc, flags) with `font` selected, text colour `color` and a
  // transparent background. Flags are kDtLeft/kDtCenter/kDtRight, kDtVCenter and
  // kDtSingleLine; the text ends at its first NUL; "&" underlines the next character
  // and "&&" draws one ampersand; CR and LF do not break the line. Drawn clipped to rc
  // and to Clip(). A rotated font (lfEscapement 900) runs upward from the point where
  // the unrotated layout would put the text's top-left corner.
  virtual void DrawTextLine(const std::u16string& text, const Rect& rc, std::uint32_t flags,
                            const LogFont& font, ColorRef color) = 0;
  // DrawTextA: the same with text in the system's ANSI code page.
  virtual void DrawTextLineAnsi(const std::string& text, const Rect& rc, std::uint32_t flags,
                                const LogFont& font, ColorRef color) = 0;
  // GetTextExtentPoint32W of the whole text (no prefix processing), as if unrotated.
  virtual TextExtent MeasureText(const std::u16string& text, const LogFont& font) = 0;
  // GetDeviceCaps(LOGPIXELSY).
  virtual int LogPixelsY() const { return 96; }
};

}  // namespace vantiq
