// The filled part of the bar in each look and orientation, the colours it is drawn
// in, and where the drawn fill ends (m_lSplit), which splits the caption in two.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/types.h"
#include "draw/surface.h"
#include "platform/platform.h"
#include "render/drawing_ops.h"
#include "render/paint_snapshot.h"

namespace vantiq {

class CDib32;

// The fill colour of the XP style file under one of its three standard colour
// schemes; none for any other scheme or style. Both names upper case.
std::optional<ColorRef> LunaSchemeColor(const std::u16string& themeFile, const std::u16string& colorName);

// Per channel trunc(c1 * weight / 255) + trunc(c2 * (255 - weight) / 255), weight
// 0-255, both colours translated first.
ColorRef BlendColors(const DrawingOps& ops, OleColor c1, OleColor c2, int weight);

// ProgressColor, or for the automatic colour the highlight colour, which in the
// themed mode gives way to the Luna scheme's own colour.
ColorRef ResolveFillColor(const PaintSnapshot& s, const DrawingOps& ops);

// SegmentBorderColor, or for the automatic colour the automatic fill colour (from
// highlight or scheme, never ProgressColor) darkened to half.
ColorRef ResolveSegmentBorderColor(const PaintSnapshot& s, const DrawingOps& ops);

// Past this fraction a chunked fill ends in a chunk cut at the inside of the border.
constexpr double kFullFraction = 0.998;

// A chunk or block position. Positions step in 64 bits so that no step past the far
// edge can overflow; drawing takes them back into the 32-bit range.
struct Box {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;

  Rect ToRect() const;
};

// Saturates to the 32-bit range.
std::int32_t ToInt32(std::int64_t v);

class FillRenderer {
 public:
  // Without `copyChunks` every themed chunk is drawn by the theme: the reference the
  // copies of an opaque chunk are held to.
  FillRenderer(Platform& platform, const DrawingOps& ops, bool copyChunks = true);
  ~FillRenderer();
  FillRenderer(const FillRenderer&) = delete;
  FillRenderer& operator=(const FillRenderer&) = delete;

  // Draws the fill and says where it ends and in which colour; marquee scrolling goes
  // to the marquee renderer. `drawn` is the fill rectangle of a fill of flat chunks
  // drawn from the same inputs that dc already shows and s's fill extends: its chunks
  // sit where s's first ones go and are not drawn again.
  FillResult DrawFill(const PaintSnapshot& s, Surface& dc, const std::optional<Rect>& drawn = std::nullopt);

 private:
  bool ThemedChunks() const;
  bool Smooth() const;
  void DrawHorizontal(Surface& dc);
  void DrawVertical(Surface& dc);
  void DrawThemedChunksHorizontal(Surface& dc);
  // `copies` more of the chunk drawn at `stamp`, each `step` further on.
  void RepeatStamp(Surface& dc, const Rect& stamp, std::int64_t step, std::int64_t copies);
  // Whether each row of `band` on dc is one colour.
  bool RowsAreUniform(Surface& dc, const Rect& band);
  void DrawXPChunksHorizontal(Surface& dc);
  void DrawFlatChunksHorizontal(Surface& dc);
  void DrawXPChunksVertical(Surface& dc);
  void DrawFlatChunksVertical(Surface& dc);
  // One XP chunk: the fill, its two light gradient strips `strip` long, its border.
  void DrawXPChunk(Surface& dc, const Box& chunk, int strip, bool horizontal);
  void DrawBorder(Surface& dc, const Box& chunk);
  void TileProgressPicture(Surface& dc, int x, int y, int width, int height);

  Platform& platform_;
  const DrawingOps& ops_;
  // The paint being drawn, for the duration of DrawFill.
  const PaintSnapshot* s_ = nullptr;
  std::optional<Rect> drawn_;  // for the duration of DrawFill
  FillResult result_;
  ColorRef border_ = 0;  // resolved once per fill when borders are drawn
  bool borders_ = false;
  bool copyChunks_;
  // RowsAreUniform's read-back: pieces at most kBandPiece wide, and each row's colour.
  static constexpr int kBandPiece = 256;
  std::unique_ptr<CDib32> band_;
  std::vector<std::uint32_t> rowColours_;
};

}  // namespace vantiq
