#include "render/fill_renderer.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

#include "imaging/dib.h"
#include "platform/mod_version_ex.h"
#include "platform/progress_theme.h"
#include "render/fill_geometry.h"
#include "render/marquee_renderer.h"

namespace vantiq {
namespace {

// A theme may report any integer as a chunk size or space. Negative ones count as 0
// and none is taken above this (nor is the control's own chunk length), so with a
// size of 0 stepped as 1 every chunk loop moves at least one pixel a step and ends
// after at most the bar's length plus one steps.
constexpr int kMaxChunkMetric = 32767;

int ClampMetric(int value) { return std::clamp(value, 0, kMaxChunkMetric); }

// The XP chunk's edges are the fill colour lightened by these amounts.
constexpr int kLightNear = 165;  // top edge, or left edge of a vertical bar
constexpr int kLightFar = 150;   // bottom edge, or right edge
constexpr int kStripLength = 6;  // across the chunk, from each edge

struct SchemeColor {
  const char16_t* name;
  ColorRef color;
};
constexpr SchemeColor kLunaSchemes[] = {
    {u"NORMALCOLOR", Rgb(46, 211, 49)},
    {u"HOMESTEAD", Rgb(227, 128, 64)},
    {u"METALLIC", Rgb(118, 166, 106)},
};

// What the automatic colour means: the highlight colour, or the Luna scheme's own
// colour while the look is themed.
ColorRef AutomaticFillColor(const PaintSnapshot& s, const DrawingOps& ops) {
  const ColorRef highlight = ops.TranslateColor(kSystemColorFlag | kColorHighlight);
  if (!s.m_bThemedMode) return highlight;
  return LunaSchemeColor(s.m_sThemeFile, s.m_sColorName).value_or(highlight);
}

}  // namespace

std::int32_t ToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

Rect Box::ToRect() const { return {ToInt32(left), ToInt32(top), ToInt32(right), ToInt32(bottom)}; }

std::optional<ColorRef> LunaSchemeColor(const std::u16string& themeFile, const std::u16string& colorName) {
  if (themeFile.find(u"LUNA\\LUNA.MSSTYLES") == std::u16string::npos) return std::nullopt;
  for (const SchemeColor& scheme : kLunaSchemes)
    if (colorName == scheme.name) return scheme.color;
  return std::nullopt;
}

ColorRef BlendColors(const DrawingOps& ops, OleColor c1, OleColor c2, int weight) {
  const ColorRef a = ops.TranslateColor(c1);
  const ColorRef b = ops.TranslateColor(c2);
  const int w = std::clamp(weight, 0, 255);
  auto mix = [w](int x, int y) { return x * w / 255 + y * (255 - w) / 255; };
  return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

ColorRef ResolveFillColor(const PaintSnapshot& s, const DrawingOps& ops) {
  if (s.m_lProgressColor != kAutoColor) return ops.TranslateColor(s.m_lProgressColor);
  return AutomaticFillColor(s, ops);
}

ColorRef ResolveSegmentBorderColor(const PaintSnapshot& s, const DrawingOps& ops) {
  if (s.m_lSegmentBorderColor != kAutoColor) return ops.TranslateColor(s.m_lSegmentBorderColor);
  return BlendColors(ops, AutomaticFillColor(s, ops), 0, 128);
}

FillRenderer::FillRenderer(Platform& platform, const DrawingOps& ops, bool copyChunks)
    : platform_(platform), ops_(ops), copyChunks_(copyChunks) {}

FillRenderer::~FillRenderer() = default;

FillResult FillRenderer::DrawFill(const PaintSnapshot& s, Surface& dc, const std::optional<Rect>& drawn) {
  s_ = &s;
  drawn_ = drawn;
  const bool horizontal = IsHorizontal(s.m_lOrientation);
  // Until a look records where its fill ends, the whole caption counts as outside.
  result_.m_lSplit = horizontal ? 0 : s.m_rcClient.bottom;
  result_.m_lFillColor = ResolveFillColor(s, ops_);
  if (s.m_lScrolling == eProgressBarScrollMarquee) {
    MarqueeRenderer(platform_, ops_).DrawMarquee(s, dc, result_.m_lFillColor);
  } else {
    borders_ = !Smooth() && s.m_bSegmentBorders;
    if (borders_) border_ = ResolveSegmentBorderColor(s, ops_);
    if (horizontal)
      DrawHorizontal(dc);
    else
      DrawVertical(dc);
  }
  s_ = nullptr;
  drawn_.reset();
  return result_;
}

bool FillRenderer::ThemedChunks() const {
  return s_->m_lStyle == eProgSystem &&
         ((modVersionEx::IsWinVista(platform_) && s_->m_bThemesActive) || s_->m_bThemedMode);
}

bool FillRenderer::Smooth() const { return s_->m_lScrolling == eProgressBarScrollSmooth; }

void FillRenderer::DrawHorizontal(Surface& dc) {
  const PaintSnapshot& s = *s_;
  if (ThemedChunks()) {
    // Without its theme handle the system look falls back on the imitation, even
    // over a progress picture.
    if (s.m_hTheme != 0)
      DrawThemedChunksHorizontal(dc);
    else
      DrawXPChunksHorizontal(dc);
    return;
  }
  if (s_->m_oProgressPicture) {
    TileProgressPicture(dc, s.m_rcFill.left, s.m_rcFill.top, s.m_rcFill.Width(),
                        s.m_rcFill.Height());
    result_.m_lSplit = s.m_rcFill.right;
    return;
  }
  if (s_->m_lStyle == eProgXP)
    DrawXPChunksHorizontal(dc);
  else
    DrawFlatChunksHorizontal(dc);
}

void FillRenderer::DrawVertical(Surface& dc) {
  const PaintSnapshot& s = *s_;
  const Rect& fill = s.m_rcFill;
  if (ThemedChunks()) {
    if (s.m_hTheme == 0) return;  // a vertical bar has no imitation to fall back on
    // One continuous themed piece, whatever the theme's chunk size.
    const Rect area = Box{2, std::int64_t{fill.top} + 3, std::int64_t{s.m_rcClient.right} - 2,
                          std::int64_t{fill.bottom} - 3}
                          .ToRect();
    ops_.DrawThemeBackground(s.m_hTheme, dc, kPartChunkVert, 0, area, &area);
    result_.m_lSplit = area.top;
    return;
  }
  if (s_->m_oProgressPicture) {
    TileProgressPicture(dc, fill.left, fill.top, fill.Width(), fill.Height());
    result_.m_lSplit = fill.top;
    return;
  }
  if (s_->m_lStyle == eProgXP)
    DrawXPChunksVertical(dc);
  else
    DrawFlatChunksVertical(dc);
}

void FillRenderer::DrawThemedChunksHorizontal(Surface& dc) {
  const PaintSnapshot& s = *s_;
  const Rect area = Box{std::int64_t{s.m_rcFill.left} + 3, 3, s.m_rcFill.right,
                        std::int64_t{s.m_rcClient.bottom} - 2}
                        .ToRect();
  // An opaque chunk covers what lies under it, so drawing it again, or copying it where
  // the same chunk goes, gives the pixels the theme would draw there.
  const bool opaque = copyChunks_ && !platform_.IsThemeBackgroundPartiallyTransparent(s.m_hTheme, kPartChunk, 1);
  if (modVersionEx::IsWinVista(platform_)) {
    // From Vista on the fill is one continuous piece. Its image is partly
    // translucent; the second pass gives it its full strength.
    ops_.DrawThemeBackground(s.m_hTheme, dc, kPartChunk, 1, area, &area);
    if (!opaque) ops_.DrawThemeBackground(s.m_hTheme, dc, kPartChunk, 1, area, &area);
    result_.m_lSplit = area.right;
    return;
  }

  const int size = ClampMetric(ops_.GetThemeInt(s.m_hTheme, 0, 0, kTmtProgressChunkSize));
  const int space = Smooth() ? 0 : ClampMetric(ops_.GetThemeInt(s.m_hTheme, 0, 0, kTmtProgressSpaceSize));
  // A chunk size of 0 keeps its chunks empty but still moves them on.
  const std::int64_t step = std::max(size, 1) + space;
  const std::int64_t cutAt = std::int64_t{s.m_rcClient.right} - 2;
  Box chunk{area.left, area.top, std::int64_t{area.left} + size, area.bottom};
  std::optional<Rect> stamp;  // the first whole chunk drawn, copied for the others
  std::int64_t copies = 0;    // the whole chunks after it, copied once the loop is done
  while (chunk.right <= area.right) {
    const Rect rc = chunk.ToRect();
    if (stamp) {
      ++copies;
    } else if (ops_.DrawThemeBackground(s.m_hTheme, dc, kPartChunk, 1, rc, &area) && opaque &&
               s.m_bOffscreen && !rc.IsEmpty() && rc.left >= 0 && rc.top >= 0 && rc.right <= dc.Width() &&
               rc.bottom <= dc.Height()) {
      stamp = rc;
    }
    chunk.left += step;
    chunk.right += step;
    result_.m_lSplit = ToInt32(chunk.left);
    // A full bar ends in a chunk cut at the inside of the border; the caption changes
    // colour where that chunk ends.
    if (s.m_dFraction > kFullFraction && chunk.right > cutAt) {
      chunk.right = cutAt;
      ops_.DrawThemeBackground(s.m_hTheme, dc, kPartChunk, 1, chunk.ToRect(), &area);
      if (chunk.left < cutAt) result_.m_lSplit = ToInt32(cutAt);
      break;
    }
  }
  if (stamp) RepeatStamp(dc, *stamp, step, copies);
}

void FillRenderer::RepeatStamp(Surface& dc, const Rect& stamp, std::int64_t step, std::int64_t copies) {
  if (copies <= 0) return;
  const int width = stamp.Width(), height = stamp.Height();
  const std::int64_t end = stamp.left + copies * step + width;
  // Copying chunks together with the gaps between them doubles the run each time, but
  // writes the gaps' pixels elsewhere: exact only where the gaps hold one colour per row.
  const Rect gaps{stamp.right, stamp.top, ToInt32(end - width), stamp.bottom};
  if (gaps.IsEmpty() || RowsAreUniform(dc, gaps)) {
    for (std::int64_t have = 1; have <= copies;) {
      const std::int64_t more = std::min(have, copies + 1 - have);
      dc.CopyFrom(ToInt32(stamp.left + have * step), stamp.top, ToInt32((more - 1) * step + width), height, dc,
                  stamp.left, stamp.top);
      have += more;
    }
    return;
  }
  for (std::int64_t k = 1; k <= copies; ++k)
    dc.CopyFrom(ToInt32(stamp.left + k * step), stamp.top, width, height, dc, stamp.left, stamp.top);
}

bool FillRenderer::RowsAreUniform(Surface& dc, const Rect& band) {
  const int width = band.Width(), height = band.Height();
  if (width < 2 || height <= 0) return false;
  // Read back in pieces through one section that only grows, so that a band whose width
  // follows the fill makes no new section (nor any allocation) on most paints. Each piece
  // after the first starts on the last column of the one before.
  const int piece = std::min(width, kBandPiece);
  if (!band_) band_ = std::make_unique<CDib32>(platform_);
  if ((band_->Width() < piece || band_->Height() < height) &&
      !band_->Recreate(std::max(piece, band_->Width()), std::max(height, band_->Height())))
    return false;
  auto* const bits = reinterpret_cast<std::uint32_t*>(band_->Bits());
  if (!bits || !band_->DC()) return false;
  if (rowColours_.size() < static_cast<std::size_t>(height)) rowColours_.resize(static_cast<std::size_t>(height));
  const int stride = band_->Width();
  // Top-down row y of the band lands in memory row Height() - 1 - y.
  const auto row = [&](int y) { return bits + static_cast<std::size_t>(band_->Height() - 1 - y) * stride; };
  for (int x0 = 0; x0 < width - 1;) {
    const int w = std::min(piece, width - x0);
    // Two colours in every row until the copy overwrites them: a copy refused reads as
    // not uniform.
    for (int y = 0; y < height; ++y) {
      row(y)[0] = 0;
      row(y)[w - 1] = 0xFFFFFF;
    }
    band_->DC()->CopyFrom(0, 0, w, height, dc, band.left + x0, band.top);
    for (int y = 0; y < height; ++y) {
      const std::uint32_t* pixels = row(y);
      if (x0 == 0) rowColours_[static_cast<std::size_t>(y)] = pixels[0];
      const std::uint32_t colour = rowColours_[static_cast<std::size_t>(y)];
      for (int x = 0; x < w; ++x)
        if ((pixels[x] ^ colour) & 0xFFFFFF) return false;
    }
    x0 += w - 1;
  }
  return true;
}

void FillRenderer::DrawXPChunksHorizontal(Surface& dc) {
  const PaintSnapshot& s = *s_;
  const bool smooth = Smooth();
  const int size = ClampMetric(s.m_lChunk);
  const int space = smooth ? 0 : 2;
  const std::int64_t step = std::max(size, 1) + space;
  const std::int64_t cutAt = std::int64_t{s.m_rcClient.right} - 2;
  // Smooth 1-pixel chunks start one pixel further out, right against the border.
  const std::int64_t left = std::int64_t{s.m_rcFill.left} + (smooth ? 2 : 3);
  Box chunk{left, 3, left + size, std::int64_t{s.m_rcClient.bottom} - 2};
  while (chunk.right <= s.m_rcFill.right) {
    DrawXPChunk(dc, chunk, size, true);
    result_.m_lSplit = ToInt32(chunk.right);
    chunk.left += step;
    chunk.right += step;
    // A full bar ends in a chunk cut at the inside of the border; its gradient strips
    // keep their full length, and the border drawn over them hides the rest.
    if (s.m_dFraction > kFullFraction && chunk.right > cutAt) {
      chunk.right = cutAt;
      DrawXPChunk(dc, chunk, size, true);
      // The caption changes colour where the cut chunk ends, not before it.
      if (chunk.left < cutAt) result_.m_lSplit = ToInt32(cutAt);
      break;
    }
  }
}

void FillRenderer::DrawFlatChunksHorizontal(Surface& dc) {
  const PaintSnapshot& s = *s_;
  const bool smooth = Smooth();
  const bool thin = s_->m_lStyle == eProgThin;
  // Chunks sit three pixels in, one less in the thin border and one less again when
  // smooth; only the thin smooth fill reaches down to the one-pixel border.
  const int inset = 3 - (thin ? 1 : 0) - (smooth ? 1 : 0);
  const std::int64_t bottom = std::int64_t{s.m_rcClient.bottom} - (thin && smooth ? 1 : 2);
  const int size = ClampMetric(s.m_lChunk);
  const std::int64_t step = std::max(size, 1) + (smooth ? 0 : 1);
  const std::int64_t left = std::int64_t{s.m_rcFill.left} + inset;
  Box chunk{left, inset, left + size, bottom};
  // The last chunk starts at or before the fill end and may reach past it.
  while (chunk.left <= s.m_rcFill.right) {
    if (!drawn_ || chunk.left > drawn_->right) {
      ops_.FillRectColor(chunk.ToRect(), result_.m_lFillColor, dc);
      DrawBorder(dc, chunk);
    }
    result_.m_lSplit = ToInt32(chunk.right);
    chunk.left += step;
    chunk.right += step;
  }
}

void FillRenderer::DrawXPChunksVertical(Surface& dc) {
  const PaintSnapshot& s = *s_;
  const int size = ClampMetric(s.m_lChunk);
  const int space = Smooth() ? 0 : 2;
  const std::int64_t step = std::max(size, 1) + space;
  const std::int64_t bottom = std::int64_t{s.m_rcClient.bottom};
  // The first chunk's top lies the space above where its height alone would put it,
  // so without a space it is empty.
  Box chunk{std::int64_t{s.m_rcFill.left} + 2, bottom - size - space,
            std::int64_t{s.m_rcFill.right} - 2, bottom - 2};
  while (chunk.top >= s.m_rcFill.top) {
    DrawXPChunk(dc, chunk, size, false);
    result_.m_lSplit = ToInt32(chunk.top);
    chunk.bottom -= step;
    chunk.top = chunk.bottom - size;
  }
}

void FillRenderer::DrawFlatChunksVertical(Surface& dc) {
  const PaintSnapshot& s = *s_;
  const int size = ClampMetric(s.m_lChunk);
  const int space = Smooth() ? 0 : 1;
  const std::int64_t step = std::max(size, 1) + space;
  const std::int64_t bottom = std::int64_t{s.m_rcClient.bottom};
  Box chunk{std::int64_t{s.m_rcFill.left} + 1, bottom - size - space,
            std::int64_t{s.m_rcFill.right} - 1, bottom - 1};
  while (chunk.top >= s.m_rcFill.top) {
    if (!drawn_ || chunk.top < drawn_->top) {
      ops_.FillRectColor(chunk.ToRect(), result_.m_lFillColor, dc);
      DrawBorder(dc, chunk);
    }
    result_.m_lSplit = ToInt32(chunk.top);
    chunk.bottom -= step;
    chunk.top = chunk.bottom - size;
  }
}

void FillRenderer::DrawXPChunk(Surface& dc, const Box& chunk, int strip, bool horizontal) {
  const ColorRef fill = result_.m_lFillColor;
  const ColorRef nearEdge = LightenColor(fill, kLightNear);
  const ColorRef farEdge = LightenColor(fill, kLightFar);
  const Rect rc = chunk.ToRect();
  ops_.FillRectColor(rc, fill, dc);
  if (horizontal) {
    ops_.GradientRect(dc, rc.left, rc.top, strip, kStripLength, nearEdge, fill, GradientDirection::kVertical);
    ops_.GradientRect(dc, rc.left, ToInt32(chunk.bottom - kStripLength), strip, kStripLength, fill, farEdge,
                     GradientDirection::kVertical);
  } else {
    ops_.GradientRect(dc, rc.left, rc.top, kStripLength, strip, nearEdge, fill, GradientDirection::kHorizontal);
    ops_.GradientRect(dc, ToInt32(chunk.right - kStripLength), rc.top, kStripLength, strip, fill, farEdge,
                     GradientDirection::kHorizontal);
  }
  DrawBorder(dc, chunk);
}

void FillRenderer::DrawBorder(Surface& dc, const Box& chunk) {
  if (borders_) ops_.FrameRectColor(chunk.ToRect(), border_, dc);
}

void FillRenderer::TileProgressPicture(Surface& dc, int x, int y, int width, int height) {
  CDib24 copy(platform_);
  copy.CreateFromPicture(s_->m_oProgressPicture);
  // A picture that could not be copied has no surface and draws nothing.
  if (const Surface* source = copy.DC())
    ops_.TileBitmap(dc, x, y, width, height, *source, copy.Width(), copy.Height(), 0, 0);
  copy.Release();
}

}  // namespace vantiq
