// The caption's text services: the number format of the percentage and the UTF-8 test
// every caption goes through.
#include <benchmark/benchmark.h>

#include <string>

#include "backends/soft/scriptable_platform.h"
#include "caption/mod_utf8.h"
#include "caption/number_format.h"

namespace vantiq {
namespace {

void BM_FormatNumber(benchmark::State& state) {
  const std::u16string patterns[] = {u"#0", u"0.00", u"#,##0.0;(#,##0.0);\"zero\"", u"0.000E+00"};
  const std::u16string& pattern = patterns[state.range(0)];
  double value = 0;
  for (auto _ : state) {
    value += 0.37;
    benchmark::DoNotOptimize(FormatNumber(value, pattern));
  }
}
BENCHMARK(BM_FormatNumber)->DenseRange(0, 3);

void BM_DecodeIfUtf8(benchmark::State& state) {
  ScriptablePlatform platform;
  platform.SetVersion("winxp");
  const std::u16string texts[] = {u"42%", u"Copying file 12 of 480", u"Gr\u00C3\u00BC\u00C3\u0178e"};
  const std::u16string& text = texts[state.range(0)];
  for (auto _ : state) benchmark::DoNotOptimize(modUTF8::DecodeIfUtf8(platform, text));
}
BENCHMARK(BM_DecodeIfUtf8)->DenseRange(0, 2);

}  // namespace
}  // namespace vantiq
