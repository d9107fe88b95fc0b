#include "common/runtime_error.h"

namespace vantiq {

std::int32_t RuntimeError::HResult() const {
  if (hresult_ != 0) return hresult_;
  // Run-time error numbers travel in FACILITY_CONTROL: 0x800A0000 + number.
  return static_cast<std::int32_t>(0x800A0000u | (static_cast<std::uint32_t>(number_) & 0xFFFFu));
}

}  // namespace vantiq
