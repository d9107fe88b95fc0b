// Shared by the ActiveX tests: the built control library, loaded as a host loads it,
// and small helpers for COM values and objects.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <utility>

#include "VantiqCtl.h"
#include "activex/com_ptr.h"
#include "support/com_pictures.h"
#include "support/com_strings.h"

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

// The control's class and type library identifiers as the registry spells them.
inline constexpr wchar_t kClsid[] = L"{8CFEF030-6B4C-4B01-8607-16945361676F}";
inline constexpr wchar_t kLibid[] = L"{F8FF12FB-C6F7-46E4-B7CA-0B734A2F4DC1}";

// Whether `root`\<path> opens, in the registry view `view` (0: this program's own).
bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = 0);
// A string value of `root`\<path>; "<missing>" when there is none.
std::wstring RegistryText(HKEY root, const std::wstring& path, const wchar_t* name = nullptr);
// File paths compared as Windows compares them: in any case.
inline bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

using vantiq::testing::BitmapPicture;
using vantiq::testing::IconPicture;
using vantiq::testing::MakeVariant;
using vantiq::testing::NewPicture;
using vantiq::testing::TakeText;
using vantiq::testing::Variant;
using vantiq::testing::VariantText;

// Every property the control saves, read back through its interface, one line each:
// equal for controls that would save the same state. Texts are escaped outside
// printable ASCII, fonts and pictures described by what they hold.
std::wstring SavedState(_Vantiq* control);

// Whether two texts have the same lines (font sizes within a pixel: Wine realises them
// again); on failure, the lines that differ.
::testing::AssertionResult SameText(const std::wstring& expected, const std::wstring& actual);

// Whether `actual` is the committed text tests/activex/data/<file>; on failure, the lines
// that differ. With VANTIQ_UPDATE_EXPECTED set, the file is written from `actual` instead:
// review its diff before committing it.
::testing::AssertionResult MatchesExpectedFile(const std::wstring& actual, const char* file);

// An IDispatch of the test's own (an event sink, a container's ambient properties) whose
// Invoke is `invoke`. It answers to `also` besides IUnknown and IDispatch: a sink to the
// control's event interface. Made by New it is counted and goes with its last reference;
// on the test's stack it must outlive whoever it was handed to.
class TestDispatch final : public IDispatch {
 public:
  using Invoker = std::function<HRESULT(DISPID, DISPPARAMS*, VARIANT*)>;
  explicit TestDispatch(Invoker invoke, REFIID also = DIID___Vantiq)
      : invoke_(std::move(invoke)), also_(also) {}
  static TestDispatch* New(Invoker invoke) {
    auto* object = new TestDispatch(std::move(invoke));
    object->counted_ = true;
    return object;
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != also_) return *out = nullptr, E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0 && counted_) delete this;
    return left;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    return invoke_ ? invoke_(id, params, result) : S_OK;
  }

 private:
  Invoker invoke_;
  IID also_;
  ULONG refs_ = 1;
  bool counted_ = false;
};

}  // namespace vantiq::activex::testing
