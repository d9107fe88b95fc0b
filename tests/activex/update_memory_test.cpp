// A long run of value updates on a shown control, with a caption and another look now
// and then, keeps nothing: the blocks the control holds from the C runtime, the GDI
// objects, the working set and the references to it end where they began once the first
// updates have filled the caches.
#include "container_support.h"

#include <psapi.h>

#include <vector>

#include "bench/runtime_allocations.h"

namespace vantiq::activex::testing {
namespace {

long long WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
             ? static_cast<long long>(counters.WorkingSetSize)
             : -1;
}

// Enough that anything kept per update shows twenty thousand times over, and a page kept
// every few dozen updates in the working set; few enough for Wine to run in seconds.
constexpr int kUpdates = 20000;

using UpdateMemoryTest = ContainerTest;

TEST_F(UpdateMemoryTest, ValueUpdatesLeaveRuntimeBlocksGdiObjectsAndWorkingSetFlat) {
  Site* site = AddBar({10, 10, 130, 26});
  ASSERT_NE(site, nullptr);
  ComPtr<_Vantiq> bar = site->As<_Vantiq>(IID__Vantiq);
  ASSERT_TRUE(bar);
  const HWND window = site->Window();
  ASSERT_TRUE(IsWindowVisible(window));
  bench::RuntimeAllocations counted(GetModuleHandleW(L"VantiqCtl.dll"));
  ASSERT_TRUE(counted.Complete());
  // The container's own record of change notifications grows with every update; it is
  // not the control's and is dropped before each measurement.
  int failed = 0;
  const auto updates = [&](int count) {
    for (int i = 0; i < count; ++i) {
      // 1..99: every update moves the fill and the percentage, so each one draws.
      if (FAILED(bar->put_value(1 + i % 99))) ++failed;
      if (i % 997 == 0) {
        Bstr caption(i % 2 ? u"Busy" : u"");
        bar->put_Caption(caption.Get());
        bar->put_style(static_cast<::eProgressBarStyle>(i % 5));
      }
      UpdateWindow(window);
    }
    frame->PumpMessages();
    std::vector<DISPID>().swap(site->changes);
    std::vector<DISPID>().swap(site->eventLog);
  };
  updates(2000);
  const long long blocks = counted.Blocks();
  const long long bytes = counted.Bytes();
  const int gdi = LiveGdiObjects();
  const ULONG refs = bar->AddRef() - 1;
  bar->Release();
  const long long workingSet = WorkingSet();
  ASSERT_GT(counted.Allocations(), 0) << "the updates allocate through the counted imports";
  ASSERT_GT(gdi, 0);
  ASSERT_GT(workingSet, 0);

  updates(kUpdates);

  EXPECT_EQ(failed, 0);
  double value = 0;
  ASSERT_HRESULT_SUCCEEDED(bar->get_value(&value));
  EXPECT_EQ(value, 1 + (kUpdates - 1) % 99);
  EXPECT_LE(counted.Blocks() - blocks, 0);
  EXPECT_LE(counted.Bytes() - bytes, 0) << "no block held grows either";
  EXPECT_EQ(LiveGdiObjects(), gdi);
  EXPECT_EQ(bar->AddRef() - 1, refs);
  bar->Release();
  EXPECT_LE(WorkingSet() - workingSet, 512 * 1024);
}

}  // namespace
}  // namespace vantiq::activex::testing
