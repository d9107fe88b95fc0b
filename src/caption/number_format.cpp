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

// The locale's texts cut to kMaxLocaleText, looked at where they are rather than copied.
struct Conventions {
  std::u16string_view decimal_separator;
  std::u16string_view thousands_separator;
  std::u16string_view negative_sign;
  int fraction_digits = 2;
  std::u16string_view currency_symbol;
  std::u16string_view currency_decimal_separator;
  std::u16string_view currency_thousands_separator;
  int currency_digits = 2;
  int currency_positive_order = 0;
  int currency_negative_order = 0;
};

std::u16string_view Cut(const std::u16string& text) {
  return std::u16string_view(text).substr(0, kMaxLocaleText);
}

Conventions Bounded(const NumberLocale& locale) {
  Conventions b;
  b.decimal_separator = Cut(locale.decimal_separator);
  b.thousands_separator = Cut(locale.thousands_separator);
  b.negative_sign = Cut(locale.negative_sign);
  b.fraction_digits = locale.fraction_digits;
  b.currency_symbol = Cut(locale.currency_symbol);
  b.currency_decimal_separator = Cut(locale.currency_decimal_separator);
  b.currency_thousands_separator = Cut(locale.currency_thousands_separator);
  b.currency_digits = locale.currency_digits;
  b.currency_positive_order = locale.currency_positive_order;
  b.currency_negative_order = locale.currency_negative_order;
  return b;
}

void AppendNumber(std::u16string& out, unsigned long long n, long long least_digits) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  const long long length = result.ptr - buffer;
  if (least_digits > length) out.append(static_cast<std::size_t>(least_digits - length), u'0');
  out.append(buffer, result.ptr);
}

void RenderSection(const Section& s, Decimal d, bool sign, const Conventions& locale, std::u16string& out) {
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

  out.clear();
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
}

void FormatUserDefined(double value, const Sections& sections, const Conventions& locale,
                       std::u16string& out) {
  const Section* section = &sections[0];
  bool sign = false;
  if (value == 0 && sections[2].present) {
    section = &sections[2];
  } else if (value < 0 && sections[1].present) {
    section = &sections[1];  // shows only what it contains: no minus sign of its own
  } else {
    sign = value < 0;
  }
  RenderSection(*section, FifteenDigits(std::fabs(value)), sign, locale, out);
}

// The general form: 15 significant digits, scientific from 1E+15 up and below 1E-04.
void GeneralForm(double value, const Conventions& locale, std::u16string& out) {
  const Decimal d = FifteenDigits(std::fabs(value));
  out.clear();
  if (d.IsZero()) {
    out += u'0';
    return;
  }
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
    return;
  }
  const long long integer_digits = d.IntegerDigits();
  if (integer_digits == 0) out += u'0';
  for (long long p = integer_digits - 1; p >= 0; --p) out += static_cast<char16_t>(u'0' + d.DigitAt(p));
  const long long decimals = d.FractionDigits();
  if (decimals > 0) out += locale.decimal_separator;
  for (long long j = 0; j < decimals; ++j) out += static_cast<char16_t>(u'0' + d.DigitAt(-1 - j));
}

// The pattern of a named format: head, then "." and `places` zeros (0 to 9) when there
// are any, then tail, written into `buffer`.
class NamedPattern {
 public:
  NamedPattern(std::u16string_view head, int places, std::u16string_view tail = {}) {
    Put(head);
    places = std::clamp(places, 0, 9);
    if (places > 0) {
      text_[size_++] = u'.';
      for (int k = 0; k < places; ++k) text_[size_++] = u'0';
    }
    Put(tail);
  }
  std::u16string_view View() const { return {text_, size_}; }

 private:
  void Put(std::u16string_view part) {
    for (const char16_t c : part) text_[size_++] = c;
  }
  char16_t text_[24] = {};  // the longest: "#,##0" ".000000000" "%"
  std::size_t size_ = 0;
};

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

// The layout's text with the symbol and the sign put in, added to out.
void AppendLayout(std::u16string_view layout, const Conventions& locale, std::u16string& out) {
  for (const char16_t c : layout) {
    if (c == u'$') {
      out += locale.currency_symbol;
    } else if (c == u'-') {
      out += locale.negative_sign;
    } else {
      out += c;
    }
  }
}

void CurrencyForm(double value, const Conventions& locale, NumberFormatter& formatter, std::u16string& out) {
  static constexpr std::u16string_view kPositive[] = {u"$n", u"n$", u"$ n", u"n $"};
  static constexpr std::u16string_view kNegative[] = {
      u"($n)", u"-$n", u"$-n", u"$n-", u"(n$)", u"-n$", u"n-$", u"n$-",
      u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};
  Conventions money = locale;
  money.decimal_separator = locale.currency_decimal_separator;
  money.thousands_separator = locale.currency_thousands_separator;
  std::u16string_view layout;
  if (value < 0) {
    const int order = locale.currency_negative_order;
    layout = kNegative[order >= 0 && order < 16 ? order : 0];
  } else {
    const int order = locale.currency_positive_order;
    layout = kPositive[order >= 0 && order < 4 ? order : 0];
  }
  // The number first, then what the layout puts before it (at most three characters of
  // locale text) in front of it, and what comes after it: out is the only string.
  FormatUserDefined(std::fabs(value), formatter.Parsed(NamedPattern(u"#,##0", locale.currency_digits).View()),
                    money, out);
  const std::size_t n = layout.find(u'n');
  char16_t before[3 * (kMaxLocaleText + 1)];
  std::size_t length = 0;
  for (const char16_t c : layout.substr(0, n)) {
    const std::u16string_view part = c == u'$'   ? locale.currency_symbol
                                     : c == u'-' ? locale.negative_sign
                                                 : std::u16string_view(&c, 1);
    for (const char16_t k : part) before[length++] = k;
  }
  out.insert(0, before, length);
  AppendLayout(layout.substr(n + 1), locale, out);
}

// The named formats; false when the pattern is not one of them.
bool FormatNamed(double value, std::u16string_view name, const Conventions& locale, NumberFormatter& formatter,
                 std::u16string& out) {
  const int places = locale.fraction_digits;
  if (EqualsIgnoringCase(name, "General Number")) {
    GeneralForm(value, locale, out);
  } else if (EqualsIgnoringCase(name, "Currency")) {
    CurrencyForm(value, locale, formatter, out);
  } else if (EqualsIgnoringCase(name, "Fixed")) {
    FormatUserDefined(value, formatter.Parsed(NamedPattern(u"0", places).View()), locale, out);
  } else if (EqualsIgnoringCase(name, "Standard")) {
    FormatUserDefined(value, formatter.Parsed(NamedPattern(u"#,##0", places).View()), locale, out);
  } else if (EqualsIgnoringCase(name, "Percent")) {
    FormatUserDefined(value, formatter.Parsed(NamedPattern(u"0", places, u"%").View()), locale, out);
  } else if (EqualsIgnoringCase(name, "Scientific")) {
    FormatUserDefined(value, formatter.Parsed(u"0.00E+00"), locale, out);
  } else if (EqualsIgnoringCase(name, "Yes/No")) {
    out.assign(value != 0 ? u"Yes" : u"No");
  } else if (EqualsIgnoringCase(name, "True/False")) {
    out.assign(value != 0 ? u"True" : u"False");
  } else if (EqualsIgnoringCase(name, "On/Off")) {
    out.assign(value != 0 ? u"On" : u"Off");
  } else {
    return false;
  }
  return true;
}

}  // namespace

const number_pattern::Sections& NumberFormatter::Parsed(std::u16string_view pattern) {
  if (!parsed_ || pattern != pattern_) {
    sections_ = number_pattern::Parse(pattern);
    pattern_.assign(pattern);
    parsed_ = true;
  }
  return sections_;
}

void NumberFormatter::Format(double value, std::u16string_view pattern, const NumberLocale& locale,
                             std::u16string& out) {
  if (std::isnan(value)) {
    out.assign(u"NAN");
    return;
  }
  if (std::isinf(value)) {
    out.assign(value < 0 ? u"-INF" : u"INF");
    return;
  }
  const Conventions bounded = Bounded(locale);
  if (pattern.size() > number_pattern::kMaxPatternLength) {
    pattern = pattern.substr(0, number_pattern::kMaxPatternLength);
  }
  if (pattern.empty()) {
    GeneralForm(value, bounded, out);
  } else if (!FormatNamed(value, pattern, bounded, *this, out)) {
    FormatUserDefined(value, Parsed(pattern), bounded, out);
  }
}

std::u16string FormatNumber(double value, const std::u16string& pattern, const NumberLocale& locale) {
  NumberFormatter formatter;
  std::u16string out;
  formatter.Format(value, pattern, locale, out);
  return out;
}

}  // namespace vantiq
