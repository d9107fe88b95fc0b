#include "render/kept_backdrop.h"

namespace vantiq {

bool KeptBackdrop::Same(const DrawnFrom& kept, const PaintSnapshot& s) {
  const PictureRef& picture = s.m_oBackgroundPicture;
  const bool samePicture =
      kept.hasBackgroundPicture == (picture != nullptr) &&
      (!picture || (!kept.backgroundPicture.owner_before(picture) && !picture.owner_before(kept.backgroundPicture)));
  return samePicture && kept.style == s.m_lStyle && kept.client == s.m_rcClient &&
         kept.backColor == s.m_lBackColor && kept.hwnd == s.m_lHwnd && kept.theme == s.m_hTheme &&
         kept.themesActive == s.m_bThemesActive;
}

bool KeptBackdrop::CopyTo(const PaintSnapshot& s, Surface& dc) {
  if (!picture_ || !Same(drawnFrom_, s)) return false;
  const Rect& rc = s.m_rcClient;
  dc.CopyFrom(rc.left, rc.top, rc.Width(), rc.Height(), *picture_, 0, 0);
  ++copies_;
  return true;
}

void KeptBackdrop::Keep(const PaintSnapshot& s, const Surface& dc) {
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
}

void KeptBackdrop::Forget() {
  picture_.reset();
  drawnFrom_ = DrawnFrom{};
}

}  // namespace vantiq
