// Windows only: a scripted platform made to answer as this system does (version, system
// colours, visual styles and their names), so the software surface can be held to the
// pixels GDI shows here.
#pragma once
#ifdef _WIN32

#include "backends/soft/scriptable_platform.h"

namespace vantiq::testing {

// Call on the thread that will use the platform's version answers.
void MirrorRealSystem(ScriptablePlatform& platform);

}  // namespace vantiq::testing

#endif  // _WIN32
