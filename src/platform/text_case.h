// Upper-casing of the theme file and colour names the paint rules compare. It knows
// three blocks only, ASCII, Latin-1 and Latin Extended-A, where it gives what Windows'
// invariant locale gives; every other character is left as it is. The names it is
// compared against are ASCII, so letters beyond those blocks never decide anything.
#pragma once

#include <string>

namespace vantiq {

// Maps every character of those blocks that has a one-to-one upper-case partner.
// Characters whose upper case would not map back to them (micro sign, sharp s,
// dotless i, long s) stay unchanged, as the invariant locale leaves them.
char16_t UpperCase(char16_t c);
std::u16string UpperCase(std::u16string text);

}  // namespace vantiq
