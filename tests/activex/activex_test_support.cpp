#include "activex_test_support.h"

#include <olectl.h>

#include <stdexcept>

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

ComPtr<IPictureDisp> NewPicture(HBITMAP bitmap) {
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  ComPtr<IPictureDisp> picture;
  OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(picture.Put()));
  return picture;
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

}  // namespace vantiq::activex::testing
