// The shadow filter's running sums against the plain box sum, on masks of caption
// shapes with the caption's settings (radius 3, expanded, shifted 3 to the right).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

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
  auto shadow = CaptionShadow(platform, static_cast<int>(state.range(0)),
                              static_cast<int>(state.range(1)));
  for (auto _ : state) {
    shadow->Render(false);
    benchmark::DoNotOptimize(shadow->Result()->Bits());
  }
}

BENCHMARK(BM_ShadowDirect)->Args({400, 24})->Args({120, 16})->Args({1000, 200});
BENCHMARK(BM_ShadowRunningSums)->Args({400, 24})->Args({120, 16})->Args({1000, 200});

}  // namespace
}  // namespace vantiq
