// Self-registration of the control and its property page, machine-wide
// (DllRegisterServer) and for the current user alone (regsvr32 /n /i:user): the keys
// written are read back as text and compared with
// data/registry_tree.txt, and unregistration leaves the registry as it was.
#include <olectl.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "activex/control_identity.h"
#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

// A classes root: HKCR, or one under HKLM or HKCU in a registry view.
struct Classes {
  HKEY root;
  std::wstring prefix;  // "" or "Software\Classes\"
  REGSAM view = 0;
};
const Classes kMachine{HKEY_CLASSES_ROOT, L""};
const Classes kUser{HKEY_CURRENT_USER, L"Software\\Classes\\"};

std::vector<std::wstring> Subkeys(const Classes& classes, const std::wstring& path) {
  std::vector<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(classes.root, (classes.prefix + path).c_str(), 0, KEY_READ | classes.view, &key)) return names;
  wchar_t name[512];
  for (DWORD i = 0, length = 512; !RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
       ++i, length = 512)
    names.emplace_back(name);
  RegCloseKey(key);
  std::sort(names.begin(), names.end());
  return names;
}

// `text` with every `from` in any case replaced by `to`.
std::wstring Replaced(std::wstring text, const std::wstring& from, const std::wstring& to) {
  for (std::size_t at = 0; at + from.size() <= text.size();)
    if (_wcsnicmp(text.c_str() + at, from.c_str(), from.size()) == 0)
      text.replace(at, from.size(), to), at += to.size();
    else
      ++at;
  return text;
}

// The key and everything under it, one line per key and value; the library's path and
// folder, and the type library's platform key, as every build writes them.
void Walk(const Classes& classes, const std::wstring& path, std::wstring& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(classes.root, (classes.prefix + path).c_str(), 0, KEY_READ | classes.view, &key)) return;
  const std::wstring& dll = ControlLibrary::Get().Path();
  out += Replaced(path, sizeof(void*) == 8 ? L"\\win64" : L"\\win32", L"\\<platform>") + L"\n";
  wchar_t name[256], data[1024];
  for (DWORD i = 0, length = 256, size = sizeof data, type = 0;
       !RegEnumValueW(key, i, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
       ++i, length = 256, size = sizeof data) {
    const std::wstring text = type == REG_SZ ? std::wstring(data, size / sizeof(wchar_t)).c_str() : L"?";
    out += L"  " + std::wstring(*name ? name : L"@") + L" = " +
           (type == REG_SZ ? Replaced(Replaced(text, dll, L"<dll>"), dll.substr(0, dll.find_last_of(L'\\')), L"<folder>")
                           : L"type " + std::to_wstring(type)) + L"\n";
  }
  RegCloseKey(key);
  for (const std::wstring& sub : Subkeys(classes, path)) Walk(classes, path + L"\\" + sub, out);
}

const wchar_t* const kLists[] = {L"", L"CLSID", L"Interface", L"TypeLib", L"Component Categories"};

// The names in the lists of classes, ProgIDs, interfaces, type libraries and categories.
// The lists themselves are not counted: a registration into an empty user's classes
// makes them, and they stay, as on any system.
std::set<std::wstring> Lists(const Classes& classes) {
  std::set<std::wstring> lines;
  for (const wchar_t* list : kLists)
    for (const std::wstring& name : Subkeys(classes, list)) {
      const bool isList = !*list && std::any_of(std::begin(kLists), std::end(kLists),
                                                [&](const wchar_t* l) { return _wcsicmp(l, name.c_str()) == 0; });
      if (!isList) lines.insert(L"listed in \"" + std::wstring(list) + L"\": " + name);
    }
  return lines;
}

// Every key a registration of the control writes, after the names it added to the lists
// since `before`.
std::wstring Registration(const Classes& classes, const std::set<std::wstring>& before) {
  std::wstring out;
  for (const std::wstring& line : Lists(classes))
    if (!before.count(line)) out += line + L"\n";
  for (const std::wstring& tree : {std::wstring(L"VantiqCtl.Vantiq"), std::wstring(L"VantiqCtl.Vantiq.1"),
                                   L"CLSID\\" + std::wstring(kClsid), L"CLSID\\" + GuidText(kGeneralPageClsid),
                                   L"TypeLib\\" + std::wstring(kLibid),
                                   L"Interface\\" + GuidText(IID__Vantiq), L"Interface\\" + GuidText(DIID___Vantiq)})
    Walk(classes, tree, out);
  return out;
}

// What of the control is under HKLM\Software\Classes, in both views.
std::wstring MachineKeys() {
  std::wstring out;
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    const Classes machine{HKEY_LOCAL_MACHINE, L"Software\\Classes\\", view};
    out += Registration(machine, Lists(machine));
  }
  return out;
}

// regsvr32's exit code; -1 when it could not be started.
long Regsvr32(const std::wstring& options) {
  std::wstring line = L"regsvr32.exe /s " + options + L" \"" + ControlLibrary::Get().Path() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process))
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
  return reinterpret_cast<Install>(reinterpret_cast<void*>(GetProcAddress(ControlLibrary::Get().Module(), "DllInstall")));
}

class RegistrationTest : public ComTest {
 protected:
  void TearDown() override {
    // Leave the prefix as it was, whatever failed.
    ControlLibrary::Get().Unregister();
    if (Install install = DllInstallExport()) install(FALSE, L"user");
    ComTest::TearDown();
  }
};

TEST_F(RegistrationTest, MachineWideWritesTheCommittedKeysAndUnregistrationRemovesThem) {
  const std::set<std::wstring> lists = Lists(kMachine);
  const std::wstring before = Registration(kMachine, lists);
  ASSERT_EQ(before, L"") << "registered before the test";
  const ControlLibrary& library = ControlLibrary::Get();
  ASSERT_EQ(library.Register(), S_OK);
  EXPECT_TRUE(MatchesExpectedFile(Registration(kMachine, lists), "registry_tree.txt"));

  // And as OLE reads them.
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"VantiqCtl.Vantiq", &clsid));
  EXPECT_EQ(GuidText(clsid), kClsid);
  DWORD misc = 0;
  ASSERT_HRESULT_SUCCEEDED(OleRegGetMiscStatus(CLSID_Vantiq, DVASPECT_CONTENT, &misc));
  EXPECT_EQ(misc, 0x28191u);
  BSTR typeLibPath = nullptr;
  ASSERT_HRESULT_SUCCEEDED(QueryPathOfRegTypeLib(LIBID_VantiqCtl, 1, 0, 1033, &typeLibPath));
  EXPECT_TRUE(SamePath(TakeText(typeLibPath), library.Path()));
  ComPtr<_Vantiq> control;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER, IID__Vantiq,
                                            reinterpret_cast<void**>(control.Put())));
  control.Reset();
  ComPtr<IPropertyPage> page;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kGeneralPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                            reinterpret_cast<void**>(page.Put())));
  page.Reset();

  // Unregistered, twice: nothing left, and the second call succeeds all the same.
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(library.Unregister(), S_OK);
    EXPECT_EQ(Lists(kMachine), lists);
    EXPECT_EQ(Registration(kMachine, lists), L"");
  }
}

TEST_F(RegistrationTest, ForTheUserTheSameKeysUnderTheUsersClassesAndNoneForTheMachine) {
  const std::set<std::wstring> lists = Lists(kUser);
  ASSERT_EQ(Registration(kUser, lists) + MachineKeys(), L"") << "registered before the test";
  ASSERT_EQ(Regsvr32(L"/n /i:user"), 0);
  EXPECT_TRUE(MatchesExpectedFile(Registration(kUser, lists), "registry_tree.txt"));
  EXPECT_EQ(MachineKeys(), L"");
  // Windows' COM reads the user's classes before the machine's; Wine's COM reads the
  // machine's alone, so there the system calls cannot find a per-user class.
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    ComPtr<_Vantiq> control;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER, IID__Vantiq,
                                              reinterpret_cast<void**>(control.Put())));
    ComPtr<ITypeLib> typeLib;
    EXPECT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_VantiqCtl, 1, 0, 0, typeLib.Put()));
  }
  ASSERT_EQ(Regsvr32(L"/u /n /i:user"), 0);
  EXPECT_EQ(Lists(kUser), lists);
  EXPECT_EQ(Registration(kUser, lists) + MachineKeys(), L"");

  // Any other command line is refused and writes nothing; the word is taken in any case.
  Install install = DllInstallExport();
  ASSERT_NE(install, nullptr);
  EXPECT_EQ(install(TRUE, L"machine"), E_INVALIDARG);
  EXPECT_EQ(install(TRUE, L"users"), E_INVALIDARG);
  EXPECT_EQ(Registration(kUser, lists) + MachineKeys(), L"");
  EXPECT_EQ(install(TRUE, L"USER"), S_OK);
  EXPECT_NE(Registration(kUser, lists), L"");
  EXPECT_EQ(install(FALSE, L"User"), S_OK);
  EXPECT_EQ(Registration(kUser, lists), L"");
}

TEST_F(RegistrationTest, LeavesAProgIdThatAnotherClassTookOver) {
  struct RemoveProgId {
    ~RemoveProgId() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq"); }
  } cleanup;
  ASSERT_EQ(ControlLibrary::Get().Register(), S_OK);
  const wchar_t other[] = L"{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(RegSetValueW(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq\\CLSID", REG_SZ, other,
                         static_cast<DWORD>(wcslen(other) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ASSERT_EQ(ControlLibrary::Get().Unregister(), S_OK);
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq\\CLSID"), other);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq.1"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + std::wstring(kClsid)));
}

// A 32-bit library on 64-bit Windows registers in the 32-bit view of the registry,
// where only 32-bit hosts look for it.
TEST_F(RegistrationTest, ThirtyTwoBitLibraryOnSixtyFourBitWindowsUsesThe32BitView) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (!wow64) GTEST_SKIP() << "not a 32-bit program on 64-bit Windows";
  const std::wstring key = L"Software\\Classes\\CLSID\\" + std::wstring(kClsid);
  ASSERT_EQ(ControlLibrary::Get().Register(), S_OK);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY));
  ASSERT_EQ(ControlLibrary::Get().Unregister(), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY));
}

TEST_F(RegistrationTest, ToolboxBitmapIsASmallTwentyFourBitProgressBar) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(ControlLibrary::Get().Module(), MAKEINTRESOURCEW(30000), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 16);
  EXPECT_EQ(dib.dsBm.bmHeight, 15);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(192, 192, 192));   // toolbox grey above the bar
  EXPECT_EQ(GetPixel(dc, 0, 4), RGB(128, 128, 128));   // sunken frame
  EXPECT_EQ(GetPixel(dc, 2, 7), RGB(0, 120, 215));     // first segment
  EXPECT_EQ(GetPixel(dc, 13, 7), RGB(255, 255, 255));  // the part still to fill
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

}  // namespace
}  // namespace vantiq::activex::testing
