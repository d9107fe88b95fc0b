// The number-format engine against oleaut32's own VarFormat, run under Wine. Where Wine's
// VarFormat departs from documented Windows behaviour, or contradicts itself, the engine
// follows the documented rule; each departure is named below with its reason, and its
// samples check both sides, so a departure that disappears is noticed.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "caption/number_format.h"
#include "caption/user_number_locale.h"

namespace vantiq {
namespace {

// VarFormat of a VT_R8 with flags 0 (LOCALE_USER_DEFAULT); nullopt when it refuses.
std::optional<std::u16string> VarFormatDouble(double value, const std::u16string& pattern) {
  VARIANT in;
  VariantInit(&in);
  V_VT(&in) = VT_R8;
  V_R8(&in) = value;
  std::wstring format(pattern.begin(), pattern.end());
  BSTR out = nullptr;
  if (VarFormat(&in, &format[0], 0, 0, 0, &out) != S_OK) return std::nullopt;
  std::u16string text(out, out + SysStringLen(out));
  SysFreeString(out);
  return text;
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

bool UsesUsSeparators() {
  const NumberLocale user = UserNumberLocale();
  return user.decimal_separator == u"." && user.thousands_separator == u"," && user.negative_sign == u"-";
}

// Which known departures a pattern can show.
enum Traits : unsigned {
  kNone = 0,
  kWholeOnly = 1,    // no decimal places: Wine turns [0.5, 1) into 0
  kTimes100 = 2,     // ... of the value multiplied by 100
  kScales = 4,       // commas that divide by 1000
  kZeroDiffers = 8,  // Wine holds an exact zero as one digit "0" (see the zero departures)
};
struct Pattern {
  const char16_t* text;
  unsigned traits;
};
const Pattern kPatterns[] = {
    {u"#0", kWholeOnly}, {u"0", kWholeOnly}, {u"#", kWholeOnly}, {u"00", kWholeOnly}, {u"0.0", kNone},
    {u"0.00", kNone}, {u"#.##", kNone}, {u"#,##0", kWholeOnly}, {u"#,##0.00", kNone}, {u"0.0#", kNone},
    {u"#0.0##", kNone}, {u"000.000", kNone}, {u"0.0000000000", kNone}, {u"#,#.#", kNone}, {u"###, ###", kWholeOnly},
    {u"0,000", kWholeOnly}, {u"0.0,0", kNone}, {u"0%", kWholeOnly | kTimes100}, {u"0.0%", kNone},
    {u"0 \"%\"", kWholeOnly}, {u"0\\%", kWholeOnly}, {u"0.00E+00", kNone}, {u"0.0E-0", kNone},
    {u"##0.0E+0", kZeroDiffers}, {u"0.000e+000", kNone}, {u".0000E+0", kZeroDiffers}, {u"#.##E+00", kNone},
    {u"0E+0", kNone}, {u"$#,##0.00;($#,##0.00)", kNone}, {u"0;-0;\"zero\"", kWholeOnly}, {u"0;;\"zero\"", kWholeOnly},
    {u"\"pos\";\"neg\";\"zero\"", kNone}, {u"#,##0.00;(#,##0.00);\"-\"", kNone}, {u"0;(0)", kWholeOnly},
    {u"\"Value: \"0.0", kNone}, {u"\\[0\\]", kWholeOnly}, {u"(0)", kWholeOnly}, {u"+0", kWholeOnly}, {u"-0.0", kNone},
    {u"0 - 0", kWholeOnly}, {u"$0.00", kNone}, {u"0.0.0", kNone}, {u"##abc", kWholeOnly}, {u"0\"abc", kWholeOnly},
    {u"0\\", kWholeOnly}, {u"#0.#0#0#", kNone}, {u"0#.0#0", kZeroDiffers}, {u"#00##0", kWholeOnly},
    {u"1#####0000", kWholeOnly}, {u"#3.33", kWholeOnly}, {u"", kNone}, {u"General Number", kNone}, {u"Fixed", kNone},
    {u"Standard", kNone}, {u"Percent", kNone}, {u"Scientific", kNone}, {u"Currency", kNone}, {u"Yes/No", kNone},
    {u"True/False", kNone}, {u"On/Off", kNone}, {u"#,##0,", kWholeOnly | kScales}, {u"0.0,,", kScales},
};

const double kValues[] = {
    0, -0.0, 1, -1, 0.5, -0.5, 0.25, 0.7, 0.007, 1.5, 2.675, 12.5, -12.5, 33.333333333333336, 99.5, 100, 999.5,
    1234.5678, -1234.5678, 0.001, -0.001, 0.005, 0.0995, 1e-7, 5e-5, 123456789.25, -987654321.5, 9.87654321e11,
    std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
};

std::u16string Repeat(const std::u16string& piece, int times) {
  std::u16string out;
  while (times-- > 0) out += piece;
  return out;
}

struct Sample {
  double value;
  std::u16string pattern, expected;  // what the engine (and Windows) give
};
struct Departure {
  const char* name;
  const char* reason;
  std::vector<Sample> samples;
};

const Departure kDepartures[] = {
    {"HalfToOneWithoutDecimals", "Wine loses the carry when a value in [0.5, 1) rounds to 1 with no decimals",
     {{0.7, u"#0", u"1"}, {0.5, u"0", u"1"}, {0.6, u"#", u"1"}, {-0.5, u"#,##0", u"-1"}, {0.007, u"0%", u"1%"}}},
    {"ThousandsScaling", "Wine groups with every comma; Windows divides by 1000 per comma after the last digit",
     {{1500, u"0,", u"2"}, {1500000, u"#,##0,", u"1,500"}, {12345678, u"0,,.00", u"12.35"}, {1900000, u"0,,", u"2"}}},
    {"NoIntegerPlaceholder", "Wine drops the integer digits when no placeholder precedes the decimal point",
     {{12.5, u".00", u"12.50"}, {5, u".", u"5."}, {-12.5, u".0", u"-12.5"}}},
    {"PercentBeforeFirstPlaceholder", "Wine reads % as text until it has seen a placeholder; % always multiplies",
     {{5, u"%0", u"%500"}, {0.25, u"%0.0", u"%25.0"}}},
    {"PlaceholderAfterExponent", "Wine counts a placeholder after the exponent into the mantissa; it is text",
     {{5, u"0E+0 0", u"5E+0 0"}}},
    {"PlaceholdersOnlyInALaterSection", "Wine types the pattern from its first section", {{-5, u"\"p\";0", u"5"}}},
    {"DateAndTextTokensFirst", "oleaut32 formats a date or string after such a token; the engine shows the character",
     {{1, u"d0", u"d1"}, {5, u"@0", u"@5"}, {0.5, u"!0", u"!1"}}},
    {"MoreThanFourSections", "oleaut32 rejects a fifth section; the engine ignores it",
     {{-5, u"0;(0);\"z\";\"n\";\"extra\"", u"(5)"}}},
    {"ZeroWithHashInTheUnitsPlace", "Wine shows one zero fewer for an exact zero than for a value rounding to zero",
     {{0, u"0#", u"00"}, {0, u"0#.0#0", u"00.000"}, {0, u"#0#", u"00"}}},
    {"ZeroInScientificForm", "Wine gives zero a negative exponent to fill the integer placeholders (000.0E-2)",
     {{0, u"##0.0E+0", u"0.0E+0"}, {0, u".0000E+0", u".0000E+0"}, {0, u"#0.0E+0", u"0.0E+0"}}},
    {"LongPatterns", "oleaut32 compiles a pattern into 255 bytes with byte-sized counts: refused or wrapped",
     {{5, std::u16string(300, u'0'), std::u16string(299, u'0') + u"5"},
      {5, Repeat(u"0 ", 100), Repeat(u"0 ", 99) + u"5 "}}},
};

TEST(NumberFormatOracle, MatchesVarFormatOverPatternsAndValuesExceptTheKnownDepartures) {
  if (!UsesUsSeparators()) GTEST_SKIP() << "the named texts and departures assume US English";
  const NumberLocale locale = UserNumberLocale();
  int compared = 0;
  for (const Pattern& p : kPatterns) {
    for (double value : kValues) {
      const double shown = std::fabs(value) * ((p.traits & kTimes100) ? 100 : 1);
      if (((p.traits & kWholeOnly) && shown >= 0.5 && shown < 1) || ((p.traits & kScales) && value != 0) ||
          ((p.traits & kZeroDiffers) && value == 0))
        continue;
      const auto oracle = VarFormatDouble(value, p.text);
      ASSERT_TRUE(oracle) << Narrow(p.text) << " " << value;
      EXPECT_EQ(Narrow(FormatNumber(value, p.text, locale)), Narrow(*oracle)) << Narrow(p.text) << " " << value;
      ++compared;
    }
  }
  EXPECT_GT(compared, 1500);
  for (const Departure& d : kDepartures) {
    for (const Sample& s : d.samples) {
      const std::string where = std::string(d.name) + " (" + d.reason + "): \"" + Narrow(s.pattern).substr(0, 40) +
                                "\" " + std::to_string(s.value);
      EXPECT_EQ(Narrow(FormatNumber(s.value, s.pattern, locale)), Narrow(s.expected)) << where;
      EXPECT_NE(VarFormatDouble(s.value, s.pattern), s.expected) << where << ": oleaut32 now agrees";
    }
  }
}

TEST(NumberFormatOracle, UserLocaleMatchesTheSeparatorsVarFormatUses) {
  // Whatever the prefix's locale, a grouped decimal number must come out as oleaut32 makes it.
  const NumberLocale locale = UserNumberLocale();
  for (double value : {1234567.891, -0.25, 1e-7})
    for (const char16_t* pattern : {u"#,##0.00", u"0.0##", u""})
      EXPECT_EQ(Narrow(FormatNumber(value, pattern, locale)), Narrow(VarFormatDouble(value, pattern).value_or(u"?")))
          << Narrow(pattern) << " " << value;
}

}  // namespace
}  // namespace vantiq
