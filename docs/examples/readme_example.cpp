// Creating the control from C++ through the header generated from VantiqCtl.idl
// (build/<arch>/src/activex/generated/VantiqCtl.h and VantiqCtl_i.c).
#include <windows.h>

#include <cstdio>

#include "VantiqCtl.h"

int main() {
  CoInitialize(nullptr);
  _Vantiq* bar = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_Vantiq, nullptr, CLSCTX_INPROC_SERVER, IID__Vantiq,
                                reinterpret_cast<void**>(&bar));
  if (SUCCEEDED(hr)) {
    bar->put_Max(200);
    bar->put_value(250);  // clamped to Max
    double value = 0;
    bar->get_value(&value);
    BSTR format = SysAllocString(L"0.0%");
    bar->put_PercentFormat(format);  // the control adds "%" itself and drops it here
    SysFreeString(format);
    BSTR stored = nullptr;
    bar->get_PercentFormat(&stored);
    std::printf("value %g, format %ls\n", value, stored);
    SysFreeString(stored);
    bar->Release();
  }
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}
