// The caption's soft shadow: the shape of a picture of text, blurred with a square box
// filter, coloured and premultiplied, ready to be alpha-blended under the text. Its own
// pictures are kept and made again only when their size changes, so an object used for
// every paint of a caption makes no new ones.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/types.h"
#include "imaging/dib.h"
#include "platform/platform.h"

namespace vantiq {

// TransparentColor's "use the source's top-left pixel" marker (-1).
constexpr OleColor kShadowKeyFromSource = 0xFFFFFFFFu;
// The largest Radius that Render accepts. It keeps every box sum (at most 255 x
// (2r + 1)^2) within 32 bits and bounds the size an expanded Result can ask for.
constexpr std::int32_t kMaxShadowRadius = 2047;

class CDibShadow {
 public:
  // `platform` must outlive the object and every picture it makes.
  explicit CDibShadow(Platform& platform) : platform_(platform) {}
  CDibShadow(const CDibShadow&) = delete;
  CDibShadow& operator=(const CDibShadow&) = delete;

  // Setting Source, TransparentColor or Scale rebuilds Mask (and so may throw what
  // Rebuild throws, with the new value stored). The other setters only store.
  const std::shared_ptr<CDib32>& Source() const { return source_; }
  void SetSource(std::shared_ptr<CDib32> source);
  const CDib32* Mask() const { return mask_.get(); }      // null before the first Rebuild
  const CDib32* Result() const { return result_.get(); }  // null before the first Render
  std::int32_t Radius() const { return radius_; }
  void SetRadius(std::int32_t value) { radius_ = value; }
  std::int32_t OffsetX() const { return offsetX_; }
  void SetOffsetX(std::int32_t value) { offsetX_ = value; }
  std::int32_t OffsetY() const { return offsetY_; }
  void SetOffsetY(std::int32_t value) { offsetY_ = value; }
  OleColor Color() const { return color_; }
  void SetColor(OleColor value) { color_ = value; }
  // While the stored value is kShadowKeyFromSource: white without a Source, else the
  // Source's top-left pixel (kInvalidColor for an empty Source).
  OleColor TransparentColor() const;
  void SetTransparentColor(OleColor value);
  std::int32_t Scale() const { return scale_; }
  // Throws RuntimeError 5 for a value below 1, storing nothing.
  void SetScale(std::int32_t value);
  std::int32_t Intensity() const { return intensity_; }
  void SetIntensity(std::int32_t value) { intensity_ = value; }
  bool Expand() const { return expand_; }
  void SetExpand(bool value) { expand_ = value; }

  // Mask := the Source's shape (alpha 255 wherever it differs from the transparent
  // colour), premultiplied, at the Source's width \ Scale. Nothing without a Source.
  // Throws RuntimeError 11 when that width is 0, keeping the old Mask.
  void Rebuild();
  // Result := the box-filtered, coloured mask, plus the mask itself on top when
  // bComposite. Nothing without a Mask. Throws RuntimeError 5, keeping the old Result,
  // for a Radius outside 0..kMaxShadowRadius. An Intensity outside 0..255 counts as
  // the nearer end. A Result too large to create is left empty.
  void Render(bool bComposite);
  // The same pixels by the plain box sum over every filter cell: the reference that
  // Render is held to. Far slower.
  void RenderDirect(bool bComposite);
  // Blends the top-left width x height of Result onto target at (x, y). Nothing
  // without a Result.
  void DrawTo(Surface& target, int x, int y, int width, int height) const;

 private:
  struct Layout;
  Layout Prepare();
  void KeyIntoMask(ColorRef key);
  void Composite(const Layout& layout);

  Platform& platform_;
  std::shared_ptr<CDib32> source_;
  std::unique_ptr<CDib32> keyed_;  // the Source with its key turned to alpha, on the way to Mask
  std::unique_ptr<CDib32> mask_;
  std::unique_ptr<CDib32> result_;
  std::vector<std::uint32_t> columns_;  // Render's box sums per column
  std::int32_t radius_ = 3;
  std::int32_t offsetX_ = -1;
  std::int32_t offsetY_ = -1;
  OleColor color_ = 0x808080;
  OleColor transparentColor_ = kShadowKeyFromSource;
  std::int32_t scale_ = 1;
  std::int32_t intensity_ = 128;
  bool expand_ = false;
};

}  // namespace vantiq
