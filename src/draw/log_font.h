// The font description the text operations take: the fields of a LOGFONTW, so that the
// GDI surface can create the font as it stands and the software surface can find the
// same face and size. The face name is UTF-16: a name outside any ANSI code page (a
// Japanese caption font, say) reaches the font mapper exactly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantiq {

struct LogFont {
  std::int32_t lfHeight = 0;       // negative: the character height in pixels
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;   // tenths of a degree, anticlockwise; 900 runs upward
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 400;     // 700 is bold
  std::uint8_t lfItalic = 0;       // non-zero: true
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;      // 4 antialiased, 5 cleartype
  std::uint8_t lfPitchAndFamily = 0;
  std::array<char16_t, 32> lfFaceName{};  // UTF-16, zero-terminated
  // A font the platform realised already (the font object's own handle): the GDI
  // surface selects it as it is instead of creating one from the fields above, which
  // still describe it for the software surface. 0 for none.
  std::uintptr_t nativeFont = 0;

  std::u16string FaceName() const { return std::u16string(lfFaceName.data()); }
  // Copies at most 31 units, keeping the terminating zero; a surrogate pair the limit
  // would split is left out whole.
  void SetFaceName(std::u16string_view name);

  bool operator==(const LogFont& other) const;
  bool operator!=(const LogFont& other) const { return !(*this == other); }
};

// The DrawText flags the caption uses; no other flag is ever passed.
constexpr std::uint32_t kDtLeft = 0x0;
constexpr std::uint32_t kDtCenter = 0x1;
constexpr std::uint32_t kDtRight = 0x2;
constexpr std::uint32_t kDtVCenter = 0x4;
constexpr std::uint32_t kDtSingleLine = 0x20;

// GetTextExtentPoint32's answer: width and height in pixels.
struct TextExtent {
  int cx = 0;
  int cy = 0;
};

}  // namespace vantiq
