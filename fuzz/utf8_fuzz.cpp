// The UTF-8 conversions on the three paths (9x decodes itself; XP's code page drops
// invalid pieces, 7's puts U+FFFD): any text in, decoding never lengthens it, and what
// DecodeIfUtf8 returns is either the text itself or a decoding that re-encodes to it exactly.

#include "backends/soft/scriptable_platform.h"
#include "caption/mod_utf8.h"
#include "fuzz_input.h"

namespace {

vantiq::ScriptablePlatform& PlatformFor(int path) {
  // The version tests remember their answers per thread, so each path keeps its own
  // platform and the NT test (asked every time) decides the path.
  static vantiq::ScriptablePlatform* const platforms = [] {
    auto* p = new vantiq::ScriptablePlatform[3];
    p[0].SetVersion("win98");
    p[1].SetVersion("winxp");
    p[2].SetVersion("win7");
    return p;
  }();
  return platforms[path];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantiq::fuzz::FuzzInput in(data, size);
  const std::uint8_t mode = in.Byte();
  vantiq::Platform& platform = PlatformFor((mode & 1) ? ((mode & 8) ? 2 : 1) : 0);
  const std::u16string text = (mode & 2) ? in.RestAsText() : in.ByteText(1 << 16);
  if (vantiq::modUTF8::Utf8ToUnicode(platform, text).size() > text.size()) vantiq::fuzz::Fail("decoding lengthened the text");
  const std::u16string decoded = vantiq::modUTF8::DecodeIfUtf8(platform, text);
  if (decoded != text && vantiq::modUTF8::UnicodeToUtf8(platform, decoded, true) != text)
    vantiq::fuzz::Fail("a decoding that does not encode back");
  vantiq::modUTF8::UnicodeToUtf8(platform, text, mode & 4);
  return 0;
}
