#include "render/fill_geometry.h"

#include <cmath>

#include "common/enums.h"

namespace vantiq {
namespace {

// Round half to even, as the pixel arithmetic always has; the argument is bounded by
// the client size because the fraction is clamped.
std::int32_t RoundHalfEven(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

}  // namespace

FillGeometry ComputeFillGeometry(const FillInputs& in) {
  FillGeometry g;
  if (in.scrolling == eProgressBarScrollSmooth) {
    g.chunk = 1;
    if (in.style == eProgSystem && in.themedMode) g.gap = 1;
  } else if (in.style == eProgXP) {
    g.chunk = 6;
    g.gap = 2;
  } else {
    g.chunk = 9;
    g.gap = 1;
  }
  const std::int32_t step = g.chunk + g.gap;
  g.fill = in.client;

  const double range = in.max - in.min;
  double fraction = range == 0 ? (in.value - in.min) / 1 : (in.value - in.min) / range;
  if (fraction > 1) fraction = 1;
  if (fraction < 0) fraction = 0;
  // NaN or infinite bounds (a script can store them) would make the pixel position
  // undefined; such a bar shows as empty.
  if (std::isnan(fraction)) fraction = 0;
  g.fraction = fraction;

  const Rect& rc = in.client;
  if (IsHorizontal(in.orientation)) {
    const std::int32_t p = RoundHalfEven(static_cast<double>(rc.right - rc.left) * fraction + rc.left);
    std::int32_t right = p - ((p - g.fill.left) % step);
    if (right < rc.left) right = rc.left;
    if (fraction > 0.99) right = rc.right - 2;
    g.fill.right = right;
  } else {
    const double t = 1 - fraction - 0.02;
    g.fraction = t;
    const std::int32_t p = RoundHalfEven(static_cast<double>(rc.bottom - rc.top) * t + rc.top);
    std::int32_t top = p - ((p - g.fill.bottom) % step);
    if (top > rc.bottom) top = rc.bottom;
    g.fill.top = top;
  }
  return g;
}

}  // namespace vantiq
