// The user's number conventions from the Windows locale settings.
#include "caption/user_number_locale.h"

#include <windows.h>

#include <string>

namespace vantiq {
namespace {

// A text setting, or nothing when the locale cannot answer. An empty answer is kept:
// a user may clear the thousands separator.
bool ReadText(LCTYPE type, std::u16string& out) {
  wchar_t buffer[32];  // the longest of these settings (the currency symbol) is 13 with its null
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 32);
  if (length <= 0) return false;
  out.assign(buffer, buffer + length - 1);
  return true;
}

void ReadNumber(LCTYPE type, int low, int high, int& out) {
  DWORD value = 0;
  const int read = GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER,
                                  reinterpret_cast<LPWSTR>(&value), sizeof value / sizeof(wchar_t));
  if (read > 0 && static_cast<int>(value) >= low && static_cast<int>(value) <= high) {
    out = static_cast<int>(value);
  }
}

}  // namespace

NumberLocale UserNumberLocale() {
  NumberLocale locale;
  UserNumberLocale(locale);
  return locale;
}

void UserNumberLocale(NumberLocale& locale) {
  locale = NumberLocale{};
  ReadText(LOCALE_SDECIMAL, locale.decimal_separator);
  ReadText(LOCALE_STHOUSAND, locale.thousands_separator);
  ReadText(LOCALE_SNEGATIVESIGN, locale.negative_sign);
  ReadNumber(LOCALE_IDIGITS, 0, 9, locale.fraction_digits);
  ReadText(LOCALE_SCURRENCY, locale.currency_symbol);
  ReadText(LOCALE_SMONDECIMALSEP, locale.currency_decimal_separator);
  ReadText(LOCALE_SMONTHOUSANDSEP, locale.currency_thousands_separator);
  ReadNumber(LOCALE_ICURRDIGITS, 0, 9, locale.currency_digits);
  ReadNumber(LOCALE_ICURRENCY, 0, 3, locale.currency_positive_order);
  ReadNumber(LOCALE_INEGCURR, 0, 15, locale.currency_negative_order);
}

}  // namespace vantiq
