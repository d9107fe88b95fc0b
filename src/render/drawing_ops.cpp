#include "render/drawing_ops.h"

#include <algorithm>
#include <cmath>

namespace vantiq {
namespace {

int PositiveMod(long long a, int m) {
  long long r = a % m;
  return static_cast<int>(r < 0 ? r + m : r);
}

}  // namespace

ColorRef LightenColor(ColorRef color, int amount) {
  auto channel = [amount](int c) { return std::min(255, c * (255 - amount) / 255 + amount); };
  return Rgb(channel(RedOf(color)), channel(GreenOf(color)), channel(BlueOf(color)));
}

ColorRef DrawingOps::TranslateColor(OleColor color) const {
  if (color & kSystemColorFlag) return platform_.GetSysColor(static_cast<int>(color & 0x7FFFFFFFu));
  return color;
}

void DrawingOps::FillRectColor(const Rect& rc, OleColor color, Surface& dc) const {
  dc.FillRect(rc, TranslateColor(color));
}

void DrawingOps::FrameRectColor(const Rect& rc, OleColor color, Surface& dc) const {
  dc.FrameRect(rc, color);
}

void DrawingOps::DrawLineColor(int x1, int y1, int x2, int y2, Surface& dc, OleColor color) const {
  dc.Line(x1, y1, x2, y2, TranslateColor(color));
}

void DrawingOps::SetPixelColor(Surface& dc, int x, int y, OleColor color) const {
  dc.SetPixel(x, y, color);
}

void DrawingOps::DrawSunkenEdge(Surface& dc, const Rect& rc, EdgeKind kind) const {
  dc.SunkenEdge(rc, kind);
}

void DrawingOps::GradientRect(Surface& dc, int x, int y, int width, int height, OleColor start,
                              OleColor end, GradientDirection direction) const {
  const ColorRef from = TranslateColor(start);
  const ColorRef to = TranslateColor(end);
  // A platform GradientFill that fails still leaves the gradient drawn by lines.
  if (gradientFill_ && dc.GradientFill({x, y, x + width, y + height}, from, to, direction)) return;
  GradientRectByLines(dc, x, y, width, height, from, to, direction);
}

void DrawingOps::GradientRectByLines(Surface& dc, int x, int y, int width, int height,
                                     OleColor start, OleColor end,
                                     GradientDirection direction) const {
  const ColorRef from = TranslateColor(start);
  const ColorRef to = TranslateColor(end);
  const int steps = direction == GradientDirection::kHorizontal ? width : height;
  for (int i = 0; i < steps; ++i) {
    auto mix = [&](int a, int b) {
      return static_cast<int>(std::nearbyint(a + (b - a) * static_cast<double>(i) / steps));
    };
    const ColorRef c = Rgb(mix(RedOf(from), RedOf(to)), mix(GreenOf(from), GreenOf(to)),
                           mix(BlueOf(from), BlueOf(to)));
    if (direction == GradientDirection::kHorizontal)
      DrawLineColor(x + i, y, x + i, y + height, dc, c);
    else
      DrawLineColor(x, y + i, x + width, y + i, dc, c);
  }
}

void DrawingOps::TileBitmap(Surface& dc, int x, int y, int width, int height, const Surface& source,
                            int sourceWidth, int sourceHeight, int offsetX, int offsetY) const {
  if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return;
  const long long right = static_cast<long long>(x) + width;
  const long long bottom = static_cast<long long>(y) + height;
  long long rowY = y;
  int sourceRow = PositiveMod(static_cast<long long>(y) + offsetY, sourceHeight);
  while (rowY < bottom) {
    const int rowHeight = static_cast<int>(std::min<long long>(sourceHeight - sourceRow, bottom - rowY));
    long long colX = x;
    int sourceCol = PositiveMod(static_cast<long long>(offsetX) + x, sourceWidth);
    while (colX < right) {
      const int colWidth = static_cast<int>(std::min<long long>(sourceWidth - sourceCol, right - colX));
      dc.CopyFrom(static_cast<int>(colX), static_cast<int>(rowY), colWidth, rowHeight, source,
                  sourceCol, sourceRow);
      colX += colWidth;
      sourceCol = 0;
    }
    rowY += rowHeight;
    sourceRow = 0;
  }
}

void DrawingOps::ClipTo(Surface& dc, const Rect& rc) const {
  dc.SetClip(Rect{std::min(rc.left, rc.right), std::min(rc.top, rc.bottom),
                  std::max(rc.left, rc.right), std::max(rc.top, rc.bottom)});
}

bool DrawingOps::DrawThemeBackground(ThemeHandle theme, Surface& dc, int part, int state,
                                     const Rect& rc, const Rect* clip) const {
  return platform_.DrawThemeBackground(theme, dc, part, state, rc, clip) == kSOk;
}

bool DrawingOps::DrawThemeParentBackground(WindowHandle hwnd, Surface& dc, const Rect& rc) const {
  return platform_.DrawThemeParentBackground(hwnd, dc, rc) == kSOk;
}

int DrawingOps::GetThemeInt(ThemeHandle theme, int part, int state, int propId) const {
  int value = 0;
  if (platform_.GetThemeInt(theme, part, state, propId, value) != kSOk) return 0;
  return value;
}

}  // namespace vantiq
