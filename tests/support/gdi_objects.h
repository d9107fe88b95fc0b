// Windows only: the count of live GDI objects in this process, for the tests that
// check nothing is left behind.
#pragma once
#ifdef _WIN32

namespace vantiq::testing {

// Live GDI objects of this process, from the shared handle table; -1 when unknown.
int LiveGdiObjects();

}  // namespace vantiq::testing

#endif  // _WIN32
