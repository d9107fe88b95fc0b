// The number-format engine with any value and any pattern: it must answer, quickly,
// without touching memory it does not own.
#include <algorithm>

#include "caption/number_format.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantiq::fuzz::FuzzInput in(data, size);
  const double value = in.Raw<double>();
  vantiq::NumberLocale locale;
  if (in.Byte() & 1) {  // a locale with long, odd separators
    locale.decimal_separator = in.Text(8);
    locale.thousands_separator = in.Text(8);
    locale.fraction_digits = in.Byte() % 10;
  }
  const std::u16string pattern = in.RestAsText();
  const std::u16string text = vantiq::FormatNumber(value, pattern, locale);
  // The text is built from the pattern's literals (two units each at most, a separator for
  // the decimal point) and the widest double's digits with their group separators.
  const std::size_t unit =
      std::max({std::size_t{1}, locale.decimal_separator.size(), locale.thousands_separator.size()});
  if (text.size() > 2 * unit * pattern.size() + 440 * unit) vantiq::fuzz::Fail("text longer than its pattern allows");
  return 0;
}
