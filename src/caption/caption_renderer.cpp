#include "caption/caption_renderer.h"

#include <cmath>
#include <memory>

#include "caption/compose_caption.h"
#include "caption/dib_shadow.h"
#include "caption/font_conversion.h"
#include "control/vantiq.h"
#include "imaging/dib.h"
#include "platform/mod_version_ex.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

// The caption rectangle and DrawText alignment for a horizontal caption. A stored
// alignment the control does not know is reset to centred.
std::uint32_t HorizontalLayout(Properties& p, Rect& r) {
  const bool rtl = p.m_bRightToLeft;
  switch (p.m_lTextAlignment) {
    case ePbTextAlignLeft:
      if (rtl) { r.right -= kCaptionRightInset; return kDtRight; }
      r.left += kCaptionLeftInset;
      return kDtLeft;
    case ePbTextAlignRight:
      if (rtl) { r.left += kCaptionLeftInset; return kDtLeft; }
      r.right -= kCaptionRightInset;
      return kDtRight;
    case ePbTextAlignCenter:
      return kDtCenter;
    default:
      p.m_lTextAlignment = ePbTextAlignCenter;
      return kDtCenter;
  }
}

// round() of single-precision pixels, ties to even.
int RoundPixels(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void CaptionRenderer::CheckShadowAvailable() {
  Properties& p = control_.props();
  Platform& platform = control_.platform();
  const bool vertical = p.m_lOrientation == eProgressBarOrientationVertical;
  if (modVersionEx::IsWin98SE(platform) || (modVersionEx::IsWinME(platform) && vertical) ||
      !control_.paint().m_bMsimg32)
    p.m_bShadow = false;
}

void CaptionRenderer::DrawCaption(bool bInFill) {
  Properties& p = control_.props();
  PaintState& paint = control_.paint();
  Platform& platform = control_.platform();
  if (!p.m_bShowCaption || !paint.m_hDC) return;
  Surface& dc = *paint.m_hDC;
  const Rect& client = paint.m_rcClient;

  CheckShadowAvailable();
  std::shared_ptr<CDib32> shadowSurface;
  std::unique_ptr<CDibShadow> shadow;
  if (p.m_bShadow) {
    shadowSurface = std::make_shared<CDib32>(platform);
    shadowSurface->Create(client.right - client.left, client.bottom - client.top);
    shadow = std::make_unique<CDibShadow>(platform);
    shadow->SetColor(control_.TranslateColor(bInFill ? p.m_lAlternateShadowColor : p.m_lShadowColor));
    shadow->SetOffsetX(3);
    shadow->SetRadius(3);
    shadow->SetIntensity(p.m_lShadowIntensity);
    shadow->SetExpand(true);
  }

  const std::u16string text = ComposeCaption(control_);

  m_oCaptionFont = p.m_oFnt;
  if (!m_oCaptionFont) return;
  // Only a change is written: every write to the font object notifies its sinks.
  const FontRef baseFont = control_.host().BaseFont();
  if (baseFont && baseFont->Bold() && !m_oCaptionFont->Bold()) m_oCaptionFont->SetBold(true);

  const bool vertical = p.m_lOrientation == eProgressBarOrientationVertical;
  const LogFont horizontalFont = CaptionLogFont(*m_oCaptionFont, dc.LogPixelsY());
  LogFont font = horizontalFont;
  if (vertical) {
    font = modFontConversion::FontToLogFont(*m_oCaptionFont, &dc, false, platform);
    font.lfEscapement = kVerticalEscapement;
  }
  const ColorRef color = bInFill ? AlternateTextColor() : control_.TranslateColor(p.m_lForeColor);

  Rect r = client;
  std::uint32_t flags = kDtVCenter | kDtSingleLine;
  if (vertical) {
    // Laid out as if horizontal, so that the upward run starts low enough to be
    // centred along the bar and across it.
    const TextExtent extent = dc.MeasureText(text, horizontalFont);
    r.left = client.left + (client.right - client.left) / 2 - RoundPixels(extent.cy) / 2;
    r.bottom = RoundPixels(static_cast<double>(client.bottom) + extent.cx);
  } else {
    flags |= HorizontalLayout(p, r);
  }

  const bool unicode = modVersionEx::IsWinNT(platform);
  const std::string ansi = unicode ? std::string() : platform.WideCharToMultiByte(platform.GetACP(), text);
  const auto draw = [&](Surface& target, ColorRef textColor) {
    if (unicode)
      target.DrawTextLine(text, r, flags, font, textColor);
    else
      target.DrawTextLineAnsi(ansi, r, flags, font, textColor);
  };

  if (shadow) {
    if (Surface* shape = shadowSurface->DC()) draw(*shape, kShadowTextColor);
    shadow->SetSource(shadowSurface);
    shadow->Render(false);
    const Rect& placed = vertical ? client : r;
    shadow->DrawTo(dc, kShadowPlacement, kShadowPlacement, placed.right - placed.left,
                   placed.bottom - placed.top);
    shadow.reset();
  }
  draw(dc, color);
}

ColorRef CaptionRenderer::AlternateTextColor() const {
  const Properties& p = control_.props();
  const PaintState& paint = control_.paint();
  const bool xpBlueFill = (p.m_lStyle == eProgSystem && paint.m_bThemesActive) ||
                          (p.m_lStyle == eProgXP && p.m_lProgressColor == kAutoColor);
  const bool lunaScheme = LunaSchemeColor(paint.m_sThemeFile, paint.m_sColorName).has_value();
  if (p.m_lAlternateForeColor == kAutoTextColor && xpBlueFill && lunaScheme) return 0;
  return control_.TranslateColor(p.m_lAlternateForeColor);
}

}  // namespace vantiq
