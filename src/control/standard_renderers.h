// The renderers the control draws with: the frame, the fill (with the marquee) and the
// caption.
#pragma once

#include "caption/caption_renderer.h"
#include "control/renderers.h"
#include "render/fill_renderer.h"
#include "render/frame_renderer.h"
#include "render/kept_frame.h"

namespace vantiq {

class StandardRenderers : public Renderers {
 public:
  StandardRenderers(Platform& platform, const DrawingOps& ops)
      : frame_(platform, ops), fill_(platform, ops), caption_(platform, ops), kept_(platform) {}

  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) override {
    frame_.DrawFrame(s, dc, frameOnly);
  }
  FillResult DrawFill(const PaintSnapshot& s, Surface& dc) override { return fill_.DrawFill(s, dc); }
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) override {
    caption_.DrawCaption(s, pass, dc);
  }

  std::optional<FillResult> CopyKept(const PaintSnapshot& s, Surface& dc) override { return kept_.CopyTo(s, dc); }
  // The marquee moves on every step, and a parent that shows through the bar may have
  // changed since: neither is kept.
  void Keep(const PaintSnapshot& s, const Surface& dc, const FillResult& fill) override {
    if (s.m_lScrolling == eProgressBarScrollMarquee || frame_.ShowsParent(s))
      kept_.Forget();
    else
      kept_.Keep(s, dc, fill);
  }
  void Forget() override { kept_.Forget(); }

  const KeptFrame& kept() const { return kept_; }

 private:
  FrameRenderer frame_;
  FillRenderer fill_;
  CaptionRenderer caption_;
  KeptFrame kept_;
};

}  // namespace vantiq
