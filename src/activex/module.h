// The library's own state: its module handle, the count of what keeps it loaded (live
// objects and server locks) and its embedded type library.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "activex/com_ptr.h"

namespace vantiq::activex {

void SetModuleHandle(HMODULE module);
HMODULE ModuleHandle();
// The full path of the library file, as the registry and the type library name it.
std::wstring ModulePath();

// Every live object and every LockServer(TRUE) holds the module once.
void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// Holds the module for as long as it lives.
class ModuleLock {
 public:
  ModuleLock() { LockModule(); }
  ~ModuleLock() { UnlockModule(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

// True when nothing holds the module; lets go of what the module caches.
bool ModuleCanUnload();

// The library's type library, loaded once from its own resource and not registered.
HRESULT LoadModuleTypeLib(ComPtr<ITypeLib>& typeLib);
// The type information of one type of the library by its identifier.
HRESULT ModuleTypeInfo(REFGUID guid, ComPtr<ITypeInfo>& typeInfo);

}  // namespace vantiq::activex
