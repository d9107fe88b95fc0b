#include "render/kept_backdrop.h"

#include "render/fill_geometry.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

// Whether a weakly held picture is the one the snapshot shows (or both are none).
bool SamePicture(bool keptHas, const std::weak_ptr<PictureObject>& kept, const PictureRef& now) {
  return keptHas == (now != nullptr) && (!now || (!kept.owner_before(now) && !now.owner_before(kept)));
}

}  // namespace

bool KeptBackdrop::Same(const DrawnFrom& kept, const PaintSnapshot& s) {
  return SamePicture(kept.hasBackgroundPicture, kept.backgroundPicture, s.m_oBackgroundPicture) &&
         kept.style == s.m_lStyle && kept.client == s.m_rcClient && kept.backColor == s.m_lBackColor &&
         kept.hwnd == s.m_lHwnd && kept.theme == s.m_hTheme && kept.themesActive == s.m_bThemesActive;
}

KeptBackdrop::FillDrawnFrom KeptBackdrop::FillOf(const PaintSnapshot& s) const {
  FillDrawnFrom f;
  f.orientation = s.m_lOrientation;
  f.scrolling = s.m_lScrolling;
  f.segmentBorders = s.m_bSegmentBorders;
  f.fillColor = ResolveFillColor(s, ops_);
  f.segmentBorderColor = s.m_bSegmentBorders ? ResolveSegmentBorderColor(s, ops_) : 0;
  f.progressPicture = s.m_oProgressPicture;
  f.hasProgressPicture = s.m_oProgressPicture != nullptr;
  f.fill = s.m_rcFill;
  f.chunk = s.m_lChunk;
  f.themedMode = s.m_bThemedMode;
  f.full = s.m_dFraction > kFullFraction;
  return f;
}

bool KeptBackdrop::SameFill(const FillDrawnFrom& kept, const FillDrawnFrom& now) {
  return kept.orientation == now.orientation && kept.scrolling == now.scrolling &&
         kept.segmentBorders == now.segmentBorders && kept.fillColor == now.fillColor &&
         kept.segmentBorderColor == now.segmentBorderColor && kept.fill == now.fill && kept.chunk == now.chunk &&
         kept.themedMode == now.themedMode && kept.full == now.full &&
         kept.hasProgressPicture == now.hasProgressPicture &&
         !kept.progressPicture.owner_before(now.progressPicture) &&
         !now.progressPicture.owner_before(kept.progressPicture);
}

bool KeptBackdrop::StartsFill(const FillDrawnFrom& kept, const FillDrawnFrom& now, std::int32_t style) {
  // Only flat chunks are known to draw the same whatever the fill's end: a full XP or
  // themed fill ends in a chunk cut at the border, and a picture is tiled to the end.
  if (style == eProgXP || kept.hasProgressPicture) return false;
  FillDrawnFrom same = now;
  same.fill = kept.fill;
  same.full = kept.full;  // flat chunks are never cut
  if (!SameFill(kept, same)) return false;
  // The chunks start from the fill's left edge, or run up between its sides.
  const Rect& a = kept.fill;
  const Rect& b = now.fill;
  if (IsHorizontal(now.orientation)) return b.left == a.left && b.right > a.right;
  return b.left == a.left && b.right == a.right && b.top < a.top;
}

bool KeptBackdrop::CopyStartTo(const PaintSnapshot& s, Surface& dc, Rect& drawnFill) {
  if (!picture_ || !fillDrawnFrom_ || !Same(drawnFrom_, s) || !StartsFill(*fillDrawnFrom_, FillOf(s), s.m_lStyle))
    return false;
  const Rect& rc = s.m_rcClient;
  dc.CopyFrom(rc.left, rc.top, rc.Width(), rc.Height(), *picture_, 0, 0);
  drawnFill = fillDrawnFrom_->fill;
  ++startCopies_;
  return true;
}

bool KeptBackdrop::CopyTo(const PaintSnapshot& s, Surface& dc, std::optional<FillResult>& fill) {
  fill.reset();
  if (!picture_ || !Same(drawnFrom_, s)) return false;
  // A picture with a fill in it is no backdrop for another fill.
  if (fillDrawnFrom_ && !SameFill(*fillDrawnFrom_, FillOf(s))) return false;
  const Rect& rc = s.m_rcClient;
  dc.CopyFrom(rc.left, rc.top, rc.Width(), rc.Height(), *picture_, 0, 0);
  ++copies_;
  if (fillDrawnFrom_) {
      fill = fillDrawnFrom_->result;
    ++fillCopies_;
  }
  return true;
}

void KeptBackdrop::Keep(const PaintSnapshot& s, const Surface& dc, const std::optional<FillResult>& fill) {
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
  const long failures = platform_.FailedRequests();
  picture_->CopyFrom(0, 0, rc.Width(), rc.Height(), dc, rc.left, rc.top);
  if (platform_.FailedRequests() != failures) {
    Forget();
    return;
  }
  drawnFrom_ = DrawnFrom{s.m_lStyle,  s.m_rcClient, s.m_lBackColor,    s.m_oBackgroundPicture,
                         s.m_oBackgroundPicture != nullptr, s.m_lHwnd, s.m_hTheme, s.m_bThemesActive};
  fillDrawnFrom_.reset();
  if (fill) {
    fillDrawnFrom_ = FillOf(s);
    fillDrawnFrom_->result = *fill;
  }
}

void KeptBackdrop::Forget() {
  picture_.reset();
  drawnFrom_ = DrawnFrom{};
  fillDrawnFrom_.reset();
}

}  // namespace vantiq
