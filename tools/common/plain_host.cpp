#include "common/plain_host.h"

#include "caption/number_format.h"
#include "caption/user_number_locale.h"

namespace vantiq::tools {

void PlainHost::FormatNumber(double value, const std::u16string& pattern, std::u16string& out) {
  UserNumberLocale(locale_);
  numbers_.Format(value, pattern, locale_, out);
}

}  // namespace vantiq::tools
