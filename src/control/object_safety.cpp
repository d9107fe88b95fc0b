#include "control/object_safety.h"

#include "control/vantiq.h"

namespace vantiq {
namespace {

enum class SafetyKind { kUnknown, kScripting, kInitialisation };

// Identifiers compared as StringFromGUID2 writes them, upper-cased.
SafetyKind KindOf(const std::u16string& iidText) {
  std::u16string upper = iidText;
  // StringFromGUID2 fills a fixed buffer: the text ends at the first NUL.
  const std::size_t nul = upper.find(u'\0');
  if (nul != std::u16string::npos) upper.resize(nul);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  if (upper == u"{00020400-0000-0000-C000-000000000046}") return SafetyKind::kScripting;  // IDispatch
  if (upper == u"{0000010A-0000-0000-C000-000000000046}" ||  // IPersistStorage
      upper == u"{00000109-0000-0000-C000-000000000046}" ||  // IPersistStream
      upper == u"{7FD52380-4E07-101B-AE2D-08002B2EC713}" ||  // IPersistStreamInit
      upper == u"{37D84F60-42CB-11CE-8135-00AA004BB851}")    // IPersistPropertyBag
    return SafetyKind::kInitialisation;
  return SafetyKind::kUnknown;
}

}  // namespace

HResult GetInterfaceSafetyOptions(const Vantiq& control, const std::u16string* iidText,
                                  std::uint32_t& supported, std::uint32_t& enabled) {
  supported = kInterfaceSafeForUntrustedCaller | kInterfaceSafeForUntrustedData;
  if (!iidText) return kSOk;
  switch (KindOf(*iidText)) {
    case SafetyKind::kScripting:
      enabled = control.SafeForScripting() ? kInterfaceSafeForUntrustedCaller : 0;
      return kSOk;
    case SafetyKind::kInitialisation:
      enabled = control.SafeForInit() ? kInterfaceSafeForUntrustedData : 0;
      return kSOk;
    case SafetyKind::kUnknown:
      break;
  }
  return kENoInterface;
}

HResult SetInterfaceSafetyOptions(const Vantiq& control, const std::u16string* iidText,
                                  std::uint32_t optionMask, std::uint32_t enabledOptions) {
  if (!iidText) return kSOk;
  const std::uint32_t requested = optionMask & enabledOptions;
  switch (KindOf(*iidText)) {
    case SafetyKind::kScripting:
      return requested == kInterfaceSafeForUntrustedCaller && control.SafeForScripting() ? kSOk
                                                                                           : kEFail;
    case SafetyKind::kInitialisation:
      return requested == kInterfaceSafeForUntrustedData && control.SafeForInit() ? kSOk : kEFail;
    case SafetyKind::kUnknown:
      break;
  }
  return kENoInterface;
}

}  // namespace vantiq
