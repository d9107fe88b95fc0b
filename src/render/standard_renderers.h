// The renderers the control draws with: the frame, the fill (with the marquee) and the
// caption.
#pragma once

#include "caption/caption_renderer.h"
#include "render/fill_renderer.h"
#include "render/frame_renderer.h"
#include "render/renderers.h"

namespace vantiq {

class Vantiq;

class StandardRenderers : public Renderers {
 public:
  explicit StandardRenderers(Vantiq& control);

  void DrawFrame(bool frameOnly) override;
  void DrawFill() override;
  void DrawCaption(bool inFill) override;

 private:
  FrameRenderer frame_;
  FillRenderer fill_;
  CaptionRenderer caption_;
};

}  // namespace vantiq
