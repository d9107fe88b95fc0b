#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "control/property_stream.h"
#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BytesPicture : PictureObject {
  explicit BytesPicture(Bytes b) : bytes(std::move(b)) {}
  std::uintptr_t Handle() const override { return bytes.size(); }
  Bytes bytes;
};

// Pictures are their own bytes; either direction can be made to fail.
class FakeCodec : public PictureCodec {
 public:
  Bytes Save(const PictureObject& picture) override {
    if (failSave) throw RuntimeError(5);
    return static_cast<const BytesPicture&>(picture).bytes;
  }
  PictureRef Load(const std::uint8_t* data, std::size_t size) override {
    if (failLoad) throw RuntimeError(481);
    return std::make_shared<BytesPicture>(Bytes(data, data + size));
  }
  bool failSave = false, failLoad = false;
};

std::u16string RandomText(std::mt19937& rng) {
  std::u16string s(rng() % 12, u' ');
  for (char16_t& c : s) c = static_cast<char16_t>(rng() % 3 ? u'a' + rng() % 26 : rng() % 0x10000);
  return s;
}

PictureRef RandomPicture(std::mt19937& rng) {
  Bytes b(rng() % 40);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return rng() % 3 ? std::make_shared<BytesPicture>(b) : nullptr;
}

// A state a load reproduces exactly: Min <= Value <= Max, the intensity within a byte.
void Randomise(Vantiq& c, std::mt19937& rng) {
  auto font = std::make_shared<StdFont>();
  font->SetName(RandomText(rng));
  font->SetSize(static_cast<double>(rng() % 4000) / 100);
  font->SetBold(rng() % 2);
  font->SetItalic(rng() % 2);
  font->SetUnderline(rng() % 2);
  font->SetStrikethrough(rng() % 2);
  font->SetCharset(static_cast<std::int16_t>(rng()));
  c.SetFont(font);
  std::uniform_real_distribution<double> real(-1e6, 1e6);
  Properties& p = c.props();
  p.m_dMin = real(rng);
  p.m_dMax = p.m_dMin + std::abs(real(rng));
  p.m_dValue = p.m_dMin + (p.m_dMax - p.m_dMin) * (rng() % 101) / 100;
  for (OleColor* color : {&p.m_lBackColor, &p.m_lForeColor, &p.m_lAlternateForeColor, &p.m_lProgressColor,
                          &p.m_lSegmentBorderColor, &p.m_lShadowColor, &p.m_lAlternateShadowColor})
    *color = rng() % 2 ? rng() : 0x80000000u + rng() % 30;
  for (bool* flag :
       {&p.m_bCaptionCallBack, &p.m_bRightToLeft, &p.m_bSegmentBorders, &p.m_bShadow, &p.m_bShowCaption})
    *flag = rng() % 2;
  for (std::u16string* text : {&p.m_sCaption, &p.m_sSearchCaption, &p.m_sPercentFormat})
    *text = RandomText(rng);
  for (std::int32_t* number : {&p.m_lOrientation, &p.m_lScrolling, &p.m_lStyle, &p.m_lTextAlignment})
    *number = static_cast<std::int32_t>(rng() % 2 ? rng() : rng() % 5);
  // The loading control's first paint resets an alignment it does not know when it lays
  // out a horizontal caption.
  if (p.m_bShowCaption && p.m_lOrientation != eProgressBarOrientationVertical)
    p.m_lTextAlignment = static_cast<std::int32_t>(rng() % 3);
  p.m_lShadowIntensity = static_cast<std::int32_t>(rng() % 256);
  p.m_oBackgroundPicture = RandomPicture(rng);
  p.m_oProgressPicture = RandomPicture(rng);
}

// The two controls save the same values, fonts and pictures compared by content.
::testing::AssertionResult SameState(Vantiq& a, Vantiq& b) {
  MemoryPropertyBag x, y;
  WriteProperties(a, x);
  WriteProperties(b, y);
  if (x.Names() != y.Names()) return ::testing::AssertionFailure() << "different keys";
  for (std::size_t i = 0; i < x.Entries().size(); ++i) {
    const Variant& u = x.Entries()[i].second;
    const Variant& v = y.Entries()[i].second;
    bool same = u == v;
    if (auto* f = std::get_if<FontRef>(&u); f && *f) {
      const FontObject& g = *std::get<FontRef>(v);
      same = (*f)->Name() == g.Name() && (*f)->Size() == g.Size() && (*f)->Bold() == g.Bold() &&
             (*f)->Italic() == g.Italic() && (*f)->Underline() == g.Underline() &&
             (*f)->Strikethrough() == g.Strikethrough() && (*f)->Charset() == g.Charset();
    } else if (auto* p = std::get_if<PictureRef>(&u); p && *p) {
      const auto* q = std::get<PictureRef>(v).get();
      same = q && static_cast<BytesPicture&>(**p).bytes == static_cast<const BytesPicture*>(q)->bytes;
    }
    if (!same) {
      const std::u16string& name = x.Entries()[i].first;
      return ::testing::AssertionFailure() << std::string(name.begin(), name.end()) << " differs";
    }
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
  FakeCodec codec;
};

TEST_F(PropertyStream, RandomStatesRoundTripByteForByteAndValueForValue) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 300; ++i) {
    Randomise(A(), rng);
    const Bytes saved = SavePropertyStream(A(), codec);
    const StreamLoadResult loaded = LoadPropertyStream(B(), saved.data(), saved.size(), codec);
    ASSERT_EQ(loaded.error, StreamError::kNone) << "state " << i;
    EXPECT_EQ(loaded.consumed, saved.size());
    ASSERT_TRUE(SameState(A(), B())) << "state " << i;
    ASSERT_EQ(SavePropertyStream(B(), codec), saved) << "state " << i;
    EXPECT_NE(B().Font(), A().Font()) << "a font object of the loading host's own";
  }
}

TEST_F(PropertyStream, HeaderAndEntriesHaveTheirDocumentedLayout) {
  const Bytes bytes = SerializePropertyStream({{u"Max", 100.0}, {u"Shadow", true}, {u"P", NoPicture()}});
  const Bytes expected = {'V', 'Q', 'P', 'S', 1, 0, 3, 0, 39, 0, 0, 0,
                          3, 0, 'M', 0, 'a', 0, 'x', 0, 3, 0, 0, 0, 0, 0, 0, 0x59, 0x40,
                          6, 0, 'S', 0, 'h', 0, 'a', 0, 'd', 0, 'o', 0, 'w', 0, 4, 0xFF, 0xFF,
                          1, 0, 'P', 0, 9};
  EXPECT_EQ(bytes, expected);
}

TEST_F(PropertyStream, FontsKeepTheirWeightAndRecordsWithoutOneStillLoad) {
  StreamFont black{u"A", 8, true};
  black.weight = 900;
  Bytes bytes = SerializePropertyStream({{u"Font", black}});
  ASSERT_EQ(bytes.size(), 12u + 2 + 8 + 1 + 2 + 2 + 8 + 1 + 2 + 2);
  EXPECT_EQ(bytes[22], 10);  // the font's tag
  EXPECT_EQ(bytes[bytes.size() - 2], 0x84);
  EXPECT_EQ(bytes[bytes.size() - 1], 0x03);
  ParsedPropertyStream parsed = ParsePropertyStream(bytes.data(), bytes.size());
  ASSERT_EQ(parsed.error, StreamError::kNone);
  ASSERT_EQ(parsed.entries.size(), 1u);
  EXPECT_TRUE(parsed.entries[0].value == StreamValue(black));

  // The record of tag 6 ends at the charset: its weight is the one Bold gives.
  bytes[22] = 6;
  bytes.resize(bytes.size() - 2);
  bytes[8] = static_cast<std::uint8_t>(bytes[8] - 2);  // the payload's size
  parsed = ParsePropertyStream(bytes.data(), bytes.size());
  ASSERT_EQ(parsed.error, StreamError::kNone);
  ASSERT_EQ(parsed.entries.size(), 1u);
  black.weight = 0;
  EXPECT_TRUE(parsed.entries[0].value == StreamValue(black));
}

TEST_F(PropertyStream, EveryTruncationIsRefusedAndChangesNothing) {
  std::mt19937 rng(7);
  Randomise(A(), rng);
  Bytes saved = SavePropertyStream(A(), codec);
  const Bytes before = SavePropertyStream(B(), codec);
  b.host.changes.clear();
  for (std::size_t n = 0; n < saved.size(); ++n) {
    const Bytes cut(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(n));  // ends where the data ends
    const StreamLoadResult r = LoadPropertyStream(B(), cut.data(), n, codec);
    ASSERT_EQ(r.error, StreamError::kTruncated) << n << " bytes";
    EXPECT_EQ(r.consumed, 0u);
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
  const std::size_t textLength = 12 + 2 + 14 + 1;  // header, name length, name, tag
  const Bytes notABoolean = patched(SerializePropertyStream({{u"Shadow", std::int16_t(0x1234)}}), 26, {4});
  const Bytes oddFont = patched(SerializePropertyStream({{u"Font", StreamFont{u"A", 8}}}), 35, {0x10});
  const struct {
    const char* what;
    Bytes bytes;
    StreamError error;
  } cases[] = {
      {"magic", patched(good, 0, {'v'}), StreamError::kBadMagic},
      {"a later version", patched(good, 4, {2}), StreamError::kUnsupportedVersion},
      {"version 0", patched(good, 4, {0}), StreamError::kUnsupportedVersion},
      {"a huge payload", patched(good, 8, {0xFF, 0xFF, 0xFF, 0xFF}), StreamError::kTooLarge},
      {"a huge count", patched(good, 6, {0xFF, 0xFF}), StreamError::kTooLarge},
      {"more entries than bytes", patched(good, 6, {0xE8, 0x03}), StreamError::kMalformed},
      {"a second entry missing", patched(good, 6, {2}), StreamError::kMalformed},
      {"text past the end", patched(good, textLength, {0xFF, 0xFF, 0xFF, 0x7F}), StreamError::kMalformed},
      {"text one unit long", patched(good, textLength, {4}), StreamError::kMalformed},
      {"text one unit short", patched(good, textLength, {2}), StreamError::kMalformed},
      {"an empty name", patched(good, 12, {0}), StreamError::kMalformed},
      {"an unknown tag", patched(good, textLength - 1, {10}), StreamError::kMalformed},
      {"a payload shorter than its entries", patched(good, 8, {20}), StreamError::kMalformed},
      {"a Boolean neither True nor False", notABoolean, StreamError::kMalformed},
      {"an unknown font attribute", oddFont, StreamError::kMalformed},
      {"a name twice", SerializePropertyStream({{u"Max", 1.0}, {u"Max", 2.0}}), StreamError::kDuplicateName},
  };
  std::mt19937 rng(3);
  Randomise(B(), rng);
  const Bytes before = SavePropertyStream(B(), codec);
  for (const auto& c : cases) {
    EXPECT_EQ(ParsePropertyStream(c.bytes.data(), c.bytes.size()).error, c.error) << c.what;
    EXPECT_EQ(LoadPropertyStream(B(), c.bytes.data(), c.bytes.size(), codec).error, c.error) << c.what;
  }
  EXPECT_EQ(SavePropertyStream(B(), codec), before);
}

TEST_F(PropertyStream, RandomDamageNeverCrashesAndARefusalChangesNothing) {
  std::mt19937 rng(99);
  Randomise(A(), rng);
  const Bytes saved = SavePropertyStream(A(), codec);
  int refused = 0;
  for (int i = 0; i < 3000; ++i) {
    Bytes damaged = saved;
    for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k)
      damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
    const Bytes before = SavePropertyStream(B(), codec);
    if (LoadPropertyStream(B(), damaged.data(), damaged.size(), codec).error != StreamError::kNone) {
      ++refused;
      ASSERT_EQ(SavePropertyStream(B(), codec), before) << "damage " << i;
    }
  }
  EXPECT_GT(refused, 0);
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
