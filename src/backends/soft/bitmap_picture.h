// A picture object that is a bitmap handle and nothing more: what tests and tools hand
// the control for its pictures. It is a bitmap when the platform knows the handle (a
// ScriptablePlatform::CreateBitmap handle, or a real HBITMAP on Windows); it does not
// own the handle.
#pragma once

#include <cstdint>

#include "draw/picture.h"

namespace vantiq {

class BitmapPicture : public PictureObject {
 public:
  explicit BitmapPicture(std::uintptr_t handle) : handle_(handle) {}
  std::uintptr_t Handle() const override { return handle_; }

 private:
  std::uintptr_t handle_;
};

}  // namespace vantiq
