// Shared by the ActiveX tests: the built control library, loaded as a host loads it,
// and small helpers for COM values.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <string>

#include "VantiqCtl.h"
#include "activex/com_ptr.h"

namespace vantiq::activex::testing {

// VantiqCtl.dll from the test program's own folder, loaded once for the whole run.
class ControlLibrary {
 public:
  static ControlLibrary& Get();

  HMODULE Module() const { return module_; }
  // The full path the library was loaded from.
  const std::wstring& Path() const { return path_; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
  HRESULT CanUnloadNow() const;
  HRESULT Register() const;
  HRESULT Unregister() const;

 private:
  ControlLibrary();
  HMODULE module_ = nullptr;
  std::wstring path_;
  HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
  HRESULT(STDAPICALLTYPE* register_)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregister_)() = nullptr;
};

// The folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

// A test that runs in a single-threaded COM apartment.
class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr)); }
  void TearDown() override { CoUninitialize(); }
};

// A new control from the library's class factory.
ComPtr<_Vantiq> NewControl();

// The library's type library, read from the DLL's resource without registering it.
ComPtr<ITypeLib> LoadControlTypeLib();

std::wstring GuidText(REFGUID guid);

// A VARIANT that clears itself.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(this); }
};

}  // namespace vantiq::activex::testing
