// The three renderers the paint driver calls. Each draws what the snapshot of the paint
// says on the surface it is given; the fill hands back where it ends.
#pragma once

#include "caption/caption_renderer.h"
#include "draw/surface.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class Renderers {
 public:
  virtual ~Renderers() = default;

  // The border, the style's background and the background picture; with frameOnly
  // only what must lie on top of the caption.
  virtual void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) = 0;
  // The filled part (or the marquee blocks).
  virtual FillResult DrawFill(const PaintSnapshot& s, Surface& dc) = 0;
  // One caption pass, on a surface the caller clipped to the pass's side of the fill.
  virtual void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) = 0;
};

}  // namespace vantiq
