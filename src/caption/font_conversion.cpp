#include "caption/font_conversion.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/mod_version_ex.h"

namespace vantiq {
namespace {

// MulDiv: a * b / c rounded half away from zero; -1 for c = 0 or a result beyond 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::llabs(product) + std::llabs(std::int64_t{c}) / 2) /
                                 std::llabs(std::int64_t{c});
  const std::int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<std::int32_t>(result);
}

// A size as a whole number of points, ties to even, held inside 32 bits.
std::int32_t RoundedPoints(double size) {
  if (!(size > -1e9 && size < 1e9)) return 0;
  return static_cast<std::int32_t>(std::nearbyint(size));
}

void CopyStyles(const FontObject& font, LogFont& lf) {
  lf.lfItalic = font.Italic() ? 0xFF : 0;
  lf.lfUnderline = font.Underline() ? 0xFF : 0;
  lf.lfStrikeOut = font.Strikethrough() ? 0xFF : 0;
  lf.lfCharSet = static_cast<std::uint8_t>(font.Charset() & 0xFF);
  font.CopyNameTo(lf);
}

}  // namespace

LogFont CaptionLogFont(const FontObject& font, int logPixelsY) {
  LogFont lf;
  const double pixels = font.Size() * logPixelsY / 72.0;
  if (pixels > 0 && pixels < 1e6) {
    const double whole = std::floor(pixels);
    lf.lfHeight = -static_cast<std::int32_t>(pixels - whole > 0.5 ? whole + 1 : whole);
  }
  lf.lfWeight = font.Weight();
  CopyStyles(font, lf);
  lf.nativeFont = font.FontHandle();
  return lf;
}

namespace modFontConversion {

LogFont FontToLogFont(const FontObject& font, const Surface* dc, bool bForceBold,
                      Platform& platform) {
  LogFont lf;
  const int dpi = dc ? dc->LogPixelsY() : platform.ScreenLogPixelsY();
  lf.lfHeight = -MulDiv(RoundedPoints(font.Size()), dpi, 72);
  lf.lfWidth = 0;
  lf.lfWeight = font.Bold() || bForceBold ? 700 : 400;
  lf.lfQuality = modVersionEx::IsWinXP(platform) ? 5 : 4;
  CopyStyles(font, lf);
  return lf;
}

}  // namespace modFontConversion
}  // namespace vantiq
