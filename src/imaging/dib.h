// 32-bit device-independent pixel surfaces with a device context of their own: the
// caption's text and shadow pictures (CDib32) and copies of the host's pictures that
// the renderers tile (CDib24, which builds the same 32-bit surface).
#pragma once

#include <cstdint>
#include <memory>

#include "common/types.h"
#include "draw/picture.h"
#include "draw/surface.h"
#include "platform/platform.h"

namespace vantiq {

// Pixels are 4 bytes blue, green, red, alpha; rows bottom-up, RowBytes() = width * 4.
// Pixel (x, y), y from the top, is at (Height() - 1 - y) * RowBytes() + 4 * x.
class CDib32 {
 public:
  explicit CDib32(Platform& platform) : platform_(platform) {}
  virtual ~CDib32() = default;
  CDib32(const CDib32&) = delete;
  CDib32& operator=(const CDib32&) = delete;

  // Releases any old section and makes a zeroed one; false (and empty) on failure or
  // a size that is not above 0.
  bool Create(int width, int height);
  // Create, except that a surface of that size already keeps its section, zeroed: a
  // picture made again on every paint costs no new section while its size holds.
  bool Recreate(int width, int height);
  // A copy of a GDI bitmap (its whole size); empty when the handle is no bitmap.
  void CreateFromBitmap(std::uintptr_t bitmap);
  // BitBlt(this, 0, 0, w, h, source, x, y, SRCCOPY); a negative size means the surface's own.
  void CopyFromDC(const Surface& source, int x, int y, int width = -1, int height = -1);
  // AlphaBlend onto target; a negative size means the surface's own. The pixels must be
  // premultiplied.
  void AlphaDraw(Surface& target, int x, int y, int width = -1, int height = -1, int sourceX = 0,
                 int sourceY = 0, int constantAlpha = 255) const;
  void Release();

  int Width() const { return width_; }
  int Height() const { return height_; }
  int RowBytes() const { return width_ * 4; }
  Surface* DC() const { return surface_.get(); }  // null when empty
  std::uint8_t* Bits() const;                     // null when empty

  std::unique_ptr<CDib32> Clone() const;
  // The same copy into `copy` (Recreate), which must not be this surface.
  void CloneInto(CDib32& copy) const;
  // Pixels of the key colour get alpha 0 (and colour 0 when premultiplying); others
  // alpha `alpha` when it is above 0, colours scaled by it when premultiplying.
  void KeyToAlpha(OleColor key, int alpha, bool premultiply = false);
  // B, G, R := value * A / 255, truncating.
  void Premultiply();
  // A copy scaled to newWidth (height in proportion, rounded up). Throws RuntimeError
  // for a surface of width 0.
  std::unique_ptr<CDib32> ScaleToWidth(int newWidth) const;
  // The same copy into `result` (Recreate), which must not be this surface; it is left
  // as it was when this throws.
  void ScaleToWidthInto(int newWidth, CDib32& result) const;

 protected:
  Platform& platform_;

 private:
  std::unique_ptr<Surface> surface_;
  int width_ = 0;
  int height_ = 0;
};

// The renderers' copy of a host picture.
class CDib24 : public CDib32 {
 public:
  using CDib32::CDib32;
  // A copy of the picture's bitmap; empty for no picture or one that is not a bitmap.
  void CreateFromPicture(const PictureRef& picture);
};

}  // namespace vantiq
