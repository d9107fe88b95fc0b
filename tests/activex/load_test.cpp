// Load: one control resized through hundreds of sizes, and thousands of controls
// created, activated, painted, saved, loaded and destroyed, every fiftieth with another
// look, a caption and a picture and drawn again without its window (long runs of updates:
// update_memory_test.cpp). GDI and USER objects, heap bytes and the library's objects must end where
// they started (after one round to warm up the system's own caches).
#include <chrono>
#include <cstdio>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

// Bytes in use in every heap of the process.
long long HeapBytes() {
  HANDLE heaps[256];
  const DWORD count = GetProcessHeaps(256, heaps);
  long long bytes = 0;
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

struct Resources {
  int gdi = LiveGdiObjects();
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  DWORD gdiCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  long long heap = HeapBytes();
};

// What may move in the heap between two counts without a leak: the test framework's
// and the system's own bookkeeping.
constexpr long long kHeapSlack = 256 * 1024;

void ExpectSameResources(const Resources& before, const char* what) {
  const Resources after;
  std::printf("[ %s ] GDI %d -> %d, heap %lld -> %lld bytes\n", what, before.gdi, after.gdi, before.heap,
              after.heap);
  EXPECT_EQ(after.gdi, before.gdi) << what;
  EXPECT_EQ(after.gdiCount, before.gdiCount) << what;
  EXPECT_EQ(after.user, before.user) << what;
  EXPECT_LT(after.heap - before.heap, kHeapSlack) << what;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class LoadTest : public ContainerTest {
 protected:
  LoadTest() { frameSize = {1000, 700}; }
};

TEST_F(LoadTest, OneControlResizedThroughHundredsOfSizes) {
  Site* bar = AddBar({10, 10, 210, 30});
  ASSERT_TRUE(bar);
  bar->Put(L"ShowCaption", true);
  bar->Put(L"Value", 60.0);
  const auto resize = [&](int round) {
    for (int i = 0; i < 400; ++i) {
      const LONG w = (i * 37 + round) % 700, h = (i * 13) % 400;
      ASSERT_EQ(bar->Move({10, 10, 10 + w, 10 + h}), S_OK);
      if (i % 4 == 0) bar->Put(L"Orientation", static_cast<long>(h > w));
      if (i % 50 == 0) frame->PumpMessages();
    }
    bar->Move({10, 10, 210, 30});
    bar->Put(L"Orientation", 0L);
    frame->PumpMessages();
  };
  BarState state;
  state.value = 60;
  state.showCaption = true;
  // The first round warms up the system's caches, the reference picture's and the
  // screen capture's included; the second must take nothing more.
  const auto round = [&](int i) {
    resize(i);
    Apply(*bar, state);
    EXPECT_TRUE(SamePixels(GdiRender(200, 20, state), Shot(*bar))) << "round " << i;
  };
  round(0);
  const Resources before;
  const auto start = std::chrono::steady_clock::now();
  round(1);
  std::printf("[ resize ] 400 sizes in %.1f s\n", Seconds(start));
  ExpectSameResources(before, "resize");
}

TEST_F(LoadTest, TenThousandControlsCreatedPaintedSavedLoadedAndDestroyed) {
  constexpr int kCycles = 10000;
  std::vector<std::uint8_t> saved;
  int value = 0;
  ComPtr<IPictureDisp> picture = NewPicture(CreateBitmap(4, 4, 1, 32, nullptr));
  const auto cycle = [&](int i) {
    SiteOptions options;
    if (!saved.empty()) options.stream = &saved;
    Site* site = frame->Add(Factory().Get(), {10, 10, 110, 30}, options);
    ASSERT_TRUE(site && SUCCEEDED(site->Status())) << "cycle " << i;
    EXPECT_EQ(site->GetLong(L"Value"), value) << "cycle " << i << " loaded another value";
    value = i % 100;
    site->Put(L"Value", static_cast<double>(value));
    if (i % 50 == 0) {  // now and then another look, a caption, a picture and a drawing without the window
      site->Put(L"Style", static_cast<long>(i / 50 % 3));
      site->Put(L"ShowCaption", true);
      site->PutRef(L"ProgressPicture", picture.Get());
    } else if (i % 50 == 1) {
      site->PutRef(L"ProgressPicture", nullptr);  // loaded with the picture once, saved without it
    }
    frame->PumpMessages();
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(site->SaveToStream(bytes), S_OK);
    saved.swap(bytes);
    if (i % 50 == 0) {
      ASSERT_EQ(site->Deactivate(), S_OK);
      container::DrawView(site->Object(), 100, 20, 0);
    }
    frame->Remove(site);
  };
  for (int i = 0; i < 20; ++i) cycle(i);  // warm-up
  frame->PumpMessages();
  const Resources before;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 20; i < 20 + kCycles && !HasFatalFailure(); ++i) cycle(i);
  frame->PumpMessages();
  std::printf("[ cycles ] %d in %.1f s\n", kCycles, Seconds(start));
  EXPECT_EQ(Library().CanUnloadNow(), S_OK);
  ExpectSameResources(before, "cycles");
}

}  // namespace
}  // namespace vantiq::activex::testing
