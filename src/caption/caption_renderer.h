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

// What the caption passes of one paint share. Both usually draw the same text in the
// same font, and measuring it or drawing its shadow's shape is a round trip to the
// system. Started afresh by every paint, so no font handle compared can have been
// freed and reused meanwhile; its string keeps its storage from paint to paint.
class CaptionPaintMemo {
 public:
  void StartPaint() {
    held_ = false;
    ++paint_;
  }
  std::uint64_t Paint() const { return paint_; }  // which paint this is
  // The extent of text in font: the last one measured in this paint when it was the same.
  TextExtent Measure(Surface& dc, const std::u16string& text, const LogFont& font);

 private:
  std::uint64_t paint_ = 0;
  bool held_ = false;
  std::u16string text_;
  LogFont font_;
  TextExtent extent_;
};

// One caption pass as the control prepared it: the text it composed (after the caption
// handler ran) and the properties read after that handler.
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
  CaptionPaintMemo* memo = nullptr;  // the paint's, shared by its passes; none: nothing shared
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
  // Where and how the shape picture's text was drawn, and in which paint: a later pass
  // of the same paint drawing the same text in the same place keeps the shape, and
  // its blur too when its shadow has the same colour and intensity.
  struct ShapeDrawnFrom {
    std::uint64_t paint = 0;
    std::u16string text;
    LogFont font;
    Rect rect;
    std::uint32_t flags = 0;
    bool unicode = true;
    int first = 0, last = 0, height = 0;
  };
  bool SameShape(const CaptionPass& pass, const ShapeDrawnFrom& now) const;

  // The shadow's pictures, kept from pass to pass and made again only when the size
  // changes: both passes of a paint, and the paints after it, share them.
  std::shared_ptr<CDib32> shape_;
  bool shapeHeld_ = false;  // shape_ and the shadow's mask hold what shapeDrawnFrom_ says
  ShapeDrawnFrom shapeDrawnFrom_;
  std::optional<CaptionPass::Shadow> blurredAs_;  // what the shadow's Result was made in, while shapeHeld_
  CDibShadow shadow_;
};

}  // namespace vantiq
