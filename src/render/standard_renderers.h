// The renderers the control draws with: the frame, the fill (with the marquee) and,
// once it exists, the caption.
#pragma once

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
};

}  // namespace vantiq
