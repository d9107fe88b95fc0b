#include "activex/com_font.h"

#include <algorithm>

#include "activex/com_object.h"
#include "activex/control_identity.h"
#include "activex/error_info.h"

namespace vantiq::activex {

// Receives the font's property change notifications for its adapter. The font holds it
// by reference, so it may outlive the adapter: the adapter cuts the link when it goes.
class ComFont::NotifySink final : public SingleInterfaceObject<IPropertyNotifySink> {
 public:
  explicit NotifySink(ComFont* owner) : SingleInterfaceObject(IID_IPropertyNotifySink, 1), owner_(owner) {}
  void Detach() { owner_ = nullptr; }

  STDMETHODIMP OnChanged(DISPID dispid) override {
    // A notification has no caller to report to: nothing may escape it.
    try {
      if (owner_) owner_->OnChanged(dispid);
    } catch (...) {
    }
    return S_OK;
  }
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

 private:
  ComFont* owner_;
};

std::shared_ptr<ComFont> ComFont::CreateStandard() {
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.lpstrName = const_cast<LPOLESTR>(L"MS Sans Serif");
  desc.cySize.int64 = 82500;  // 8.25 points in units of 1/10000
  desc.sWeight = FW_NORMAL;
  desc.sCharset = ANSI_CHARSET;
  ComPtr<IFont> font;
  ThrowIfFailed(OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(font.Put())));
  return std::make_shared<ComFont>(std::move(font));
}

std::shared_ptr<ComFont> ComFont::Wrap(IUnknown* object) {
  if (!object) return nullptr;
  ComPtr<IFont> font;
  if (FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put()))) || !font)
    throw RuntimeError(kErrInvalidPropertyValue);
  return std::make_shared<ComFont>(std::move(font));
}

FontRef ComFont::WrapOrKeep(IUnknown* object, const FontRef& current) {
  std::shared_ptr<ComFont> font = Wrap(object);
  if (auto* held = dynamic_cast<ComFont*>(current.get())) {
    // COM identity: the same object answers IUnknown with the same pointer.
    ComPtr<IUnknown> a = held->font_.As<IUnknown>(IID_IUnknown);
    ComPtr<IUnknown> b = font ? font->font_.As<IUnknown>(IID_IUnknown) : ComPtr<IUnknown>();
    if (a && a.Get() == b.Get()) return current;
  }
  return font;
}

ComFont::ComFont(ComPtr<IFont> font) : font_(std::move(font)) {}

ComFont::~ComFont() { Disconnect(); }

std::u16string ComFont::Name() const {
  Bstr name;
  if (FAILED(font_->get_Name(name.Put()))) return {};
  return FromBstr(name.Get());
}

void ComFont::CopyNameTo(LogFont& lf) const {
  // Straight from the BSTR: the system's string, not one of the C runtime's.
  Bstr name;
  const bool read = SUCCEEDED(font_->get_Name(name.Put())) && name.Get();
  lf.SetFaceName(read ? std::u16string_view(reinterpret_cast<const char16_t*>(name.Get()), SysStringLen(name.Get()))
                      : std::u16string_view());
}

void ComFont::SetName(const std::u16string& name) {
  Bstr text(name);
  ThrowIfFailed(font_->put_Name(text.Get()));
}

double ComFont::Size() const {
  CY size{};
  if (FAILED(font_->get_Size(&size))) return 0;
  return static_cast<double>(size.int64) / 10000.0;
}

void ComFont::SetSize(double points) {
  CY size{};
  ThrowIfFailed(VarCyFromR8(points, &size));
  ThrowIfFailed(font_->put_Size(size));
}

bool ComFont::Bold() const {
  BOOL bold = FALSE;
  return SUCCEEDED(font_->get_Bold(&bold)) && bold;
}

void ComFont::SetBold(bool bold) { ThrowIfFailed(font_->put_Bold(bold ? TRUE : FALSE)); }

bool ComFont::Italic() const {
  BOOL italic = FALSE;
  return SUCCEEDED(font_->get_Italic(&italic)) && italic;
}

void ComFont::SetItalic(bool italic) { ThrowIfFailed(font_->put_Italic(italic ? TRUE : FALSE)); }

bool ComFont::Underline() const {
  BOOL underline = FALSE;
  return SUCCEEDED(font_->get_Underline(&underline)) && underline;
}

void ComFont::SetUnderline(bool underline) {
  ThrowIfFailed(font_->put_Underline(underline ? TRUE : FALSE));
}

bool ComFont::Strikethrough() const {
  BOOL strikethrough = FALSE;
  return SUCCEEDED(font_->get_Strikethrough(&strikethrough)) && strikethrough;
}

void ComFont::SetStrikethrough(bool strikethrough) {
  ThrowIfFailed(font_->put_Strikethrough(strikethrough ? TRUE : FALSE));
}

std::int16_t ComFont::Charset() const {
  SHORT charset = 0;
  if (FAILED(font_->get_Charset(&charset))) return 0;
  return charset;
}

void ComFont::SetCharset(std::int16_t charset) { ThrowIfFailed(font_->put_Charset(charset)); }

void ComFont::SetWeight(std::int16_t weight) { ThrowIfFailed(font_->put_Weight(weight)); }

std::int16_t ComFont::Weight() const {
  SHORT weight = FW_NORMAL;
  if (FAILED(font_->get_Weight(&weight))) return FW_NORMAL;
  return weight;
}

std::uintptr_t ComFont::FontHandle() const {
  HFONT handle = nullptr;
  if (FAILED(font_->get_hFont(&handle))) return 0;
  return reinterpret_cast<std::uintptr_t>(handle);
}

void ComFont::Advise(FontChangeSink* sink) {
  if (!sink || std::find(sinks_.begin(), sinks_.end(), sink) != sinks_.end()) return;
  sinks_.push_back(sink);
  if (!notify_) Connect();
}

void ComFont::Unadvise(FontChangeSink* sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
  if (sinks_.empty()) Disconnect();
}

void ComFont::Connect() {
  // A font object without change notifications still works; its changes go unseen.
  auto container = font_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (!container) return;
  ComPtr<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, point.Put())) || !point)
    return;
  auto* notify = new NotifySink(this);
  DWORD cookie = 0;
  if (FAILED(point->Advise(notify, &cookie))) {
    notify->Detach();
    notify->Release();
    return;
  }
  notify_ = notify;
  point_ = std::move(point);
  cookie_ = cookie;
}

void ComFont::Disconnect() {
  if (!notify_) return;
  point_->Unadvise(cookie_);
  notify_->Detach();
  notify_->Release();
  notify_ = nullptr;
  point_.Reset();
  cookie_ = 0;
}

void ComFont::OnChanged(DISPID dispid) {
  const std::u16string attribute = FontAttributeName(dispid);
  // A sink may unadvise itself or others while it is told.
  const std::vector<FontChangeSink*> sinks = sinks_;
  for (FontChangeSink* sink : sinks)
    if (std::find(sinks_.begin(), sinks_.end(), sink) != sinks_.end())
      IgnoreErrors([&] { sink->OnFontChanged(attribute); });
}

std::u16string FontAttributeName(DISPID dispid) {
  switch (dispid) {
    case DISPID_FONT_NAME:
      return u"Name";
    case DISPID_FONT_SIZE:
      return u"Size";
    case DISPID_FONT_BOLD:
      return u"Bold";
    case DISPID_FONT_ITALIC:
      return u"Italic";
    case DISPID_FONT_UNDER:
      return u"Underline";
    case DISPID_FONT_STRIKE:
      return u"Strikethrough";
    case DISPID_FONT_WEIGHT:
      return u"Weight";
    case DISPID_FONT_CHARSET:
      return u"Charset";
    default:
      return {};
  }
}

ComPtr<IFontDisp> FontDispOf(const FontRef& font) {
  if (auto* com = dynamic_cast<ComFont*>(font.get())) return com->Disp();
  return {};
}

}  // namespace vantiq::activex
