// UTF-8 held one byte per character on Windows 98 (decoded here), XP (the platform
// drops invalid pieces) and 7 (it puts U+FFFD for each). Any text on each path is the
// fuzz target's.
#include "caption/mod_utf8.h"

#include <gtest/gtest.h>

#include "backends/soft/scriptable_platform.h"

namespace vantiq {
namespace {

namespace mu = modUTF8;
const char* const kVersions[] = {"win98", "winxp", "win7"};

// Bytes as a host holds them: one Windows-1252 character each.
std::u16string Held(const std::string& bytes) {
  static ScriptablePlatform p;
  return p.MultiByteToWideChar(kCodePage1252, bytes);
}

TEST(Utf8Tests, DecodeOnEachPath) {
  struct Case {
    std::string bytes;
    std::u16string win98, xp, win7;
  };
  // clang-format off
  const Case cases[] = {
      {"\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC", u"\u00E9\u20AC", u"\u00E9\u20AC"},
      // Windows-1252 on 98; its five undefined bytes stand for the C1 controls.
      {"\x80\x81\x8D\x8F\x90\x9D\x9F", u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178", u"",
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xC0" "AB", u"\u00C0" "AB", u"AB", u"\uFFFD" "AB"},
      {"\x80\xC1\xBF", u"\u20AC\u00C1\u00BF", u"", u"\uFFFD\uFFFD\uFFFD"},
      {"\xE0\x80\x80", {u'\0'}, u"", u"\uFFFD\uFFFD"},            // overlong: lead and first byte
      {"\xF0\x80\x80\x80", {u'\0', u'\u20AC'}, u"", u"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80z", {0xD800, u'z'}, u"z", u"\uFFFD\uFFFDz"},  // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\u4400\u20AC", u"", u"\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE2\x82" "A", u"\u2081", u"A", u"\uFFFD" "A"},  // continuation unchecked on 98
      {"A\xE2\x82", u"A\u00E2\u201A", u"A", u"A\uFFFD"},  // cut short by the end
      {"A\xF0\x9F" "B", u"A\u07C2", u"A", u"A\uFFFD"},    // ... taking B with it on NT
      {"\xF0\x9F\x98\x81", u"\u07D8\u0081", u"\U0001F601", u"\U0001F601"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const std::u16string* expected[] = {&c.win98, &c.xp, &c.win7};
    for (int v = 0; v < 3; ++v) {
      ScriptablePlatform p;
      p.SetVersion(kVersions[v]);
      EXPECT_EQ(mu::Utf8ToUnicode(p, Held(c.bytes)), *expected[v])
          << kVersions[v] << " " << &c - cases;
    }
  }
}

TEST(Utf8Tests, EncodeAndDecodeIfUtf8OnEachPath) {
  struct Case {
    const char* version;
    std::u16string in;
    bool breakTags;
    std::string bytes;
  };
  // clang-format off
  const Case cases[] = {
      {"win98", u"\U0001F601\u00E9", false, "\xED\xA0\xBD\xED\xB8\x81\xC3\xA9"},
      {"win7", u"\U0001F601", false, "\xF0\x9F\x98\x81"},
      {"win7", {u'a', 0xD83D}, false, "a\xEF\xBF\xBD"},  // lone surrogate: U+FFFD
      {"winxp", {0xDE01, u'a'}, false, "\xED\xB8\x81" "a"},  // ... encoded as it stands
      {"win7", u"a\r\nb\r\r\n\n", true, "a<br>b\r<br>\n"},
  };
  // clang-format on
  for (const Case& c : cases) {
    ScriptablePlatform p;
    p.SetVersion(c.version);
    EXPECT_EQ(mu::UnicodeToUtf8(p, c.in, c.breakTags), Held(c.bytes)) << &c - cases;
  }
  for (const char* version : kVersions) {
    ScriptablePlatform p;
    p.SetVersion(version);
    // Both forms, the second writing over what a longer text left.
    std::u16string out;
    const auto decoded = [&](const std::u16string& text) {
      out = u"a text longer than any of these";
      mu::DecodeIfUtf8(p, text, out);
      const std::u16string returned = mu::DecodeIfUtf8(p, text);
      return returned == out ? returned : u"the two forms differ: " + returned + u" / " + out;
    };
    for (const char* same : {"", "Progress 42%", "one\r\ntwo", "\xC3\xA9\r\n", "\xE9t\xE9", "\xC3"})
      EXPECT_EQ(decoded(Held(same)), Held(same)) << version;
    EXPECT_EQ(decoded(Held("caf\xC3\xA9")), u"caf\u00E9") << version;
  }
}

}  // namespace
}  // namespace vantiq
