// The control's font as the core sees it. The COM shell hands in the standard OLE font
// object behind this interface; StdFont is the plain implementation used elsewhere.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/log_font.h"

namespace vantiq {

// Receives the font object's change event with the name of the changed attribute.
class FontChangeSink {
 public:
  virtual ~FontChangeSink() = default;
  virtual void OnFontChanged(const std::u16string& attribute) = 0;
};

class FontObject {
 public:
  virtual ~FontObject() = default;
  virtual std::u16string Name() const = 0;
  virtual void SetName(const std::u16string& name) = 0;
  // The name as lf's face name (LogFont::SetFaceName). The caption reads it on every
  // paint: objects that can, do it without a string of their own.
  virtual void CopyNameTo(LogFont& lf) const { lf.SetFaceName(Name()); }
  virtual double Size() const = 0;  // points
  virtual void SetSize(double points) = 0;
  virtual bool Bold() const = 0;
  virtual void SetBold(bool bold) = 0;
  virtual bool Italic() const = 0;
  virtual void SetItalic(bool italic) = 0;
  virtual bool Underline() const = 0;
  virtual void SetUnderline(bool underline) = 0;
  virtual bool Strikethrough() const = 0;
  virtual void SetStrikethrough(bool strikethrough) = 0;
  virtual std::int16_t Charset() const = 0;
  virtual void SetCharset(std::int16_t charset) = 0;
  virtual std::int16_t Weight() const = 0;
  virtual void SetWeight(std::int16_t weight) = 0;
  // The font handle the object realised for the screen (IFont's hFont), valid while the
  // object is unchanged; 0 for an object that realises none.
  virtual std::uintptr_t FontHandle() const { return 0; }

  virtual void Advise(FontChangeSink* sink) = 0;
  virtual void Unadvise(FontChangeSink* sink) = 0;
};

using FontRef = std::shared_ptr<FontObject>;

// A font object held in memory that raises the change event on every attribute write.
class StdFont final : public FontObject {
 public:
  std::u16string Name() const override { return name_; }
  void SetName(const std::u16string& name) override;
  void CopyNameTo(LogFont& lf) const override { lf.SetFaceName(name_); }
  double Size() const override { return size_; }
  void SetSize(double points) override;
  bool Bold() const override { return weight_ >= 600; }
  void SetBold(bool bold) override;
  bool Italic() const override { return italic_; }
  void SetItalic(bool italic) override;
  bool Underline() const override { return underline_; }
  void SetUnderline(bool underline) override;
  bool Strikethrough() const override { return strikethrough_; }
  void SetStrikethrough(bool strikethrough) override;
  std::int16_t Charset() const override { return charset_; }
  void SetCharset(std::int16_t charset) override;
  std::int16_t Weight() const override { return weight_; }
  void SetWeight(std::int16_t weight) override;

  void Advise(FontChangeSink* sink) override;
  void Unadvise(FontChangeSink* sink) override;

 private:
  void Changed(const std::u16string& attribute);

  std::u16string name_ = u"MS Sans Serif";
  double size_ = 8.25;
  std::int16_t weight_ = 400;
  bool italic_ = false;
  bool underline_ = false;
  bool strikethrough_ = false;
  std::int16_t charset_ = 0;
  std::vector<FontChangeSink*> sinks_;
};

}  // namespace vantiq
