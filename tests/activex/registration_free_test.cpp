// The control without registration: this program's manifest depends on the control's
// side-by-side assembly (VantiqCtl.sxs.manifest beside VantiqCtl.dll), so COM finds the
// class, its ProgIDs and its type library through the activation context alone. The
// prefix holds no class key of the control before, during or after.
#include <olectl.h>

#include <string>
#include <vector>

#include "activex/control_identity.h"
#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

// The control's class, ProgID and type library keys under HKLM and HKCU classes, in
// both registry views.
std::vector<std::wstring> RegisteredKeys() {
  const std::wstring keys[] = {L"VantiqCtl.Vantiq", L"VantiqCtl.Vantiq.1",
                               L"CLSID\\" + GuidText(CLSID_Vantiq),
                               L"CLSID\\" + GuidText(kGeneralPageClsid),
                               L"TypeLib\\" + GuidText(LIBID_VantiqCtl)};
  std::vector<std::wstring> found;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
      for (const std::wstring& key : keys) {
        HKEY opened = nullptr;
        const std::wstring path = L"Software\\Classes\\" + key;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &opened) == ERROR_SUCCESS) {
          RegCloseKey(opened);
          found.push_back((root == HKEY_LOCAL_MACHINE ? L"HKLM\\" : L"HKCU\\") + path);
        }
      }
  return found;
}

// The class a created object says it is, from its own type information.
std::wstring ClassOf(IUnknown* object) {
  ComPtr<IProvideClassInfo> provide;
  object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(provide.Put()));
  ComPtr<ITypeInfo> info;
  if (!provide || FAILED(provide->GetClassInfo(info.Put()))) return L"<none>";
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return L"<none>";
  const std::wstring guid = GuidText(attributes->guid);
  info->ReleaseTypeAttr(attributes);
  return guid;
}

using RegistrationFreeTest = ComTest;

TEST_F(RegistrationFreeTest, CreatesTheControlAndItsPageByClsidAndProgIdWithNothingInTheRegistry) {
  ASSERT_EQ(RegisteredKeys(), std::vector<std::wstring>{}) << "the prefix must not hold the control";

  ComPtr<_Vantiq> control;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER, IID__Vantiq,
                                            reinterpret_cast<void**>(control.Put())));
  ASSERT_HRESULT_SUCCEEDED(control->put_value(42));
  double value = 0;
  EXPECT_HRESULT_SUCCEEDED(control->get_value(&value));
  EXPECT_EQ(value, 42);
  EXPECT_EQ(ClassOf(control.Get()), GuidText(CLSID_Vantiq));

  // The library came from this program's folder, as the assembly names it.
  wchar_t library[MAX_PATH] = {};
  ASSERT_NE(GetModuleHandleW(L"VantiqCtl.dll"), nullptr);
  GetModuleFileNameW(GetModuleHandleW(L"VantiqCtl.dll"), library, MAX_PATH);
  EXPECT_TRUE(SamePath(library, ProgramFolder() + L"VantiqCtl.dll")) << library;

  // Both ProgIDs name the class (Wine hands out an alias of the CLSID that creates it).
  for (const wchar_t* progId : {L"VantiqCtl.Vantiq", L"VantiqCtl.Vantiq.1"}) {
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(progId, &clsid)) << progId;
    ComPtr<IUnknown> byProgId;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                              reinterpret_cast<void**>(byProgId.Put())))
        << progId;
    EXPECT_EQ(ClassOf(byProgId.Get()), GuidText(CLSID_Vantiq)) << progId;
  }

  // OLE reads the class's status bits from the assembly.
  DWORD misc = 0;
  EXPECT_HRESULT_SUCCEEDED(OleRegGetMiscStatus(CLSID_Vantiq, DVASPECT_CONTENT, &misc));
  EXPECT_EQ(misc, 0x28191u);

  // The type library by its identifier, loaded from the DLL.
  ComPtr<ITypeLib> typeLib;
  ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_VantiqCtl, 1, 0, 0, typeLib.Put()));
  ComPtr<ITypeInfo> typeInfo;
  EXPECT_HRESULT_SUCCEEDED(typeLib->GetTypeInfoOfGuid(CLSID_Vantiq, typeInfo.Put()));

  // The property page by its class, from the same assembly.
  ComPtr<IPropertyPage> page;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kGeneralPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                            reinterpret_cast<void**>(page.Put())));
  PROPPAGEINFO info{};
  ASSERT_HRESULT_SUCCEEDED(page->GetPageInfo(&info));
  EXPECT_STREQ(info.pszTitle, L"General");
  CoTaskMemFree(info.pszTitle);

  page.Reset();
  control.Reset();
  typeInfo.Reset();
  typeLib.Reset();
  EXPECT_EQ(RegisteredKeys(), std::vector<std::wstring>{}) << "nothing written on the way";
}

}  // namespace
}  // namespace vantiq::activex::testing
