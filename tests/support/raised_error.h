// The run-time error a call raises: its number (0 when it raises none), and optionally
// its description.
#pragma once

#include <functional>
#include <string>

#include "common/runtime_error.h"

namespace vantiq::testing {

inline int ErrorNumber(const std::function<void()>& call, std::u16string* description = nullptr) {
  try {
    call();
  } catch (const RuntimeError& e) {
    if (description) *description = e.Description();
    return e.Number();
  }
  return 0;
}

}  // namespace vantiq::testing
