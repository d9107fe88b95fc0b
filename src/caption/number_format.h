// The numeric format language of OLE Automation (what VarFormat and the Format function do
// with a double and a user-defined or named pattern), used for the caption's percentage.
#pragma once

#include <string>
#include <string_view>

#include "caption/number_pattern.h"

namespace vantiq {

// The conventions a formatted number follows. The defaults are US English; on Windows
// UserNumberLocale() (caption/user_number_locale.h) reads the user's regional settings.
struct NumberLocale {
  std::u16string decimal_separator = u".";
  std::u16string thousands_separator = u",";
  std::u16string negative_sign = u"-";
  // Decimal places of the named formats "Fixed", "Standard" and "Percent" (0 to 9).
  int fraction_digits = 2;

  // The named format "Currency".
  std::u16string currency_symbol = u"$";
  std::u16string currency_decimal_separator = u".";
  std::u16string currency_thousands_separator = u",";
  int currency_digits = 2;  // 0 to 9
  // Where symbol, number and sign go, numbered as the regional settings number them:
  // positive 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; negative 0 "($1)" to 15 "(1 $)".
  int currency_positive_order = 0;
  int currency_negative_order = 0;
};

// Formats value with pattern, which is either empty (the general form, as "General Number"),
// one of the named formats (General Number, Currency, Fixed, Standard, Percent, Scientific,
// Yes/No, True/False, On/Off; any letter case) or a user-defined pattern:
//   0 #        digit placeholders: "0" shows a digit or a zero, "#" a digit or nothing;
//              the integer part always shows all its digits, the fraction is rounded
//   .          the decimal separator (the first one of a section; later ones are literal)
//   ,          between integer placeholders: group thousands; after the last integer
//              placeholder: divide by 1000 per comma; before any placeholder: literal
//   %          multiplies by 100 (once per section) and shows itself
//   E+ E- e+ e-  scientific form after at least one placeholder; the 0s after it set the
//              least number of exponent digits; E- shows a sign only for a negative exponent
//   \c "text"  literal text; every other character is shown as it is (- + $ ( ) space...);
//              the date, time and text tokens of the language are not interpreted
//   ;          up to four sections: positive; negative; zero; null (never used for a
//              double). A missing or empty section uses the first one. The first section
//              shows a minus sign for a negative value before its first placeholder; the
//              negative section shows only what it contains.
// Values are rounded half away from zero on their 15-significant-digit decimal form.
// NaN and infinities give "NAN", "INF" and "-INF" whatever the pattern. Never throws
// anything but std::bad_alloc.
std::u16string FormatNumber(double value, const std::u16string& pattern,
                            const NumberLocale& locale = NumberLocale{});

// FormatNumber for a caller that formats again and again, as the caption does on every
// paint: the text goes into `out`, whose storage is reused, and the parsed form of the
// last pattern parsed is kept, so the same pattern is parsed once. One per control: it
// is not shared between threads.
class NumberFormatter {
 public:
  void Format(double value, std::u16string_view pattern, const NumberLocale& locale, std::u16string& out);
  // The sections of a user-defined pattern: the kept ones when it is the last one parsed.
  const number_pattern::Sections& Parsed(std::u16string_view pattern);

 private:
  std::u16string pattern_;
  number_pattern::Sections sections_;
  bool parsed_ = false;
};

}  // namespace vantiq
