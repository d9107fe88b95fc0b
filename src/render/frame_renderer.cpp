#include "render/frame_renderer.h"

#include "imaging/dib.h"
#include "platform/mod_version_ex.h"
#include "platform/progress_theme.h"

namespace vantiq {
namespace {

// The XP look's greys (grey, so the byte order of the value does not matter).
constexpr OleColor kXPOuter = 0x686868;
constexpr OleColor kXPInnerTop = 0xBEBEBE;
constexpr OleColor kXPInnerLight = 0xEFEFEF;
constexpr OleColor kXPCorner = 0x777777;

// How far the background picture stays inside the border.
int PictureInset(std::int32_t style) {
  switch (style) {
    case eProgStandard: return 2;
    case eProgThin: return 1;
    default: return 0;  // the XP border is drawn again over the picture
  }
}

// The part follows the control's shape, not its Orientation.
int BarPart(const Rect& rc) { return rc.Width() > rc.Height() ? kPartBar : kPartBarVert; }

}  // namespace

void FrameRenderer::DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) {
  const Rect rc = s.m_rcClient;
  const std::int32_t style = s.m_lStyle;

  if (style == eProgSystem) {
    if (s.m_bThemesActive) {
      DrawThemedBar(s, dc, rc);
    } else {
      // Without visual styles the system bar looks like the sunken bar of its time:
      // two pixels deep before Windows 2000 and Me, one pixel from then on.
      const bool thin = modVersionEx::IsWin2000OrLater(platform_) || modVersionEx::IsWinME(platform_);
      DrawSunkenBar(s, dc, rc, thin ? EdgeKind::kSunkenOuter : EdgeKind::kSunken, frameOnly);
    }
    return;  // the system look never shows the background picture
  }

  switch (style) {
    case eProgXP: DrawXPBorder(dc, rc); break;
    case eProgStandard: DrawSunkenBar(s, dc, rc, EdgeKind::kSunken, frameOnly); break;
    case eProgThin: DrawSunkenBar(s, dc, rc, EdgeKind::kSunkenOuter, frameOnly); break;
    default: break;  // a style the control does not know has no border
  }
  if (!frameOnly && s.m_oBackgroundPicture) DrawBackgroundPicture(s, dc, rc, PictureInset(style));
}

bool FrameRenderer::ShowsParent(const PaintSnapshot& s) {
  if (s.m_lStyle != eProgSystem || !s.m_bThemesActive || s.m_hTheme == 0) return false;
  return platform_.IsThemeBackgroundPartiallyTransparent(s.m_hTheme, BarPart(s.m_rcClient), 0);
}

void FrameRenderer::DrawThemedBar(const PaintSnapshot& s, Surface& dc, const Rect& rc) {
  // Without a theme handle, or when the theme cannot draw, the bar has no border.
  if (s.m_hTheme == 0) return;
  const int part = BarPart(rc);
  ops_.DrawThemeParentBackground(s.m_lHwnd, dc, rc);
  ops_.DrawThemeBackground(s.m_hTheme, dc, part, 0, rc, &rc);
}

void FrameRenderer::DrawSunkenBar(const PaintSnapshot& s, Surface& dc, const Rect& rc, EdgeKind edge,
                                  bool frameOnly) {
  if (!frameOnly) ops_.FillRectColor(rc, s.m_lBackColor, dc);
  ops_.DrawSunkenEdge(dc, rc, edge);
}

void FrameRenderer::DrawXPBorder(Surface& dc, const Rect& rc) {
  const DrawingOps& ops = ops_;
  // Each frame overwrites the one before where they meet: the light frame leaves the
  // top-left grey only along the top row, the outer frame takes the outermost ring.
  ops.FrameRectColor({rc.left + 1, rc.top + 1, rc.right, rc.bottom}, ops.TranslateColor(kXPInnerTop), dc);
  ops.FrameRectColor({rc.left + 1, rc.top + 2, rc.right - 1, rc.bottom - 1},
                     ops.TranslateColor(kXPInnerLight), dc);
  ops.FrameRectColor(rc, ops.TranslateColor(kXPOuter), dc);
  const ColorRef corner = ops.TranslateColor(kXPCorner);
  ops.SetPixelColor(dc, 1, 1, corner);
  ops.SetPixelColor(dc, rc.right - 2, 1, corner);
  ops.SetPixelColor(dc, 1, rc.bottom - 2, corner);
  ops.SetPixelColor(dc, rc.right - 2, rc.bottom - 2, corner);
}

void FrameRenderer::DrawBackgroundPicture(const PaintSnapshot& s, Surface& dc, const Rect& rc, int inset) {
  CDib24 copy(platform_);
  copy.CreateFromPicture(s.m_oBackgroundPicture);
  // Tiles are anchored at the control's origin, so the pattern does not shift with
  // the inset; a copy that could not be made has no surface and draws nothing.
  if (const Surface* source = copy.DC()) {
    ops_.TileBitmap(dc, inset, inset, rc.Width() - 2 * inset, rc.Height() - 2 * inset,
                              *source, copy.Width(), copy.Height(), 0, 0);
  }
  copy.Release();
}

}  // namespace vantiq
