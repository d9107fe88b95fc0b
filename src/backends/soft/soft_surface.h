// A Surface over a 32-bit pixel buffer that draws exactly what GDI draws.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "render/surface.h"

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

 private:
  int width_;
  int height_;
  SystemColors& colors_;
  // A DIB's layout: bottom-up rows, 4 bytes blue, green, red, alpha per pixel.
  std::vector<std::uint32_t> pixels_;
  std::optional<Rect> clip_;
};

}  // namespace vantiq
