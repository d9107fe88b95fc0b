#include "render/kept_frame.h"

namespace vantiq {
namespace {

// The fill renderers read the fraction only to cut the last chunk of a full bar.
bool FullBar(const PaintSnapshot& s) { return s.m_dFraction > 0.998; }

}  // namespace

bool DrawSameFrameAndFill(const PaintSnapshot& a, const PaintSnapshot& b) {
  return a.m_lStyle == b.m_lStyle && a.m_lOrientation == b.m_lOrientation && a.m_lScrolling == b.m_lScrolling &&
         a.m_bRightToLeft == b.m_bRightToLeft && a.m_bSegmentBorders == b.m_bSegmentBorders &&
         a.m_lProgressColor == b.m_lProgressColor && a.m_lSegmentBorderColor == b.m_lSegmentBorderColor &&
         a.m_lBackColor == b.m_lBackColor && a.m_oProgressPicture == b.m_oProgressPicture &&
         a.m_oBackgroundPicture == b.m_oBackgroundPicture && a.m_lHwnd == b.m_lHwnd && a.m_hTheme == b.m_hTheme &&
         a.m_bThemesActive == b.m_bThemesActive && a.m_bThemedMode == b.m_bThemedMode &&
         a.m_sThemeFile == b.m_sThemeFile && a.m_sColorName == b.m_sColorName && a.m_rcClient == b.m_rcClient &&
         a.m_rcFill == b.m_rcFill && FullBar(a) == FullBar(b) && a.m_lChunk == b.m_lChunk &&
         a.m_lGap == b.m_lGap && a.m_bGradientFill == b.m_bGradientFill;
}

std::optional<FillResult> KeptFrame::CopyTo(const PaintSnapshot& s, Surface& dc) {
  if (!picture_ || !DrawSameFrameAndFill(drawnFrom_, s)) return std::nullopt;
  const Rect& rc = s.m_rcClient;
  dc.CopyFrom(rc.left, rc.top, rc.Width(), rc.Height(), *picture_, 0, 0);
  ++copies_;
  return fill_;
}

void KeptFrame::Keep(const PaintSnapshot& s, const Surface& dc, const FillResult& fill) {
  const Rect& rc = s.m_rcClient;
  if (rc.Width() <= 0 || rc.Height() <= 0) {
    Forget();
    return;
  }
  if (!picture_ || picture_->Width() != rc.Width() || picture_->Height() != rc.Height()) {
    picture_.reset();  // the old one goes before a new one is made
    picture_ = platform_.CreateBackBuffer(rc.Width(), rc.Height());
    if (!picture_) return;
  }
  picture_->CopyFrom(0, 0, rc.Width(), rc.Height(), dc, rc.left, rc.top);
  drawnFrom_ = s;
  fill_ = fill;
}

void KeptFrame::Forget() {
  picture_.reset();
  drawnFrom_ = PaintSnapshot{};
}

}  // namespace vantiq
