// Windows only: the count of live GDI objects in this process, for the tests and the
// benchmark that check nothing is left behind.
#pragma once
#ifdef _WIN32

namespace vantiq::tools {

// Live GDI objects of this process, from the shared handle table; -1 when unknown.
int LiveGdiObjects();

}  // namespace vantiq::tools

#endif  // _WIN32
