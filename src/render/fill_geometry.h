// Where the fill ends: segment metrics, the progress fraction and the filled rectangle.
#pragma once

#include <cstdint>

#include "common/types.h"

namespace vantiq {

struct FillGeometry {
  std::int32_t chunk = 8;  // segment length in pixels
  std::int32_t gap = 2;    // space between segments
  double fraction = 0;     // progress 0..1; for a vertical bar 1 - fraction - 0.02
  Rect fill;               // the filled part of the client rectangle
};

struct FillInputs {
  Rect client;
  double min = 0;
  double max = 100;
  double value = 0;
  std::int32_t scrolling = 0;
  std::int32_t style = 4;
  std::int32_t orientation = 0;
  bool themedMode = false;
};

// Every orientation but horizontal draws as vertical.
inline bool IsHorizontal(std::int32_t orientation) { return orientation == 0; }

FillGeometry ComputeFillGeometry(const FillInputs& in);

}  // namespace vantiq
