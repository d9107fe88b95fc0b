// What a module holds from the C runtime: its imports of malloc, calloc, realloc and free
// routed through counters of blocks and bytes while a RuntimeAllocations lives. Wine's
// HeapWalk reports small blocks by the group they share, so walking the heaps would miss
// a small leak; the module's own calls do not. One instance at a time.
#pragma once

#include <windows.h>

#include <malloc.h>

#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

namespace vantiq::bench {

class RuntimeAllocations {
 public:
  explicit RuntimeAllocations(HMODULE module) {
    if (!module) return;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
      if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "msvcrt.dll") != 0) continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
          base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const char* name = reinterpret_cast<const char*>(
            reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
        void** slot = reinterpret_cast<void**>(&slots->u1.Function);
        if (std::strcmp(name, "malloc") == 0) Route(slot, malloc_, &Malloc);
        if (std::strcmp(name, "calloc") == 0) Route(slot, calloc_, &Calloc);
        if (std::strcmp(name, "realloc") == 0) Route(slot, realloc_, &Realloc);
        if (std::strcmp(name, "free") == 0) Route(slot, free_, &Free);
      }
    }
  }
  ~RuntimeAllocations() {
    for (auto& [slot, original] : routed_) Write(slot, original);
  }
  RuntimeAllocations(const RuntimeAllocations&) = delete;
  RuntimeAllocations& operator=(const RuntimeAllocations&) = delete;

  // All four found: a count that misses one would drift.
  bool Complete() const { return routed_.size() == 4; }
  // Blocks and bytes allocated less those freed since the routing began; blocks made
  // before it and freed after count as negative.
  static long long Blocks() { return blocks_; }
  static long long Bytes() { return bytes_; }
  // Calls that allocated a block.
  static long long Allocations() { return allocations_; }

 private:
  using MallocFn = void*(__cdecl*)(size_t);
  using CallocFn = void*(__cdecl*)(size_t, size_t);
  using ReallocFn = void*(__cdecl*)(void*, size_t);
  using FreeFn = void(__cdecl*)(void*);

  static void Gained(void* p) {
    ++blocks_;
    ++allocations_;
    bytes_ += static_cast<long long>(_msize(p));
  }
  static void Lost(void* p) {
    --blocks_;
    bytes_ -= static_cast<long long>(_msize(p));
  }
  static void* __cdecl Malloc(size_t size) {
    void* p = malloc_(size);
    if (p) Gained(p);
    return p;
  }
  static void* __cdecl Calloc(size_t count, size_t size) {
    void* p = calloc_(count, size);
    if (p) Gained(p);
    return p;
  }
  static void* __cdecl Realloc(void* block, size_t size) {
    const long long before = block ? static_cast<long long>(_msize(block)) : 0;
    void* p = realloc_(block, size);
    if (!block) {
      if (p) Gained(p);
    } else if (size == 0) {
      --blocks_;  // freed
      bytes_ -= before;
    } else if (p) {
      bytes_ += static_cast<long long>(_msize(p)) - before;
    }
    return p;
  }
  static void __cdecl Free(void* block) {
    if (block) Lost(block);
    free_(block);
  }

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

  static inline MallocFn malloc_ = nullptr;
  static inline CallocFn calloc_ = nullptr;
  static inline ReallocFn realloc_ = nullptr;
  static inline FreeFn free_ = nullptr;
  static inline std::atomic<long long> blocks_{0};
  static inline std::atomic<long long> bytes_{0};
  static inline std::atomic<long long> allocations_{0};
  std::vector<std::pair<void**, void*>> routed_;
};

}  // namespace vantiq::bench
