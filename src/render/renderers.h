// The three renderers the paint driver calls. Each reads the control's state and
// draws on the paint state's surface; the fill renderer also sets m_lSplit.
#pragma once

namespace vantiq {

class Renderers {
 public:
  virtual ~Renderers() = default;
  // The border, the style's background and the background picture; with frameOnly
  // only what must lie on top of the caption.
  virtual void DrawFrame(bool frameOnly) = 0;
  // The filled part (or the marquee blocks); records where the fill ends in m_lSplit.
  virtual void DrawFill() = 0;
  // One caption pass, clipped by the caller to the inside or the outside of the fill.
  virtual void DrawCaption(bool inFill) = 0;
};

}  // namespace vantiq
