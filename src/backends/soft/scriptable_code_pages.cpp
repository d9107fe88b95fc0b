// The scripted platform's code pages: UTF-8 as Windows converts it without flags, and
// Windows-1252. These are the only code pages it has; conversions with any other fail.
#include "backends/soft/scriptable_platform.h"

#include "backends/soft/cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vantiq {
namespace {

constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
constexpr char16_t kReplacement = 0xFFFD;

// Reads one sequence whose lead byte b (0x80 or above) sits just before bytes[i], and
// moves i past what the sequence takes. Answers its code point, or kInvalid for an
// invalid piece: a byte that cannot lead (0x80-0xC1, 0xF5-0xFF) alone; an overlong
// form, an encoded surrogate or a code point above U+10FFFF together with the first
// continuation byte that shows it (the second one for the last case, which stays
// unread); a lead followed by a byte that does not continue it, alone. A sequence cut
// short by the end of the input is one invalid piece that takes the rest.
std::uint32_t ReadSequence(unsigned char b, const std::string& bytes, std::size_t& i) {
  const std::size_t need = b >= 0xC2 && b <= 0xDF   ? 1
                           : b >= 0xE0 && b <= 0xEF ? 2
                           : b >= 0xF0 && b <= 0xF4 ? 3
                                                    : 0;
  if (need == 0) return kInvalid;
  if (bytes.size() - i < need) {
    i = bytes.size();
    return kInvalid;
  }
  std::uint32_t value = b & (0x7F >> (need + 1));
  for (std::size_t left = need; left > 0; --left) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if ((c & 0xC0) != 0x80) return kInvalid;
    const std::uint32_t next = (value << 6) | (c & 0x3F);
    if (left == 2 && need == 3 && next >= (0x110000 >> 6)) return kInvalid;
    ++i;
    value = next;
    if (left == 3 && value < (0x10000 >> 12)) return kInvalid;
    if (left == 2 && need == 2 &&
        (value < (0x800 >> 6) || (value >= (0xD800 >> 6) && value <= (0xDFFF >> 6)))) {
      return kInvalid;
    }
  }
  return value;
}

std::u16string Utf8ToUtf16(const std::string& bytes, bool replaceInvalid) {
  std::u16string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char b = static_cast<unsigned char>(bytes[i++]);
    if (b < 0x80) {
      out += b;
      continue;
    }
    const std::uint32_t cp = ReadSequence(b, bytes, i);
    if (cp == kInvalid) {
      if (replaceInvalid) out += kReplacement;
    } else if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 | ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 | ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A lone surrogate becomes U+FFFD when `replaceLone`, else the three bytes of its own
// number.
std::string Utf16ToUtf8(const std::u16string& text, bool replaceLone) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (replaceLone && (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace

// Vista changed the flagless UTF-8 conversions from dropping what is invalid to
// replacing it; the answer follows the scripted version record.
std::u16string ScriptablePlatform::MultiByteToWideChar(std::uint32_t codePage,
                                                       const std::string& bytes) {
  if (codePage == kCodePageUtf8) return Utf8ToUtf16(bytes, version.dwMajorVersion >= 6);
  if (codePage != kCodePage1252) return {};
  std::u16string out;
  for (char b : bytes) out += Cp1252ToUnicode(static_cast<unsigned char>(b));
  return out;
}

std::string ScriptablePlatform::WideCharToMultiByte(std::uint32_t codePage,
                                                    const std::u16string& text) {
  if (codePage == kCodePageUtf8) return Utf16ToUtf8(text, version.dwMajorVersion >= 6);
  if (codePage != kCodePage1252) return {};
  std::string out;
  for (char16_t c : text) out += UnicodeToCp1252(c);
  return out;
}

}  // namespace vantiq
