// What the frame, fill and marquee renderers read in one paint, copied by the control
// before it draws: the properties they show and the paint's geometry and theme state.
// Renderers read nothing else of the control, so two equal snapshots draw the same.
#pragma once

#include <cstdint>
#include <string>

#include "common/enums.h"
#include "common/types.h"
#include "draw/picture.h"

namespace vantiq {

struct PaintSnapshot {
  // Properties.
  std::int32_t m_lStyle = eProgSystem;
  std::int32_t m_lOrientation = eProgressBarOrientationHorizontal;
  std::int32_t m_lScrolling = eProgressBarScrollStandard;
  bool m_bRightToLeft = false;
  bool m_bSegmentBorders = false;
  OleColor m_lProgressColor = kAutoColor;
  OleColor m_lSegmentBorderColor = kAutoColor;
  ColorRef m_lBackColor = 0;  // resolved: the automatic colour follows the style
  PictureRef m_oProgressPicture;
  PictureRef m_oBackgroundPicture;
  WindowHandle m_lHwnd = 0;

  // Theme state.
  ThemeHandle m_hTheme = 0;
  bool m_bThemesActive = false;
  bool m_bThemedMode = false;
  std::u16string m_sThemeFile;  // upper case
  std::u16string m_sColorName;  // upper case

  // Geometry.
  Rect m_rcClient;
  Rect m_rcFill;
  double m_dFraction = 0;
  std::int32_t m_lChunk = 8;
  std::int32_t m_lGap = 2;
  bool m_bGradientFill = false;  // Msimg32's GradientFill can be used
  bool m_bOffscreen = false;     // the paint draws on the control's back buffer, which can be read back
};

// What the fill hands back: where the drawn fill ends (x, or y when vertical), which
// splits the caption in two, and the colour it was drawn in.
struct FillResult {
  std::int32_t m_lSplit = 0;
  ColorRef m_lFillColor = 0;
};

}  // namespace vantiq
