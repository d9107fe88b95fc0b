#include "caption/mod_utf8.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/mod_version_ex.h"

namespace vantiq::modUTF8 {
namespace {

std::u16string ReplaceCrLf(std::u16string text) {
  static const std::u16string kCrLf = u"\r\n";
  static const std::u16string kBreak = u"<br>";
  for (std::size_t at = text.find(kCrLf); at != std::u16string::npos;
       at = text.find(kCrLf, at + kBreak.size())) {
    text.replace(at, kCrLf.size(), kBreak);
  }
  return text;
}

// Decoding without the platform's UTF-8 code page: one-, two- and three-byte forms.
std::u16string DecodeAnsiPath(Platform& platform, const std::string& bytes) {
  const std::uint32_t acp = platform.GetACP();
  const auto ansiChar = [&](char b) {
    return platform.MultiByteToWideChar(acp, std::string(1, b));
  };
  std::u16string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned b0 = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = b0 < 0x80 ? 1 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 0;
    if (length == 1) {
      out += static_cast<char16_t>(b0);
      ++i;
    } else if (length == 0 || bytes.size() - i < length) {
      // Not a lead byte, or a sequence the text cuts short: this byte as it stands.
      out += ansiChar(bytes[i]);
      ++i;
    } else {
      const auto b = [&](std::size_t k) {
        return static_cast<unsigned char>(bytes[i + k]) & 0x3Fu;
      };
      out += static_cast<char16_t>(length == 2 ? ((b0 & 0x1Fu) << 6) | b(1)
                                               : ((b0 & 0x0Fu) << 12) | (b(1) << 6) | b(2));
      i += length;
    }
  }
  return out;
}

// Encoding without the platform: every unit on its own, surrogate halves included.
std::string EncodeAnsiPath(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= 0x800) {
      out += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xC0 | ((c >> 6) & 0x1F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Every byte below 0x80 is a whole UTF-8 character, the same in every ANSI code page:
// such text decodes and encodes to itself.
bool IsAscii(const std::u16string& text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

}  // namespace

std::u16string Utf8ToUnicode(Platform& platform, const std::u16string& text) {
  if (text.empty()) return {};
  if (modVersionEx::IsWinNT(platform)) {
    return platform.MultiByteToWideChar(kCodePageUtf8,
                                        platform.WideCharToMultiByte(kCodePage1252, text));
  }
  return DecodeAnsiPath(platform, platform.WideCharToMultiByte(platform.GetACP(), text));
}

std::u16string UnicodeToUtf8(Platform& platform, const std::u16string& text, bool bBreakTags) {
  if (text.empty()) return {};
  std::u16string result =
      modVersionEx::IsWinNT(platform)
          ? platform.MultiByteToWideChar(kCodePage1252,
                                         platform.WideCharToMultiByte(kCodePageUtf8, text))
          : platform.MultiByteToWideChar(platform.GetACP(), EncodeAnsiPath(text));
  return bBreakTags ? ReplaceCrLf(std::move(result)) : result;
}

std::u16string DecodeIfUtf8(Platform& platform, const std::u16string& text) {
  if (IsAscii(text)) return text;
  std::u16string decoded = Utf8ToUnicode(platform, text);
  return UnicodeToUtf8(platform, decoded, true) == text ? decoded : text;
}

void DecodeIfUtf8(Platform& platform, const std::u16string& text, std::u16string& out) {
  if (IsAscii(text))
    out = text;
  else
    out = DecodeIfUtf8(platform, text);
}

}  // namespace vantiq::modUTF8
