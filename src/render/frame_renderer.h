// The parts of the bar that do not depend on Value: the border in the look of each
// style, the themed bar background and the background picture inside the border.
#pragma once

#include "common/types.h"
#include "draw/surface.h"
#include "platform/platform.h"
#include "render/drawing_ops.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class FrameRenderer {
 public:
  FrameRenderer(Platform& platform, const DrawingOps& ops) : platform_(platform), ops_(ops) {}

  // Before the fill (frameOnly false) the style's background, border and picture;
  // over the caption (frameOnly true) the border alone.
  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly);
  // Whether the frame lets the parent's background show through (a themed bar part
  // that is partially transparent), so that what it drew depends on the parent too.
  bool ShowsParent(const PaintSnapshot& s);

 private:
  void DrawThemedBar(const PaintSnapshot& s, Surface& dc, const Rect& rc);
  void DrawSunkenBar(const PaintSnapshot& s, Surface& dc, const Rect& rc, EdgeKind edge, bool frameOnly);
  void DrawXPBorder(Surface& dc, const Rect& rc);
  void DrawBackgroundPicture(const PaintSnapshot& s, Surface& dc, const Rect& rc, int inset);

  Platform& platform_;
  const DrawingOps& ops_;
};

}  // namespace vantiq
