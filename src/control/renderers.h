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

  // Renderers may keep the backdrop (the back colour with what DrawFrame draws before
  // the fill), which does not depend on Value. CopyKeptBackdrop draws it from what was
  // kept and says so, or says false when nothing kept draws the same; KeepBackdrop is
  // given a backdrop drawn whole on dc; ForgetBackdrop drops what was kept (the
  // system's colours, theme or display changed, or a drawing request failed).
  virtual bool CopyKeptBackdrop(const PaintSnapshot& /*s*/, Surface& /*dc*/) { return false; }
  virtual void KeepBackdrop(const PaintSnapshot& /*s*/, const Surface& /*dc*/) {}
  virtual void ForgetBackdrop() {}
};

}  // namespace vantiq
