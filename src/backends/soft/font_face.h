// Fonts for the software surface's text: FreeType faces realised the way GDI's
// FreeType font engine realises a LOGFONT (size, text metrics, hinting, coverage
// levels, glyph boxes and advances), so that text drawn in software lands on the pixels
// GDI gives it. Built only where FreeType is linked (VANTIQ_SOFT_TEXT); elsewhere the
// software surface has no glyphs.
#pragma once

#if VANTIQ_SOFT_TEXT

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "draw/log_font.h"

namespace vantiq::soft_text {

// A glyph as the DIB driver caches it: coverage in 17 levels (0 none to 16 full), rows
// top down. The box sits `left` pixels right of the pen and `top` pixels above the
// baseline; the pen then moves by (advance_x, advance_y), y growing downward.
struct Glyph {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int advance_x = 0;
  int advance_y = 0;
  std::vector<std::uint8_t> levels;
};

// TEXTMETRIC and OUTLINETEXTMETRIC values the text layout reads, in pixels. Positions
// count upward from the baseline.
struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;
  int underline_position = 0;
  int underline_size = 0;
  int strikeout_position = 0;
  int strikeout_size = 0;
};

class Font {
 public:
  struct Setup;
  explicit Font(const Setup& setup);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  bool Loaded() const { return face_ != nullptr; }
  const FontMetrics& Metrics() const { return metrics_; }
  // The width GetTextExtentPoint counts for c: its hinted advance, unrotated.
  int Advance(char16_t c);
  // The glyph ExtTextOut draws for c, rotated and slanted as the font is.
  const Glyph& GlyphFor(char16_t c);

 private:
  struct Matrices;
  unsigned GlyphIndex(char16_t c) const;
  Glyph Rasterize(char16_t c) const;

  void* face_ = nullptr;  // FT_Face
  std::shared_ptr<const std::vector<unsigned char>> file_;
  int ppem_ = 0;
  bool mono_ = false;
  bool fake_bold_ = false;
  bool fake_italic_ = false;
  std::unique_ptr<Matrices> matrices_;  // null when glyphs are neither slanted nor rotated
  FontMetrics metrics_;
  std::unordered_map<char16_t, int> advances_;
  std::unordered_map<char16_t, Glyph> glyphs_;
};

// The font realised for `font`: shared, cached, and null when no face file can be read.
// Hold TextLock() while realising fonts and while using them and their glyphs.
std::shared_ptr<Font> RealizeFont(const LogFont& font);
std::mutex& TextLock();

}  // namespace vantiq::soft_text

#endif  // VANTIQ_SOFT_TEXT
