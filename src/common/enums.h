// The control's four enumerations with their published values.
#pragma once

#include <cstdint>

namespace vantiq {

enum eProgressBarTextAlign : std::int32_t {
  ePbTextAlignLeft = 0,
  ePbTextAlignRight = 1,
  ePbTextAlignCenter = 2,
};

enum eProgressBarScroll : std::int32_t {
  eProgressBarScrollStandard = 0,
  eProgressBarScrollSmooth = 1,
  eProgressBarScrollMarquee = 2,
};

enum eProgressBarOrientation : std::int32_t {
  eProgressBarOrientationHorizontal = 0,
  eProgressBarOrientationVertical = 1,
};

// There is no member 3: the system look kept the value 4.
enum eProgressBarStyle : std::int32_t {
  eProgStandard = 0,
  eProgThin = 1,
  eProgXP = 2,
  eProgSystem = 4,
};

}  // namespace vantiq
