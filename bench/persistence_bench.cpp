// Saving and loading all 26 keys of a control: through a property bag (what a form file
// keeps) and through the binary property stream (what stream and storage containers keep).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "common/plain_host.h"
#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "control/property_stream.h"
#include "control/vantiq.h"
#include "draw/font.h"
#include "support/bytes_picture.h"

namespace vantiq {
namespace {

constexpr std::size_t kKeys = 26;

using testing::BytesCodec;
using testing::BytesPicture;

WindowHandle PrepareWindow(ScriptablePlatform& platform) {
  platform.SetVersion("winxp");
  platform.backBufferFactory = [&platform](int w, int h) { return std::make_unique<SoftSurface>(w, h, platform); };
  platform.dibSectionFactory = [&platform](int w, int h) { return std::make_unique<SoftSurface>(w, h, platform); };
  return platform.AddWindow(200, 20);
}

// A shown 200 x 20 control with every key away from its default, pictures included.
struct Saved {
  Saved()
      : hwnd(PrepareWindow(platform)), screen(200, 20, platform), host(hwnd, screen, 200, 20),
        control(host, platform) {
    control.Initialize();
    control.InitProperties();
    control.Resize();
    control.Show();
    auto font = std::make_shared<StdFont>();
    font->SetName(u"Tahoma");
    font->SetSize(9);
    font->SetBold(true);
    control.SetFont(font);
    control.SetCaption(u"Copying file 12 of 480");
    control.SetShadow(true);
    control.SetMax(480);
    control.SetValue(12);
    control.SetProgressPicture(std::make_shared<BytesPicture>(std::vector<std::uint8_t>(600, 7)));
    control.SetBackgroundPicture(std::make_shared<BytesPicture>(std::vector<std::uint8_t>(600, 9)));
  }
  ScriptablePlatform platform;
  WindowHandle hwnd;
  SoftSurface screen;
  tools::PlainHost host;
  Vantiq control;
  BytesCodec codec;
};

void BM_PropertyBagSave(benchmark::State& state) {
  Saved s;
  for (auto _ : state) {
    MemoryPropertyBag bag;
    WriteProperties(s.control, bag);
    if (bag.Entries().size() != kKeys) {
      std::fprintf(stderr, "property bag: %zu keys written\n", bag.Entries().size());
      std::abort();
    }
  }
}

void BM_PropertyBagLoad(benchmark::State& state) {
  Saved s;
  MemoryPropertyBag bag;
  WriteProperties(s.control, bag);
  for (auto _ : state) ReadProperties(s.control, bag);
}

void BM_PropertyStreamSave(benchmark::State& state) {
  Saved s;
  for (auto _ : state) benchmark::DoNotOptimize(SavePropertyStream(s.control, s.codec));
}

void BM_PropertyStreamLoad(benchmark::State& state) {
  Saved s;
  const std::vector<std::uint8_t> bytes = SavePropertyStream(s.control, s.codec);
  const ParsedPropertyStream parsed = ParsePropertyStream(bytes.data(), bytes.size());
  if (parsed.error != StreamError::kNone || parsed.entries.size() != kKeys) {
    std::fprintf(stderr, "property stream: %zu keys, %s\n", parsed.entries.size(), Describe(parsed.error));
    std::abort();
  }
  for (auto _ : state) {
    const StreamLoadResult r = LoadPropertyStream(s.control, bytes.data(), bytes.size(), s.codec);
    if (r.error != StreamError::kNone) std::abort();
  }
}

BENCHMARK(BM_PropertyBagSave);
BENCHMARK(BM_PropertyBagLoad);
BENCHMARK(BM_PropertyStreamSave);
BENCHMARK(BM_PropertyStreamLoad);

}  // namespace
}  // namespace vantiq
