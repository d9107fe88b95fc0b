#include "draw/log_font.h"

#include <algorithm>
#include <tuple>

namespace vantiq {

void LogFont::SetFaceName(std::u16string_view name) {
  lfFaceName.fill(0);
  std::size_t n = std::min<std::size_t>(name.size(), lfFaceName.size() - 1);
  const auto isHighSurrogate = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  if (n < name.size() && n > 0 && isHighSurrogate(name[n - 1])) --n;
  std::copy_n(name.begin(), n, lfFaceName.begin());
}

bool LogFont::operator==(const LogFont& o) const {
  const auto key = [](const LogFont& f) {
    return std::tie(f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight, f.lfItalic,
                    f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision,
                    f.lfQuality, f.lfPitchAndFamily, f.lfFaceName, f.nativeFont);
  };
  return key(*this) == key(o);
}

}  // namespace vantiq
