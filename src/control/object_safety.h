// What the control tells script hosts through IObjectSafety: safe to script through
// IDispatch, safe to initialise through its four persistence interfaces, and nothing
// about any other interface. The COM shell turns the interface pointer into its
// registry text and calls these.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace vantiq {

class Vantiq;

constexpr std::uint32_t kInterfaceSafeForUntrustedCaller = 1;
constexpr std::uint32_t kInterfaceSafeForUntrustedData = 2;
constexpr HResult kENoInterface = static_cast<HResult>(0x80004002u);

// iidText: the interface identifier's registry text (any case, with braces), or nullptr for a null identifier pointer.
// Always sets `supported` to both options; sets `enabled` only for a known interface.
HResult GetInterfaceSafetyOptions(const Vantiq& control, const std::u16string* iidText,
                                  std::uint32_t& supported, std::uint32_t& enabled);
// Accepts exactly the one option that applies to the interface, and only while the
// control declares it; changes nothing.
HResult SetInterfaceSafetyOptions(const Vantiq& control, const std::u16string* iidText,
                                  std::uint32_t optionMask, std::uint32_t enabledOptions);

}  // namespace vantiq
