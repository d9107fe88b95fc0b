// The shadow filter's running sums against the plain box sum, on masks of caption
// shapes with the caption's settings (radius 3, expanded, shifted 3 to the right).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "caption/dib_shadow.h"

namespace vantiq {
namespace {

// A width x height shadow over a mask of scattered short grey strokes on black.
std::unique_ptr<CDibShadow> CaptionShadow(Platform& platform, int width, int height) {
  auto source = std::make_shared<CDib32>(platform);
  source->Create(width, height);
  std::mt19937 random(7);
  for (int i = 0; i < width * height / 12; ++i) {
    const int x = static_cast<int>(random() % width), y = static_cast<int>(random() % height);
    source->DC()->FillRect(Rect{x, y, x + 2, y + 4}, Rgb(128, 128, 128));
  }
  auto shadow = std::make_unique<CDibShadow>(platform);
  shadow->SetTransparentColor(0);
  shadow->SetSource(source);
  shadow->SetRadius(3);
  shadow->SetOffsetX(3);
  shadow->SetExpand(true);
  return shadow;
}

// The running sums must give the direct sum's bytes exactly; a timing of a wrong
// result means nothing, so the run stops.
void RequireSameBytes(CDibShadow& shadow, int width, int height) {
  shadow.RenderDirect(false);
  const int w = shadow.Result()->Width(), h = shadow.Result()->Height();
  const std::size_t size = static_cast<std::size_t>(w) * h * 4;
  const std::vector<std::uint8_t> expected(shadow.Result()->Bits(), shadow.Result()->Bits() + size);
  shadow.Render(false);  // a new Result
  const CDib32& fast = *shadow.Result();
  if (fast.Width() != w || fast.Height() != h || std::memcmp(fast.Bits(), expected.data(), size) != 0) {
    std::fprintf(stderr, "shadow %dx%d: the running sums differ from the direct sum\n", width, height);
    std::abort();
  }
}

void BM_ShadowDirect(benchmark::State& state) {
  ScriptablePlatform platform;
  auto shadow = CaptionShadow(platform, static_cast<int>(state.range(0)),
                              static_cast<int>(state.range(1)));
  for (auto _ : state) {
    shadow->RenderDirect(false);
    benchmark::DoNotOptimize(shadow->Result()->Bits());
  }
}

void BM_ShadowRunningSums(benchmark::State& state) {
  ScriptablePlatform platform;
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  auto shadow = CaptionShadow(platform, width, height);
  RequireSameBytes(*shadow, width, height);
  for (auto _ : state) {
    shadow->Render(false);
    benchmark::DoNotOptimize(shadow->Result()->Bits());
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (auto size : {std::pair{120, 16}, std::pair{200, 20}, std::pair{400, 24}, std::pair{1000, 40},
                    std::pair{1000, 200}})
    b->Args({size.first, size.second});
}
BENCHMARK(BM_ShadowDirect)->Apply(Sizes);
BENCHMARK(BM_ShadowRunningSums)->Apply(Sizes);

}  // namespace
}  // namespace vantiq
