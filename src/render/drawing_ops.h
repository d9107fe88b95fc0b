// The small drawing operations every renderer shares. They translate colours, draw
// through the Surface and reach the visual-style functions through the Platform, so
// the renderers never touch the platform themselves.
#pragma once

#include <cstdint>

#include "common/types.h"
#include "draw/surface.h"
#include "platform/platform.h"

namespace vantiq {

// Per channel c: min(255, trunc(c * (255 - amount) / 255) + amount).
ColorRef LightenColor(ColorRef color, int amount);

class DrawingOps {
 public:
  // `gradientFill` says whether Msimg32's GradientFill may be used; it is read at
  // every gradient, so the owner may change it later.
  DrawingOps(Platform& platform, const bool& gradientFill)
      : platform_(platform), gradientFill_(gradientFill) {}

  // A system colour reference becomes its current colour; anything else passes.
  ColorRef TranslateColor(OleColor color) const;

  void FillRectColor(const Rect& rc, OleColor color, Surface& dc) const;
  // The colour is used as passed, untranslated.
  void FrameRectColor(const Rect& rc, OleColor color, Surface& dc) const;
  // The end point is not drawn.
  void DrawLineColor(int x1, int y1, int x2, int y2, Surface& dc, OleColor color) const;
  void SetPixelColor(Surface& dc, int x, int y, OleColor color) const;
  void DrawSunkenEdge(Surface& dc, const Rect& rc, EdgeKind kind) const;
  // The start colour belongs to (x, y), the end colour to (x + width, y + height).
  void GradientRect(Surface& dc, int x, int y, int width, int height, OleColor start,
                    OleColor end, GradientDirection direction) const;
  // The same gradient drawn one line per column (horizontal) or row (vertical).
  void GradientRectByLines(Surface& dc, int x, int y, int width, int height, OleColor start,
                           OleColor end, GradientDirection direction) const;
  // Target pixel (X, Y) shows source pixel ((ox + X) mod sw, (oy + Y) mod sh).
  void TileBitmap(Surface& dc, int x, int y, int width, int height, const Surface& source,
                  int sourceWidth, int sourceHeight, int offsetX, int offsetY) const;
  // DrawThemeBackground; true on success.
  bool DrawThemeBackground(ThemeHandle theme, Surface& dc, int part, int state, const Rect& rc,
                           const Rect* clip) const;
  bool DrawThemeParentBackground(WindowHandle hwnd, Surface& dc, const Rect& rc) const;
  // GetThemeInt; 0 when the theme does not answer.
  int GetThemeInt(ThemeHandle theme, int part, int state, int propId) const;
  // Like CreateRectRgn, an inverted rectangle is taken with its corners swapped.
  void ClipTo(Surface& dc, const Rect& rc) const;
  void ResetClip(Surface& dc) const { dc.SetClip(std::nullopt); }

 private:
  Platform& platform_;
  const bool& gradientFill_;
};

}  // namespace vantiq
