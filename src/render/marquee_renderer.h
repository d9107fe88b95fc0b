// Marquee scrolling: a train of three fading blocks placed at the fill end, which the
// host moves by changing Value.
#pragma once

#include <cstdint>

#include "common/types.h"
#include "draw/surface.h"
#include "platform/platform.h"
#include "render/drawing_ops.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class CDib24;

class MarqueeRenderer {
 public:
  MarqueeRenderer(Platform& platform, const DrawingOps& ops) : platform_(platform), ops_(ops) {}

  // Draws the train for either orientation in the fill colour already resolved; the
  // fill's split stays where it starts, so the whole caption stays outside.
  void DrawMarquee(const PaintSnapshot& s, Surface& dc, ColorRef fillColor);

 private:
  enum class Look { kThemed, kImitation, kFlat };

  // The two shades of block i: the edge shade (pale) and the middle shade.
  struct Shades {
    ColorRef edge;
    ColorRef middle;
  };
  Shades ShadesOf(int block) const;
  void DrawHorizontal(const PaintSnapshot& s, Surface& dc);
  void DrawVertical(const PaintSnapshot& s, Surface& dc);
  void DrawBorder(Surface& dc, const Rect& rc);

  Platform& platform_;
  const DrawingOps& ops_;
  Look look_ = Look::kFlat;
  ColorRef base_ = 0;
  bool borders_ = false;
  ColorRef border_ = 0;
};

}  // namespace vantiq
