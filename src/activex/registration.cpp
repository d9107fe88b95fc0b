// Self-registration: the class, its ProgIDs, its property page's class and the type library, all under
// HKEY_CLASSES_ROOT (a 32-bit library on 64-bit Windows lands in its 32-bit view by
// itself). Unregistration removes exactly these keys.
//
// DllInstall with the command line "user" writes and removes the same keys for the
// current user alone: HKEY_CLASSES_ROOT is pointed at HKCU\Software\Classes for the
// call, so one set of code serves both. The type library's keys are written here rather
// than by RegisterTypeLibForUser: Wine's registers machine-wide, and its RegisterTypeLib
// also writes the interfaces into the machine's 64-bit view past any redirection. Any
// other non-empty command line is refused.
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
  const std::wstring pageKey = L"CLSID\\" + GuidText(kGeneralPageClsid);
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
      {pageKey, nullptr, kGeneralPageDescription},
      {pageKey + L"\\InprocServer32", nullptr, path},
      {pageKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
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

std::wstring BstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// The keys RegisterTypeLib writes for `typeLib` in `path`: the library's version key with
// its file, flags and help folder, and each Automation interface with its proxy.
std::vector<RegistryValue> TypeLibEntries(ITypeLib* typeLib, const std::wstring& path) {
  std::vector<RegistryValue> entries;
  TLIBATTR* lib = nullptr;
  if (FAILED(typeLib->GetLibAttr(&lib))) return entries;
  wchar_t version[16], lcid[16];
  swprintf(version, 16, L"%x.%x", lib->wMajorVerNum, lib->wMinorVerNum);
  swprintf(lcid, 16, L"%lx", static_cast<unsigned long>(lib->lcid));
  const std::wstring libId = GuidText(lib->guid);
  const std::wstring flags = std::to_wstring(lib->wLibFlags);
  typeLib->ReleaseTLibAttr(lib);

  BSTR name = nullptr, doc = nullptr;
  typeLib->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
  const std::wstring title = BstrText(doc).empty() ? BstrText(name) : BstrText(doc);
  SysFreeString(name);
  SysFreeString(doc);
  const std::wstring base = L"TypeLib\\" + libId + L"\\" + version;
  entries.push_back({base, nullptr, title});
  entries.push_back({base + L"\\" + lcid + (kSysKind == SYS_WIN64 ? L"\\win64" : L"\\win32"), nullptr, path});
  entries.push_back({base + L"\\FLAGS", nullptr, flags});
  entries.push_back({base + L"\\HELPDIR", nullptr, path.substr(0, path.find_last_of(L"\\/"))});

  for (UINT i = 0, n = typeLib->GetTypeInfoCount(); i < n; ++i) {
    ComPtr<ITypeInfo> info;
    TYPEATTR* type = nullptr;
    if (FAILED(typeLib->GetTypeInfo(i, info.Put())) || FAILED(info->GetTypeAttr(&type))) continue;
    const TYPEKIND kind = type->typekind;
    const WORD typeFlags = type->wTypeFlags;
    const GUID iid = type->guid;
    info->ReleaseTypeAttr(type);
    if (kind != TKIND_DISPATCH && !(kind == TKIND_INTERFACE && (typeFlags & TYPEFLAG_FOLEAUTOMATION)))
      continue;
    // Dual and Automation interfaces go through the type library marshaler, dispatch
    // interfaces through IDispatch's.
    const wchar_t* proxy = (kind == TKIND_INTERFACE || (typeFlags & TYPEFLAG_FDUAL))
                               ? L"{00020424-0000-0000-C000-000000000046}"
                               : L"{00020420-0000-0000-C000-000000000046}";
    BSTR typeName = nullptr;
    typeLib->GetDocumentation(static_cast<INT>(i), &typeName, nullptr, nullptr, nullptr);
    const std::wstring key = L"Interface\\" + GuidText(iid);
    entries.push_back({key, nullptr, BstrText(typeName)});
    SysFreeString(typeName);
    entries.push_back({key + L"\\ProxyStubClsid", nullptr, proxy});
    entries.push_back({key + L"\\ProxyStubClsid32", nullptr, proxy});
    entries.push_back({key + L"\\TypeLib", nullptr, libId});
    entries.push_back({key + L"\\TypeLib", L"Version", version});
  }
  return entries;
}

// The default value of HKCR\<key>, or empty.
std::wstring DefaultValue(const std::wstring& key) {
  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return {};
  return buffer;
}

HRESULT RegisterEmbeddedTypeLib(std::wstring path, bool perUser) {
  ComPtr<ITypeLib> typeLib;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib.Put());
  if (FAILED(hr)) return hr;
  if (!perUser) return RegisterTypeLib(typeLib.Get(), path.data(), nullptr);
  const std::vector<RegistryValue> entries = TypeLibEntries(typeLib.Get(), path);
  if (entries.empty()) return E_FAIL;
  for (const RegistryValue& entry : entries)
    if (FAILED(hr = WriteValue(entry))) return hr;
  return S_OK;
}

// The library's version key, and every interface key that still names the library.
void UnregisterUserTypeLib() {
  ComPtr<ITypeLib> typeLib;
  const std::wstring path = ModulePath();
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib.Put()))) return;
  const std::wstring libId = GuidText(LIBID_VantiqCtl);
  for (const RegistryValue& entry : TypeLibEntries(typeLib.Get(), path)) {
    if (entry.name) continue;
    if (entry.key.rfind(L"TypeLib\\", 0) == 0 && entry.key.find(L'\\', 8) == entry.key.rfind(L'\\')) {
      DeleteTree(entry.key);  // TypeLib\{libid}\<version>
      RegDeleteKeyW(HKEY_CLASSES_ROOT, (L"TypeLib\\" + libId).c_str());  // when no version is left
    } else if (entry.key.rfind(L"Interface\\", 0) == 0 && entry.key.find(L'\\', 10) == std::wstring::npos &&
               _wcsicmp(DefaultValue(entry.key + L"\\TypeLib").c_str(), libId.c_str()) == 0) {
      DeleteTree(entry.key);
    }
  }
}

HRESULT Unregister(bool perUser) {
  const std::wstring clsid = GuidText(CLSID_Vantiq);
  // A ProgID that another class has taken over since is no longer ours to remove.
  for (const wchar_t* progId : {kProgId, kVersionedProgId})
    if (_wcsicmp(ClassOfProgId(progId).c_str(), clsid.c_str()) == 0) DeleteTree(progId);
  DeleteTree(L"CLSID\\" + clsid);
  DeleteTree(L"CLSID\\" + GuidText(kGeneralPageClsid));
  if (perUser) {
    UnregisterUserTypeLib();
    return S_OK;
  }
  // Only a registered library can be unregistered; none left means nothing to do.
  BSTR registeredPath = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(LIBID_VantiqCtl, kTypeLibMajor, kTypeLibMinor, kTypeLibLcid,
                                   &registeredPath)))
    return S_OK;
  SysFreeString(registeredPath);
  return UnRegisterTypeLib(LIBID_VantiqCtl, kTypeLibMajor, kTypeLibMinor, kTypeLibLcid, kSysKind);
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
