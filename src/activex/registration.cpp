// Self-registration: the class, its ProgIDs and the type library, all under
// HKEY_CLASSES_ROOT (a 32-bit library on 64-bit Windows lands in its 32-bit view by
// itself). Unregistration removes exactly these keys.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "VantiqCtl.h"
#include "activex/control_identity.h"
#include "activex/module.h"

namespace vantiq::activex {

namespace {

// CATID_Control: the class is an ActiveX control.
constexpr wchar_t kControlCategory[] = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring GuidText(REFGUID guid) {
  wchar_t buffer[40] = {};
  StringFromGUID2(guid, buffer, 40);
  return buffer;
}

struct RegistryValue {
  std::wstring key;     // under HKEY_CLASSES_ROOT
  const wchar_t* name;  // null for the key's default value
  std::wstring value;   // null name and empty value: the key alone
};

std::vector<RegistryValue> ClassEntries(const std::wstring& path) {
  const std::wstring clsid = GuidText(CLSID_Vantiq);
  const std::wstring classKey = L"CLSID\\" + clsid;
  const std::wstring misc = std::to_wstring(kMiscStatus);
  return {
      {kVersionedProgId, nullptr, kClassDescription},
      {std::wstring(kVersionedProgId) + L"\\CLSID", nullptr, clsid},
      {kProgId, nullptr, kClassDescription},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, clsid},
      {std::wstring(kProgId) + L"\\CurVer", nullptr, kVersionedProgId},
      {classKey, nullptr, kClassDescription},
      {classKey + L"\\InprocServer32", nullptr, path},
      {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {classKey + L"\\ProgID", nullptr, kVersionedProgId},
      {classKey + L"\\VersionIndependentProgID", nullptr, kProgId},
      {classKey + L"\\TypeLib", nullptr, GuidText(LIBID_VantiqCtl)},
      {classKey + L"\\Version", nullptr, kTypeLibVersion},
      {classKey + L"\\Control", nullptr, L""},
      {classKey + L"\\MiscStatus", nullptr, misc},
      {classKey + L"\\MiscStatus\\1", nullptr, misc},
      {classKey + L"\\ToolboxBitmap32", nullptr,
       path + L", " + std::to_wstring(kToolboxBitmapResource)},
      {classKey + L"\\Implemented Categories\\" + kControlCategory, nullptr, L""},
  };
}

HRESULT WriteValue(const RegistryValue& entry) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS && (entry.name || !entry.value.empty())) {
    status = RegSetValueExW(key, entry.name, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(entry.value.c_str()),
                            static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t)));
  }
  if (key) RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

// The default value of HKCR\<key>\CLSID, or empty.
std::wstring ClassOfProgId(const wchar_t* progId) {
  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  const std::wstring key = std::wstring(progId) + L"\\CLSID";
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return {};
  return buffer;
}

void DeleteTree(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

HRESULT RegisterEmbeddedTypeLib(std::wstring path) {
  ComPtr<ITypeLib> typeLib;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib.Put());
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(typeLib.Get(), path.data(), nullptr);
  return hr;
}

HRESULT Unregister() {
  const std::wstring clsid = GuidText(CLSID_Vantiq);
  // A ProgID that another class has taken over since is no longer ours to remove.
  for (const wchar_t* progId : {kProgId, kVersionedProgId})
    if (_wcsicmp(ClassOfProgId(progId).c_str(), clsid.c_str()) == 0) DeleteTree(progId);
  DeleteTree(L"CLSID\\" + clsid);
  // Only a registered library can be unregistered; none left means nothing to do.
  BSTR registeredPath = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(LIBID_VantiqCtl, kTypeLibMajor, kTypeLibMinor, kTypeLibLcid,
                                   &registeredPath)))
    return S_OK;
  SysFreeString(registeredPath);
  return UnRegisterTypeLib(LIBID_VantiqCtl, kTypeLibMajor, kTypeLibMinor, kTypeLibLcid, kSysKind);
}

}  // namespace

}  // namespace vantiq::activex

using namespace vantiq::activex;

STDAPI DllRegisterServer() {
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  for (const RegistryValue& entry : ClassEntries(path)) {
    if (FAILED(WriteValue(entry))) {
      Unregister();
      return SELFREG_E_CLASS;
    }
  }
  if (FAILED(RegisterEmbeddedTypeLib(path))) {
    Unregister();
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

STDAPI DllUnregisterServer() { return Unregister(); }
