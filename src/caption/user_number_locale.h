// The number conventions of the user's regional settings.
#pragma once

#include "caption/number_format.h"

namespace vantiq {

// On Windows: the user's default locale (decimal and thousands separators, negative sign,
// decimals, currency symbol, separators, decimals and layout), any part it cannot read keeping
// its NumberLocale default. Elsewhere: NumberLocale's defaults.
NumberLocale UserNumberLocale();
// The same conventions written into `locale`, whose texts keep their storage: read on
// every paint, they cost no allocation once it has room.
void UserNumberLocale(NumberLocale& locale);

}  // namespace vantiq
