#include "common/gdi_objects.h"
#ifdef _WIN32

#include <windows.h>

namespace vantiq::tools {

int LiveGdiObjects() {
  if (const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) {
    return static_cast<int>(counted);
  }
  // GetGuiResources is not implemented everywhere (Wine answers 0); the process's
  // shared handle table is.
  const BYTE* table = nullptr;
#ifdef _WIN64
  const auto* peb = reinterpret_cast<const BYTE*>(__readgsqword(0x60));
  table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
#else
  const auto* teb = reinterpret_cast<const BYTE*>(NtCurrentTeb());
  const auto* peb = *reinterpret_cast<const BYTE* const*>(teb + 0x30);
  table = *reinterpret_cast<const BYTE* const*>(peb + 0x94);
  // A 32-bit process on 64-bit Windows finds it through its 64-bit TEB and PEB.
  const auto teb64 = *reinterpret_cast<const DWORD*>(teb + 0xF70);
  if (!table && teb64) {
    const auto peb64 = *reinterpret_cast<const ULONGLONG*>(static_cast<UINT_PTR>(teb64) + 0x60);
    if (peb64 && peb64 < 0x100000000ull)
      table = reinterpret_cast<const BYTE*>(static_cast<UINT_PTR>(
          *reinterpret_cast<const ULONGLONG*>(static_cast<UINT_PTR>(peb64) + 0xF8)));
  }
#endif
  if (!table) return -1;
  struct Entry {
    ULONGLONG object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    ULONGLONG user;
  };
  static_assert(sizeof(Entry) == 24, "the table's entries are 24 bytes");
  const auto* entries = reinterpret_cast<const Entry*>(table);
  int live = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (entries[i].type != 0 && !(entries[i].unique & 0x80)) ++live;
  return live;
}

}  // namespace vantiq::tools

#endif  // _WIN32
