// The control's one off-screen bitmap: grown when the control grows, never shrunk.
#pragma once

#include <memory>

#include "draw/surface.h"
#include "platform/platform.h"

namespace vantiq {

class BackBuffer {
 public:
  explicit BackBuffer(Platform& platform) : platform_(platform) {}

  // Creates the buffer when there is none and both sizes are above 0; re-creates it
  // only when a requested size exceeds the current one. Null when there is none.
  std::shared_ptr<Surface> EnsureBackBuffer(int width, int height);
  // Frees the old buffer and makes one of exactly this size; on failure none is left.
  void CreateBackBuffer(int width, int height);
  void FreeBackBuffer();
  // BitBlt into target; a width or height below 1 means the buffer's own.
  void BlitBackBuffer(Surface& target, int sx, int sy, int width, int height, int tx, int ty) const;

  Surface* Get() const { return buffer_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  Platform& platform_;
  std::shared_ptr<Surface> buffer_;
  int width_ = 0;   // m_lBufWidth
  int height_ = 0;  // m_lBufHeight
};

}  // namespace vantiq
