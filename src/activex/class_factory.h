// The class factories that DllGetClassObject hands out for the library's classes.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace vantiq::activex {

// Makes one object of a class: an aggregate's inner IUnknown when `outer` is given.
using CreateObject = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// A new factory answering `iid` whose objects `create` makes. Each factory holds the
// module while it lives.
HRESULT CreateClassFactory(CreateObject create, REFIID iid, void** out);

}  // namespace vantiq::activex
