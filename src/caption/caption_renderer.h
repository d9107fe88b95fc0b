// The caption: one pass draws the whole text in the colours of one side of the fill
// edge, clipped by the caller to that side, with an optional soft shadow underneath.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "caption/dib_shadow.h"
#include "common/types.h"
#include "draw/font.h"
#include "draw/log_font.h"
#include "draw/surface.h"
#include "platform/platform.h"
#include "render/drawing_ops.h"
#include "render/paint_snapshot.h"

namespace vantiq {

// Text and layout constants of the caption.
constexpr int kCaptionLeftInset = 5;
constexpr int kCaptionRightInset = 7;
constexpr int kVerticalEscapement = 900;
constexpr ColorRef kShadowTextColor = 0x808080;  // the grey the shadow's shape is drawn in
constexpr int kShadowPlacement = -5;             // where the shadow picture's corner lands
// How far the shadow can lie from the text's columns: its placement, offset and blur,
// with room to spare.
constexpr int kShadowReach = 16;

// One caption pass as the control prepared it: the text it composed (after the caption
// handler ran) and the properties read after that handler.
// The extent of the last text measured in one paint. Both passes of a paint measure
// the same text in the same font, and each measure is a round trip to the system.
// Reset at the start of every paint, so no font handle it compares can have been
// freed and reused meanwhile; its string keeps its storage from paint to paint.
class PaintTextMeasures {
 public:
  void Reset() { held_ = false; }
  TextExtent Measure(Surface& dc, const std::u16string& text, const LogFont& font);

 private:
  bool held_ = false;
  std::u16string text_;
  LogFont font_;
  TextExtent extent_;
};

struct CaptionPass {
  bool inFill = false;  // the pass over the fill, clipped to it
  std::u16string text;
  FontRef font;  // never null
  std::int32_t m_lTextAlignment = 2;  // a known alignment
  OleColor m_lForeColor = 0;
  OleColor m_lAlternateForeColor = kAutoTextColor;
  struct Shadow {
    ColorRef color;  // translated
    std::int32_t intensity;
  };
  std::optional<Shadow> shadow;  // none: the pass draws no shadow
  PaintTextMeasures* measures = nullptr;  // the paint's, shared by its passes; none: measure each time
};

// The text colour over the fill: black where the XP look's blue fill under the
// automatic highlight-text colour would hide it, else AlternateForeColor.
ColorRef AlternateTextColor(const PaintSnapshot& s, OleColor alternateForeColor, const DrawingOps& ops);

class CaptionRenderer {
 public:
  // With `cropShadow` the shadow's pictures cover only the columns a horizontal caption
  // can ink, which gives the same pixels as client-sized ones far faster; without it
  // they are client-sized, the reference the cropped ones are held to.
  CaptionRenderer(Platform& platform, const DrawingOps& ops, bool cropShadow = true)
      : platform_(platform), ops_(ops), cropShadow_(cropShadow), shadow_(platform) {}

  // One pass on dc, which the caller has clipped to the pass's side of the fill edge.
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc);

 private:
  // The columns [first, last) of the client area that the caption drawn in r can ink.
  std::pair<int, int> InkColumns(Surface& dc, const CaptionPass& pass, const Rect& r, int clientWidth,
                                 std::uint32_t flags, const LogFont& font) const;

  Platform& platform_;
  const DrawingOps& ops_;
  bool cropShadow_;
  // The shadow's pictures, kept from pass to pass and made again only when the size
  // changes: both passes of a paint, and the paints after it, share them.
  std::shared_ptr<CDib32> shape_;
  CDibShadow shadow_;
};

}  // namespace vantiq
