#include "caption/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "caption/number_pattern.h"

namespace vantiq {
namespace {

using number_pattern::Section;
using number_pattern::Sections;
using number_pattern::Token;
using number_pattern::TokenKind;

// Locale texts are cut to this length. Windows keeps separators to 3 characters and the
// currency symbol to 12; a longer caller-made text would multiply the size of the output
// (a separator goes after every third digit).
constexpr std::size_t kMaxLocaleText = 16;

// A non-negative number 0.d1 d2 ... dk x 10^exponent, held as decimal digit characters with
// no trailing zero; zero has no digits.
struct Decimal {
  std::string digits;
  long long exponent = 0;

  bool IsZero() const { return digits.empty(); }
  long long size() const { return static_cast<long long>(digits.size()); }
  // The digit whose weight is 10^power.
  int DigitAt(long long power) const {
    const long long index = exponent - 1 - power;
    return index >= 0 && index < size() ? digits[static_cast<std::size_t>(index)] - '0' : 0;
  }
  long long IntegerDigits() const { return IsZero() ? 0 : std::max(exponent, 0LL); }
  long long FractionDigits() const { return IsZero() ? 0 : std::max(size() - exponent, 0LL); }

  void StripTrailingZeros() {
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
  }

  // Keeps the first `keep` digits, rounding half away from zero on the rest.
  void RoundToDigits(long long keep) {
    if (keep >= size()) return;
    if (keep < 0) {
      digits.clear();
      return;
    }
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
      while (!digits.empty() && digits.back() == '9') digits.pop_back();
      if (digits.empty()) {
        digits = "1";
        ++exponent;
      } else {
        ++digits.back();
      }
    }
    StripTrailingZeros();
  }
};

// The value's 15-significant-digit decimal form, the number the format rounds from (what
// the platform's own text conversion of a double gives). The exact expansion of a double
// has at most 767 significant digits, so asking for 771 makes to_chars exact and the cut
// to 15 digits rounds half away from zero on the true value.
Decimal FifteenDigits(double magnitude) {
  Decimal d;
  if (magnitude == 0) return d;
  char buffer[800];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, 770);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  long long power = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  power);
  d.exponent = power + 1;
  // Only the 16th digit decides the rounding of the first 15, so the digits are cut and
  // rounded here and the kept ones fit the string's own storage: no allocation.
  char digits[16];
  std::size_t n = 0;
  digits[n++] = text[0];
  for (std::size_t i = 2; i < e && n < 16; ++i) digits[n++] = text[i];
  if (n == 16) {
    const bool up = digits[15] >= '5';
    n = 15;
    if (up) {
      while (n > 0 && digits[n - 1] == '9') --n;
      if (n == 0) {
        digits[n++] = '1';
        ++d.exponent;
      } else {
        ++digits[n - 1];
      }
    }
  }
  while (n > 0 && digits[n - 1] == '0') --n;
  d.digits.assign(digits, n);
  return d;
}

std::u16string Cut(const std::u16string& text) { return text.substr(0, kMaxLocaleText); }

NumberLocale Bounded(const NumberLocale& locale) {
  NumberLocale b = locale;
  b.decimal_separator = Cut(locale.decimal_separator);
  b.thousands_separator = Cut(locale.thousands_separator);
  b.negative_sign = Cut(locale.negative_sign);
  b.currency_symbol = Cut(locale.currency_symbol);
  b.currency_decimal_separator = Cut(locale.currency_decimal_separator);
  b.currency_thousands_separator = Cut(locale.currency_thousands_separator);
  return b;
}

void AppendNumber(std::u16string& out, unsigned long long n, long long least_digits) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  const long long length = result.ptr - buffer;
  if (least_digits > length) out.append(static_cast<std::size_t>(least_digits - length), u'0');
  out.append(buffer, result.ptr);
}

std::u16string RenderSection(const Section& s, Decimal d, bool sign, const NumberLocale& locale) {
  if (!d.IsZero()) d.exponent += (s.percent ? 2 : 0) - 3LL * s.thousands_scale;
  long long shown_exponent = 0;
  if (s.scientific) {
    // The mantissa has exactly as many integer digits as the section has placeholders.
    d.RoundToDigits(static_cast<long long>(s.integer_places) + s.fraction_places);
    if (!d.IsZero()) {
      shown_exponent = d.exponent - s.integer_places;
      d.exponent = s.integer_places;
    }
  } else {
    d.RoundToDigits(d.exponent + s.fraction_places);
  }
  const long long integer_digits = d.IntegerDigits();
  const long long width = std::max<long long>(integer_digits, s.integer_zero_places);
  const long long decimals = std::max<long long>(
      s.fraction_zero_places, std::min<long long>(d.FractionDigits(), s.fraction_places));

  std::u16string out;
  bool sign_pending = sign;
  auto put_sign = [&] {
    if (sign_pending) out += locale.negative_sign;
    sign_pending = false;
  };
  auto put_integer_digit = [&](long long power) {
    out += static_cast<char16_t>(u'0' + d.DigitAt(power));
    if (s.grouping && power > 0 && power % 3 == 0) out += locale.thousands_separator;
  };

  long long integer_index = 0;
  long long fraction_index = 0;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case TokenKind::kLiteral:
        out += t.text;
        break;
      case TokenKind::kDigits:
        put_sign();
        for (int k = 0; k < t.count; ++k) {
          if (t.fraction) {
            if (fraction_index < decimals) {
              out += static_cast<char16_t>(u'0' + d.DigitAt(-1 - fraction_index));
            }
            ++fraction_index;
            continue;
          }
          const long long power = s.integer_places - 1 - integer_index;
          // Digits beyond the placeholders all go to the first one.
          if (integer_index == 0) {
            for (long long p = width - 1; p > power; --p) put_integer_digit(p);
          }
          if (power < width) put_integer_digit(power);
          ++integer_index;
        }
        break;
      case TokenKind::kDecimalPoint:
        put_sign();
        if (s.integer_places == 0) {
          for (long long p = integer_digits - 1; p >= 0; --p) put_integer_digit(p);
        }
        out += locale.decimal_separator;
        break;
      case TokenKind::kExponent:
        out += t.upper ? u'E' : u'e';
        if (shown_exponent < 0) {
          out += u'-';
        } else if (t.plus) {
          out += u'+';
        }
        AppendNumber(out, static_cast<unsigned long long>(std::llabs(shown_exponent)),
                     std::max(1, t.count));
        break;
    }
  }
  return out;
}

std::u16string FormatUserDefined(double value, std::u16string_view pattern,
                                 const NumberLocale& locale) {
  const Sections sections = number_pattern::Parse(pattern);
  const Section* section = &sections[0];
  bool sign = false;
  if (value == 0 && sections[2].present) {
    section = &sections[2];
  } else if (value < 0 && sections[1].present) {
    section = &sections[1];  // shows only what it contains: no minus sign of its own
  } else {
    sign = value < 0;
  }
  return RenderSection(*section, FifteenDigits(std::fabs(value)), sign, locale);
}

// The general form: 15 significant digits, scientific from 1E+15 up and below 1E-04.
std::u16string GeneralForm(double value, const NumberLocale& locale) {
  const Decimal d = FifteenDigits(std::fabs(value));
  if (d.IsZero()) return u"0";
  std::u16string out;
  if (value < 0) out += locale.negative_sign;
  const long long power = d.exponent - 1;
  if (power < -4 || power >= 15) {
    out += static_cast<char16_t>(d.digits[0]);
    if (d.size() > 1) {
      out += locale.decimal_separator;
      out.append(d.digits.begin() + 1, d.digits.end());
    }
    out += power < 0 ? u"E-" : u"E+";
    AppendNumber(out, static_cast<unsigned long long>(std::llabs(power)), 2);
    return out;
  }
  const long long integer_digits = d.IntegerDigits();
  if (integer_digits == 0) out += u'0';
  for (long long p = integer_digits - 1; p >= 0; --p) out += static_cast<char16_t>(u'0' + d.DigitAt(p));
  const long long decimals = d.FractionDigits();
  if (decimals > 0) out += locale.decimal_separator;
  for (long long j = 0; j < decimals; ++j) out += static_cast<char16_t>(u'0' + d.DigitAt(-1 - j));
  return out;
}

std::u16string Decimals(int places) {
  places = std::clamp(places, 0, 9);
  return places == 0 ? std::u16string() : u"." + std::u16string(static_cast<std::size_t>(places), u'0');
}

std::u16string CurrencyForm(double value, const NumberLocale& locale) {
  static constexpr std::u16string_view kPositive[] = {u"$n", u"n$", u"$ n", u"n $"};
  static constexpr std::u16string_view kNegative[] = {
      u"($n)", u"-$n", u"$-n", u"$n-", u"(n$)", u"-n$", u"n-$", u"n$-",
      u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};
  NumberLocale money = locale;
  money.decimal_separator = locale.currency_decimal_separator;
  money.thousands_separator = locale.currency_thousands_separator;
  const std::u16string number =
      FormatUserDefined(std::fabs(value), u"#,##0" + Decimals(locale.currency_digits), money);
  std::u16string_view layout;
  if (value < 0) {
    const int order = locale.currency_negative_order;
    layout = kNegative[order >= 0 && order < 16 ? order : 0];
  } else {
    const int order = locale.currency_positive_order;
    layout = kPositive[order >= 0 && order < 4 ? order : 0];
  }
  std::u16string out;
  for (const char16_t c : layout) {
    if (c == u'$') {
      out += locale.currency_symbol;
    } else if (c == u'n') {
      out += number;
    } else if (c == u'-') {
      out += locale.negative_sign;
    } else {
      out += c;
    }
  }
  return out;
}

bool EqualsIgnoringCase(std::u16string_view text, std::string_view name) {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    char k = name[i];
    if (k >= 'A' && k <= 'Z') k = static_cast<char>(k - 'A' + 'a');
    if (c != static_cast<unsigned char>(k)) return false;
  }
  return true;
}

// The named formats; false when the pattern is not one of them.
bool FormatNamed(double value, std::u16string_view name, const NumberLocale& locale,
                 std::u16string& out) {
  const std::u16string places = Decimals(locale.fraction_digits);
  if (EqualsIgnoringCase(name, "General Number")) {
    out = GeneralForm(value, locale);
  } else if (EqualsIgnoringCase(name, "Currency")) {
    out = CurrencyForm(value, locale);
  } else if (EqualsIgnoringCase(name, "Fixed")) {
    out = FormatUserDefined(value, u"0" + places, locale);
  } else if (EqualsIgnoringCase(name, "Standard")) {
    out = FormatUserDefined(value, u"#,##0" + places, locale);
  } else if (EqualsIgnoringCase(name, "Percent")) {
    out = FormatUserDefined(value, u"0" + places + u"%", locale);
  } else if (EqualsIgnoringCase(name, "Scientific")) {
    out = FormatUserDefined(value, u"0.00E+00", locale);
  } else if (EqualsIgnoringCase(name, "Yes/No")) {
    out = value != 0 ? u"Yes" : u"No";
  } else if (EqualsIgnoringCase(name, "True/False")) {
    out = value != 0 ? u"True" : u"False";
  } else if (EqualsIgnoringCase(name, "On/Off")) {
    out = value != 0 ? u"On" : u"Off";
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::u16string FormatNumber(double value, const std::u16string& pattern, const NumberLocale& locale) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  const NumberLocale bounded = Bounded(locale);
  std::u16string_view view(pattern);
  if (view.size() > number_pattern::kMaxPatternLength) {
    view = view.substr(0, number_pattern::kMaxPatternLength);
  }
  if (view.empty()) return GeneralForm(value, bounded);
  std::u16string named;
  if (FormatNamed(value, view, bounded, named)) return named;
  return FormatUserDefined(value, view, bounded);
}

}  // namespace vantiq
