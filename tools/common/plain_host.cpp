#include "common/plain_host.h"

#include "caption/number_format.h"
#include "caption/user_number_locale.h"

namespace vantiq::tools {

std::u16string PlainHost::FormatNumber(double value, const std::u16string& pattern) {
  return vantiq::FormatNumber(value, pattern, UserNumberLocale());
}

}  // namespace vantiq::tools
