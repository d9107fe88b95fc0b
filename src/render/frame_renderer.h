// The parts of the bar that do not depend on Value: the border in the look of each
// style, the themed bar background and the background picture inside the border.
#pragma once

#include "common/types.h"
#include "render/surface.h"

namespace vantiq {

class Vantiq;

class FrameRenderer {
 public:
  explicit FrameRenderer(Vantiq& control) : control_(control) {}

  // Before the fill (frameOnly false) the style's background, border and picture;
  // over the caption (frameOnly true) the border alone.
  void DrawFrame(bool frameOnly);

 private:
  void DrawThemedBar(Surface& dc, const Rect& rc);
  void DrawSunkenBar(Surface& dc, const Rect& rc, EdgeKind edge, bool frameOnly);
  void DrawXPBorder(Surface& dc, const Rect& rc);
  void DrawBackgroundPicture(Surface& dc, const Rect& rc, int inset);

  Vantiq& control_;
};

}  // namespace vantiq
