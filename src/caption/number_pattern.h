// The parsed form of a user-defined numeric format pattern (see caption/number_format.h).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantiq {
namespace number_pattern {

// Patterns are read up to this many UTF-16 units. The platform's own engine refuses any
// pattern whose compiled form passes 255 bytes, and no caption needs more; the bound keeps
// the work, the counts (ints) and the output of a hostile pattern small.
constexpr std::size_t kMaxPatternLength = 65536;

enum class TokenKind {
  kLiteral,       // text shown as it is
  kDigits,        // a run of one kind of digit placeholder
  kDecimalPoint,  // the locale's decimal separator
  kExponent,      // E or e, the exponent's sign and digits
};

struct Token {
  TokenKind kind = TokenKind::kLiteral;
  std::u16string text;    // kLiteral
  int count = 0;          // kDigits: placeholders in the run; kExponent: least digits
  bool zero = false;      // kDigits: "0" rather than "#"
  bool fraction = false;  // kDigits: after the decimal point
  bool upper = false;     // kExponent: "E" rather than "e"
  bool plus = false;      // kExponent: shows "+" for a positive exponent
};

struct Section {
  bool present = false;  // the pattern has text for it
  std::vector<Token> tokens;
  bool grouping = false;
  int thousands_scale = 0;  // commas after the last integer placeholder
  bool percent = false;
  bool scientific = false;
  int integer_places = 0;
  // Integer placeholders from the first "0" on: the least number of integer digits shown.
  int integer_zero_places = 0;
  int fraction_places = 0;
  // Fraction placeholders up to the last "0": the least number of decimals shown.
  int fraction_zero_places = 0;
};

// Positive, negative, zero and null, in pattern order.
using Sections = std::array<Section, 4>;

// Splits a user-defined pattern into its sections and tokens. Linear in the pattern's
// length; text past kMaxPatternLength and past a fourth section is ignored.
Sections Parse(std::u16string_view pattern);

}  // namespace number_pattern
}  // namespace vantiq
