#include "render/back_buffer.h"

namespace vantiq {

std::shared_ptr<Surface> BackBuffer::EnsureBackBuffer(int width, int height) {
  if (!buffer_) {
    if (width > 0 && height > 0) CreateBackBuffer(width, height);
  } else if (width > width_ || height > height_) {
    CreateBackBuffer(width, height);
  }
  return buffer_;
}

void BackBuffer::CreateBackBuffer(int width, int height) {
  FreeBackBuffer();
  buffer_ = platform_.CreateBackBuffer(width, height);
  if (buffer_) {
    width_ = width;
    height_ = height;
  }
}

void BackBuffer::FreeBackBuffer() {
  buffer_.reset();
  width_ = 0;
  height_ = 0;
}

void BackBuffer::BlitBackBuffer(Surface& target, int sx, int sy, int width, int height, int tx,
                                int ty) const {
  if (!buffer_) return;
  if (width < 1) width = width_;
  if (height < 1) height = height_;
  target.CopyFrom(tx, ty, width, height, *buffer_, sx, sy);
}

}  // namespace vantiq
