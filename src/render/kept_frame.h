// The picture of the last frame and fill drawn, with the snapshot it was drawn from:
// a paint whose snapshot draws the same frame and fill copies it instead of drawing
// them again, which for the themed look saves nearly all of a value update.
#pragma once

#include <memory>
#include <optional>

#include "draw/surface.h"
#include "platform/platform.h"
#include "render/paint_snapshot.h"

namespace vantiq {

// Whether two snapshots give the same frame and fill: everything the frame and fill
// renderers read is equal, the fraction only as far as they use it (a full bar).
bool DrawSameFrameAndFill(const PaintSnapshot& a, const PaintSnapshot& b);

class KeptFrame {
 public:
  explicit KeptFrame(Platform& platform) : platform_(platform) {}

  // Copies the kept picture over s's client rectangle of dc and gives the fill's result
  // when it was drawn from a snapshot that draws the same; none otherwise.
  std::optional<FillResult> CopyTo(const PaintSnapshot& s, Surface& dc);
  // Keeps what dc holds in s's client rectangle as the frame and fill of s. A picture
  // of the same size is reused; when none can be made nothing is kept.
  void Keep(const PaintSnapshot& s, const Surface& dc, const FillResult& fill);
  // Frees the picture: the next paint draws everything.
  void Forget();

  bool Holds() const { return picture_ != nullptr; }
  int Copies() const { return copies_; }  // paints that copied the kept picture

 private:
  Platform& platform_;
  std::unique_ptr<Surface> picture_;
  PaintSnapshot drawnFrom_;
  FillResult fill_;
  int copies_ = 0;
};

}  // namespace vantiq
