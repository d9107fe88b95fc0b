#include "caption/number_pattern.h"

#include <algorithm>

namespace vantiq {
namespace number_pattern {
namespace {

// Reads the characters of one section and keeps what the renderer needs to know about it.
class SectionReader {
 public:
  explicit SectionReader(Section& section) : s_(&section) {}

  void Literal(std::u16string_view text) {
    if (text.empty()) return;
    if (!s_->tokens.empty() && s_->tokens.back().kind == TokenKind::kLiteral) {
      s_->tokens.back().text.append(text);
    } else {
      Token t;
      t.text.assign(text);
      s_->tokens.push_back(std::move(t));
    }
  }

  void Placeholders(char16_t c, int count) {
    Token t;
    t.kind = TokenKind::kDigits;
    t.zero = c == u'0';
    t.count = count;
    t.fraction = in_fraction_;
    if (in_fraction_) {
      s_->fraction_places += count;
      if (t.zero) s_->fraction_zero_places = s_->fraction_places;
    } else {
      // A comma followed by more integer placeholders groups rather than scales.
      if (trailing_commas_ > 0) s_->grouping = true;
      trailing_commas_ = 0;
      if (t.zero && first_integer_zero_ < 0) first_integer_zero_ = s_->integer_places;
      s_->integer_places += count;
    }
    s_->tokens.push_back(std::move(t));
    number_started_ = true;
    has_placeholder_ = true;
  }

  void Comma() {
    if (!number_started_) {
      Literal(u",");
    } else if (in_fraction_ || after_exponent_) {
      s_->grouping = true;
    } else {
      ++trailing_commas_;
    }
  }

  // True when the character is taken as the decimal point rather than as a literal.
  bool DecimalPoint() {
    if (in_fraction_ || after_exponent_) return false;
    CloseIntegerPart();
    Token t;
    t.kind = TokenKind::kDecimalPoint;
    s_->tokens.push_back(std::move(t));
    in_fraction_ = true;
    number_started_ = true;
    return true;
  }

  void Percent() {
    Literal(u"%");
    s_->percent = true;
  }

  bool CanStartExponent() const { return has_placeholder_ && !after_exponent_; }

  void Exponent(bool upper, bool plus, int least_digits) {
    CloseIntegerPart();
    Token t;
    t.kind = TokenKind::kExponent;
    t.upper = upper;
    t.plus = plus;
    t.count = least_digits;
    s_->tokens.push_back(std::move(t));
    s_->scientific = true;
    after_exponent_ = true;
  }

  bool AfterExponent() const { return after_exponent_; }

  void Finish() {
    CloseIntegerPart();
    if (first_integer_zero_ >= 0) s_->integer_zero_places = s_->integer_places - first_integer_zero_;
  }

 private:
  // Commas still pending when the integer part ends stand after its last placeholder:
  // each one divides the value by 1000.
  void CloseIntegerPart() {
    if (integer_closed_) return;
    integer_closed_ = true;
    s_->thousands_scale = trailing_commas_;
    trailing_commas_ = 0;
  }

  Section* s_;
  bool number_started_ = false;  // a placeholder or the decimal point was seen
  bool has_placeholder_ = false;
  bool in_fraction_ = false;
  bool after_exponent_ = false;
  bool integer_closed_ = false;
  int trailing_commas_ = 0;
  int first_integer_zero_ = -1;
};

}  // namespace

Sections Parse(std::u16string_view pattern) {
  if (pattern.size() > kMaxPatternLength) pattern = pattern.substr(0, kMaxPatternLength);
  Sections sections;
  std::size_t index = 0;
  SectionReader reader(sections[0]);
  const std::size_t n = pattern.size();
  std::size_t i = 0;
  while (i < n) {
    const char16_t c = pattern[i];
    if (c == u';') {
      reader.Finish();
      if (++index == sections.size()) return sections;  // a fifth section is ignored
      reader = SectionReader(sections[index]);
      ++i;
      continue;
    }
    sections[index].present = true;
    switch (c) {
      case u'"': {
        // Quoted text runs to the next quote or, unbalanced, to the end of the pattern.
        std::size_t close = pattern.find(u'"', i + 1);
        if (close == std::u16string_view::npos) close = n;
        reader.Literal(pattern.substr(i + 1, close - i - 1));
        i = std::min(close + 1, n);
        continue;
      }
      case u'\\':
        // A trailing backslash escapes nothing and shows nothing.
        if (i + 1 < n) reader.Literal(pattern.substr(i + 1, 1));
        i += 2;
        continue;
      case u'0':
      case u'#': {
        std::size_t end = i;
        while (end < n && pattern[end] == c) ++end;
        if (reader.AfterExponent()) {
          reader.Literal(pattern.substr(i, end - i));
        } else {
          reader.Placeholders(c, static_cast<int>(end - i));
        }
        i = end;
        continue;
      }
      case u'.':
        if (!reader.DecimalPoint()) reader.Literal(u".");
        break;
      case u',':
        reader.Comma();
        break;
      case u'%':
        reader.Percent();
        break;
      case u'E':
      case u'e':
        if (i + 1 < n && (pattern[i + 1] == u'+' || pattern[i + 1] == u'-') &&
            reader.CanStartExponent()) {
          const bool plus = pattern[i + 1] == u'+';
          std::size_t end = i + 2;
          int zeros = 0;
          while (end < n && (pattern[end] == u'0' || pattern[end] == u'#')) {
            if (pattern[end] == u'0') ++zeros;
            ++end;
          }
          reader.Exponent(c == u'E', plus, zeros);
          i = end;
          continue;
        }
        reader.Literal(pattern.substr(i, 1));
        break;
      default:
        reader.Literal(pattern.substr(i, 1));
        break;
    }
    ++i;
  }
  reader.Finish();
  return sections;
}

}  // namespace number_pattern
}  // namespace vantiq
