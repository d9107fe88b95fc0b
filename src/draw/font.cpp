#include "draw/font.h"

#include <algorithm>

namespace vantiq {

void StdFont::SetName(const std::u16string& name) {
  name_ = name;
  Changed(u"Name");
}
void StdFont::SetSize(double points) {
  size_ = points;
  Changed(u"Size");
}
void StdFont::SetBold(bool bold) {
  weight_ = bold ? 700 : 400;
  Changed(u"Bold");
}
void StdFont::SetWeight(std::int16_t weight) {
  weight_ = weight;
  Changed(u"Weight");
}
void StdFont::SetItalic(bool italic) {
  italic_ = italic;
  Changed(u"Italic");
}
void StdFont::SetUnderline(bool underline) {
  underline_ = underline;
  Changed(u"Underline");
}
void StdFont::SetStrikethrough(bool strikethrough) {
  strikethrough_ = strikethrough;
  Changed(u"Strikethrough");
}
void StdFont::SetCharset(std::int16_t charset) {
  charset_ = charset;
  Changed(u"Charset");
}

void StdFont::Advise(FontChangeSink* sink) {
  if (sink && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) sinks_.push_back(sink);
}
void StdFont::Unadvise(FontChangeSink* sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void StdFont::Changed(const std::u16string& attribute) {
  // A sink may unadvise itself while handling the event.
  std::vector<FontChangeSink*> sinks = sinks_;
  for (FontChangeSink* sink : sinks) sink->OnFontChanged(attribute);
}

}  // namespace vantiq
