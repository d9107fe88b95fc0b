#include "caption/caption_renderer.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "caption/font_conversion.h"
#include "imaging/dib.h"
#include "platform/mod_version_ex.h"
#include "render/fill_renderer.h"

namespace vantiq {
namespace {

// The caption rectangle and DrawText alignment for a horizontal caption.
std::uint32_t HorizontalLayout(std::int32_t alignment, bool rtl, Rect& r) {
  switch (alignment) {
    case ePbTextAlignLeft:
      if (rtl) { r.right -= kCaptionRightInset; return kDtRight; }
      r.left += kCaptionLeftInset;
      return kDtLeft;
    case ePbTextAlignRight:
      if (rtl) { r.left += kCaptionLeftInset; return kDtLeft; }
      r.right -= kCaptionRightInset;
      return kDtRight;
    default:
      return kDtCenter;
  }
}

TextExtent Measure(Surface& dc, const CaptionPass& pass, const LogFont& font) {
  return pass.memo ? pass.memo->Measure(dc, pass.text, font) : dc.MeasureText(pass.text, font);
}

// round() of single-precision pixels, ties to even.
int RoundPixels(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

TextExtent CaptionPaintMemo::Measure(Surface& dc, const std::u16string& text, const LogFont& font) {
  if (held_ && text == text_ && font == font_) return extent_;
  held_ = false;  // until the new measure has come back
  extent_ = dc.MeasureText(text, font);
  text_ = text;
  font_ = font;
  held_ = true;
  return extent_;
}

void CaptionRenderer::DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) {
  const Rect& client = s.m_rcClient;
  const std::u16string& text = pass.text;
  // Only Orientation 1 turns the text; the fill draws every other value but 0 as vertical.
  const bool vertical = s.m_lOrientation == eProgressBarOrientationVertical;
  const LogFont horizontalFont = CaptionLogFont(*pass.font, dc.LogPixelsY());
  LogFont font = horizontalFont;
  if (vertical) {
    font = modFontConversion::FontToLogFont(*pass.font, &dc, false, platform_);
    font.lfEscapement = kVerticalEscapement;
  }
  const ColorRef color = pass.inFill ? AlternateTextColor(s, pass.m_lAlternateForeColor, ops_)
                                     : ops_.TranslateColor(pass.m_lForeColor);

  Rect r = client;
  std::uint32_t flags = kDtVCenter | kDtSingleLine;
  if (vertical) {
    // Laid out as if horizontal, so that the upward run starts low enough to be
    // centred along the bar and across it.
    const TextExtent extent = Measure(dc, pass, horizontalFont);
    r.left = client.left + (client.right - client.left) / 2 - RoundPixels(extent.cy) / 2;
    r.bottom = RoundPixels(static_cast<double>(client.bottom) + extent.cx);
  } else {
    flags |= HorizontalLayout(pass.m_lTextAlignment, s.m_bRightToLeft, r);
  }

  const bool unicode = modVersionEx::IsWinNT(platform_);
  const std::string ansi = unicode ? std::string() : platform_.WideCharToMultiByte(platform_.GetACP(), text);
  const auto draw = [&](Surface& target, const Rect& rect, ColorRef textColor) {
    if (unicode)
      target.DrawTextLine(text, rect, flags, font, textColor);
    else
      target.DrawTextLineAnsi(ansi, rect, flags, font, textColor);
  };

  const int clientWidth = client.right - client.left;
  std::optional<std::pair<int, int>> ink;  // the columns a horizontal text can reach
  if (!vertical) {
    ink = InkColumns(dc, pass, r, clientWidth, flags, font);
    // A pass draws only inside its clip, the other side of the fill edge from the other
    // pass: one whose clip misses the text, and the shadow's reach around it, draws nothing.
    const std::optional<Rect> clip = dc.Clip();
    const int reach = pass.shadow ? kShadowReach : 0;
    if (clip && (clip->right <= ink->first - reach || clip->left >= ink->second + reach)) return;
  }

  if (pass.shadow) {
    // The shape of the text in grey on black, blurred and blended under it at (-5, -5),
    // as wide as the caption rectangle allows.
    const auto [first, last] = !ink || !cropShadow_ ? std::pair<int, int>(0, clientWidth) : *ink;
    CDibShadow& shadow = shadow_;
    const Rect shapeRect{r.left - first, r.top, r.right - first, r.bottom};
    const ShapeDrawnFrom now{pass.memo ? pass.memo->Paint() : 0, {}, font, shapeRect, flags, unicode,
                             first, last, client.bottom - client.top};
    const bool keepShape = shapeHeld_ && SameShape(pass, now);
    if (!keepShape) {
      shapeHeld_ = false;  // until the new shape is keyed
      // The last pass's shape goes first, so that the settings below rebuild nothing.
      shadow.SetSource(nullptr);
    }
    const bool keepBlur = keepShape && blurredAs_ && blurredAs_->color == pass.shadow->color &&
                          blurredAs_->intensity == pass.shadow->intensity;
    blurredAs_.reset();  // until the new Result is made
    shadow.SetColor(pass.shadow->color);
    shadow.SetOffsetX(3);
    shadow.SetRadius(3);
    shadow.SetIntensity(pass.shadow->intensity);
    shadow.SetExpand(true);
    if (!keepShape) {
      // A cropped picture's corner may be ink; the client-sized one's is always blank.
      shadow.SetTransparentColor(first != 0 ? 0 : kShadowKeyFromSource);
      if (!shape_) shape_ = std::make_shared<CDib32>(platform_);
      shape_->Recreate(last - first, now.height);
      if (Surface* surface = shape_->DC()) draw(*surface, shapeRect, kShadowTextColor);
      shadow.SetSource(shape_);
      if (pass.memo) {
        shapeDrawnFrom_ = now;
        shapeDrawnFrom_.text = text;
        shapeHeld_ = true;
      }
    }
    if (!keepBlur) shadow.Render(false);
    if (shapeHeld_) blurredAs_ = pass.shadow;
    // Where a client-sized picture would end; a cropped one is transparent beyond its
    // own width, and a blend must not read past it.
    const Rect& placed = vertical ? client : r;
    int width = placed.right - placed.left - first;
    if (first != 0 || last != clientWidth)
      width = std::min(width, shadow.Result() ? shadow.Result()->Width() : 0);
    if (width > 0)
      shadow.DrawTo(dc, first + kShadowPlacement, kShadowPlacement, width, placed.bottom - placed.top);
  }
  draw(dc, r, color);
}

bool CaptionRenderer::SameShape(const CaptionPass& pass, const ShapeDrawnFrom& now) const {
  const ShapeDrawnFrom& kept = shapeDrawnFrom_;
  return pass.memo && kept.paint == now.paint && kept.text == pass.text && kept.font == now.font &&
         kept.rect == now.rect && kept.flags == now.flags && kept.unicode == now.unicode &&
         kept.first == now.first && kept.last == now.last && kept.height == now.height;
}

std::pair<int, int> CaptionRenderer::InkColumns(Surface& dc, const CaptionPass& pass, const Rect& r, int width,
                                                std::uint32_t flags, const LogFont& font) const {
  // Prefixes change the drawn width from the measured one: keep the whole width.
  if (pass.text.find(u'&') != std::u16string::npos) return {0, width};
  const TextExtent extent = Measure(dc, pass, font);
  const std::int64_t start = (flags & kDtCenter)  ? (std::int64_t{r.left} + r.right - extent.cx) / 2
                             : (flags & kDtRight) ? std::int64_t{r.right} - extent.cx
                                                  : r.left;
  // A text height either side holds any overhang of italic or wide glyphs.
  const std::int64_t first = std::max<std::int64_t>({0, r.left, start - extent.cy});
  const std::int64_t last = std::min<std::int64_t>({width, r.right, start + extent.cx + extent.cy});
  if (last <= first) return {0, 1};
  return {static_cast<int>(first), static_cast<int>(last)};
}

ColorRef AlternateTextColor(const PaintSnapshot& s, OleColor alternateForeColor, const DrawingOps& ops) {
  const bool xpBlueFill = (s.m_lStyle == eProgSystem && s.m_bThemesActive) ||
                          (s.m_lStyle == eProgXP && s.m_lProgressColor == kAutoColor);
  const bool lunaScheme = LunaSchemeColor(s.m_sThemeFile, s.m_sColorName).has_value();
  if (alternateForeColor == kAutoTextColor && xpBlueFill && lunaScheme) return 0;
  return ops.TranslateColor(alternateForeColor);
}

}  // namespace vantiq
