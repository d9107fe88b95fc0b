#include "activex/module.h"

namespace vantiq::activex {

namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;
// Objects live in apartments of any number of threads, and DllCanUnloadNow may come from
// any of them: the cached type library is only touched under this lock.
SRWLOCK g_cacheLock = SRWLOCK_INIT;
ITypeLib* g_typeLib = nullptr;

}  // namespace

void SetModuleHandle(HMODULE module) { g_module = module; }

HMODULE ModuleHandle() { return g_module; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void LockModule() { InterlockedIncrement(&g_locks); }

void UnlockModule() { InterlockedDecrement(&g_locks); }

LONG ModuleLockCount() { return InterlockedCompareExchange(&g_locks, 0, 0); }

bool ModuleCanUnload() {
  if (ModuleLockCount() != 0) return false;
  AcquireSRWLockExclusive(&g_cacheLock);
  ITypeLib* typeLib = g_typeLib;
  g_typeLib = nullptr;
  ReleaseSRWLockExclusive(&g_cacheLock);
  if (typeLib) typeLib->Release();
  return true;
}

HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& typeLib) {
  AcquireSRWLockExclusive(&g_cacheLock);
  HRESULT hr = S_OK;
  if (!g_typeLib) {
    const std::wstring path = ModulePath();
    hr = path.empty() ? HRESULT_FROM_WIN32(GetLastError())
                      : LoadTypeLibEx(path.c_str(), REGKIND_NONE, &g_typeLib);
  }
  if (SUCCEEDED(hr)) typeLib = ComPtr<ITypeLib>(g_typeLib);
  ReleaseSRWLockExclusive(&g_cacheLock);
  return hr;
}

HRESULT ModuleTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& typeInfo) {
  ComPtr<ITypeLib> typeLib;
  const HRESULT hr = LoadModuleTypeLib(typeLib);
  if (FAILED(hr)) return hr;
  return typeLib->GetTypeInfoOfGuid(guid, typeInfo.Put());
}

}  // namespace vantiq::activex
