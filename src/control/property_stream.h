// The control's own binary form of its saved properties, for containers that save
// controls into streams and storages rather than property bags. The values go through
// WriteProperties into a MemoryPropertyBag and come back through ReadProperties, so the
// keys, defaults and conversions are those of the property bag.
//
// Layout, little-endian throughout:
//   header (12 bytes): "VQPS"; u16 version (1); u16 entry count; u32 payload length,
//                      the number of bytes of entries that follow the header
//   entry:   u16 name length in UTF-16 units (1..255), the name; u8 tag; the value:
//     0 empty          (nothing)
//     1 16-bit integer  2 bytes
//     2 32-bit integer  4 bytes
//     3 double          8 bytes, IEEE 754
//     4 Boolean         u16 0 or 0xFFFF
//     5 string          u32 length in UTF-16 units, the units
//     6 font            u16 name length, the name; double size in points; u8 flags
//                       (1 bold, 2 italic, 4 underline, 8 strikethrough); i16 charset
//     7 picture         u32 byte count, the bytes of the PictureCodec
//     8 no font, 9 no picture (empty references; nothing follows)
// The entries fill the payload exactly; names are unique, and names the control does
// not know are ignored. Bytes after the payload are not the control's (a container may
// save more after it) and are left alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "draw/picture.h"

namespace vantiq {

class Vantiq;

// Turns pictures into bytes and back; the COM shell does it with OLE's picture
// persistence. Both throw RuntimeError when they cannot.
class PictureCodec {
 public:
  virtual ~PictureCodec() = default;
  virtual std::vector<std::uint8_t> Save(const PictureObject& picture) = 0;
  // Never returns null for bytes it accepts.
  virtual PictureRef Load(const std::uint8_t* data, std::size_t size) = 0;
};

constexpr std::uint16_t kPropertyStreamVersion = 1;
constexpr std::size_t kPropertyStreamHeaderSize = 12;
// Bounds on what a reader accepts, far above what the control writes, so that a damaged
// length cannot make a container allocate without limit.
constexpr std::uint32_t kPropertyStreamMaxPayload = 64u * 1024u * 1024u;
constexpr std::uint16_t kPropertyStreamMaxEntries = 1024;
constexpr std::uint16_t kPropertyStreamMaxNameLength = 255;

enum class StreamError {
  kNone,
  kTruncated,           // fewer bytes than the header or its payload length needs
  kBadMagic,            // not the control's data at all
  kUnsupportedVersion,  // written by a later version of the control
  kTooLarge,            // a payload length or entry count over the reader's bounds
  kMalformed,           // an entry runs past the payload, or has a bad tag, length or value
  kDuplicateName,       // two entries under one name
  kObjectRefused,       // the font or picture of an entry could not be recreated
};

// A short English description for logs and error text.
const char* Describe(StreamError error);

// A value as the stream holds it, before fonts and pictures are recreated.
struct StreamFont {
  std::u16string name;
  double size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::int16_t charset = 0;
  std::int16_t weight = 0;  // 0: as `bold` says (400 or 700)
  bool operator==(const StreamFont& o) const;
};
struct StreamPicture {
  std::vector<std::uint8_t> bytes;
  bool operator==(const StreamPicture& o) const { return bytes == o.bytes; }
};
struct NoFont {
  bool operator==(const NoFont&) const { return true; }
};
struct NoPicture {
  bool operator==(const NoPicture&) const { return true; }
};
using StreamValue = std::variant<std::monostate, std::int16_t, std::int32_t, double, bool,
                                 std::u16string, StreamFont, StreamPicture, NoFont, NoPicture>;

struct StreamEntry {
  std::u16string name;
  StreamValue value;
  bool operator==(const StreamEntry& o) const { return name == o.name && value == o.value; }
};

struct ParsedPropertyStream {
  StreamError error = StreamError::kNone;
  std::size_t consumed = 0;  // header and payload; 0 on error
  std::vector<StreamEntry> entries;
};

// The header alone: the total size (header and payload) to read, or 0 with `error` set.
// Needs kPropertyStreamHeaderSize bytes.
std::size_t PropertyStreamSize(const std::uint8_t* data, std::size_t size, StreamError& error);

// Parses one saved state from the start of the bytes. Touches nothing else, reads only
// within [data, data + size) and allocates no more than the bytes it was given.
ParsedPropertyStream ParsePropertyStream(const std::uint8_t* data, std::size_t size);

// The bytes of entries, in their order.
std::vector<std::uint8_t> SerializePropertyStream(const std::vector<StreamEntry>& entries);

// The control's saved state. A picture the codec cannot save, or one over 16 MiB, is left
// out, like a failing property-bag write, and loads as no picture.
std::vector<std::uint8_t> SavePropertyStream(Vantiq& control, PictureCodec& codec);

struct StreamLoadResult {
  StreamError error = StreamError::kNone;
  std::size_t consumed = 0;
};

// Loads a saved state: the whole stream is checked, and its fonts and pictures recreated,
// before the first property changes; a refused stream leaves the control as it was.
StreamLoadResult LoadPropertyStream(Vantiq& control, const std::uint8_t* data, std::size_t size,
                                    PictureCodec& codec);

}  // namespace vantiq
