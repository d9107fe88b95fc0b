#include "control/persistence.h"

#include <cmath>
#include <cstdint>
#include <locale>
#include <optional>
#include <sstream>
#include <string>

#include "common/runtime_error.h"
#include "control/vantiq.h"

namespace vantiq {
namespace {

// --- Keys and their defaults, the same on both sides --------------------------------

struct Key {
  const char16_t* name;
  Variant defaultValue;
};

Variant I2(std::int16_t v) { return Variant(v); }
Variant I4(std::uint32_t v) { return Variant(static_cast<std::int32_t>(v)); }
Variant R8(double v) { return Variant(v); }
Variant Bool(bool v) { return Variant(v); }
Variant Text(const char16_t* v) { return Variant(std::u16string(v)); }
Variant NoPicture() { return Variant(PictureRef()); }

const Key kBackColor{u"BackColor", I4(kAutoColor)};
const Key kBackgroundPicture{u"BackgroundPicture", NoPicture()};
const Key kCaption{u"Caption", Text(u"")};
const Key kCaptionCallBack{u"CaptionCallBack", Bool(false)};
const Key kFont{u"Font", Variant()};  // read and written without a default
const Key kForeColor{u"ForeColor", I4(0)};
const Key kAlternateForeColor{u"AlternateForeColor", I4(kAutoTextColor)};
const Key kMax{u"Max", R8(100)};
const Key kMin{u"Min", R8(0)};
const Key kOrientation{u"Orientation", I4(eProgressBarOrientationHorizontal)};
const Key kProgressColor{u"ProgressColor", I4(kAutoColor)};
const Key kProgressPicture{u"ProgressPicture", NoPicture()};
const Key kRightToLeft{u"RightToLeft", Bool(false)};
const Key kScrolling{u"Scrolling", I4(eProgressBarScrollStandard)};
const Key kSearchCaption{u"SearchCaption", Text(u"")};
const Key kSegmentBorders{u"SegmentBorders", Bool(false)};
const Key kSegmentBorderColor{u"SegmentBorderColor", I4(kAutoColor)};
const Key kShadow{u"Shadow", Bool(false)};
const Key kShadowColor{u"ShadowColor", I2(0)};
const Key kAlternateShadowColor{u"AlternateShadowColor", I2(0)};
const Key kShadowIntensity{u"ShadowIntensity", I2(128)};
const Key kShowCaption{u"ShowCaption", Bool(true)};
const Key kStyle{u"Style", I4(eProgSystem)};
const Key kTextAlignment{u"TextAlignment", I4(ePbTextAlignCenter)};
const Key kValue{u"Value", R8(0)};
const Key kPercentFormat{u"PercentFormat", Text(u"#0")};

// --- Conversions of values read -------------------------------------------------------

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Trimmed(const std::u16string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A decimal number with "." as the point: [sign] digits [. digits] [e [sign] digits].
// The user's locale plays no part, so a saved file means the same everywhere.
std::optional<double> ParseDecimal(const std::u16string& text) {
  const std::u16string s = Trimmed(text);
  std::size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == u'.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  // Every character is ASCII by now.
  std::istringstream in(std::string(s.begin(), s.end()));
  in.imbue(std::locale::classic());
  double value = 0;
  in >> value;
  if (in.fail() || !std::isfinite(value)) return std::nullopt;  // overflow
  return value;
}

// "&H" and 1 to 8 hex digits: the 32-bit pattern, so "&HFFFFFFFF" is -1.
std::optional<std::int32_t> ParseHex(const std::u16string& text) {
  const std::u16string s = Trimmed(text);
  if (s.size() < 3 || s.size() > 10 || s[0] != u'&' || (s[1] != u'H' && s[1] != u'h'))
    return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < s.size(); ++i) {
    const char16_t c = s[i];
    std::uint32_t digit;
    if (IsDigit(c)) digit = c - u'0';
    else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return std::nullopt;
    value = (value << 4) | digit;
  }
  return static_cast<std::int32_t>(value);
}

// Half to even, as OLE rounds; nothing when the result does not fit 32 bits.
std::optional<std::int32_t> RoundToInt32(double d) {
  if (!std::isfinite(d)) return std::nullopt;
  double r = std::floor(d + 0.5);
  if (r - d == 0.5 && std::fmod(r, 2.0) != 0) r -= 1;
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::optional<std::int32_t> ToInt32(const Variant& v) {
  if (const auto* i2 = std::get_if<std::int16_t>(&v)) return *i2;
  if (const auto* i4 = std::get_if<std::int32_t>(&v)) return *i4;
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
  if (const auto* r8 = std::get_if<double>(&v)) return RoundToInt32(*r8);
  if (const auto* s = std::get_if<std::u16string>(&v)) {
    if (auto hex = ParseHex(*s)) return hex;
    if (auto d = ParseDecimal(*s)) return RoundToInt32(*d);
  }
  return std::nullopt;
}

std::optional<OleColor> ToColor(const Variant& v) {
  const std::optional<std::int32_t> i = ToInt32(v);
  if (!i) return std::nullopt;
  return static_cast<OleColor>(*i);
}

std::optional<double> ToDouble(const Variant& v) {
  if (const auto* i2 = std::get_if<std::int16_t>(&v)) return *i2;
  if (const auto* i4 = std::get_if<std::int32_t>(&v)) return *i4;
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
  if (const auto* r8 = std::get_if<double>(&v)) return *r8;
  if (const auto* s = std::get_if<std::u16string>(&v)) return ParseDecimal(*s);
  return std::nullopt;
}

bool EqualsIgnoringCase(const std::u16string& a, const char16_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != 0; ++i) {
    char16_t c = a[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != b[i]) return false;
  }
  return i == a.size() && b[i] == 0;
}

std::optional<bool> ToBool(const Variant& v) {
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  if (const auto* i2 = std::get_if<std::int16_t>(&v)) return *i2 != 0;
  if (const auto* i4 = std::get_if<std::int32_t>(&v)) return *i4 != 0;
  if (const auto* r8 = std::get_if<double>(&v)) return *r8 != 0;
  if (const auto* s = std::get_if<std::u16string>(&v)) {
    const std::u16string t = Trimmed(*s);
    if (EqualsIgnoringCase(t, u"true")) return true;
    if (EqualsIgnoringCase(t, u"false")) return false;
    if (auto d = ParseDecimal(t)) return *d != 0;
  }
  return std::nullopt;
}

std::optional<std::u16string> ToText(const Variant& v) {
  if (const auto* s = std::get_if<std::u16string>(&v)) return *s;
  std::optional<std::int32_t> i;
  if (const auto* i2 = std::get_if<std::int16_t>(&v)) i = *i2;
  if (const auto* i4 = std::get_if<std::int32_t>(&v)) i = *i4;
  if (!i) return std::nullopt;
  const std::string digits = std::to_string(*i);
  return std::u16string(digits.begin(), digits.end());
}

// A picture reference, or none; a font or any other kind is not a picture.
std::optional<PictureRef> ToPicture(const Variant& v) {
  if (const auto* p = std::get_if<PictureRef>(&v)) return *p;
  return std::nullopt;
}

// --- Reading and writing one key -------------------------------------------------------

template <typename Apply>
void Read(PropertyBag& bag, const Key& key, Apply&& apply) {
  IgnoreErrors([&] { apply(bag.ReadProperty(key.name, key.defaultValue)); });
}

template <typename Value>
void Write(PropertyBag& bag, const Key& key, Value&& value) {
  IgnoreErrors([&] { bag.WriteProperty(key.name, Variant(value()), key.defaultValue); });
}

std::int32_t Saved(OleColor c) { return static_cast<std::int32_t>(c); }

}  // namespace

void ReadProperties(Vantiq& control, PropertyBag& bag) {
  // A container that cannot tell is taken to be running the control.
  bool runTime = true;
  IgnoreErrors([&] { runTime = control.host().AmbientUserMode(); });
  if (runTime) IgnoreErrors([&] { control.RefreshThemeIdentity(); });

  Properties& p = control.props();
  Read(bag, kBackColor, [&](const Variant& v) {
    if (auto c = ToColor(v)) p.m_lBackColor = *c;
  });
  Read(bag, kBackgroundPicture, [&](const Variant& v) {
    if (auto pic = ToPicture(v)) p.m_oBackgroundPicture = *pic;
  });
  Read(bag, kCaption, [&](const Variant& v) {
    if (auto s = ToText(v)) p.m_sCaption = *s;
  });
  Read(bag, kCaptionCallBack, [&](const Variant& v) {
    if (auto b = ToBool(v)) p.m_bCaptionCallBack = *b;
  });
  Read(bag, kFont, [&](const Variant& v) {
    // Only a bag made elsewhere lacks the font; the start-up font then stays.
    const auto* font = std::get_if<FontRef>(&v);
    if (font && *font) control.SetFont(*font);
  });
  Read(bag, kForeColor, [&](const Variant& v) {
    if (auto c = ToColor(v)) p.m_lForeColor = *c;
  });
  Read(bag, kAlternateForeColor, [&](const Variant& v) {
    // Saved already translated (or the automatic marker): stored as it is.
    if (auto c = ToColor(v)) p.m_lAlternateForeColor = *c;
  });
  // The range before the value, so the value is clamped into the loaded range.
  Read(bag, kMax, [&](const Variant& v) {
    if (auto d = ToDouble(v)) control.SetMax(*d);
  });
  Read(bag, kMin, [&](const Variant& v) {
    if (auto d = ToDouble(v)) control.SetMin(*d);
  });
  Read(bag, kOrientation, [&](const Variant& v) {
    if (auto i = ToInt32(v)) control.SetOrientation(*i);
  });
  Read(bag, kProgressColor, [&](const Variant& v) {
    if (auto c = ToColor(v)) p.m_lProgressColor = *c;
  });
  Read(bag, kProgressPicture, [&](const Variant& v) {
    if (auto pic = ToPicture(v)) p.m_oProgressPicture = *pic;
  });
  Read(bag, kRightToLeft, [&](const Variant& v) {
    if (auto b = ToBool(v)) p.m_bRightToLeft = *b;
  });
  Read(bag, kScrolling, [&](const Variant& v) {
    if (auto i = ToInt32(v)) p.m_lScrolling = *i;
  });
  Read(bag, kSearchCaption, [&](const Variant& v) {
    if (auto s = ToText(v)) p.m_sSearchCaption = *s;
  });
  Read(bag, kSegmentBorders, [&](const Variant& v) {
    if (auto b = ToBool(v)) p.m_bSegmentBorders = *b;
  });
  Read(bag, kSegmentBorderColor, [&](const Variant& v) {
    if (auto c = ToColor(v)) p.m_lSegmentBorderColor = *c;
  });
  Read(bag, kShadow, [&](const Variant& v) {
    if (auto b = ToBool(v)) p.m_bShadow = *b;
  });
  Read(bag, kShadowColor, [&](const Variant& v) {
    if (auto c = ToColor(v)) p.m_lShadowColor = *c;
  });
  Read(bag, kAlternateShadowColor, [&](const Variant& v) {
    if (auto c = ToColor(v)) p.m_lAlternateShadowColor = *c;
  });
  Read(bag, kShadowIntensity, [&](const Variant& v) {
    // The shadow's alpha is this value: a hand-edited file must not push it past a byte.
    if (auto i = ToInt32(v)) p.m_lShadowIntensity = *i < 0 ? 0 : (*i > 255 ? 255 : *i);
  });
  Read(bag, kShowCaption, [&](const Variant& v) {
    if (auto b = ToBool(v)) control.SetShowCaption(*b);
  });
  Read(bag, kStyle, [&](const Variant& v) {
    // Stored without the setter's theme refresh: Show refreshes before the first paint.
    if (auto i = ToInt32(v)) p.m_lStyle = *i;
  });
  Read(bag, kTextAlignment, [&](const Variant& v) {
    // Stored as saved; the caption code centres what is out of range.
    if (auto i = ToInt32(v)) p.m_lTextAlignment = *i;
  });
  Read(bag, kValue, [&](const Variant& v) {
    if (auto d = ToDouble(v)) control.SetValue(*d);
  });
  Read(bag, kPercentFormat, [&](const Variant& v) {
    // Stored as saved, "%" included: only the setter strips it.
    if (auto s = ToText(v)) p.m_sPercentFormat = *s;
  });

  control.RegionMayHaveChanged();
}

void WriteProperties(Vantiq& control, PropertyBag& bag) {
  const Properties& p = control.props();
  Write(bag, kBackColor, [&] { return Saved(p.m_lBackColor); });
  Write(bag, kBackgroundPicture, [&] { return p.m_oBackgroundPicture; });
  Write(bag, kCaption, [&] { return p.m_sCaption; });
  Write(bag, kCaptionCallBack, [&] { return p.m_bCaptionCallBack; });
  // The font the base draws with, which the Font setter last gave it.
  Write(bag, kFont, [&] { return control.host().BaseFont(); });
  Write(bag, kForeColor, [&] { return Saved(p.m_lForeColor); });
  Write(bag, kMax, [&] { return p.m_dMax; });
  Write(bag, kMin, [&] { return p.m_dMin; });
  Write(bag, kOrientation, [&] { return p.m_lOrientation; });
  Write(bag, kProgressColor, [&] { return Saved(p.m_lProgressColor); });
  Write(bag, kProgressPicture, [&] { return p.m_oProgressPicture; });
  Write(bag, kRightToLeft, [&] { return p.m_bRightToLeft; });
  Write(bag, kScrolling, [&] { return p.m_lScrolling; });
  Write(bag, kSearchCaption, [&] { return p.m_sSearchCaption; });
  Write(bag, kSegmentBorders, [&] { return p.m_bSegmentBorders; });
  Write(bag, kSegmentBorderColor, [&] { return Saved(p.m_lSegmentBorderColor); });
  Write(bag, kShadow, [&] { return p.m_bShadow; });
  Write(bag, kShadowColor, [&] { return Saved(p.m_lShadowColor); });
  Write(bag, kShadowIntensity, [&] { return p.m_lShadowIntensity; });
  Write(bag, kShowCaption, [&] { return p.m_bShowCaption; });
  Write(bag, kStyle, [&] { return p.m_lStyle; });
  Write(bag, kValue, [&] { return p.m_dValue; });
  Write(bag, kPercentFormat, [&] { return p.m_sPercentFormat; });
  Write(bag, kTextAlignment, [&] { return p.m_lTextAlignment; });
  Write(bag, kAlternateForeColor, [&] { return Saved(p.m_lAlternateForeColor); });
  Write(bag, kAlternateShadowColor, [&] { return Saved(p.m_lAlternateShadowColor); });
}

}  // namespace vantiq
