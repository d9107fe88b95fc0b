// The back colour, border, themed bar and background picture of the last paint. None
// of them depends on Value, and the themed bar is most of what a value update costs,
// so a paint of the same size, look, colours and theme copies them instead of drawing
// them again, and the fill is drawn over the copy as over a fresh backdrop.
#pragma once

#include <memory>

#include "draw/surface.h"
#include "platform/platform.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class KeptBackdrop {
 public:
  explicit KeptBackdrop(Platform& platform) : platform_(platform) {}

  // Copies the kept backdrop over s's client rectangle of dc when it was drawn from a
  // snapshot that draws the same backdrop; false (and dc untouched) otherwise.
  bool CopyTo(const PaintSnapshot& s, Surface& dc);
  // Keeps what dc holds in s's client rectangle as the backdrop of s. A picture of the
  // same size is reused; when none can be made nothing is kept.
  void Keep(const PaintSnapshot& s, const Surface& dc);
  // Frees the picture: the next paint draws its backdrop.
  void Forget();

  bool Holds() const { return picture_ != nullptr; }
  int Copies() const { return copies_; }  // paints that copied the kept backdrop

 private:
  // What the backdrop is drawn from. The background picture is held weakly: what is
  // kept must not keep a picture the control let go of alive.
  struct DrawnFrom {
    std::int32_t style = 0;
    Rect client;
    ColorRef backColor = 0;
    std::weak_ptr<PictureObject> backgroundPicture;
    bool hasBackgroundPicture = false;
    WindowHandle hwnd = 0;
    ThemeHandle theme = 0;
    bool themesActive = false;
  };
  static bool Same(const DrawnFrom& kept, const PaintSnapshot& s);

  Platform& platform_;
  std::unique_ptr<Surface> picture_;
  DrawnFrom drawnFrom_;
  int copies_ = 0;
};

}  // namespace vantiq
