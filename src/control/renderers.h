// The three renderers the paint driver calls. Each draws what the snapshot of the paint
// says on the surface it is given; the fill hands back where it ends.
#pragma once

#include <optional>

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

  // Renderers whose frame and fill follow from the snapshot alone may keep what they
  // drew: CopyKept draws it again from what was kept, or gives none when nothing kept
  // draws the same; Keep is told what a whole frame and fill drawn on dc gave; Forget
  // drops what was kept (the system's colours, theme or display changed).
  virtual std::optional<FillResult> CopyKept(const PaintSnapshot& /*s*/, Surface& /*dc*/) { return std::nullopt; }
  virtual void Keep(const PaintSnapshot& /*s*/, const Surface& /*dc*/, const FillResult& /*fill*/) {}
  virtual void Forget() {}
};

}  // namespace vantiq
