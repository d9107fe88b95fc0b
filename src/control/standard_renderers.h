// The renderers the control draws with: the frame, the fill (with the marquee) and the
// caption.
#pragma once

#include "caption/caption_renderer.h"
#include "control/renderers.h"
#include "render/fill_renderer.h"
#include "render/frame_renderer.h"
#include "render/kept_backdrop.h"

namespace vantiq {

class StandardRenderers : public Renderers {
 public:
  // Without `shortcuts` nothing drawn is kept or copied and the shadow is client-sized:
  // every paint draws everything, the reference the shortcuts are held to.
  StandardRenderers(Platform& platform, const DrawingOps& ops, bool shortcuts = true)
      : frame_(platform, ops),
        fill_(platform, ops, shortcuts),
        caption_(platform, ops, shortcuts),
        backdrop_(platform, ops),
        shortcuts_(shortcuts) {}

  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) override {
    frame_.DrawFrame(s, dc, frameOnly);
  }
  FillResult DrawFill(const PaintSnapshot& s, Surface& dc) override { return fill_.DrawFill(s, dc); }
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) override {
    caption_.DrawCaption(s, pass, dc);
  }

  // A backdrop kept alone (in a marquee step, say) is not copied where the fill could be
  // kept with it: drawn again, it is kept with the fill from then on.
  bool CopyKeptBackdrop(const PaintSnapshot& s, Surface& dc, std::optional<FillResult>& fill) override {
    fill.reset();
    if (KeepsFill(s) && !backdrop_.HoldsFill()) return false;
    return backdrop_.CopyTo(s, dc, fill);
  }
  // A parent that shows through the bar may have changed since: that is never kept.
  // Where the fill is kept with the backdrop, it is kept once the fill is drawn.
  void KeepBackdrop(const PaintSnapshot& s, const Surface& dc) override {
    if (!shortcuts_ || frame_.ShowsParent(s))
      backdrop_.Forget();
    else if (!KeepsFill(s))
      backdrop_.Keep(s, dc);
  }
  void KeepFill(const PaintSnapshot& s, const Surface& dc, const FillResult& fill) override {
    if (shortcuts_ && KeepsFill(s)) backdrop_.Keep(s, dc, fill);
  }
  void ForgetBackdrop() override { backdrop_.Forget(); }

  const KeptBackdrop& backdrop() const { return backdrop_; }

 private:
  // The fill is kept with the backdrop where the backdrop is cheap to draw again: no
  // themed bar and no background picture. A marquee moves on every paint.
  static bool KeepsFill(const PaintSnapshot& s) {
    const bool themedBar = s.m_lStyle == eProgSystem && (s.m_bThemesActive || s.m_bThemedMode);
    return !themedBar && !s.m_oBackgroundPicture && s.m_lScrolling != eProgressBarScrollMarquee;
  }

  FrameRenderer frame_;
  FillRenderer fill_;
  CaptionRenderer caption_;
  KeptBackdrop backdrop_;
  bool shortcuts_;
};

}  // namespace vantiq
