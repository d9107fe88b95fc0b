#include "control/property_stream.h"

#include <cstring>
#include <new>
#include <set>

#include "common/runtime_error.h"
#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "control/vantiq.h"

namespace vantiq {
namespace {

constexpr std::uint8_t kMagic[4] = {'V', 'Q', 'P', 'S'};

enum Tag : std::uint8_t {
  kTagEmpty = 0,
  kTagInt16 = 1,
  kTagInt32 = 2,
  kTagDouble = 3,
  kTagBool = 4,
  kTagString = 5,
  kTagFont = 6,
  kTagPicture = 7,
  kTagNoFont = 8,
  kTagNoPicture = 9,
  kTagWeightedFont = 10,  // a font with its weight after the charset; 6 has none
};

enum FontFlag : std::uint8_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikethrough = 8,
  kFontAllFlags = 15,
};

constexpr std::size_t kMaxPictureBytes = kPropertyStreamMaxPayload / 4;

// The smallest entry: a one-unit name, its length and a tag.
constexpr std::size_t kMinEntrySize = 2 + 2 + 1;

// --- Reading: every length is checked against what is left before it is used ------------

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : p_(data), left_(size) {}
  std::size_t Left() const { return left_; }

  bool Bytes(void* out, std::size_t n) {
    if (n > left_) return false;
    if (n) std::memcpy(out, p_, n);
    p_ += n;
    left_ -= n;
    return true;
  }
  bool U8(std::uint8_t& v) { return Bytes(&v, 1); }
  bool U16(std::uint16_t& v) {
    std::uint8_t b[2];
    if (!Bytes(b, 2)) return false;
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(std::uint32_t& v) {
    std::uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    v = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
  }
  bool U64(std::uint64_t& v) {
    std::uint32_t lo = 0;
    std::uint32_t hi = 0;
    if (!U32(lo) || !U32(hi)) return false;
    v = (static_cast<std::uint64_t>(hi) << 32) | lo;
    return true;
  }
  bool F64(double& v) {
    std::uint64_t bits = 0;
    if (!U64(bits)) return false;
    std::memcpy(&v, &bits, sizeof v);
    return true;
  }
  // `units` UTF-16 code units; refused before allocating when they are not all there.
  bool Text(std::size_t units, std::u16string& out) {
    if (units > left_ / 2) return false;
    out.resize(units);
    for (char16_t& c : out) {
      std::uint16_t u = 0;
      U16(u);
      c = static_cast<char16_t>(u);
    }
    return true;
  }
  bool Blob(std::size_t n, std::vector<std::uint8_t>& out) {
    if (n > left_) return false;
    out.assign(p_, p_ + n);
    p_ += n;
    left_ -= n;
    return true;
  }

 private:
  const std::uint8_t* p_;
  std::size_t left_;
};

bool ReadFont(Reader& in, StreamFont& font, bool weighted) {
  std::uint16_t nameUnits = 0;
  std::uint8_t flags = 0;
  std::uint16_t charset = 0;
  std::uint16_t weight = 0;
  if (!in.U16(nameUnits) || !in.Text(nameUnits, font.name) || !in.F64(font.size) ||
      !in.U8(flags) || !in.U16(charset) || (weighted && !in.U16(weight)))
    return false;
  font.weight = static_cast<std::int16_t>(weight);
  if (flags & ~kFontAllFlags) return false;
  font.bold = flags & kFontBold;
  font.italic = flags & kFontItalic;
  font.underline = flags & kFontUnderline;
  font.strikethrough = flags & kFontStrikethrough;
  font.charset = static_cast<std::int16_t>(charset);
  return true;
}

bool ReadValue(Reader& in, StreamValue& value) {
  std::uint8_t tag = 0;
  if (!in.U8(tag)) return false;
  switch (tag) {
    case kTagEmpty:
      value = std::monostate();
      return true;
    case kTagInt16: {
      std::uint16_t v = 0;
      if (!in.U16(v)) return false;
      value = static_cast<std::int16_t>(v);
      return true;
    }
    case kTagInt32: {
      std::uint32_t v = 0;
      if (!in.U32(v)) return false;
      value = static_cast<std::int32_t>(v);
      return true;
    }
    case kTagDouble: {
      double v = 0;
      if (!in.F64(v)) return false;
      value = v;
      return true;
    }
    case kTagBool: {
      std::uint16_t v = 0;
      if (!in.U16(v) || (v != 0 && v != 0xFFFF)) return false;
      value = v != 0;
      return true;
    }
    case kTagString: {
      std::uint32_t units = 0;
      std::u16string s;
      if (!in.U32(units) || !in.Text(units, s)) return false;
      value = std::move(s);
      return true;
    }
    case kTagFont:
    case kTagWeightedFont: {
      StreamFont font;
      if (!ReadFont(in, font, tag == kTagWeightedFont)) return false;
      value = std::move(font);
      return true;
    }
    case kTagPicture: {
      std::uint32_t n = 0;
      StreamPicture picture;
      if (!in.U32(n) || !in.Blob(n, picture.bytes)) return false;
      value = std::move(picture);
      return true;
    }
    case kTagNoFont:
      value = NoFont();
      return true;
    case kTagNoPicture:
      value = NoPicture();
      return true;
    default:
      return false;
  }
}

struct Header {
  std::uint16_t count = 0;
  std::uint32_t payload = 0;
};

StreamError ReadHeader(const std::uint8_t* data, std::size_t size, Header& header) {
  Reader in(data, size);
  std::uint8_t magic[4] = {};
  std::uint16_t version = 0;
  if (!in.Bytes(magic, 4)) return StreamError::kTruncated;
  if (std::memcmp(magic, kMagic, 4) != 0) return StreamError::kBadMagic;
  if (!in.U16(version) || !in.U16(header.count) || !in.U32(header.payload))
    return StreamError::kTruncated;
  if (version != kPropertyStreamVersion) return StreamError::kUnsupportedVersion;
  if (header.payload > kPropertyStreamMaxPayload || header.count > kPropertyStreamMaxEntries)
    return StreamError::kTooLarge;
  return StreamError::kNone;
}

// --- Writing ----------------------------------------------------------------------------

class Writer {
 public:
  std::vector<std::uint8_t> bytes;
  void U8(std::uint8_t v) { bytes.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void F64(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
  }
  void Units(const std::u16string& s) {
    for (char16_t c : s) U16(static_cast<std::uint16_t>(c));
  }
  void PatchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
};

struct ValueWriter {
  Writer& out;
  void operator()(std::monostate) { out.U8(kTagEmpty); }
  void operator()(std::int16_t v) {
    out.U8(kTagInt16);
    out.U16(static_cast<std::uint16_t>(v));
  }
  void operator()(std::int32_t v) {
    out.U8(kTagInt32);
    out.U32(static_cast<std::uint32_t>(v));
  }
  void operator()(double v) {
    out.U8(kTagDouble);
    out.F64(v);
  }
  void operator()(bool v) {
    out.U8(kTagBool);
    out.U16(v ? 0xFFFF : 0);
  }
  void operator()(const std::u16string& s) {
    out.U8(kTagString);
    out.U32(static_cast<std::uint32_t>(s.size()));
    out.Units(s);
  }
  void operator()(const StreamFont& f) {
    out.U8(kTagWeightedFont);
    out.U16(static_cast<std::uint16_t>(f.name.size()));
    out.Units(f.name);
    out.F64(f.size);
    out.U8(static_cast<std::uint8_t>((f.bold ? kFontBold : 0) | (f.italic ? kFontItalic : 0) |
                                     (f.underline ? kFontUnderline : 0) |
                                     (f.strikethrough ? kFontStrikethrough : 0)));
    out.U16(static_cast<std::uint16_t>(f.charset));
    out.U16(static_cast<std::uint16_t>(f.weight));
  }
  void operator()(const StreamPicture& p) {
    out.U8(kTagPicture);
    out.U32(static_cast<std::uint32_t>(p.bytes.size()));
    out.bytes.insert(out.bytes.end(), p.bytes.begin(), p.bytes.end());
  }
  void operator()(NoFont) { out.U8(kTagNoFont); }
  void operator()(NoPicture) { out.U8(kTagNoPicture); }
};

// --- Between bag values and stream values ------------------------------------------------

// Throws RuntimeError when the font or the codec cannot answer.
StreamValue ToStreamValue(const Variant& v, PictureCodec& codec) {
  if (const auto* font = std::get_if<FontRef>(&v)) {
    if (!*font) return NoFont();
    const FontObject& f = **font;
    StreamFont s;
    s.name = f.Name();
    s.size = f.Size();
    s.bold = f.Bold();
    s.italic = f.Italic();
    s.underline = f.Underline();
    s.strikethrough = f.Strikethrough();
    s.charset = f.Charset();
    s.weight = f.Weight();
    return s;
  }
  if (const auto* picture = std::get_if<PictureRef>(&v)) {
    if (!*picture) return NoPicture();
    StreamPicture saved{codec.Save(**picture)};
    // Both pictures together stay well inside what a reader accepts.
    if (saved.bytes.size() > kMaxPictureBytes) throw RuntimeError(kErrOverflow);
    return saved;
  }
  return std::visit(
      [](const auto& x) -> StreamValue {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, FontRef> || std::is_same_v<T, PictureRef>) {
          return std::monostate();  // handled above
        } else {
          return x;
        }
      },
      v);
}

// Throws RuntimeError when the host or the codec cannot recreate the object.
Variant ToVariant(const StreamValue& v, Host& host, PictureCodec& codec) {
  return std::visit(
      [&](const auto& x) -> Variant {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, StreamFont>) {
          FontRef font = host.CreateStandardFont();
          if (!font) throw RuntimeError(kErrInvalidProcedureCall);
          font->SetName(x.name);
          font->SetSize(x.size);
          font->SetBold(x.bold);
          font->SetItalic(x.italic);
          font->SetUnderline(x.underline);
          font->SetStrikethrough(x.strikethrough);
          font->SetCharset(x.charset);
          if (x.weight) font->SetWeight(x.weight);  // after bold, which sets 400 or 700
          return font;
        } else if constexpr (std::is_same_v<T, StreamPicture>) {
          PictureRef picture = codec.Load(x.bytes.data(), x.bytes.size());
          if (!picture) throw RuntimeError(kErrInvalidProcedureCall);
          return picture;
        } else if constexpr (std::is_same_v<T, NoFont>) {
          return FontRef();
        } else if constexpr (std::is_same_v<T, NoPicture>) {
          return PictureRef();
        } else {
          return x;
        }
      },
      v);
}

}  // namespace

bool StreamFont::operator==(const StreamFont& o) const {
  return name == o.name && size == o.size && bold == o.bold &&
         italic == o.italic && underline == o.underline && strikethrough == o.strikethrough &&
         charset == o.charset && weight == o.weight;
}

const char* Describe(StreamError error) {
  switch (error) {
    case StreamError::kNone: return "no error";
    case StreamError::kTruncated: return "the saved properties end early";
    case StreamError::kBadMagic: return "not saved properties of this control";
    case StreamError::kUnsupportedVersion: return "saved by a later version of the control";
    case StreamError::kTooLarge: return "the saved properties claim more than a reader accepts";
    case StreamError::kMalformed: return "the saved properties are damaged";
    case StreamError::kDuplicateName: return "a property is saved twice";
    case StreamError::kObjectRefused: return "a saved font or picture cannot be recreated";
  }
  return "unknown error";
}

std::size_t PropertyStreamSize(const std::uint8_t* data, std::size_t size, StreamError& error) {
  Header header;
  error = ReadHeader(data, size, header);
  return error == StreamError::kNone ? kPropertyStreamHeaderSize + header.payload : 0;
}

ParsedPropertyStream ParsePropertyStream(const std::uint8_t* data, std::size_t size) {
  ParsedPropertyStream result;
  Header header;
  result.error = ReadHeader(data, size, header);
  if (result.error != StreamError::kNone) return result;
  if (size - kPropertyStreamHeaderSize < header.payload) {
    result.error = StreamError::kTruncated;
    return result;
  }
  // Checked before reserving: a count the payload cannot hold is damage, not a request.
  if (header.count > header.payload / kMinEntrySize) {
    result.error = StreamError::kMalformed;
    return result;
  }

  Reader in(data + kPropertyStreamHeaderSize, header.payload);
  std::vector<StreamEntry> entries;
  entries.reserve(header.count);
  std::set<std::u16string> names;
  for (std::uint16_t i = 0; i < header.count; ++i) {
    StreamEntry e;
    std::uint16_t nameUnits = 0;
    if (!in.U16(nameUnits) || nameUnits == 0 || nameUnits > kPropertyStreamMaxNameLength ||
        !in.Text(nameUnits, e.name) || !ReadValue(in, e.value)) {
      result.error = StreamError::kMalformed;
      return result;
    }
    if (!names.insert(e.name).second) {
      result.error = StreamError::kDuplicateName;
      return result;
    }
    entries.push_back(std::move(e));
  }
  if (in.Left() != 0) {
    result.error = StreamError::kMalformed;  // bytes inside the payload that no entry owns
    return result;
  }
  result.consumed = kPropertyStreamHeaderSize + header.payload;
  result.entries = std::move(entries);
  return result;
}

std::vector<std::uint8_t> SerializePropertyStream(const std::vector<StreamEntry>& entries) {
  Writer out;
  out.bytes.assign(kMagic, kMagic + 4);
  out.U16(kPropertyStreamVersion);
  out.U16(static_cast<std::uint16_t>(entries.size()));
  out.U32(0);  // payload length, known at the end
  for (const StreamEntry& e : entries) {
    out.U16(static_cast<std::uint16_t>(e.name.size()));
    out.Units(e.name);
    std::visit(ValueWriter{out}, e.value);
  }
  out.PatchU32(8, static_cast<std::uint32_t>(out.bytes.size() - kPropertyStreamHeaderSize));
  return std::move(out.bytes);
}

std::vector<std::uint8_t> SavePropertyStream(Vantiq& control, PictureCodec& codec) {
  MemoryPropertyBag bag;
  WriteProperties(control, bag);
  std::vector<StreamEntry> entries;
  for (const MemoryPropertyBag::Entry& e : bag.Entries()) {
    IgnoreErrors([&] { entries.push_back({e.first, ToStreamValue(e.second, codec)}); });
  }
  return SerializePropertyStream(entries);
}

StreamLoadResult LoadPropertyStream(Vantiq& control, const std::uint8_t* data, std::size_t size,
                                    PictureCodec& codec) {
  const ParsedPropertyStream parsed = ParsePropertyStream(data, size);
  if (parsed.error != StreamError::kNone) return {parsed.error, 0};

  MemoryPropertyBag bag;
  try {
    for (const StreamEntry& e : parsed.entries)
      bag.Set(e.name, ToVariant(e.value, control.host(), codec));
  } catch (const RuntimeError&) {
    return {StreamError::kObjectRefused, 0};
  } catch (const std::bad_alloc&) {
    return {StreamError::kObjectRefused, 0};
  }
  ReadProperties(control, bag);
  return {StreamError::kNone, parsed.consumed};
}

}  // namespace vantiq
