#include "activex_test_support.h"

#include <olectl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace vantiq::activex::testing {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

ControlLibrary& ControlLibrary::Get() {
  static ControlLibrary library;
  return library;
}

ControlLibrary::ControlLibrary() {
  module_ = LoadLibraryW((ProgramFolder() + L"VantiqCtl.dll").c_str());
  if (!module_) throw std::runtime_error("VantiqCtl.dll is not next to the test program");
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module_, path, MAX_PATH);
  path_ = path;
  getClassObject_ = reinterpret_cast<decltype(getClassObject_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
  register_ = reinterpret_cast<decltype(register_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllRegisterServer")));
  unregister_ = reinterpret_cast<decltype(unregister_)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllUnregisterServer")));
  if (!getClassObject_ || !canUnloadNow_ || !register_ || !unregister_)
    throw std::runtime_error("VantiqCtl.dll lacks a COM server export");
}

HRESULT ControlLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
  return getClassObject_(clsid, iid, out);
}

HRESULT ControlLibrary::CanUnloadNow() const { return canUnloadNow_(); }

HRESULT ControlLibrary::Register() const { return register_(); }

HRESULT ControlLibrary::Unregister() const { return unregister_(); }

ComPtr<_Vantiq> NewControl() {
  ComPtr<IClassFactory> factory;
  ComPtr<_Vantiq> control;
  if (FAILED(ControlLibrary::Get().GetClassObject(CLSID_Vantiq, IID_IClassFactory,
                                                  reinterpret_cast<void**>(factory.Put()))))
    return control;
  factory->CreateInstance(nullptr, IID__Vantiq, reinterpret_cast<void**>(control.Put()));
  return control;
}

ComPtr<ITypeLib> LoadControlTypeLib() {
  ComPtr<ITypeLib> typeLib;
  LoadTypeLibEx(ControlLibrary::Get().Path().c_str(), REGKIND_NONE, typeLib.Put());
  return typeLib;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t buffer[40] = {};
  StringFromGUID2(guid, buffer, 40);
  return buffer;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring RegistryText(HKEY root, const std::wstring& path, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

::testing::AssertionResult MatchesExpectedFile(const std::wstring& actual, const char* file) {
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, actual.data(), static_cast<int>(actual.size()), nullptr, 0,
                                       nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, actual.data(), static_cast<int>(actual.size()), utf8.data(),
                      static_cast<int>(utf8.size()), nullptr, nullptr);
  std::string path = std::string(VANTIQ_DATA_DIR) + "/" + file;
  for (char& c : path) c = c == '/' ? '\\' : c;
  if (std::getenv("VANTIQ_UPDATE_EXPECTED")) {
    std::ofstream(path, std::ios::binary) << utf8;
    return ::testing::AssertionSuccess() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << "no " << path;
  std::ostringstream expected;
  expected << in.rdbuf();
  if (expected.str() == utf8) return ::testing::AssertionSuccess();
  // The longest common subsequence of lines; what is outside it differs.
  const std::vector<std::string> a = Lines(expected.str()), b = Lines(utf8);
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;)
    for (std::size_t j = b.size(); j-- > 0;)
      common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  std::ostringstream diff;
  for (std::size_t i = 0, j = 0; i < a.size() || j < b.size();) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i, ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      diff << "- " << a[i++] << "\n";
    } else {
      diff << "+ " << b[j++] << "\n";
    }
  }
  return ::testing::AssertionFailure() << file << " differs (- expected, + actual):\n" << diff.str();
}

}  // namespace vantiq::activex::testing
