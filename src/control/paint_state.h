// What the paint driver keeps between and during paints, shared with the renderers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/types.h"

namespace vantiq {

class Surface;

struct PaintState {
  bool m_bPainting = false;    // while Redraw runs: stops re-entry
  bool m_bResizePending = false;  // a Resize asked for while painting, run when it ends
  bool m_bResizing = false;       // that Resize runs: one asked for in its paint waits
  bool m_bRedraw = false;      // a property changed since the last drawn paint
  bool m_bRegionDirty = true;  // the next Redraw re-evaluates the window region
  // The window's region is what the last Redraw found or left, for a control rounded as
  // m_bRegionRounded: nothing has moved, sized or re-framed the window since (which
  // every SetWindowRgn does), so the next Redraw need not ask the window again.
  bool m_bRegionKnown = false;
  bool m_bRegionRounded = false;

  ThemeHandle m_hTheme = 0;    // "Progress" theme of the control's window
  bool m_bThemesActive = false;
  bool m_bThemedMode = false;
  std::u16string m_sThemeFile;  // upper case
  std::u16string m_sColorName;  // upper case
  ColorRef m_lBtnFaceColor = 0;
  ColorRef m_lHighlightColor = 0;

  // Where every renderer draws. Held, not borrowed: a handler that makes the host drop
  // the window's surface mid-paint must not free what the paint still draws on.
  std::shared_ptr<Surface> m_hDC;
  bool m_bBuffered = false;    // m_hDC is the back buffer

  Rect m_rcClient;
  Rect m_rcFill;
  double m_dFraction = 0;
  std::int32_t m_lChunk = 8;
  std::int32_t m_lGap = 2;
  std::int32_t m_lSplit = 0;   // where the drawn fill ends (x, or y when vertical)
  ColorRef m_lFillColor = 0;
  std::u16string m_sCaptionText;   // a pass's text before decoding, kept for its storage
  std::u16string m_sLastPercent;
  std::u16string m_sShownCaption;  // the caption text of the paint being drawn

  bool m_bGradientFill = false;  // Msimg32's GradientFill can be used
  bool m_bMsimg32 = false;       // Msimg32 can be loaded at all
};

}  // namespace vantiq
