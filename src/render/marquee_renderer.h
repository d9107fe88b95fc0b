// Marquee scrolling: a train of three fading blocks placed at the fill end, which the
// host moves by changing Value.
#pragma once

#include <cstdint>

#include "common/types.h"
#include "render/surface.h"

namespace vantiq {

class Vantiq;
class CDib24;

class MarqueeRenderer {
 public:
  explicit MarqueeRenderer(Vantiq& control) : control_(control) {}

  // Draws the train for either orientation; needs m_lFillColor already resolved and
  // leaves m_lSplit as it is, so the whole caption stays outside.
  void DrawMarquee();

 private:
  enum class Look { kThemed, kImitation, kFlat };

  // The two shades of block i: the edge shade (pale) and the middle shade.
  struct Shades {
    ColorRef edge;
    ColorRef middle;
  };
  Shades ShadesOf(int block) const;
  void DrawHorizontal(Surface& dc);
  void DrawVertical(Surface& dc);
  void DrawBorder(Surface& dc, const Rect& rc);

  Vantiq& control_;
  Look look_ = Look::kFlat;
  ColorRef base_ = 0;
  bool borders_ = false;
  ColorRef border_ = 0;
};

}  // namespace vantiq
