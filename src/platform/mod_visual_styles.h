// Library-presence tests: can a library, or one function in it, be loaded?
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantiq::modVisualStyles {

// True when `library` loads and exports `function` (a non-null GetProcAddress).
// Names are in the system code page; export names compare case-sensitively.
bool IsFunctionExported(Platform& platform, const std::string& library,
                        const std::string& function);
// True when `library` loads.
bool IsDllPresent(Platform& platform, const std::string& library);

}  // namespace vantiq::modVisualStyles
