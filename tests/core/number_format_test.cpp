#include "caption/number_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "caption/user_number_locale.h"

namespace vantiq {
namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// ASCII stays readable in failure messages; anything else is shown as \uXXXX.
std::string Format(double value, const std::string& pattern, const NumberLocale& locale = {}) {
  std::string out;
  for (char16_t c : FormatNumber(value, Wide(pattern), locale)) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, c >= 0x20 && c < 0x7F ? "%c" : "\\u%04X", static_cast<unsigned>(c));
    out += buffer;
  }
  return out;
}

struct Case {
  double value;
  const char* pattern;
  const char* expected;
};

void ExpectAll(const std::vector<Case>& cases, const NumberLocale& locale = {}) {
  for (const Case& c : cases)
    EXPECT_EQ(Format(c.value, c.pattern, locale), c.expected) << "value " << c.value << " pattern \"" << c.pattern << "\"";
}

const double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();

TEST(NumberFormat, UserDefinedPatterns) {
  ExpectAll({
      // Rounding: half away from zero on the 15-digit decimal form (2.675 is 2.67499... in binary).
      {12.5, "#0", "13"}, {-12.5, "#0", "-13"}, {2.675, "0.00", "2.68"}, {1.005, "0.00", "1.01"},
      {1.73245, "0.0000E+000", "1.7325E+000"}, {0.49999999999999994, "0", "1"}, {0.4999999999999, "0", "0"},
      {0.5, "0", "1"}, {0.5, "#", "1"}, {0.9999, "#0", "1"}, {99.5, "0", "100"}, {999.5, "#,##0", "1,000"},
      {9.9999999, "#0.000000", "10.000000"}, {0.0995, "#.###", ".1"}, {0.0049, "#.##", "."}, {0.0094, "#.##", ".01"},
      {1000000000000005.0, "0", "1000000000000010"}, {33.333333333333336, "#0", "33"}, {12.5, "0.0", "12.5"},
      // Digit placeholders.
      {1, "#00000000", "00000001"}, {1, "000###", "000001"}, {1, "#00##00#0", "00000001"}, {100, "0##", "100"},
      {17, "#000", "017"}, {17, "#0000.00", "0017.00"}, {17, "#.00", "17.00"}, {0.17, "#.00", ".17"}, {0, "#", ""},
      {0, "#.#", "."}, {1, "#.#", "1."}, {0.3, "##0", "0"}, {1.23456789, "0#.0#0#0#0#0", "01.234567890"},
      {1.2, "0#.0#0#0#0#0", "01.200000000"}, {9.8, "#0.#0#0#0#0#", "9.80000000"},
      {0.00000008, "#0.#0#0#0#0#0", "0.0000000800"}, {0.00010705, "#0.##########", "0.00010705"},
      {123, "0-0", "12-3"}, {123, "#.#.#", "123.."}, {12.5, ".00", "12.50"}, {5, ".", "5."}, {1.5, "0.", "2."},
      // Thousands: grouping between integer placeholders, scaling after the last, literal before the first.
      {1234567, "#,##0", "1,234,567"}, {100000, "#,###,###,###", "100,000"}, {1, "0,000,000,000", "0,000,000,001"},
      {123456789, "#,#.#", "123,456,789."}, {123456789, "###, ###, ###", "123, 456, 789"},
      {1234567, "#,##0 \"x\" 0", "1,234,56 x 7"}, {12345, "0.0,0", "12,345.00"}, {5, ",0", ",5"}, {1500, "0,", "2"},
      {499, "0,", "0"}, {500, "#,", "1"}, {1500000, "#,##0,", "1,500"}, {1900000, "0,,", "2"}, {1900000, "0,,.0", "1.9"},
      {100000000, "#,0.", "100,000,000."}, {100000000, "#0,.", "100000."}, {100000000, "#,0,.", "100,000."},
      {1500, "0,\"K\"", "2K"}, {12345678, "0,,.00", "12.35"},
      // Percent multiplies once per section; scientific forms and their exponent digits.
      {0.5, "0%", "50%"}, {0.1234, "0.0%", "12.3%"}, {5, "%0", "%500"}, {5, "0%%", "500%%"}, {5, "0 \"%\"", "5 %"},
      {1.7, "0.0000E-000", "1.7000E000"}, {1.7, "0.0000e-1", "1.7000e01"}, {1.7, "0.0000e+0#", "1.7000e+0"},
      {1000001, "0.0000e+1", "1.0000e+61"}, {4.500001e45, "#000.0000e+0", "4500.0010e+42"},
      {1e-15, "##00.0000e-0", "1000.0000e-18"}, {47.11, ".0000E+0", ".4711E+2"},
      {3.0401e-13, "#####.####e-0%", "30401.e-15%"}, {86.936849, "#0.000000000000e-000", "86.936849000000e000"},
      {123456, "##0.0E+0", "123.5E+3"}, {9.6, "0E+0", "1E+1"}, {-0.000123, "0.00E-00", "-1.23E-04"},
      {0, "0.00E+00", "0.00E+00"}, {1e100, "0E+000", "1E+100"}, {5, "E+0", "E+5"}, {5, "0e", "5e"},
      {1, "0Ee+0", "1Ee+0"}, {5, "0E+0 0", "5E+0 0"}, {5, "0E+0E+0", "5E+0E+0"},
      // Literals, quotes (an unbalanced one runs to the end) and escapes (a trailing one shows nothing).
      {19, "\\####\\#", "#19#"}, {19, "\"##\"###\"##\"", "##19##"}, {10, "$#", "$10"}, {5, "(0)", "(5)"},
      {1, "00\\c\\o\\p\\y", "01copy"}, {1, "##abcdefghijklmnopqrstuvwxyz", "1abcdefghijklmnopqrstuvwxyz"},
      {1, "1#####0000", "10001"}, {17, "#3.33", "173.33"}, {5, "\"a;b\"0", "a;b5"}, {5, "0\\;x", "5;x"},
      {5, "0\"abc", "5abc"}, {5, "0\\", "5"}, {5, "\\0", "0"}, {5, "\\\\0", "\\5"}, {5, "0\\\"", "5\""},
      {5, "0.0.0", "5.0.0"}, {5, "0[red]", "5[red]"},
      // Sections: an empty one uses the first with its sign; the sign is the value's before rounding.
      {1234, "$#,##0;($#,##0)", "$1,234"}, {-1234, "$#,##0;($#,##0)", "($1,234)"}, {-5, "0;;\"zero\"", "-5"},
      {0, "0;;\"zero\"", "zero"}, {0, "\"pos\";\"neg\"", "pos"}, {-1, "\"pos\";\"neg\"", "neg"},
      {0, "\"pos\";\"neg\";\"zero\"", "zero"}, {-1, "#;-#", "-1"}, {-1, "0;-0;\"z\";\"n\"", "-1"}, {5, ";0", ""},
      {-5, "\"p\";0", "5"}, {-5, "0;", "-5"}, {-5, "0;(0);\"z\";\"n\";\"fifth\"", "(5)"}, {-5, "0;;;;;;;;", "-5"},
      {0, "#,##0.00;(#,##0.00);\"-\"", "-"}, {-0.0, "0;-0;\"z\"", "z"}, {-0.0, "0.00", "0.00"},
      {-0.001, "0.00", "-0.00"}, {-0.3, "#", "-"}, {-5, "$0", "$-5"}, {-5, "\"a\"", "a"}, {-0.1, ".#", "-.1"},
      {-1.57, "#.##", "-1.57"}, {-12.5, ".00", "-12.50"},
  });
}

TEST(NumberFormat, NamedFormatsTheGeneralFormAndExtremes) {
  ExpectAll({
      {1234.5, "General Number", "1234.5"}, {1234.5, "", "1234.5"}, {-2.5, "general number", "-2.5"}, {0, "", "0"},
      {1e20, "", "1E+20"}, {1e15, "", "1E+15"}, {1e14, "", "100000000000000"}, {1e-7, "", "1E-07"},
      {0.0001, "", "0.0001"}, {0.00001, "", "1E-05"}, {123456789012345678.0, "", "1.23456789012346E+17"},
      {0.1 + 0.2, "", "0.3"}, {1234.5, "Currency", "$1,234.50"}, {-1234.5, "CURRENCY", "($1,234.50)"},
      {-12345.678, "Fixed", "-12345.68"}, {12345.678, "Standard", "12,345.68"}, {0.123, "Percent", "12.30%"},
      {12345, "Scientific", "1.23E+04"}, {0.5, "Yes/No", "Yes"}, {0, "yes/no", "No"}, {-1, "True/False", "True"},
      {0, "On/Off", "Off"}, {0, "On/Of", "On/Of"}, {1e300, "0.00E+00", "1.00E+300"}, {5e-324, "0.00E+00", "4.94E-324"},
      {5e-324, "0.00", "0.00"}, {5e-324, "", "4.94065645841247E-324"}, {kNaN, "0", "NAN"}, {-kNaN, "", "NAN"},
      {kInf, "Yes/No", "INF"}, {-kInf, "#,##0.00", "-INF"},
  });
  EXPECT_EQ(Format(1e300, "#0"), "1" + std::string(300, '0'));
  EXPECT_EQ(Format(-1e300, "0.0"), "-1" + std::string(300, '0') + ".0");
  const std::string max = Format(std::numeric_limits<double>::max(), "#,##0");
  EXPECT_EQ(max.substr(0, 20), "179,769,313,486,232,");
  EXPECT_EQ(max.size(), 309u + 102u);
  EXPECT_EQ(Format(1e307, "0%"), "1" + std::string(309, '0') + "%");
}

TEST(NumberFormat, FollowsTheLocale) {
  NumberLocale german;
  german.decimal_separator = german.currency_decimal_separator = u",";
  german.thousands_separator = german.currency_thousands_separator = u".";
  german.fraction_digits = 3;
  german.currency_symbol = u"\u20AC";
  german.currency_positive_order = 3;
  german.currency_negative_order = 8;
  ExpectAll({{1234567.891, "#,##0.00", "1.234.567,89"}, {0.25, "0.0%", "25,0%"}, {1234.5, "Standard", "1.234,500"},
             {1234.5, "Currency", "1.234,50 \\u20AC"}, {-1234.5, "Currency", "-1.234,50 \\u20AC"}, {2.5, "", "2,5"}},
            german);
  NumberLocale odd;
  odd.thousands_separator = u"";
  odd.decimal_separator = u"::";
  odd.negative_sign = u"\u2212";
  odd.currency_digits = 0;
  odd.currency_negative_order = 99;  // out of range: the first layout
  ExpectAll({{-1234567.5, "#,##0.0", "\\u22121234567::5"}, {-1234.5, "Currency", "($1,235)"}}, odd);
  NumberLocale huge;
  huge.thousands_separator = std::u16string(1 << 20, u'_');
  EXPECT_EQ(Format(1234, "#,##0", huge), "1" + std::string(16, '_') + "234");
#ifndef _WIN32  // Windows reads the user's settings (the oracle suite checks them)
  EXPECT_EQ(Format(-1234.5, "#,##0.00", UserNumberLocale()), "-1,234.50");
#endif
}

// One formatter for a run of patterns, as a control keeps it: each text is its own
// pattern's, whatever was parsed and written before.
TEST(NumberFormat, FormatterKeepsOnlyTheLastPatternParsed) {
  const Case cases[] = {{42.4, "#0", "42"},        {12.5, "0.00", "12.50"},     {12.5, "0.00", "12.50"},
                        {7.6, "#0", "8"},          {0.5, "Percent", "50.00%"}, {1, "Fixed", "1.00"},
                        {-2, "Currency", "($2.00)"}, {1234, "Standard", "1,234.00"}, {3, "#0;(#0);zero", "3"},
                        {0, "#0;(#0);zero", "zero"}, {9, "", "9"},            {9.25, "#0", "9"}};
  NumberFormatter formatter;
  std::u16string text = u"a text longer than any of the results";
  for (const Case& c : cases) {
    formatter.Format(c.value, Wide(c.pattern), NumberLocale{}, text);
    EXPECT_EQ(text, Wide(c.expected)) << "value " << c.value << " pattern \"" << c.pattern << "\"";
  }
}

// Hostile patterns end quickly with a defined text (at most 65536 pattern units are read);
// the sanitizers see every access. The fuzz target bounds the text for any pattern.
TEST(NumberFormat, HostilePatternsAreCapped) {
  const std::size_t kMegabyte = 1 << 20, kCap = 65536;
  EXPECT_EQ(Format(5, std::string(kMegabyte, '0')), std::string(kCap - 1, '0') + "5");
  EXPECT_EQ(Format(5, std::string(kMegabyte, '#')), "5");
  EXPECT_EQ(Format(5, "." + std::string(kMegabyte, '0')), "5." + std::string(kCap - 1, '0'));
  EXPECT_EQ(Format(-5, "0" + std::string(kMegabyte, ';')), "-5");
  EXPECT_EQ(Format(5e300, "0" + std::string(kMegabyte, ',')), "0");
  EXPECT_EQ(Format(5, "0" + std::string(kMegabyte, '%')), "500" + std::string(kCap - 1, '%'));
  EXPECT_EQ(Format(5, "\"" + std::string(kMegabyte, 'a')), std::string(kCap - 1, 'a'));
  EXPECT_EQ(Format(5, std::string(kMegabyte, '\\')), std::string(kCap / 2, '\\'));
  EXPECT_EQ(Format(1e10, "0E+" + std::string(kMegabyte, '0')), "1E+" + std::string(kCap - 5, '0') + "10");
  std::string repeated;
  while (repeated.size() < kMegabyte) repeated += "#,##0.00E+00;";
  EXPECT_EQ(Format(-1234.5, repeated), "1,234.50E+00");  // the negative section has no sign
}

}  // namespace
}  // namespace vantiq
