// Self-registration read back from the registry, key by key, and unregistration
// compared with what the registry held before.
#include <olectl.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

const wchar_t kControlCategory[] = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";

HKEY Open(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

bool KeyExists(const std::wstring& path) { return testing::KeyExists(HKEY_CLASSES_ROOT, path); }

std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr) {
  return RegistryText(HKEY_CLASSES_ROOT, path, name);
}

std::set<std::wstring> SubkeyNames(const std::wstring& path) {
  std::set<std::wstring> names;
  HKEY key = path.empty() ? HKEY_CLASSES_ROOT : Open(path);
  if (!key) return names;
  wchar_t name[512];
  for (DWORD i = 0;; ++i) {
    DWORD length = 512;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.insert(name);
  }
  if (key != HKEY_CLASSES_ROOT) RegCloseKey(key);
  return names;
}

// Every key and value under HKCR\<path>, one line each.
void DumpTree(const std::wstring& path, std::set<std::wstring>& lines) {
  HKEY key = Open(path);
  if (!key) return;
  lines.insert(path + L"\\");
  wchar_t name[512];
  BYTE data[2048];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 512, dataSize = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      break;
    std::wstring line = path + L"|" + name + L"|" + std::to_wstring(type) + L"|";
    if (type == REG_SZ || type == REG_EXPAND_SZ)
      line += std::wstring(reinterpret_cast<const wchar_t*>(data), dataSize / sizeof(wchar_t));
    else
      line += std::to_wstring(dataSize);
    lines.insert(line);
  }
  RegCloseKey(key);
  for (const std::wstring& sub : SubkeyNames(path)) DumpTree(path + L"\\" + sub, lines);
}

// What registration may touch: the lists of classes, ProgIDs, interfaces, type
// libraries and categories, and in full every key of the control's own identifiers.
std::set<std::wstring> Snapshot() {
  std::set<std::wstring> lines;
  for (const wchar_t* list : {L"", L"CLSID", L"Interface", L"TypeLib"})
    for (const std::wstring& name : SubkeyNames(list))
      lines.insert(std::wstring(list) + L">" + name);
  for (const std::wstring& tree :
       {std::wstring(L"VantiqCtl.Vantiq"), std::wstring(L"VantiqCtl.Vantiq.1"),
        L"CLSID\\" + std::wstring(kClsid), L"TypeLib\\" + std::wstring(kLibid),
        L"Interface\\" + GuidText(IID__Vantiq), L"Interface\\" + GuidText(DIID___Vantiq),
        L"Interface\\" + GuidText(IID_IObjectSafety), std::wstring(L"Component Categories")})
    DumpTree(tree, lines);
  return lines;
}

std::set<std::wstring> Added(const std::set<std::wstring>& before, const std::wstring& list) {
  std::set<std::wstring> added;
  const std::set<std::wstring> now = SubkeyNames(list);
  std::set<std::wstring> old;
  for (const std::wstring& line : before)
    if (line.rfind(list + L">", 0) == 0) old.insert(line.substr(list.size() + 1));
  std::set_difference(now.begin(), now.end(), old.begin(), old.end(),
                      std::inserter(added, added.begin()));
  return added;
}

class RegistrationTest : public ComTest {
 protected:
  void TearDown() override {
    // Leave the prefix as it was, whatever failed.
    ControlLibrary::Get().Unregister();
    ComTest::TearDown();
  }
};

TEST_F(RegistrationTest, RegistersTheClassItsProgIdsAndTypeLibrary) {
  const std::set<std::wstring> before = Snapshot();
  const ControlLibrary& library = ControlLibrary::Get();
  ASSERT_EQ(library.Register(), S_OK);

  // Exactly these new keys in the lists hosts search.
  EXPECT_EQ(Added(before, L""),
            (std::set<std::wstring>{L"VantiqCtl.Vantiq", L"VantiqCtl.Vantiq.1"}));
  EXPECT_EQ(Added(before, L"CLSID"), std::set<std::wstring>{kClsid});
  EXPECT_EQ(Added(before, L"TypeLib"), std::set<std::wstring>{kLibid});
  EXPECT_EQ(Added(before, L"Interface"),
            (std::set<std::wstring>{GuidText(IID__Vantiq), GuidText(DIID___Vantiq)}));

  EXPECT_EQ(Value(L"VantiqCtl.Vantiq\\CLSID"), kClsid);
  EXPECT_EQ(Value(L"VantiqCtl.Vantiq\\CurVer"), L"VantiqCtl.Vantiq.1");
  EXPECT_EQ(Value(L"VantiqCtl.Vantiq.1\\CLSID"), kClsid);

  const std::wstring cls = L"CLSID\\" + std::wstring(kClsid);
  EXPECT_TRUE(SamePath(Value(cls + L"\\InprocServer32"), library.Path()))
      << Value(cls + L"\\InprocServer32");
  EXPECT_EQ(Value(cls + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(Value(cls + L"\\ProgID"), L"VantiqCtl.Vantiq.1");
  EXPECT_EQ(Value(cls + L"\\VersionIndependentProgID"), L"VantiqCtl.Vantiq");
  EXPECT_EQ(Value(cls + L"\\TypeLib"), kLibid);
  EXPECT_EQ(Value(cls + L"\\Version"), L"1.0");
  EXPECT_TRUE(KeyExists(cls + L"\\Control"));
  EXPECT_EQ(Value(cls + L"\\MiscStatus"), L"164241");
  EXPECT_EQ(Value(cls + L"\\MiscStatus\\1"), L"164241");
  EXPECT_TRUE(SamePath(Value(cls + L"\\ToolboxBitmap32"), library.Path() + L", 30000"))
      << Value(cls + L"\\ToolboxBitmap32");
  EXPECT_TRUE(KeyExists(cls + L"\\Implemented Categories\\" + kControlCategory));
  EXPECT_EQ(SubkeyNames(cls + L"\\Implemented Categories"),
            std::set<std::wstring>{kControlCategory});

  // And as OLE reads them.
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"VantiqCtl.Vantiq", &clsid));
  EXPECT_EQ(GuidText(clsid), kClsid);
  DWORD misc = 0;
  ASSERT_HRESULT_SUCCEEDED(OleRegGetMiscStatus(CLSID_Vantiq, DVASPECT_CONTENT, &misc));
  EXPECT_EQ(misc, 0x28191u);
  BSTR typeLibPath = nullptr;
  ASSERT_HRESULT_SUCCEEDED(QueryPathOfRegTypeLib(LIBID_VantiqCtl, 1, 0, 1033, &typeLibPath));
  EXPECT_TRUE(SamePath(typeLibPath, library.Path())) << typeLibPath;
  SysFreeString(typeLibPath);
  ComPtr<_Vantiq> control;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER,
                                            IID__Vantiq, reinterpret_cast<void**>(control.Put())));
  double max = 0;
  EXPECT_HRESULT_SUCCEEDED(control->get_Max(&max));
  EXPECT_EQ(max, 100);
  control.Reset();

  ASSERT_EQ(library.Unregister(), S_OK);
  EXPECT_EQ(Snapshot(), before);
  // A second unregistration finds nothing left and still succeeds.
  EXPECT_EQ(library.Unregister(), S_OK);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RegistrationTest, LeavesAProgIdThatAnotherClassTookOver) {
  const ControlLibrary& library = ControlLibrary::Get();
  struct RemoveProgId {
    ~RemoveProgId() {
      RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq");
      RegDeleteKeyW(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq");
    }
  } cleanup;
  ASSERT_EQ(library.Register(), S_OK);
  const wchar_t other[] = L"{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(RegSetValueW(HKEY_CLASSES_ROOT, L"VantiqCtl.Vantiq\\CLSID", REG_SZ, other,
                         static_cast<DWORD>(wcslen(other) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ASSERT_EQ(library.Unregister(), S_OK);
  EXPECT_EQ(Value(L"VantiqCtl.Vantiq\\CLSID"), other);
  EXPECT_FALSE(KeyExists(L"VantiqCtl.Vantiq.1"));
  EXPECT_FALSE(KeyExists(L"CLSID\\" + std::wstring(kClsid)));
}

bool ClassKeyInView(REGSAM view) {
  return testing::KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\" + std::wstring(kClsid), view);
}

// A 32-bit library on 64-bit Windows registers in the 32-bit view of the registry,
// where only 32-bit hosts look for it.
TEST_F(RegistrationTest, ThirtyTwoBitLibraryOnSixtyFourBitWindowsUsesThe32BitView) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (!wow64) GTEST_SKIP() << "not a 32-bit program on 64-bit Windows";
  ASSERT_EQ(ControlLibrary::Get().Register(), S_OK);
  EXPECT_TRUE(ClassKeyInView(KEY_WOW64_32KEY));
  EXPECT_FALSE(ClassKeyInView(KEY_WOW64_64KEY));
  ASSERT_EQ(ControlLibrary::Get().Unregister(), S_OK);
  EXPECT_FALSE(ClassKeyInView(KEY_WOW64_32KEY));
}

TEST_F(RegistrationTest, ToolboxBitmapIsASmallTwentyFourBitProgressBar) {
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageW(ControlLibrary::Get().Module(), MAKEINTRESOURCEW(30000),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
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
