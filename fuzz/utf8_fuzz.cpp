// The UTF-8 conversions on both system families: any text in, and what DecodeIfUtf8
// returns is either the text itself or a decoding that re-encodes to it exactly.
#include <cstdlib>

#include "backends/soft/scriptable_platform.h"
#include "caption/mod_utf8.h"
#include "fuzz_input.h"

namespace {

vantiq::ScriptablePlatform& PlatformFor(bool nt) {
  // The version tests remember their answer per thread, so each family keeps its own
  // platform and the NT test (asked every time) decides the path.
  static vantiq::ScriptablePlatform* const nine = [] {
    auto* p = new vantiq::ScriptablePlatform;
    p->SetVersion("win98");
    return p;
  }();
  static vantiq::ScriptablePlatform* const xp = [] {
    auto* p = new vantiq::ScriptablePlatform;
    p->SetVersion("winxp");
    return p;
  }();
  return nt ? *xp : *nine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantiq::fuzz::FuzzInput in(data, size);
  const std::uint8_t mode = in.Byte();
  vantiq::Platform& platform = PlatformFor(mode & 1);
  const std::u16string text = (mode & 2) ? in.RestAsText() : in.ByteText(1 << 16);
  const std::u16string decoded = vantiq::modUTF8::DecodeIfUtf8(platform, text);
  if (decoded != text && vantiq::modUTF8::UnicodeToUtf8(platform, decoded, true) != text) std::abort();
  vantiq::modUTF8::Utf8ToUnicode(platform, text);
  vantiq::modUTF8::UnicodeToUtf8(platform, text, mode & 4);
  return 0;
}
