// Self-registration: the class, its ProgIDs and the type library, all under
// HKEY_CLASSES_ROOT (a 32-bit library on 64-bit Windows lands in its 32-bit view by
// itself). Unregistration removes exactly these keys.
//
// DllInstall with the command line "user" writes and removes the same keys for the
// current user alone: HKEY_CLASSES_ROOT is pointed at HKCU\Software\Classes for the
// call, so one set of code serves both. Any other non-empty command line is refused.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "VantiqCtl.h"
#include "activex/control_identity.h"
#include "activex/module.h"

// oleaut32 exports these from Vista on; the MinGW headers do not declare them.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* typeLib, OLECHAR* path, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID lcid,
                                        SYSKIND sysKind);
}

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

HRESULT RegisterEmbeddedTypeLib(std::wstring path, bool perUser) {
  ComPtr<ITypeLib> typeLib;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib.Put());
  // Wine's per-user call registers machine-wide; the redirected root still keeps it
  // in the user's classes there.
  if (SUCCEEDED(hr))
    hr = perUser ? RegisterTypeLibForUser(typeLib.Get(), path.data(), nullptr)
                 : RegisterTypeLib(typeLib.Get(), path.data(), nullptr);
  return hr;
}

HRESULT Unregister(bool perUser) {
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
  return perUser ? UnRegisterTypeLibForUser(LIBID_VantiqCtl, kTypeLibMajor, kTypeLibMinor,
                                            kTypeLibLcid, kSysKind)
                 : UnRegisterTypeLib(LIBID_VantiqCtl, kTypeLibMajor, kTypeLibMinor, kTypeLibLcid,
                                     kSysKind);
}

HRESULT Register(bool perUser) {
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  for (const RegistryValue& entry : ClassEntries(path)) {
    if (FAILED(WriteValue(entry))) {
      Unregister(perUser);
      return SELFREG_E_CLASS;
    }
  }
  if (FAILED(RegisterEmbeddedTypeLib(path, perUser))) {
    Unregister(perUser);
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

// HKEY_CLASSES_ROOT means the current user's classes alone while it lives.
class UserClassesRoot {
 public:
  UserClassesRoot() {
    status_ = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &classes_, nullptr);
    if (status_ == ERROR_SUCCESS) status_ = RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_);
  }
  ~UserClassesRoot() {
    if (status_ == ERROR_SUCCESS) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    if (classes_) RegCloseKey(classes_);
  }
  UserClassesRoot(const UserClassesRoot&) = delete;
  UserClassesRoot& operator=(const UserClassesRoot&) = delete;
  HRESULT Status() const { return HRESULT_FROM_WIN32(status_); }

 private:
  HKEY classes_ = nullptr;
  LONG status_ = ERROR_SUCCESS;
};

}  // namespace

}  // namespace vantiq::activex

using namespace vantiq::activex;

STDAPI DllRegisterServer() { return Register(false); }

STDAPI DllUnregisterServer() { return Unregister(false); }

// regsvr32 /n /i:user installs for the current user, regsvr32 /u /n /i:user removes
// that again; without a command line, the machine-wide registration.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  if (!commandLine || !*commandLine) return install ? Register(false) : Unregister(false);
  if (_wcsicmp(commandLine, L"user") != 0) return E_INVALIDARG;
  UserClassesRoot root;
  if (FAILED(root.Status())) return install ? SELFREG_E_CLASS : root.Status();
  return install ? Register(true) : Unregister(true);
}
