// Upper-casing of UTF-16 text as Windows' invariant locale does it.
#pragma once

#include <string>

namespace vantiq {

// Maps every character that has a one-to-one upper-case partner: ASCII, Latin-1
// and Latin Extended-A. Characters whose upper case would not map back to them
// (micro sign, sharp s, dotless i, long s) stay unchanged, as in Windows' casing
// tables; so does everything outside those blocks.
char16_t UpperCase(char16_t c);
std::u16string UpperCase(std::u16string text);

}  // namespace vantiq
