// The number-format engine with any value and any pattern: it must answer, quickly,
// without touching memory it does not own.
#include <cstdlib>

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
  // The text is built from the pattern's literals and at most a few hundred digits.
  if (text.size() > 64 * pattern.size() + 4096) std::abort();
  return 0;
}
