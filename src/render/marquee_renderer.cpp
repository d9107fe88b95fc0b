#include "render/marquee_renderer.h"

#include <memory>

#include "control/vantiq.h"
#include "imaging/dib.h"
#include "render/fill_geometry.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

constexpr int kBlocks = 3;
constexpr int kBlockLength = 10;  // along the direction of travel
constexpr int kStripLength = 6;   // the pale strips across each edge of a block

}  // namespace

void MarqueeRenderer::DrawMarquee() {
  PaintState& paint = control_.paint();
  Surface* dc = paint.m_hDC.get();
  if (dc == nullptr) return;
  const std::int32_t style = control_.props().m_lStyle;
  if (style == eProgSystem && paint.m_bThemedMode) {
    look_ = Look::kThemed;
    // Under the XP style file the scheme's (or the host's) colour; any other visual
    // style gets the highlight colour, whatever ProgressColor says.
    base_ = paint.m_sThemeFile.find(u"LUNA\\LUNA.MSSTYLES") != std::u16string::npos
                ? ResolveFillColor(control_)
                : control_.TranslateColor(kSystemColorFlag | kColorHighlight);
  } else {
    look_ = style == eProgXP ? Look::kImitation : Look::kFlat;
    base_ = paint.m_lFillColor;
  }
  borders_ = control_.props().m_bSegmentBorders;
  if (borders_) border_ = ResolveSegmentBorderColor(control_);

  if (IsHorizontal(control_.props().m_lOrientation))
    DrawHorizontal(*dc);
  else
    DrawVertical(*dc);
}

MarqueeRenderer::Shades MarqueeRenderer::ShadesOf(int block) const {
  if (look_ == Look::kFlat) return {base_, base_};
  // Block 0, nearest the start edge, is the palest.
  return {LightenColor(base_, 220 - 40 * block), LightenColor(base_, 200 - 40 * block)};
}

void MarqueeRenderer::DrawHorizontal(Surface& dc) {
  const PaintState& paint = control_.paint();
  const DrawingOps& ops = control_.ops();
  const std::int64_t width = paint.m_rcClient.right;
  const std::int64_t bottom = paint.m_rcClient.bottom;
  const std::int64_t pitch = std::int64_t{paint.m_lGap} + kBlockLength;

  // One copy of the picture serves all three blocks; the system look never shows it.
  std::unique_ptr<CDib24> picture;
  if (control_.props().m_lStyle != eProgSystem && control_.props().m_oProgressPicture) {
    picture = std::make_unique<CDib24>(control_.platform());
    picture->CreateFromPicture(control_.props().m_oProgressPicture);
  }

  for (int i = 0; i < kBlocks; ++i) {
    const std::int64_t x = paint.m_rcFill.right + pitch * i;
    if (look_ == Look::kThemed) {
      if (x + kBlockLength > width) break;  // the themed train never runs past the far edge
      if (x <= 0) continue;                 // nor onto the start edge
    }
    const Shades shades = ShadesOf(i);
    const int left = ToInt32(x);
    ops.GradientRect(dc, left, 3, kBlockLength, kStripLength, shades.edge, shades.middle,
                     GradientDirection::kVertical);
    ops.FillRectColor(Box{x, 8, x + kBlockLength, bottom - 6}.ToRect(), shades.middle, dc);
    ops.GradientRect(dc, left, ToInt32(bottom - 8), kBlockLength, kStripLength, shades.middle, shades.edge,
                     GradientDirection::kVertical);
    if (picture && picture->DC()) {
      ops.TileBitmap(dc, left, 4, kBlockLength, ToInt32(bottom - 7), *picture->DC(), picture->Width(),
                     picture->Height(), 0, 0);
    }
    DrawBorder(dc, Box{x, 3, x + kBlockLength, bottom - 2}.ToRect());
  }
  if (picture) picture->Release();
}

void MarqueeRenderer::DrawVertical(Surface& dc) {
  const PaintState& paint = control_.paint();
  const DrawingOps& ops = control_.ops();
  const std::int64_t width = paint.m_rcClient.right;
  const std::int64_t pitch = std::int64_t{paint.m_lGap} + kBlockLength;
  // The train runs downward from the fill end.
  for (int i = 0; i < kBlocks; ++i) {
    const std::int64_t y = paint.m_rcFill.top + pitch * i;
    const Shades shades = ShadesOf(i);
    const int top = ToInt32(y);
    if (paint.m_bGradientFill) {
      ops.GradientRect(dc, 2, top, kStripLength, kBlockLength, shades.edge, shades.middle,
                       GradientDirection::kHorizontal);
      ops.FillRectColor(Box{8, y, width - 8, y + kBlockLength}.ToRect(), shades.middle, dc);
      ops.GradientRect(dc, ToInt32(width - 8), top, kStripLength, kBlockLength, shades.middle, shades.edge,
                       GradientDirection::kHorizontal);
    } else {
      // Without GradientFill a block is one flat rectangle in its middle shade.
      const int inset = control_.props().m_lStyle == eProgStandard ? 3 : 2;
      ops.FillRectColor(Box{inset, y, width - inset, y + kBlockLength}.ToRect(), shades.middle, dc);
    }
    DrawBorder(dc, Box{2, y, width - 2, y + kBlockLength}.ToRect());
  }
}

void MarqueeRenderer::DrawBorder(Surface& dc, const Rect& rc) {
  if (borders_) control_.ops().FrameRectColor(rc, border_, dc);
}

}  // namespace vantiq
