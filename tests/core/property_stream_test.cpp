// The binary saved state: its layout, the round trip of every value type, and what is
// refused. What any bytes may do (refused whole, nothing changed) is the fuzz target's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "control/property_stream.h"
#include "support/bytes_picture.h"
#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;


// Every saved property away from its default, each value unlike its neighbours' so that
// swapped fields show. Over states 0, 1 and 2 each flag goes both ways with a pattern of
// its own; texts carry surrogates and units above 0x7FFF; the charset does not fit a
// byte; numbers need all 32 bits.
void Distinct(Vantiq& c, int k) {
  const auto flag = [k](int j) { return ((0b011110101001010 >> (3 * j)) >> k & 1) != 0; };
  const bool odd = k == 1;
  auto font = std::make_shared<StdFont>();
  font->SetName(odd ? u"T\u00E4homa \U0001F600" : u"\uFFFFx");
  font->SetSize(odd ? 10.35 : 0.01 + k);
  font->SetBold(flag(0));
  if (k == 0) font->SetWeight(900);
  font->SetItalic(flag(1));
  font->SetUnderline(flag(2));
  font->SetStrikethrough(flag(3));
  font->SetCharset(odd ? -2 : 0x1234);
  c.SetFont(font);
  Properties& p = c.props();
  p.m_dMin = odd ? -999999.5 : 3.25;
  p.m_dMax = odd ? 987654.125 : 3.25 + k;
  p.m_dValue = odd ? -0.75 : 3.25;
  OleColor next = odd ? 0x80000001u : 0xFFFFFF00u - k;
  for (OleColor* color : {&p.m_lBackColor, &p.m_lForeColor, &p.m_lAlternateForeColor, &p.m_lProgressColor,
                          &p.m_lSegmentBorderColor, &p.m_lShadowColor, &p.m_lAlternateShadowColor})
    *color = next++;
  int j = 0;
  for (bool* b : {&p.m_bCaptionCallBack, &p.m_bRightToLeft, &p.m_bSegmentBorders, &p.m_bShadow, &p.m_bShowCaption})
    *b = flag(j++);
  p.m_sCaption = odd ? u"\xD800x\U0001F601" : u"C";
  p.m_sSearchCaption = odd ? u"S\u00E9" : u"\x8000";
  p.m_sPercentFormat = odd ? u"0.0%" : u"";
  std::int32_t n = odd ? -2147483647 : 65536 + k;
  for (std::int32_t* number : {&p.m_lOrientation, &p.m_lScrolling, &p.m_lStyle, &p.m_lTextAlignment}) *number = n++;
  // The loading control's first paint resets an alignment it does not know when it lays
  // out a horizontal caption.
  if (p.m_bShowCaption) p.m_lTextAlignment = k % 3;
  p.m_lShadowIntensity = odd ? 255 : 1;
  p.m_oBackgroundPicture = odd ? nullptr : std::make_shared<BytesPicture>(Bytes{});
  p.m_oProgressPicture = odd ? std::make_shared<BytesPicture>(Bytes{0, 255, 7, 0x80}) : nullptr;
}

// The two controls save the same values, fonts and pictures compared by content.
::testing::AssertionResult SameState(Vantiq& a, Vantiq& b) {
  MemoryPropertyBag x, y;
  WriteProperties(a, x);
  WriteProperties(b, y);
  if (x.Names() != y.Names()) return ::testing::AssertionFailure() << "different keys";
  for (std::size_t i = 0; i < x.Entries().size(); ++i) {
    const Variant &u = x.Entries()[i].second, &v = y.Entries()[i].second;
    bool same = u == v;
    if (auto* f = std::get_if<FontRef>(&u); f && *f) {
      const FontObject& g = *std::get<FontRef>(v);
      same = (*f)->Name() == g.Name() && (*f)->Size() == g.Size() && (*f)->Weight() == g.Weight() &&
             (*f)->Bold() == g.Bold() && (*f)->Italic() == g.Italic() && (*f)->Underline() == g.Underline() &&
             (*f)->Strikethrough() == g.Strikethrough() && (*f)->Charset() == g.Charset();
    } else if (auto* p = std::get_if<PictureRef>(&u); p && *p) {
      const auto* q = static_cast<const BytesPicture*>(std::get<PictureRef>(v).get());
      same = q && static_cast<BytesPicture&>(**p).bytes == q->bytes;
    }
    if (!same) return ::testing::AssertionFailure() << std::string(x.Entries()[i].first.begin(), x.Entries()[i].first.end()) << " differs";
  }
  return ::testing::AssertionSuccess();
}

class PropertyStream : public ::testing::Test {
 protected:
  void SetUp() override {
    a.Start();
    b.Start();
  }
  Vantiq& A() { return *a.control; }
  Vantiq& B() { return *b.control; }
  ControlRig a, b;
  BytesCodec codec;
};

TEST_F(PropertyStream, EveryValueRoundTripsByteForByteAndValueForValue) {
  for (int k : {0, 1, 2}) {
    Distinct(A(), k);
    const Bytes saved = SavePropertyStream(A(), codec);
    const StreamLoadResult loaded = LoadPropertyStream(B(), saved.data(), saved.size(), codec);
    ASSERT_EQ(loaded.error, StreamError::kNone) << k;
    EXPECT_EQ(loaded.consumed, saved.size());
    EXPECT_TRUE(SameState(A(), B())) << k;
    EXPECT_EQ(SavePropertyStream(B(), codec), saved) << k;
    EXPECT_NE(B().Font(), A().Font()) << "a font object of the loading host's own";
  }
}

TEST_F(PropertyStream, HeaderEntriesAndFontsHaveTheirDocumentedLayout) {
  EXPECT_EQ(SerializePropertyStream({{u"Max", 100.0}, {u"Shadow", true}, {u"P", NoPicture()}}),
            (Bytes{'V', 'Q', 'P', 'S', 1, 0, 3, 0, 39, 0, 0, 0, 3, 0, 'M', 0, 'a', 0, 'x', 0, 3, 0, 0, 0, 0, 0, 0, 0x59,
                   0x40, 6, 0, 'S', 0, 'h', 0, 'a', 0, 'd', 0, 'o', 0, 'w', 0, 4, 0xFF, 0xFF, 1, 0, 'P', 0, 9}));
  StreamFont black{u"A", 8, true};
  black.weight = 900;
  Bytes bytes = SerializePropertyStream({{u"Font", black}});
  ASSERT_EQ(bytes.size(), 12u + 2 + 8 + 1 + 2 + 2 + 8 + 1 + 2 + 2);
  EXPECT_EQ(bytes[22], 10);  // the weighted font's tag, the weight last
  EXPECT_EQ(bytes[bytes.size() - 2], 0x84);
  EXPECT_EQ(bytes[bytes.size() - 1], 0x03);
  ParsedPropertyStream parsed = ParsePropertyStream(bytes.data(), bytes.size());
  ASSERT_EQ(parsed.entries.size(), 1u);
  EXPECT_TRUE(parsed.entries[0].value == StreamValue(black));
  // The record of tag 6 ends at the charset: its weight is the one Bold gives.
  bytes[22] = 6;
  bytes.resize(bytes.size() - 2);
  bytes[8] = static_cast<std::uint8_t>(bytes[8] - 2);  // the payload's size
  parsed = ParsePropertyStream(bytes.data(), bytes.size());
  ASSERT_EQ(parsed.entries.size(), 1u);
  black.weight = 0;
  EXPECT_TRUE(parsed.entries[0].value == StreamValue(black));
}

TEST_F(PropertyStream, EveryTruncationIsRefusedAndChangesNothing) {
  Distinct(A(), 1);
  Bytes saved = SavePropertyStream(A(), codec);
  const Bytes before = SavePropertyStream(B(), codec);
  b.host.changes.clear();
  for (std::size_t n = 0; n < saved.size(); ++n) {
    const Bytes cut(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(n));  // ends where the data ends
    ASSERT_EQ(LoadPropertyStream(B(), cut.data(), n, codec).error, StreamError::kTruncated) << n << " bytes";
  }
  EXPECT_EQ(SavePropertyStream(B(), codec), before);
  EXPECT_TRUE(b.host.changes.empty());
  // What a container saved after the control is not the control's.
  saved.push_back(0xAB);
  EXPECT_EQ(LoadPropertyStream(B(), saved.data(), saved.size(), codec).consumed, saved.size() - 1);
}

TEST_F(PropertyStream, DamagedStreamsAreRefusedWithTheirReason) {
  const Bytes good = SerializePropertyStream({{u"Caption", std::u16string(u"abc")}});
  auto patched = [](Bytes b, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
  };
  const std::size_t text = 12 + 2 + 14 + 1;  // header, name length, name, tag
  using E = StreamError;
  const struct {
    const char* what;
    Bytes bytes;
    StreamError error;
  } cases[] = {
      {"magic", patched(good, 0, {'v'}), E::kBadMagic},
      {"a later version", patched(good, 4, {2}), E::kUnsupportedVersion},
      {"version 0", patched(good, 4, {0}), E::kUnsupportedVersion},
      {"a huge payload", patched(good, 8, {0xFF, 0xFF, 0xFF, 0xFF}), E::kTooLarge},
      {"a huge count", patched(good, 6, {0xFF, 0xFF}), E::kTooLarge},
      {"more entries than bytes", patched(good, 6, {0xE8, 0x03}), E::kMalformed},
      {"a second entry missing", patched(good, 6, {2}), E::kMalformed},
      {"text past the end", patched(good, text, {0xFF, 0xFF, 0xFF, 0x7F}), E::kMalformed},
      {"text one unit long", patched(good, text, {4}), E::kMalformed},
      {"text one unit short", patched(good, text, {2}), E::kMalformed},
      {"an empty name", patched(good, 12, {0}), E::kMalformed},
      {"an unknown tag", patched(good, text - 1, {10}), E::kMalformed},
      {"a payload shorter than its entries", patched(good, 8, {20}), E::kMalformed},
      {"a Boolean neither True nor False", patched(SerializePropertyStream({{u"Shadow", std::int16_t(0x1234)}}), 26, {4}),
       E::kMalformed},
      {"an unknown font attribute", patched(SerializePropertyStream({{u"Font", StreamFont{u"A", 8}}}), 35, {0x10}),
       E::kMalformed},
      {"a name twice", SerializePropertyStream({{u"Max", 1.0}, {u"Max", 2.0}}), E::kDuplicateName},
  };
  Distinct(B(), 0);
  const Bytes before = SavePropertyStream(B(), codec);
  for (const auto& c : cases) {
    EXPECT_EQ(ParsePropertyStream(c.bytes.data(), c.bytes.size()).error, c.error) << c.what;
    const StreamLoadResult r = LoadPropertyStream(B(), c.bytes.data(), c.bytes.size(), codec);
    EXPECT_EQ(r.error, c.error) << c.what;
    EXPECT_EQ(r.consumed, 0u) << c.what;
  }
  EXPECT_EQ(SavePropertyStream(B(), codec), before);
}

TEST_F(PropertyStream, PicturesTheCodecCannotHandle) {
  A().props().m_oProgressPicture = std::make_shared<BytesPicture>(Bytes{1, 2, 3});
  codec.failLoad = true;
  const Bytes saved = SavePropertyStream(A(), codec);
  B().props().m_sCaption = u"Kept";
  EXPECT_EQ(LoadPropertyStream(B(), saved.data(), saved.size(), codec).error, StreamError::kObjectRefused);
  EXPECT_EQ(B().Caption(), u"Kept") << "refused before anything was applied";
  // A picture that cannot be saved is left out, as a failing bag write is, and loads as none.
  codec.failLoad = false;
  codec.failSave = true;
  B().props().m_oProgressPicture = std::make_shared<BytesPicture>(Bytes{9});
  const Bytes without = SavePropertyStream(A(), codec);
  EXPECT_EQ(ParsePropertyStream(without.data(), without.size()).entries.size(), 25u);
  EXPECT_EQ(LoadPropertyStream(B(), without.data(), without.size(), codec).error, StreamError::kNone);
  EXPECT_EQ(B().ProgressPicture(), nullptr);
  EXPECT_EQ(B().Caption(), u"");
}

}  // namespace
}  // namespace vantiq::testing
