// The renderers the control draws with: the frame, the fill (with the marquee) and the
// caption.
#pragma once

#include <optional>
#include <utility>

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
      : platform_(platform),
        frame_(platform, ops),
        fill_(platform, ops, shortcuts),
        caption_(platform, ops, shortcuts),
        backdrop_(platform, ops),
        shortcuts_(shortcuts) {}

  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) override {
    frame_.DrawFrame(s, dc, frameOnly);
  }
  // After a copy of the start of its fill, only the chunks after it are drawn, and the
  // picture is kept again with the whole fill.
  FillResult DrawFill(const PaintSnapshot& s, Surface& dc) override {
    const std::optional<Rect> drawn = std::exchange(drawnFill_, std::nullopt);
    const FillResult fill = fill_.DrawFill(s, dc, drawn);
    if (drawn && platform_.FailedRequests() == failuresBefore_) backdrop_.Keep(s, dc, fill);
    return fill;
  }
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) override {
    caption_.DrawCaption(s, pass, dc);
  }

  // A backdrop kept alone (in a marquee step, say) is not copied where the fill could be
  // kept with it: drawn again, it is kept with the fill from then on. Where the fill has
  // grown by whole chunks, the start of it is copied with the backdrop and the DrawFill
  // of the same paint draws the rest.
  bool CopyKeptBackdrop(const PaintSnapshot& s, Surface& dc, std::optional<FillResult>& fill) override {
    fill.reset();
    drawnFill_.reset();
    if (KeepsFill(s) && !backdrop_.HoldsFill()) return false;
    if (backdrop_.CopyTo(s, dc, fill)) return true;
    if (!KeepsFill(s)) return false;
    failuresBefore_ = platform_.FailedRequests();
    Rect drawn;
    if (!backdrop_.CopyStartTo(s, dc, drawn)) return false;
    drawnFill_ = drawn;
    return true;
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

  Platform& platform_;
  FrameRenderer frame_;
  FillRenderer fill_;
  CaptionRenderer caption_;
  KeptBackdrop backdrop_;
  bool shortcuts_;
  std::optional<Rect> drawnFill_;  // the fill copied by this paint's CopyKeptBackdrop
  long failuresBefore_ = 0;        // the platform's failed requests before that copy
};

}  // namespace vantiq
