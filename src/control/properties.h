// The property state the control keeps itself (the base keeps Enabled, MousePointer
// and MouseIcon). Orientation, Scrolling and Style hold any integer a host wrote.
#pragma once

#include <cstdint>
#include <string>

#include "common/enums.h"
#include "common/types.h"
#include "draw/font.h"
#include "draw/picture.h"

namespace vantiq {

struct Properties {
  std::int32_t m_lTextAlignment = ePbTextAlignCenter;
  FontRef m_oFnt;
  WindowHandle m_lHwnd = 0;
  double m_dMin = 0;
  double m_dMax = 100;
  std::int32_t m_lOrientation = eProgressBarOrientationHorizontal;
  std::int32_t m_lScrolling = eProgressBarScrollStandard;
  bool m_bShowCaption = true;
  std::u16string m_sSearchCaption;
  std::u16string m_sPercentFormat = u"#0";
  std::u16string m_sCaption;
  bool m_bShadow = false;
  std::int32_t m_lShadowIntensity = 128;
  double m_dValue = 0;
  std::int32_t m_lStyle = eProgSystem;
  OleColor m_lForeColor = 0;
  OleColor m_lBackColor = kAutoColor;
  OleColor m_lShadowColor = 0;
  OleColor m_lSegmentBorderColor = kAutoColor;
  bool m_bRightToLeft = false;
  OleColor m_lProgressColor = kAutoColor;
  bool m_bSegmentBorders = false;
  bool m_bCaptionCallBack = false;
  PictureRef m_oProgressPicture;
  PictureRef m_oBackgroundPicture;
  OleColor m_lAlternateForeColor = kAutoTextColor;
  OleColor m_lAlternateShadowColor = 0;
};

}  // namespace vantiq
