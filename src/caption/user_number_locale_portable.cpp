// Builds without the Windows backend have no regional settings to read.
#include "caption/user_number_locale.h"

#ifndef _WIN32

namespace vantiq {

NumberLocale UserNumberLocale() { return NumberLocale{}; }
void UserNumberLocale(NumberLocale& locale) { locale = NumberLocale{}; }

}  // namespace vantiq

#endif
