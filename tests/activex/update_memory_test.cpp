// A long run of value updates on a shown control keeps nothing: the blocks the control
// holds from the C runtime, the GDI objects and the working set end where they began once
// the first updates have filled the caches.
#include "container_support.h"

#include <psapi.h>

#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

namespace vantiq::activex::testing {
namespace {

// The control module's imports of malloc, calloc, realloc and free, routed through a
// count of the blocks it holds while an instance lives. (Wine's HeapWalk reports small
// blocks by the group they share, so walking the heaps would not see a small leak.)
std::atomic<long long> g_live{0};
std::atomic<long long> g_allocations{0};
void*(__cdecl* g_malloc)(size_t) = nullptr;
void*(__cdecl* g_calloc)(size_t, size_t) = nullptr;
void*(__cdecl* g_realloc)(void*, size_t) = nullptr;
void(__cdecl* g_free)(void*) = nullptr;

void* __cdecl CountedMalloc(size_t size) {
  void* p = g_malloc(size);
  ++g_allocations;
  if (p) ++g_live;
  return p;
}
void* __cdecl CountedCalloc(size_t count, size_t size) {
  void* p = g_calloc(count, size);
  if (p) ++g_live;
  return p;
}
void* __cdecl CountedRealloc(void* block, size_t size) {
  void* p = g_realloc(block, size);
  if (!block && p) ++g_live;
  if (block && size == 0) --g_live;  // freed
  return p;
}
void __cdecl CountedFree(void* block) {
  if (block) --g_live;
  g_free(block);
}

class RuntimeAllocations {
 public:
  explicit RuntimeAllocations(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
      const char* dll = reinterpret_cast<const char*>(base + d->Name);
      if (_stricmp(dll, "msvcrt.dll") != 0 && _stricmp(dll, "ucrtbase.dll") != 0 &&
          _stricmp(dll, "api-ms-win-crt-heap-l1-1-0.dll") != 0)
        continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const char* name = reinterpret_cast<const char*>(
            reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
        void** slot = reinterpret_cast<void**>(&slots->u1.Function);
        if (std::strcmp(name, "malloc") == 0) Route(slot, g_malloc, &CountedMalloc);
        if (std::strcmp(name, "calloc") == 0) Route(slot, g_calloc, &CountedCalloc);
        if (std::strcmp(name, "realloc") == 0) Route(slot, g_realloc, &CountedRealloc);
        if (std::strcmp(name, "free") == 0) Route(slot, g_free, &CountedFree);
      }
    }
  }
  ~RuntimeAllocations() {
    for (auto& [slot, original] : routed_) Write(slot, original);
  }
  RuntimeAllocations(const RuntimeAllocations&) = delete;
  RuntimeAllocations& operator=(const RuntimeAllocations&) = delete;
  // Every one of the four found: a count that misses one would drift.
  bool Complete() const { return routed_.size() == 4; }

 private:
  template <typename F>
  void Route(void** slot, F& original, F counted) {
    original = reinterpret_cast<F>(*slot);
    routed_.emplace_back(slot, *slot);
    Write(slot, reinterpret_cast<void*>(counted));
  }
  static void Write(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
  }
  std::vector<std::pair<void**, void*>> routed_;
};

long long WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
             ? static_cast<long long>(counters.WorkingSetSize)
             : -1;
}

// Enough that a leak of a few bytes of pages per update shows in the working set, few
// enough that Wine runs them in seconds.
constexpr int kUpdates = 30000;

using UpdateMemoryTest = ContainerTest;

TEST_F(UpdateMemoryTest, ValueUpdatesLeaveRuntimeBlocksGdiObjectsAndWorkingSetFlat) {
  Site* site = AddBar({10, 10, 130, 26});
  ASSERT_NE(site, nullptr);
  ComPtr<_Vantiq> bar = site->As<_Vantiq>(IID__Vantiq);
  ASSERT_TRUE(bar);
  const HWND window = site->Window();
  ASSERT_TRUE(IsWindowVisible(window));
  RuntimeAllocations counted(GetModuleHandleW(L"VantiqCtl.dll"));
  ASSERT_TRUE(counted.Complete());
  // The container's own record of change notifications grows with every update; it is
  // not the control's and is dropped before each measurement.
  int failed = 0;
  const auto updates = [&](int count) {
    for (int i = 0; i < count; ++i) {
      // 1..99: every update moves the fill and the percentage, so each one draws.
      if (FAILED(bar->put_value(1 + i % 99))) ++failed;
      UpdateWindow(window);
    }
    frame->PumpMessages();
    std::vector<DISPID>().swap(site->changes);
    std::vector<DISPID>().swap(site->eventLog);
  };
  updates(2000);
  const long long blocks = g_live;
  const int gdi = LiveGdiObjects();
  const long long workingSet = WorkingSet();
  ASSERT_GT(g_allocations, 0) << "the updates allocate through the counted imports";
  ASSERT_GT(gdi, 0);
  ASSERT_GT(workingSet, 0);

  updates(kUpdates);

  EXPECT_EQ(failed, 0);
  double value = 0;
  ASSERT_HRESULT_SUCCEEDED(bar->get_value(&value));
  EXPECT_EQ(value, 1 + (kUpdates - 1) % 99);
  EXPECT_LE(g_live - blocks, 0);
  EXPECT_EQ(LiveGdiObjects(), gdi);
  EXPECT_LE(WorkingSet() - workingSet, 512 * 1024);
}

}  // namespace
}  // namespace vantiq::activex::testing
