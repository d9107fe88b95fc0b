// UTF-8 held one byte per character: text whose every UTF-16 unit is the character
// that one byte of UTF-8 gives in an ANSI code page, as hosts hand over bytes they
// read without knowing the encoding. On NT-family systems that code page is
// Windows-1252 (locale 1033) and the conversions go through the platform's UTF-8 code
// page; on other systems it is the system's ANSI code page and the conversion is done
// here, for characters up to U+FFFF only.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantiq::modUTF8 {

// Decodes UTF-8 held one byte per character. On NT systems invalid pieces follow the
// platform (U+FFFD from Vista on, dropped before). Elsewhere a byte from 0x80 to 0xC1
// where a sequence would start is read as its ANSI character, continuation bytes are
// not checked, and a sequence cut short by the end of the text gives each of its bytes
// as its ANSI character.
std::u16string Utf8ToUnicode(Platform& platform, const std::u16string& text);

// Encodes to UTF-8, one byte per character of the result. With bBreakTags every CR LF
// pair of the result becomes "<br>".
std::u16string UnicodeToUtf8(Platform& platform, const std::u16string& text, bool bBreakTags);

// The decoded text when re-encoding it (with bBreakTags) gives back `text` exactly,
// otherwise `text` unchanged: plain ASCII, and any text with a CR LF, come back as
// they are.
std::u16string DecodeIfUtf8(Platform& platform, const std::u16string& text);
// The same written into `out` (not `text` itself), whose storage is reused: plain ASCII
// is copied without a conversion.
void DecodeIfUtf8(Platform& platform, const std::u16string& text, std::u16string& out);

}  // namespace vantiq::modUTF8
