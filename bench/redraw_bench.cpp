// Redraw on the software surface, per look, as a value update (a setter that draws) and
// as a paint with nothing changed (the skip path: only the buffer copy).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "common/plain_host.h"
#include "control/vantiq.h"

// Every allocation of the program is counted, so that a redraw's can be reported.
namespace {
std::atomic<long long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace vantiq {
namespace {

// Allocations per iteration of the timed loop: run `body` and report the count.
template <typename Body>
void CountingAllocations(benchmark::State& state, Body body) {
  const long long before = g_allocations.load();
  body();
  state.counters["allocs"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
}

// The XP platform with visual styles, surfaces in memory, and a window of w x h.
WindowHandle PrepareWindow(ScriptablePlatform& platform, int width, int height) {
  platform.SetVersion("winxp");
  platform.backBufferFactory = [&platform](int w, int h) { return std::make_unique<SoftSurface>(w, h, platform); };
  platform.dibSectionFactory = [&platform](int w, int h) { return std::make_unique<SoftSurface>(w, h, platform); };
  return platform.AddWindow(width, height);
}

// A started control of the bench's size.
struct Bench {
  Bench(int width, int height, std::int32_t style, bool shadow)
      : hwnd(PrepareWindow(platform, width, height)),
        screen(width, height, platform),
        host(hwnd, screen, width, height),
        control(host, platform) {
    control.Initialize();
    control.InitProperties();
    control.Resize();
    control.Show();
    control.SetStyle(style);
    control.SetShadow(shadow);
    control.Paint();
  }
  ScriptablePlatform platform;
  WindowHandle hwnd;
  SoftSurface screen;
  tools::PlainHost host;
  Vantiq control;
};

void BM_ValueUpdate(benchmark::State& state) {
  Bench b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
          static_cast<std::int32_t>(state.range(2)), state.range(3) != 0);
  double value = 0;
  CountingAllocations(state, [&] {
    for (auto _ : state) {
      value = value >= 99 ? 0 : value + 1;
      b.control.SetValue(value);  // a new percentage every time: never skipped
    }
  });
}

void BM_UnchangedPaint(benchmark::State& state) {
  Bench b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), eProgStandard, false);
  b.control.SetValue(42);
  CountingAllocations(state, [&] {
    for (auto _ : state) b.control.Paint();
  });
}

void BM_BareCopy(benchmark::State& state) {
  ScriptablePlatform platform;
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  SoftSurface from(w, h, platform), to(w, h, platform);
  for (auto _ : state) to.CopyFrom(0, 0, w, h, from, 0, 0);
}

void LooksAndSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "style", "shadow"});
  for (auto size : {std::pair{200, 20}, std::pair{1000, 40}})
    for (std::int32_t style : {eProgStandard, eProgThin, eProgXP, eProgSystem})
      for (int shadow : {0, 1}) b->Args({size.first, size.second, style, shadow});
}

BENCHMARK(BM_ValueUpdate)->Apply(LooksAndSizes);
BENCHMARK(BM_UnchangedPaint)->Args({200, 20})->Args({1000, 40});
BENCHMARK(BM_BareCopy)->Args({200, 20})->Args({1000, 40});

}  // namespace
}  // namespace vantiq
