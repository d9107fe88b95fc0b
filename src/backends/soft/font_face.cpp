#include "backends/soft/font_face.h"

#if VANTIQ_SOFT_TEXT

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_TRIGONOMETRY_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <list>
#include <map>
#include <string>
#include <tuple>

namespace vantiq::soft_text {

struct Font::Setup {
  std::shared_ptr<const std::vector<unsigned char>> file;
  std::int32_t height = 0;
  std::int32_t escapement = 0;
  bool fake_bold = false;
  bool fake_italic = false;
  bool nonantialiased = false;
};

// The slant and rotation glyphs go through: the advance's transform without the
// rotation, and the whole one.
struct Font::Matrices {
  FT_Matrix unrotated;
  FT_Matrix rotated;
};

namespace {

// A face family's files by style; a style without a file is synthesised from the
// regular one.
struct Family {
  const char* regular;
  const char* bold;
  const char* italic;
  const char* bold_italic;
};

constexpr Family kTahoma = {"/usr/share/wine/fonts/tahoma.ttf",
                            "/usr/share/wine/fonts/tahomabd.ttf", nullptr, nullptr};
constexpr Family kDejaVuSans = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                                "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
                                "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"};

// The names that mean Tahoma: its own and the dialog faces that stand for it.
constexpr const char16_t* kTahomaNames[] = {u"tahoma", u"ms sans serif", u"ms shell dlg",
                                            u"ms shell dlg 2"};

// Realised fonts kept, the most recently used first: a caption asks for the same one
// on every paint, and its shadow pass once more.
constexpr std::size_t kCachedFonts = 16;
// A requested weight above this picks a bold face, or emboldens a regular one.
constexpr std::int32_t kBoldWeight = 550;
constexpr std::uint8_t kNonAntialiasedQuality = 3;
constexpr FT_UShort kGaspDoGray = 0x0002;
// Glyphs bigger than this keep their metrics but are not drawn: a caption font
// thousands of pixels tall (a saved size is any number) would cost seconds and
// gigabytes here for the few pixels a control shows of it.
constexpr std::int64_t kMaxGlyphPixels = std::int64_t{1} << 22;

// Face names match in any case of their ASCII letters; other characters match exactly.
std::u16string Lower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return s;
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library created = nullptr;
    if (FT_Init_FreeType(&created) != 0) return static_cast<FT_Library>(nullptr);
    return created;
  }();
  return library;
}

// Face files are read once and kept: a caption realises its font on every paint.
std::shared_ptr<const std::vector<unsigned char>> FileBytes(const char* path) {
  static std::map<std::string, std::shared_ptr<const std::vector<unsigned char>>> files;
  if (path == nullptr) return nullptr;
  const auto found = files.find(path);
  if (found != files.end()) return found->second;
  std::shared_ptr<const std::vector<unsigned char>> bytes;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    auto data = std::make_shared<std::vector<unsigned char>>(std::istreambuf_iterator<char>(in),
                                                             std::istreambuf_iterator<char>());
    if (!data->empty()) bytes = std::move(data);
  }
  files.emplace(path, bytes);
  return bytes;
}

// FT_MulDiv and FT_MulFix on plain integers, as the font engine computes its sizes.
long MulDiv(long a, long b, long c) { return FT_MulDiv(a, b, c); }
long MulFix(long a, long b) { return FT_MulFix(a, b); }

// A windows descent stored as a signed value still means its magnitude.
long WinDescent(const TT_OS2* os2) { return std::labs(static_cast<FT_Short>(os2->usWinDescent)); }

// The em size for a LOGFONT height: a negative height is the em itself, a positive one
// the whole cell (the windows ascent plus descent), 0 a 16-pixel cell.
long PpemForHeight(FT_Face face, long height) {
  constexpr long kMaxPpem = (1 << 16) - 1;
  if (height == 0) height = 16;
  if (height < 0) return height >= -kMaxPpem ? -height : 1;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (os2 == nullptr || hhea == nullptr) return 1;
  long units = os2->usWinAscent + WinDescent(os2);
  if (units == 0) units = hhea->Ascender - hhea->Descender;
  long ppem = MulDiv(face->units_per_EM, height, units);
  // Rounding up must not give a cell taller than asked for.
  if (ppem > 1 && MulDiv(units, ppem, face->units_per_EM) > height) --ppem;
  return ppem > kMaxPpem ? 1 : ppem;
}

// The gasp flags for the current size; false when the face has no usable table.
bool GaspFlags(FT_Face face, FT_UShort& flags) {
  flags = 0;
  FT_ULong size = 0;
  if (FT_Load_Sfnt_Table(face, TTAG_gasp, 0, nullptr, &size) != 0 || size < 8) return false;
  std::vector<FT_Byte> table(size);
  if (FT_Load_Sfnt_Table(face, TTAG_gasp, 0, table.data(), &size) != 0) return false;
  const auto word = [&](std::size_t at) {
    return static_cast<FT_UShort>((table[at] << 8) | table[at + 1]);
  };
  const FT_UShort version = word(0);
  FT_UShort ranges = word(2);
  if (version > 1 || size < (ranges * 2u + 2u) * 2u) return false;
  for (std::size_t at = 4; ranges > 0; --ranges, at += 4) {
    flags = word(at + 2);
    if (face->size->metrics.y_ppem <= word(at)) break;
  }
  return true;
}

// The Unicode character map the font engine settles on: the last Microsoft one, else
// the last Macintosh, ISO or Apple one.
void SelectCharmap(FT_Face face) {
  FT_CharMap by_platform[4] = {};
  FT_CharMap other = nullptr;
  for (FT_Int i = 0; i < face->num_charmaps; ++i) {
    const FT_CharMap map = face->charmaps[i];
    if (map->encoding != FT_ENCODING_UNICODE) continue;
    if (map->platform_id < 4) {
      by_platform[map->platform_id] = map;
    } else {
      other = map;
    }
  }
  for (const FT_CharMap map :
       {by_platform[3], by_platform[1], by_platform[2], by_platform[0], other}) {
    if (map != nullptr) {
      FT_Set_Charmap(face, map);
      return;
    }
  }
}

// A glyph's advance as the engine reports it: transformed, one pixel wider when
// emboldened, and rounded up to whole pixels.
FT_Vector AdvanceMetric(FT_Pos base, const FT_Matrix* transform, bool fake_bold) {
  FT_Vector advance{base, 0};
  if (transform != nullptr) FT_Vector_Transform(&advance, transform);
  if (fake_bold) {
    if (transform == nullptr) {
      advance.x += 1 << 6;
    } else {
      FT_Vector unit{1 << 6, 0};
      FT_Vector_Transform(&unit, transform);
      const FT_Fixed length = FT_Vector_Length(&unit);
      if (length != 0) {
        advance.x += (unit.x * 64) / length;
        advance.y += (unit.y * 64) / length;
      }
    }
  }
  advance.x = (advance.x + 63) & -64;
  advance.y = -((advance.y + 63) & -64);
  return advance;
}

// The pixel-aligned box of a glyph's metrics box, after the transform.
FT_BBox GlyphBox(const FT_Glyph_Metrics& m, const FT_Matrix* transform) {
  FT_BBox box{};
  if (transform == nullptr) {
    box.xMin = m.horiBearingX & -64;
    box.xMax = (m.horiBearingX + m.width + 63) & -64;
    box.yMax = (m.horiBearingY + 63) & -64;
    box.yMin = (m.horiBearingY - m.height) & -64;
    return box;
  }
  for (int xc = 0; xc < 2; ++xc) {
    for (int yc = 0; yc < 2; ++yc) {
      FT_Vector corner{m.horiBearingX + xc * m.width, m.horiBearingY - yc * m.height};
      FT_Vector_Transform(&corner, transform);
      if (xc == 0 && yc == 0) {
        box.xMin = box.xMax = corner.x;
        box.yMin = box.yMax = corner.y;
        continue;
      }
      // The engine's comparison chain: a new minimum is never also tested as a maximum.
      if (corner.x < box.xMin) {
        box.xMin = corner.x;
      } else if (corner.x > box.xMax) {
        box.xMax = corner.x;
      }
      if (corner.y < box.yMin) {
        box.yMin = corner.y;
      } else if (corner.y > box.yMax) {
        box.yMax = corner.y;
      }
    }
  }
  box.xMin &= -64;
  box.xMax = (box.xMax + 63) & -64;
  box.yMin &= -64;
  box.yMax = (box.yMax + 63) & -64;
  return box;
}

FT_Error LoadGlyph(FT_Face face, FT_UInt index, FT_Int32 flags) {
  FT_Error error = FT_Load_Glyph(face, index, flags);
  if (error != 0 && !(flags & FT_LOAD_NO_HINTING)) {
    error = FT_Load_Glyph(face, index, flags | FT_LOAD_NO_HINTING);
  }
  return error;
}

}  // namespace

Font::Font(const Setup& setup)
    : file_(setup.file), fake_bold_(setup.fake_bold), fake_italic_(setup.fake_italic) {
  FT_Library library = Library();
  FT_Face face = nullptr;
  if (library == nullptr || !file_ ||
      FT_New_Memory_Face(library, file_->data(), static_cast<FT_Long>(file_->size()), 0, &face) !=
          0) {
    return;
  }
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  if (!FT_IS_SCALABLE(face) || os2 == nullptr || hhea == nullptr) {
    FT_Done_Face(face);
    return;
  }
  face_ = face;
  ppem_ = static_cast<int>(PpemForHeight(face, setup.height));
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem_));
  SelectCharmap(face);

  // Text metrics scale the windows ascent and descent; the line positions come from
  // the post and OS/2 tables. (GDI passes over Tahoma's VDMX table, whose one ratio
  // record is for character set 0; DejaVu Sans has none.)
  const long em_scale = MulDiv(ppem_, 1 << 16, face->units_per_EM);
  long ascent = os2->usWinAscent;
  long descent = WinDescent(os2);
  if (ascent + descent == 0) {
    ascent = hhea->Ascender;
    descent = -hhea->Descender;
  }
  metrics_.ascent = static_cast<int>(MulFix(ascent, em_scale));
  metrics_.descent = static_cast<int>(MulFix(descent, em_scale));
  metrics_.height = metrics_.ascent + metrics_.descent;
  metrics_.strikeout_size = static_cast<int>(MulFix(os2->yStrikeoutSize, em_scale));
  metrics_.strikeout_position = static_cast<int>(MulFix(os2->yStrikeoutPosition, em_scale));
  if (post != nullptr) {
    metrics_.underline_size = static_cast<int>(MulFix(post->underlineThickness, em_scale));
    metrics_.underline_position = static_cast<int>(MulFix(post->underlinePosition, em_scale));
  }

  // Grey levels unless the caller asked for none or the face's gasp table turns them
  // off at this size; a synthesised style keeps them whatever gasp says.
  mono_ = setup.nonantialiased;
  if (!mono_ && !fake_bold_ && !fake_italic_) {
    FT_UShort flags = 0;
    if (GaspFlags(face, flags) && !(flags & kGaspDoGray)) mono_ = true;
  }

  const bool rotated = setup.escapement % 3600 != 0;
  if (fake_italic_ || rotated) {
    matrices_ = std::make_unique<Matrices>();
    matrices_->unrotated = FT_Matrix{1 << 16, 0, 0, 1 << 16};
    if (fake_italic_) {
      FT_Matrix slant{1 << 16, (1 << 16) >> 2, 0, 1 << 16};
      FT_Matrix_Multiply(&slant, &matrices_->unrotated);
    }
    matrices_->rotated = matrices_->unrotated;
    if (rotated) {
      FT_Vector unit;
      FT_Vector_Unit(&unit, MulDiv(1 << 16, setup.escapement, 10));
      FT_Matrix rotation{unit.x, -unit.y, unit.y, unit.x};
      FT_Matrix_Multiply(&rotation, &matrices_->rotated);
    }
  }
}

Font::~Font() {
  if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
}

unsigned Font::GlyphIndex(char16_t c) const {
  // A character the face lacks draws the face's missing-glyph box.
  return FT_Get_Char_Index(static_cast<FT_Face>(face_), c);
}

int Font::Advance(char16_t c) {
  if (face_ == nullptr) return 0;
  const auto found = advances_.find(c);
  if (found != advances_.end()) return found->second;
  const auto face = static_cast<FT_Face>(face_);
  int advance = 0;
  if (LoadGlyph(face, GlyphIndex(c), FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_NO_BITMAP) ==
      0) {
    FT_Vector v = AdvanceMetric(face->glyph->metrics.horiAdvance,
                                matrices_ ? &matrices_->unrotated : nullptr, fake_bold_);
    advance = static_cast<int>(FT_Vector_Length(&v) >> 6);
  }
  advances_.emplace(c, advance);
  return advance;
}

const Glyph& Font::GlyphFor(char16_t c) {
  const auto found = glyphs_.find(c);
  if (found != glyphs_.end()) return found->second;
  return glyphs_.emplace(c, Rasterize(c)).first->second;
}

Glyph Font::Rasterize(char16_t c) const {
  Glyph glyph;
  if (face_ == nullptr) return glyph;
  const auto face = static_cast<FT_Face>(face_);
  const FT_Matrix* transform = matrices_ ? &matrices_->rotated : nullptr;

  // Hinting for the target the glyph is drawn in; embedded bitmaps only for plain
  // black-and-white glyphs.
  FT_Int32 flags = FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;
  flags |= mono_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  if (transform != nullptr || !mono_) flags |= FT_LOAD_NO_BITMAP;
  if (LoadGlyph(face, GlyphIndex(c), flags) != 0) return glyph;
  const FT_GlyphSlot slot = face->glyph;

  FT_Glyph_Metrics m = slot->metrics;
  if (fake_bold_) {
    bool emboldened = false;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE &&
        FT_Outline_Embolden(&slot->outline, MulDiv(ppem_, 1 << 6, 24)) == 0) {
      FT_BBox box;
      FT_Outline_Get_CBox(&slot->outline, &box);
      m.width = box.xMax - box.xMin;
      m.height = box.yMax - box.yMin;
      m.horiBearingX = box.xMin;
      m.horiBearingY = box.yMax;
      emboldened = true;
    }
    if (!emboldened && m.width != 0) m.width += 1 << 6;
  }
  // Nothing is drawn above the ascent or below the descent.
  const FT_Pos top = std::min<FT_Pos>(m.horiBearingY, FT_Pos{metrics_.ascent} * 64);
  const FT_Pos bottom = std::max<FT_Pos>(m.horiBearingY - m.height, -FT_Pos{metrics_.descent} * 64);
  m.horiBearingY = top;
  m.height = top - bottom;

  const FT_BBox box = GlyphBox(m, transform);
  const FT_Vector advance = AdvanceMetric(m.horiAdvance, transform, fake_bold_);
  glyph.left = static_cast<int>(box.xMin >> 6);
  glyph.top = static_cast<int>(box.yMax >> 6);
  glyph.advance_x = static_cast<int>(advance.x >> 6);
  glyph.advance_y = static_cast<int>(advance.y >> 6);
  const int width = static_cast<int>((box.xMax - box.xMin) >> 6);
  const int height = static_cast<int>((box.yMax - box.yMin) >> 6);
  if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxGlyphPixels) return glyph;
  glyph.width = width;
  glyph.height = height;
  glyph.levels.assign(static_cast<std::size_t>(width) * height, 0);

  if (slot->format == FT_GLYPH_FORMAT_BITMAP) {
    // An embedded strike, copied from its top-left corner into the box, smeared one
    // pixel right when emboldened.
    const FT_Bitmap& bits = slot->bitmap;
    const int rows = std::min<int>(height, static_cast<int>(bits.rows));
    const int columns =
        std::min<int>((width + 31) / 32 * 32, static_cast<int>(bits.width + 7) / 8 * 8);
    for (int y = 0; y < rows; ++y) {
      const unsigned char* row = bits.buffer + static_cast<std::ptrdiff_t>(y) * bits.pitch;
      for (int x = 0; x < columns; ++x) {
        if (!(row[x / 8] & (0x80 >> (x % 8)))) continue;
        if (x < width) glyph.levels[static_cast<std::size_t>(y) * width + x] = 16;
        if (fake_bold_ && x + 1 < width)
          glyph.levels[static_cast<std::size_t>(y) * width + x + 1] = 16;
      }
    }
    return glyph;
  }
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return glyph;

  if (transform != nullptr) FT_Outline_Transform(&slot->outline, transform);
  FT_Outline_Translate(&slot->outline, -box.xMin, -box.yMin);
  FT_Bitmap target;
  FT_Bitmap_Init(&target);
  target.width = static_cast<unsigned>(width);
  target.rows = static_cast<unsigned>(height);
  target.pixel_mode = mono_ ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
  target.num_grays = mono_ ? 2 : 256;
  target.pitch = mono_ ? (width + 31) / 32 * 4 : (width + 3) / 4 * 4;
  std::vector<unsigned char> buffer(static_cast<std::size_t>(target.pitch) * height, 0);
  target.buffer = buffer.data();
  FT_Outline_Get_Bitmap(Library(), &slot->outline, &target);
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = buffer.data() + static_cast<std::size_t>(y) * target.pitch;
    for (int x = 0; x < width; ++x) {
      // Grey coverage goes down to GGO_GRAY4's 17 levels.
      glyph.levels[static_cast<std::size_t>(y) * width + x] =
          mono_ ? ((row[x / 8] & (0x80 >> (x % 8))) ? 16 : 0)
                : static_cast<std::uint8_t>(row[x] * 17 / 256);
    }
  }
  return glyph;
}

std::mutex& TextLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<Font> RealizeFont(const LogFont& font) {
  // The family by name, falling back to DejaVu Sans for any other name or a missing file.
  const std::u16string name = Lower(font.FaceName());
  const bool tahoma_named = std::any_of(std::begin(kTahomaNames), std::end(kTahomaNames),
                                        [&](const char16_t* n) { return name == n; });
  const Family& family = tahoma_named && FileBytes(kTahoma.regular) ? kTahoma : kDejaVuSans;

  // The closest style the family has a file for; what it lacks is synthesised.
  const bool bold = font.lfWeight > kBoldWeight;
  const bool italic = font.lfItalic != 0;
  struct Style {
    const char* path;
    bool bold, italic;
  };
  const Style styles[] = {{family.regular, false, false},
                          {family.bold, true, false},
                          {family.italic, false, true},
                          {family.bold_italic, true, true}};
  const Style* best = nullptr;
  int best_score = 4;
  for (const Style& s : styles) {
    if (!FileBytes(s.path)) continue;
    const int score = (s.bold != bold) + (s.italic != italic);
    if (score < best_score) {
      best = &s;
      best_score = score;
    }
  }
  if (best == nullptr) return nullptr;

  Font::Setup setup;
  setup.file = FileBytes(best->path);
  setup.height = font.lfHeight;
  setup.escapement = font.lfEscapement;
  setup.fake_bold = bold && !best->bold;
  setup.fake_italic = italic && !best->italic;
  setup.nonantialiased = font.lfQuality == kNonAntialiasedQuality;

  using Key = std::tuple<const char*, std::int32_t, std::int32_t, bool, bool, bool>;
  static std::list<std::pair<Key, std::shared_ptr<Font>>> cache;  // most recent first
  const Key key{best->path,      setup.height,      setup.escapement,
                setup.fake_bold, setup.fake_italic, setup.nonantialiased};
  for (auto it = cache.begin(); it != cache.end(); ++it) {
    if (it->first == key) {
      cache.splice(cache.begin(), cache, it);
      return cache.front().second;
    }
  }
  auto realized = std::make_shared<Font>(setup);
  if (!realized->Loaded()) return nullptr;
  cache.emplace_front(key, realized);
  if (cache.size() > kCachedFonts) cache.pop_back();
  return realized;
}

}  // namespace vantiq::soft_text

#endif  // VANTIQ_SOFT_TEXT
