// The back colour, border, themed bar and background picture of the last paint. None
// of them depends on Value, and the themed bar is most of what a value update costs,
// so a paint of the same size, look, colours and theme copies them instead of drawing
// them again, and the fill is drawn over the copy as over a fresh backdrop.
// Where the backdrop costs little to draw again, the picture may hold the fill as well:
// with standard scrolling the fill ends in whole chunks, so most value updates draw the
// same fill, and a copy then stands for both.
#pragma once

#include <memory>
#include <optional>

#include "draw/surface.h"
#include "platform/platform.h"
#include "render/drawing_ops.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class KeptBackdrop {
 public:
  KeptBackdrop(Platform& platform, const DrawingOps& ops) : platform_(platform), ops_(ops) {}

  // Copies the kept picture over s's client rectangle of dc when it was drawn from a
  // snapshot that draws the same backdrop and, when it holds a fill, the same fill,
  // which `fill` then receives; false (and dc untouched) otherwise.
  bool CopyTo(const PaintSnapshot& s, Surface& dc, std::optional<FillResult>& fill);
  // Copies the kept picture when the fill it holds is a start of s's fill: flat chunks
  // drawn from the same inputs that s's fill only adds to. `drawnFill` receives the
  // rectangle of the fill copied; false (and dc untouched) otherwise.
  bool CopyStartTo(const PaintSnapshot& s, Surface& dc, Rect& drawnFill);
  // Keeps what dc holds in s's client rectangle as the backdrop of s, or with `fill`
  // as the backdrop and the fill that drawing handed back. A picture of the same size
  // is reused; when none can be made nothing is kept.
  void Keep(const PaintSnapshot& s, const Surface& dc, const std::optional<FillResult>& fill = std::nullopt);
  // Frees the picture: the next paint draws its backdrop.
  void Forget();

  bool Holds() const { return picture_ != nullptr; }
  bool HoldsFill() const { return fillDrawnFrom_.has_value(); }
  int Copies() const { return copies_; }  // paints that copied the kept backdrop
  int FillCopies() const { return fillCopies_; }  // those of them that copied the fill too
  int StartCopies() const { return startCopies_; }  // paints that copied the start of their fill

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
  // What the fill is drawn from, besides the backdrop's own inputs. The colours are
  // held resolved, so that a changed system colour draws afresh.
  struct FillDrawnFrom {
    std::int32_t orientation = 0;
    std::int32_t scrolling = 0;
    bool segmentBorders = false;
    ColorRef fillColor = 0;
    ColorRef segmentBorderColor = 0;
    std::weak_ptr<PictureObject> progressPicture;
    bool hasProgressPicture = false;
    Rect fill;
    std::int32_t chunk = 0;
    bool themedMode = false;
    bool full = false;  // the last chunk is cut at the border
    FillResult result;
  };
  static bool Same(const DrawnFrom& kept, const PaintSnapshot& s);
  FillDrawnFrom FillOf(const PaintSnapshot& s) const;
  static bool SameFill(const FillDrawnFrom& kept, const FillDrawnFrom& now);
  static bool StartsFill(const FillDrawnFrom& kept, const FillDrawnFrom& now, std::int32_t style);

  Platform& platform_;
  const DrawingOps& ops_;
  std::unique_ptr<Surface> picture_;
  DrawnFrom drawnFrom_;
  std::optional<FillDrawnFrom> fillDrawnFrom_;  // set when the picture holds the fill
  int copies_ = 0;
  int fillCopies_ = 0;
  int startCopies_ = 0;
};

}  // namespace vantiq
