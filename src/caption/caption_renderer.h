// The caption: one pass draws the whole text in the colours of one side of the fill
// edge, clipped by the caller to that side, with an optional soft shadow underneath.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "common/types.h"
#include "render/log_font.h"
#include "render/surface.h"
#include "control/font.h"

namespace vantiq {

class Vantiq;

// Text and layout constants of the caption.
constexpr int kCaptionLeftInset = 5;
constexpr int kCaptionRightInset = 7;
constexpr int kVerticalEscapement = 900;
constexpr ColorRef kShadowTextColor = 0x808080;  // the grey the shadow's shape is drawn in
constexpr int kShadowPlacement = -5;             // where the shadow picture's corner lands

class CaptionRenderer {
 public:
  // With `cropShadow` the shadow's pictures cover only the columns a horizontal caption
  // can ink, which gives the same pixels as client-sized ones far faster; without it
  // they are client-sized, the reference the cropped ones are held to.
  explicit CaptionRenderer(Vantiq& control, bool cropShadow = true)
      : control_(control), cropShadow_(cropShadow) {}

  // One pass on the paint state's surface. A fault while composing the text ends the
  // pass with a RuntimeError; everything the pass made is released either way.
  void DrawCaption(bool bInFill);
  // The text colour over the fill: black where the XP look's blue fill under the
  // automatic highlight-text colour would hide it, else AlternateForeColor.
  ColorRef AlternateTextColor() const;

 private:
  // Clears Shadow where the system cannot draw it.
  void CheckShadowAvailable();
  // The columns [first, last) of the client area that the caption drawn in r can ink.
  std::pair<int, int> InkColumns(Surface& dc, const std::u16string& text, const Rect& r,
                                 std::uint32_t flags, const LogFont& font) const;

  Vantiq& control_;
  bool cropShadow_;
  FontRef m_oCaptionFont;
};

}  // namespace vantiq
