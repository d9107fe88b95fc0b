// Registration for the current user alone (regsvr32 /n /i:user): the same keys as the
// machine-wide registration under HKCU\Software\Classes, nothing under HKLM in either
// registry view, the control created by ProgID and CLSID, and everything gone again
// after regsvr32 /u /n /i:user. Under Wine, whose COM does not read per-user classes,
// the control is created by following the user's keys by hand.
#include <string>
#include <vector>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

const wchar_t kClsid[] = L"{8CFEF030-6B4C-4B01-8607-16945361676F}";
const wchar_t kLibid[] = L"{F8FF12FB-C6F7-46E4-B7CA-0B734A2F4DC1}";

#ifdef _WIN64
const wchar_t kTypeLibPlatform[] = L"win64";
#else
const wchar_t kTypeLibPlatform[] = L"win32";
#endif

// Every key a registration of the control writes, relative to a classes root.
std::vector<std::wstring> ControlKeys() {
  return {L"VantiqCtl.Vantiq",
          L"VantiqCtl.Vantiq.1",
          L"CLSID\\" + std::wstring(kClsid),
          L"TypeLib\\" + std::wstring(kLibid),
          L"Interface\\" + GuidText(IID__Vantiq),
          L"Interface\\" + GuidText(DIID___Vantiq)};
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The control's keys under HKLM\Software\Classes, in both registry views.
std::vector<std::wstring> MachineKeys() {
  std::vector<std::wstring> found;
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
    for (const std::wstring& key : ControlKeys())
      if (KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + key, view))
        found.push_back(key + (view == KEY_WOW64_32KEY ? L" (32-bit view)" : L" (64-bit view)"));
  return found;
}

std::vector<std::wstring> UserKeys() {
  std::vector<std::wstring> found;
  for (const std::wstring& key : ControlKeys())
    if (KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\" + key)) found.push_back(key);
  return found;
}

std::wstring UserValue(const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  const std::wstring full = L"Software\\Classes\\" + path;
  if (RegGetValueW(HKEY_CURRENT_USER, full.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// regsvr32's exit code; -1 when it could not be started.
long Regsvr32(const std::wstring& options) {
  std::wstring line = L"regsvr32.exe /s " + options + L" \"" + ControlLibrary::Get().Path() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return static_cast<long>(code);
}

using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

Install DllInstallExport() {
  return reinterpret_cast<Install>(
      reinterpret_cast<void*>(GetProcAddress(ControlLibrary::Get().Module(), "DllInstall")));
}

class UserRegistrationTest : public ComTest {
 protected:
  void TearDown() override {
    // Leave the prefix as it was, whatever failed.
    if (Install install = DllInstallExport()) install(FALSE, L"user");
    ComTest::TearDown();
  }
};

TEST_F(UserRegistrationTest, Regsvr32InstallsForTheUserOnlyAndRemovesExactlyThat) {
  ASSERT_EQ(MachineKeys(), std::vector<std::wstring>{}) << "registered machine-wide before the test";
  ASSERT_EQ(UserKeys(), std::vector<std::wstring>{}) << "registered for the user before the test";

  ASSERT_EQ(Regsvr32(L"/n /i:user"), 0);
  EXPECT_EQ(UserKeys(), ControlKeys());
  EXPECT_EQ(MachineKeys(), std::vector<std::wstring>{});

  const std::wstring cls = L"CLSID\\" + std::wstring(kClsid);
  const std::wstring& path = ControlLibrary::Get().Path();
  EXPECT_EQ(UserValue(L"VantiqCtl.Vantiq\\CLSID"), kClsid);
  EXPECT_EQ(UserValue(L"VantiqCtl.Vantiq\\CurVer"), L"VantiqCtl.Vantiq.1");
  EXPECT_TRUE(SamePath(UserValue(cls + L"\\InprocServer32"), path)) << UserValue(cls + L"\\InprocServer32");
  EXPECT_EQ(UserValue(cls + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(UserValue(cls + L"\\TypeLib"), kLibid);
  const std::wstring typeLibFile =
      L"TypeLib\\" + std::wstring(kLibid) + L"\\1.0\\409\\" + kTypeLibPlatform;
  EXPECT_TRUE(SamePath(UserValue(typeLibFile), path)) << UserValue(typeLibFile);

  // The keys lead from the ProgID to a working control, followed as COM follows them.
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromString(UserValue(L"VantiqCtl.Vantiq\\CLSID").c_str(), &clsid));
  HMODULE server = LoadLibraryW(UserValue(cls + L"\\InprocServer32").c_str());
  ASSERT_NE(server, nullptr);
  auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(server, "DllGetClassObject")));
  ASSERT_NE(getClassObject, nullptr);
  ComPtr<IClassFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())));
  ComPtr<_Vantiq> control;
  ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID__Vantiq, reinterpret_cast<void**>(control.Put())));
  double max = 0;
  EXPECT_HRESULT_SUCCEEDED(control->get_Max(&max));
  EXPECT_EQ(max, 100);
  control.Reset();
  factory.Reset();
  FreeLibrary(server);

  // Windows' COM reads the user's classes before the machine's; Wine's COM reads the
  // machine's alone, so there the system calls cannot find a per-user class.
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"VantiqCtl.Vantiq", &clsid));
    EXPECT_EQ(GuidText(clsid), kClsid);
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER, IID__Vantiq,
                                              reinterpret_cast<void**>(control.Put())));
    EXPECT_HRESULT_SUCCEEDED(control->get_Max(&max));
    control.Reset();
    ComPtr<ITypeLib> typeLib;
    EXPECT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_VantiqCtl, 1, 0, 0, typeLib.Put()));
  }

  ASSERT_EQ(Regsvr32(L"/u /n /i:user"), 0);
  EXPECT_EQ(UserKeys(), std::vector<std::wstring>{});
  EXPECT_EQ(MachineKeys(), std::vector<std::wstring>{});
}

TEST_F(UserRegistrationTest, UnknownCommandLinesAreRefusedAndWriteNothing) {
  Install install = DllInstallExport();
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(install(TRUE, L"machine"), E_INVALIDARG);
  EXPECT_EQ(install(TRUE, L"users"), E_INVALIDARG);
  EXPECT_EQ(UserKeys(), std::vector<std::wstring>{});
  EXPECT_EQ(MachineKeys(), std::vector<std::wstring>{});
  // The word is taken in any case.
  EXPECT_EQ(install(TRUE, L"USER"), S_OK);
  EXPECT_EQ(UserKeys(), ControlKeys());
  EXPECT_EQ(install(FALSE, L"User"), S_OK);
  EXPECT_EQ(UserKeys(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace vantiq::activex::testing
