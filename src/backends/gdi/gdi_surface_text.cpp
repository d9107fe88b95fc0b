// Text on a GDI surface: DrawTextW/DrawTextA with the font a LogFont names: the handle
// it carries, or one created from its fields.
#include <cstring>

#include "backends/gdi/gdi_allocation.h"
#include "backends/gdi/gdi_handles.h"
#include "backends/gdi/gdi_surface.h"

namespace vantiq {

namespace {

LOGFONTW ToLogFontW(const LogFont& f) {
  LOGFONTW lf{};
  lf.lfHeight = f.lfHeight;
  lf.lfWidth = f.lfWidth;
  lf.lfEscapement = f.lfEscapement;
  lf.lfOrientation = f.lfOrientation;
  lf.lfWeight = f.lfWeight;
  lf.lfItalic = f.lfItalic;
  lf.lfUnderline = f.lfUnderline;
  lf.lfStrikeOut = f.lfStrikeOut;
  lf.lfCharSet = f.lfCharSet;
  lf.lfOutPrecision = f.lfOutPrecision;
  lf.lfClipPrecision = f.lfClipPrecision;
  lf.lfQuality = f.lfQuality;
  lf.lfPitchAndFamily = f.lfPitchAndFamily;
  static_assert(sizeof(lf.lfFaceName) == sizeof(f.lfFaceName), "LOGFONTW face name");
  std::memcpy(lf.lfFaceName, f.lfFaceName.data(), sizeof(lf.lfFaceName));
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return lf;
}

// Selects the font (when there is one), the colour and the transparent mode for one
// call, and puts the context's font back afterwards.
class TextState {
 public:
  TextState(HDC dc, HFONT font, ColorRef color) : dc_(dc) {
    if (font) previous_ = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
  }
  ~TextState() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  TextState(const TextState&) = delete;
  TextState& operator=(const TextState&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

RECT ToRect(const Rect& rc) { return RECT{rc.left, rc.top, rc.right, rc.bottom}; }

}  // namespace

HFONT GdiSurface::FontFor(const LogFont& font) {
  // Someone else's font: selected as it is, never deleted here.
  if (font.nativeFont) return reinterpret_cast<HFONT>(font.nativeFont);
  if (font_ && font_->description == font) return font_->font.Get();
  const LOGFONTW lf = ToLogFontW(font);
  gdi::Font created(gdi::NewFont(lf));
  if (!created) return nullptr;
  if (!font_) font_ = std::make_unique<FontCache>();
  font_->description = font;
  font_->font = std::move(created);
  return font_->font.Get();
}

void GdiSurface::DrawTextLine(const std::u16string& text, const Rect& rc, std::uint32_t flags,
                              const LogFont& font, ColorRef color) {
  TextState state(dc_, FontFor(font), color);
  RECT r = ToRect(rc);
  // The text ends at its first NUL, as a -1 length reads it.
  ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.c_str()), -1, &r, flags);
}

void GdiSurface::DrawTextLineAnsi(const std::string& text, const Rect& rc, std::uint32_t flags,
                                  const LogFont& font, ColorRef color) {
  TextState state(dc_, FontFor(font), color);
  RECT r = ToRect(rc);
  ::DrawTextA(dc_, text.c_str(), -1, &r, flags);
}

TextExtent GdiSurface::MeasureText(const std::u16string& text, const LogFont& font) {
  TextState state(dc_, FontFor(font), ::GetTextColor(dc_));
  SIZE size{};
  if (!::GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data()),
                               static_cast<int>(text.size()), &size))
    return {};
  return {size.cx, size.cy};
}

int GdiSurface::LogPixelsY() const { return ::GetDeviceCaps(dc_, LOGPIXELSY); }

}  // namespace vantiq
