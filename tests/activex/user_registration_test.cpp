// Registration for the current user alone (regsvr32 /n /i:user): the same keys as the
// machine-wide registration under HKCU\Software\Classes, nothing under HKLM in either
// registry view, the control created by ProgID and CLSID (on Windows: Wine's COM does
// not read per-user classes), and everything gone again after regsvr32 /u /n /i:user.
#include <string>
#include <vector>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

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
  return RegistryText(HKEY_CURRENT_USER, L"Software\\Classes\\" + path, name);
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

  // Windows' COM reads the user's classes before the machine's; Wine's COM reads the
  // machine's alone, so there the system calls cannot find a per-user class.
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"VantiqCtl.Vantiq", &clsid));
    EXPECT_EQ(GuidText(clsid), kClsid);
    ComPtr<_Vantiq> control;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER, IID__Vantiq,
                                              reinterpret_cast<void**>(control.Put())));
    double max = 0;
    EXPECT_HRESULT_SUCCEEDED(control->get_Max(&max));
    EXPECT_EQ(max, 100);
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
