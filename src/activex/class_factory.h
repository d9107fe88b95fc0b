// The class factory that DllGetClassObject hands out for the Vantiq class.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace vantiq::activex {

// A new factory for the Vantiq class answering `iid`. Each factory holds the module
// while it lives.
HRESULT CreateClassFactory(REFIID iid, void** out);

}  // namespace vantiq::activex
