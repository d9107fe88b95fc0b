// The library's entry points: the loader's DllMain and the four COM server exports
// that are not self-registration (registration.cpp).
#include <windows.h>
#include <ole2.h>

#include "VantiqCtl.h"
#include "activex/class_factory.h"
#include "activex/control_identity.h"
#include "activex/control_object.h"
#include "activex/general_page.h"
#include "activex/module.h"

using namespace vantiq::activex;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleHandle(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid == CLSID_Vantiq) return CreateClassFactory(ControlObject::Create, iid, out);
  if (clsid == kGeneralPageClsid) return CreateClassFactory(GeneralPage::Create, iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleCanUnload() ? S_OK : S_FALSE; }
