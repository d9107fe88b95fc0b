// Windows-1252, the ANSI code page of US English systems, one character per byte.
#pragma once

namespace vantiq {

// The character of a byte. The five bytes the page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the C1 controls of the same number, so every byte survives a
// round trip.
char16_t Cp1252ToUnicode(unsigned char b);
// The byte of a character; '?' for one outside the page. (The real page maps many of
// them to a look-alike first, U+0100 to A; none of that is modelled.)
char UnicodeToCp1252(char16_t c);

}  // namespace vantiq
