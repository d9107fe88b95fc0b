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

  // Renderers may keep the backdrop (the back colour with what DrawFrame draws before
  // the fill), which does not depend on Value, and where it is cheap to draw again
  // the fill over it. CopyKeptBackdrop draws it from what was kept and says so, or
  // says false when nothing kept draws the same; when what it copied holds the fill,
  // `fill` receives what drawing that fill handed back and the fill is not drawn; when
  // it holds only the start of the fill, the DrawFill of the same paint draws the rest.
  // KeepBackdrop is given a backdrop drawn whole on dc, KeepFill the same with the
  // fill drawn over it; ForgetBackdrop drops what was kept (the system's colours,
  // theme or display changed, a picture was set, or a drawing request failed).
  virtual bool CopyKeptBackdrop(const PaintSnapshot& /*s*/, Surface& /*dc*/, std::optional<FillResult>& fill) {
    fill.reset();
    return false;
  }
  virtual void KeepBackdrop(const PaintSnapshot& /*s*/, const Surface& /*dc*/) {}
  virtual void KeepFill(const PaintSnapshot& /*s*/, const Surface& /*dc*/, const FillResult& /*fill*/) {}
  virtual void ForgetBackdrop() {}
};

}  // namespace vantiq
