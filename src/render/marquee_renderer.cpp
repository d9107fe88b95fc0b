#include "render/marquee_renderer.h"

#include <memory>

#include "imaging/dib.h"
#include "render/fill_geometry.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

constexpr int kBlocks = 3;
constexpr int kBlockLength = 10;  // along the direction of travel
constexpr int kStripLength = 6;   // the pale strips across each edge of a block

}  // namespace

void MarqueeRenderer::DrawMarquee(const PaintSnapshot& s, Surface& dc, ColorRef fillColor) {
  const std::int32_t style = s.m_lStyle;
  if (style == eProgSystem && s.m_bThemedMode) {
    look_ = Look::kThemed;
    // Under the XP style file the scheme's (or the host's) colour; any other visual
    // style gets the highlight colour, whatever ProgressColor says.
    base_ = s.m_sThemeFile.find(u"LUNA\\LUNA.MSSTYLES") != std::u16string::npos
                ? ResolveFillColor(s, ops_)
                : ops_.TranslateColor(kSystemColorFlag | kColorHighlight);
  } else {
    look_ = style == eProgXP ? Look::kImitation : Look::kFlat;
    base_ = fillColor;
  }
  borders_ = s.m_bSegmentBorders;
  if (borders_) border_ = ResolveSegmentBorderColor(s, ops_);

  if (IsHorizontal(s.m_lOrientation))
    DrawHorizontal(s, dc);
  else
    DrawVertical(s, dc);
}

MarqueeRenderer::Shades MarqueeRenderer::ShadesOf(int block) const {
  if (look_ == Look::kFlat) return {base_, base_};
  // Block 0, nearest the start edge, is the palest.
  return {LightenColor(base_, 220 - 40 * block), LightenColor(base_, 200 - 40 * block)};
}

void MarqueeRenderer::DrawHorizontal(const PaintSnapshot& s, Surface& dc) {
  const std::int64_t width = s.m_rcClient.right;
  const std::int64_t bottom = s.m_rcClient.bottom;
  const std::int64_t pitch = std::int64_t{s.m_lGap} + kBlockLength;

  // One copy of the picture serves all three blocks; the system look never shows it.
  std::unique_ptr<CDib24> picture;
  if (s.m_lStyle != eProgSystem && s.m_oProgressPicture) {
    picture = std::make_unique<CDib24>(platform_);
    picture->CreateFromPicture(s.m_oProgressPicture);
  }

  for (int i = 0; i < kBlocks; ++i) {
    const std::int64_t x = s.m_rcFill.right + pitch * i;
    if (look_ == Look::kThemed) {
      if (x + kBlockLength > width) break;  // the themed train never runs past the far edge
      if (x <= 0) continue;                 // nor onto the start edge
    }
    const Shades shades = ShadesOf(i);
    const int left = ToInt32(x);
    ops_.GradientRect(dc, left, 3, kBlockLength, kStripLength, shades.edge, shades.middle,
                     GradientDirection::kVertical);
    ops_.FillRectColor(Box{x, 8, x + kBlockLength, bottom - 6}.ToRect(), shades.middle, dc);
    ops_.GradientRect(dc, left, ToInt32(bottom - 8), kBlockLength, kStripLength, shades.middle, shades.edge,
                     GradientDirection::kVertical);
    if (picture && picture->DC()) {
      ops_.TileBitmap(dc, left, 4, kBlockLength, ToInt32(bottom - 7), *picture->DC(), picture->Width(),
                     picture->Height(), 0, 0);
    }
    DrawBorder(dc, Box{x, 3, x + kBlockLength, bottom - 2}.ToRect());
  }
  if (picture) picture->Release();
}

void MarqueeRenderer::DrawVertical(const PaintSnapshot& s, Surface& dc) {
  const std::int64_t width = s.m_rcClient.right;
  const std::int64_t pitch = std::int64_t{s.m_lGap} + kBlockLength;
  // The train runs downward from the fill end.
  for (int i = 0; i < kBlocks; ++i) {
    const std::int64_t y = s.m_rcFill.top + pitch * i;
    const Shades shades = ShadesOf(i);
    const int top = ToInt32(y);
    if (s.m_bGradientFill) {
      ops_.GradientRect(dc, 2, top, kStripLength, kBlockLength, shades.edge, shades.middle,
                       GradientDirection::kHorizontal);
      ops_.FillRectColor(Box{8, y, width - 8, y + kBlockLength}.ToRect(), shades.middle, dc);
      ops_.GradientRect(dc, ToInt32(width - 8), top, kStripLength, kBlockLength, shades.middle, shades.edge,
                       GradientDirection::kHorizontal);
    } else {
      // Without GradientFill a block is one flat rectangle in its middle shade.
      const int inset = s.m_lStyle == eProgStandard ? 3 : 2;
      ops_.FillRectColor(Box{inset, y, width - inset, y + kBlockLength}.ToRect(), shades.middle, dc);
    }
    DrawBorder(dc, Box{2, y, width - 2, y + kBlockLength}.ToRect());
  }
}

void MarqueeRenderer::DrawBorder(Surface& dc, const Rect& rc) {
  if (borders_) ops_.FrameRectColor(rc, border_, dc);
}

}  // namespace vantiq
