#include "platform/text_case.h"

namespace vantiq {

char16_t UpperCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x00E0) return c;  // nothing below à has an upper-case partner besides a-z
  if (c <= 0x00FE) return c == 0x00F7 ? c : static_cast<char16_t>(c - 0x20);  // ÷ is no letter
  if (c == 0x00FF) return 0x0178;                                           // ÿ -> Ÿ
  if (c > 0x017F) return c;
  // Latin Extended-A pairs capital and small letters as neighbours, in three runs
  // whose parity differs; ı (0x131), ĸ (0x138), ŉ (0x149) and ſ (0x17F) have no
  // one-to-one partner.
  if (c <= 0x0137) return (c & 1) && c != 0x0131 ? static_cast<char16_t>(c - 1) : c;
  if (c <= 0x0148) return (c & 1) == 0 && c != 0x0138 ? static_cast<char16_t>(c - 1) : c;
  if (c <= 0x0177) return (c & 1) && c != 0x0149 ? static_cast<char16_t>(c - 1) : c;
  if (c <= 0x017E) return (c & 1) == 0 && c != 0x0178 ? static_cast<char16_t>(c - 1) : c;
  return c;
}

std::u16string UpperCase(std::u16string text) {
  for (char16_t& c : text) c = UpperCase(c);
  return text;
}

}  // namespace vantiq
