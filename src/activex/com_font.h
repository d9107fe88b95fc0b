// The control's font over an OLE font object: attribute reads and writes go to the IFont,
// and the font's IPropertyNotifySink connection becomes the core's change event.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <vector>

#include "activex/com_ptr.h"
#include "draw/font.h"

namespace vantiq::activex {

class ComFont final : public FontObject {
 public:
  // A new standard font object ("MS Sans Serif", 8.25 points, regular).
  static std::shared_ptr<ComFont> CreateStandard();
  // The object behind `font`, which need not be the IFont itself; null for null.
  // Throws RuntimeError 380 when `font` is no font object.
  static std::shared_ptr<ComFont> Wrap(IUnknown* font);
  // As Wrap, but hands back `current` when it already wraps the same font object, so
  // that assigning the control's own font keeps its adapter and connection.
  static FontRef WrapOrKeep(IUnknown* font, const FontRef& current);

  explicit ComFont(ComPtr<IFont> font);
  ~ComFont() override;
  ComFont(const ComFont&) = delete;
  ComFont& operator=(const ComFont&) = delete;

  IFont* Font() const { return font_.Get(); }
  // The font's dispatch interface, as the Font property returns it.
  ComPtr<IFontDisp> Disp() const { return font_.As<IFontDisp>(IID_IFontDisp); }

  std::u16string Name() const override;
  void SetName(const std::u16string& name) override;
  void CopyNameTo(LogFont& lf) const override;
  double Size() const override;
  void SetSize(double points) override;
  bool Bold() const override;
  void SetBold(bool bold) override;
  bool Italic() const override;
  void SetItalic(bool italic) override;
  bool Underline() const override;
  void SetUnderline(bool underline) override;
  bool Strikethrough() const override;
  void SetStrikethrough(bool strikethrough) override;
  std::int16_t Charset() const override;
  void SetCharset(std::int16_t charset) override;
  std::int16_t Weight() const override;
  void SetWeight(std::int16_t weight) override;
  std::uintptr_t FontHandle() const override;

  void Advise(FontChangeSink* sink) override;
  void Unadvise(FontChangeSink* sink) override;

 private:
  class NotifySink;

  void Connect();
  void Disconnect();
  void OnChanged(DISPID dispid);

  ComPtr<IFont> font_;
  std::vector<FontChangeSink*> sinks_;
  NotifySink* notify_ = nullptr;  // holds its own reference while connected
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

// The font's name for a font property's dispatch id ("Bold" for DISPID_FONT_BOLD);
// empty for ids that are no font attribute.
std::u16string FontAttributeName(DISPID dispid);

// The IFontDisp of a font the control holds; null for none or for a font not made here.
ComPtr<IFontDisp> FontDispOf(const FontRef& font);

}  // namespace vantiq::activex
