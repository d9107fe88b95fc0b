// A picture object (the host's IPictureDisp) as the core sees it.
#pragma once

#include <cstdint>
#include <memory>

namespace vantiq {

class PictureObject {
 public:
  virtual ~PictureObject() = default;
  // The picture's handle (its dispatch property 0): a bitmap handle for bitmaps.
  virtual std::uintptr_t Handle() const = 0;
};

using PictureRef = std::shared_ptr<PictureObject>;

}  // namespace vantiq
