// The scripted code pages against the real ones, on the Windows version Wine reports.
// The portable headers come before <windows.h> and its macros.
#include "backends/soft/scriptable_platform.h"

#include <gtest/gtest.h>

#include <string>

#include "backends/gdi/gdi_platform.h"

namespace vantiq {
namespace {

// Every one- and two-byte string and, after every 16th second byte of each lead, tails
// that complete, break off or cut short the sequence (overlong forms, surrogates and
// code points above U+10FFFF among them); Windows-1252's every byte; then encoding.
TEST(Utf8Oracle, ScriptedCodePagesConvertAsTheRealOnes) {
  GdiPlatform real;
  ScriptablePlatform scripted;
  ASSERT_TRUE(real.GetVersionExA(scripted.version));
  int failures = 0;
  const auto compare = [&](std::uint32_t codePage, const std::string& bytes) {
    if (scripted.MultiByteToWideChar(codePage, bytes) !=
            real.MultiByteToWideChar(codePage, bytes) &&
        ++failures <= 5) {
      ADD_FAILURE() << codePage << ": " << ::testing::PrintToString(bytes);
    }
  };
  std::string all;
  for (int a = 0; a < 256; ++a) {
    all += static_cast<char>(a);
    compare(kCodePageUtf8, {static_cast<char>(a)});
    for (int b = 0; b < 256; ++b) {
      const std::string two{static_cast<char>(a), static_cast<char>(b)};
      compare(kCodePageUtf8, two);
      if (a < 0xC2 || (b & 0x0F) != 0) continue;
      for (const char* tail : {"A", "\x80", "\xBF", "\xC3", "\x80\x80",
                               "\x9F"
                               "z",
                               "\xBF\xBF"}) {
        compare(kCodePageUtf8, two + tail);
      }
    }
  }
  compare(kCodePage1252, all);
  EXPECT_EQ(failures, 0);

  // Windows-1252's own characters and two without a look-alike: the real page's
  // best-fit letters for others (U+0100 to A) are not modelled.
  const std::u16string texts[] = {u"\u00E9\u20AC\uFFFF\u0800\u07FF",
                                  u"\U0001F601\U0010FFFF",
                                  {0xD83D},
                                  {u'a', 0xDE01},
                                  {0xDE01, 0xD83D},
                                  {0xD83D, 0xD83D, 0xDE01},
                                  real.MultiByteToWideChar(kCodePage1252, all) + u"\u0080\u4E00"};
  for (const std::u16string& text : texts) {
    for (std::uint32_t codePage : {kCodePageUtf8, kCodePage1252}) {
      EXPECT_EQ(scripted.WideCharToMultiByte(codePage, text),
                real.WideCharToMultiByte(codePage, text))
          << codePage;
    }
  }
}

}  // namespace
}  // namespace vantiq
