#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "support/bytes_picture.h"
#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

using Entries = std::vector<MemoryPropertyBag::Entry>;

// A bag over memory that records each name and default asked for and fails for chosen names.
class ScriptedBag : public PropertyBag {
 public:
  Variant ReadProperty(const std::u16string& name, const Variant& defaultValue) override {
    reads.emplace_back(name, defaultValue);
    if (failing.count(name)) throw RuntimeError(5);
    return store.ReadProperty(name, defaultValue);
  }
  void WriteProperty(const std::u16string& name, const Variant& value, const Variant& defaultValue) override {
    writes.emplace_back(name, defaultValue);
    if (failing.count(name)) throw RuntimeError(5);
    store.WriteProperty(name, value, defaultValue);
  }
  MemoryPropertyBag store;
  std::set<std::u16string> failing;
  Entries reads, writes;
};

Entries Saved(Vantiq& c) {
  MemoryPropertyBag bag;
  WriteProperties(c, bag);
  return bag.Entries();
}

// Every persisted property away from its default, with Min <= Value <= Max.
void ChangeEverything(Vantiq& c) {
  c.SetFont(std::make_shared<StdFont>());
  Properties& p = c.props();
  p.m_lBackColor = 0x0000FF, p.m_lForeColor = 0x00FF00, p.m_lAlternateForeColor = 0x80000005u;
  p.m_lProgressColor = 0x123456, p.m_lSegmentBorderColor = 0, p.m_lShadowColor = 0x404040;
  p.m_lAlternateShadowColor = 0x8000000Du;
  p.m_oBackgroundPicture = std::make_shared<BytesPicture>(std::vector<std::uint8_t>(7));
  p.m_oProgressPicture = std::make_shared<BytesPicture>(std::vector<std::uint8_t>(7));
  p.m_sCaption = u"Loading", p.m_sSearchCaption = u"Searching", p.m_sPercentFormat = u"0.00";
  p.m_bCaptionCallBack = p.m_bRightToLeft = p.m_bSegmentBorders = p.m_bShadow = true;
  p.m_bShowCaption = false;
  p.m_dMax = 80.5, p.m_dMin = -20, p.m_dValue = 33.25;
  p.m_lOrientation = 1, p.m_lScrolling = 2, p.m_lStyle = eProgXP, p.m_lTextAlignment = ePbTextAlignLeft;
  p.m_lShadowIntensity = 200;
}

class Persistence : public ::testing::Test {
 protected:
  void SetUp() override {
    a.Start();
    b.Start();
    b.host.changes.clear();
  }
  Vantiq& A() { return *a.control; }
  Vantiq& B() { return *b.control; }
  ControlRig a, b;
};

TEST_F(Persistence, KeysOrdersAndDefaultsAreTheSameOnBothSides) {
  using I2 = std::int16_t;
  using I4 = std::int32_t;
  const Variant none{PictureRef()}, empty{std::u16string()};
  const Entries readTable = {
      {u"BackColor", I4(0x8000000F)}, {u"BackgroundPicture", none}, {u"Caption", empty},
      {u"CaptionCallBack", false}, {u"Font", Variant()}, {u"ForeColor", I4(0)},
      {u"AlternateForeColor", I4(0x8000000E)}, {u"Max", 100.0}, {u"Min", 0.0},
      {u"Orientation", I4(0)}, {u"ProgressColor", I4(0x8000000F)}, {u"ProgressPicture", none},
      {u"RightToLeft", false}, {u"Scrolling", I4(0)}, {u"SearchCaption", empty},
      {u"SegmentBorders", false}, {u"SegmentBorderColor", I4(0x8000000F)}, {u"Shadow", false},
      {u"ShadowColor", I2(0)}, {u"AlternateShadowColor", I2(0)}, {u"ShadowIntensity", I2(128)},
      {u"ShowCaption", true}, {u"Style", I4(4)}, {u"TextAlignment", I4(2)}, {u"Value", 0.0},
      {u"PercentFormat", std::u16string(u"#0")}};
  // Written in the same order but for three keys, which come last.
  Entries writeTable = readTable;
  for (const char16_t* last : {u"TextAlignment", u"AlternateForeColor", u"AlternateShadowColor"}) {
    const auto at =
        std::find_if(writeTable.begin(), writeTable.end(), [&](auto& e) { return e.first == last; });
    std::rotate(at, at + 1, writeTable.end());
  }
  ScriptedBag bag;
  WriteProperties(A(), bag);
  ReadProperties(B(), bag);
  EXPECT_EQ(bag.reads, readTable);
  EXPECT_EQ(bag.writes, writeTable);
  EXPECT_TRUE(*bag.store.Find(u"ShadowColor") == Variant(I4(0))) << "a colour is written as 32 bits";
  EXPECT_TRUE(*bag.store.Find(u"Font") == Variant(A().Font()));
}

// The round trip of every value is the stream tests'; here the defaults left out.
TEST_F(Persistence, DefaultsAndChangesSurviveWithTheDefaultsLeftOut) {
  MemoryPropertyBag omitting(true);
  WriteProperties(A(), omitting);
  EXPECT_EQ(omitting.Names(), std::vector<std::u16string>{u"Font"});
  ChangeEverything(B());
  ReadProperties(B(), omitting);
  EXPECT_EQ(Saved(B()), Saved(A()));

  // Every key changed is kept; SegmentBorderColor 0 is black, not the default.
  ChangeEverything(A());
  MemoryPropertyBag changed(true);
  WriteProperties(A(), changed);
  EXPECT_EQ(changed.Names().size(), 26u);
  ControlRig c;
  c.Start();
  ReadProperties(*c.control, changed);
  EXPECT_EQ(Saved(*c.control), Saved(A()));
  EXPECT_EQ(c.control->SegmentBorderColor(), 0u);

  // Back to the automatic colour: left out, and still loaded over a changed value.
  A().props().m_lSegmentBorderColor = kAutoColor;
  WriteProperties(A(), changed);
  EXPECT_FALSE(changed.Contains(u"SegmentBorderColor")) << "the earlier value is gone too";
  ReadProperties(*c.control, changed);
  EXPECT_EQ(c.control->SegmentBorderColor(), kAutoColor);
}

TEST_F(Persistence, OnlyTheSixSetterKeysNotifyAndRedraw) {
  ChangeEverything(A());
  MemoryPropertyBag bag;
  WriteProperties(A(), bag);
  b.renderers->calls.clear();
  ReadProperties(B(), bag);
  const std::vector<std::u16string> setters = {u"Font",        u"Max",        u"Min",
                                               u"Orientation", u"ShowCaption", u"Value"};
  EXPECT_EQ(b.host.changes, setters);
  EXPECT_EQ(std::count_if(b.renderers->calls.begin(), b.renderers->calls.end(),
                          [](const RenderCall& c) { return c.name == "Fill"; }), 6);
  EXPECT_EQ(b.host.baseFont, A().Font()) << "the Font setter hands it to the base";

  // With no Font in the bag the font stays, unannounced; an absent RightToLeft is the
  // default, not the container's setting.
  const FontRef before = A().Font();
  a.host.changes.clear();
  a.host.ambientRightToLeft = true;
  MemoryPropertyBag empty;
  ReadProperties(A(), empty);
  EXPECT_EQ(A().Font(), before);
  EXPECT_FALSE(A().RightToLeft());
  EXPECT_EQ(a.host.changes, std::vector<std::u16string>(setters.begin() + 1, setters.end()));
}

TEST_F(Persistence, ThemeIdentityIsRefreshedFirstAndOnlyAtRunTime) {
  MemoryPropertyBag bag;
  bag.Set(u"Style", std::int32_t(eProgStandard));
  b.platform.colorName = u"Metallic";
  b.host.userMode = false;
  B().RedrawWhole();  // takes the region up to date
  ASSERT_FALSE(B().paint().m_bRegionDirty);
  ReadProperties(B(), bag);
  EXPECT_EQ(B().paint().m_sColorName, u"NORMALCOLOR");
  EXPECT_TRUE(B().paint().m_bRegionDirty);

  b.host.userMode = true;
  B().props().m_lStyle = eProgSystem;
  ReadProperties(B(), bag);
  EXPECT_EQ(B().paint().m_sColorName, u"METALLIC");
  EXPECT_TRUE(B().paint().m_bThemedMode) << "decided for the style before the load";
  B().Show();
  EXPECT_FALSE(B().paint().m_bThemedMode);

  // A container that cannot tell its mode is taken to be running the control.
  struct SilentHost : RecordingHost {
    bool AmbientUserMode() override { throw RuntimeError(398); }
  } host;
  host.windowHandle = b.hwnd;
  Vantiq silent(host, b.platform);
  silent.Initialize();
  b.platform.colorName = u"HomeStead";
  ReadProperties(silent, bag);
  EXPECT_EQ(silent.paint().m_sColorName, u"HOMESTEAD");
}

TEST_F(Persistence, ValuesAreConvertedOrSkippedKeyByKey) {
  using I4 = std::int32_t;
  using Text = std::u16string;
  const Variant skipped;  // the property keeps the value it had
  const Variant font{FontRef(std::make_shared<StdFont>())};
  const struct {
    const char16_t* key;
    Variant saved, loaded;
  } cases[] = {
      // Stored keys keep what the setters would change: the clamps apply, nothing else
      // (these come first: Max is still 80.5 and Min -20).
      {u"ShadowIntensity", Text(u"1000"), I4(255)}, {u"ShadowIntensity", -1e9, I4(0)},
      {u"ShadowIntensity", I4(300), I4(255)}, {u"Value", 500.0, 80.5}, {u"Value", -50.0, -20.0},
      {u"TextAlignment", I4(7), I4(7)}, {u"PercentFormat", Text(u"0.0%"), Text(u"0.0%")},
      {u"AlternateForeColor", I4(0x8000000D), I4(0x8000000D)},  // untranslated
      {u"Scrolling", std::int16_t(-3), I4(-3)}, {u"Scrolling", true, I4(-1)}, {u"Scrolling", 2.5, I4(2)},
      {u"Scrolling", 3.5, I4(4)}, {u"Scrolling", -2.5, I4(-2)}, {u"Scrolling", Text(u" 12 "), I4(12)},
      {u"Scrolling", Text(u"1e3"), I4(1000)}, {u"Scrolling", Text(u"&hff"), I4(255)},
      {u"BackColor", Text(u"&H8000000F"), I4(0x8000000F)}, {u"Scrolling", 3e9, skipped},
      {u"Scrolling", std::numeric_limits<double>::quiet_NaN(), skipped}, {u"Scrolling", Text(u"abc"), skipped},
      {u"Scrolling", Text(u"1,000"), skipped}, {u"Scrolling", Text(u"12abc"), skipped},
      {u"Scrolling", Text(u"&H123456789"), skipped}, {u"Scrolling", Variant(), skipped},
      {u"Max", Text(u"1.5E2"), 150.0}, {u"Max", I4(90), 90.0}, {u"Max", Text(u"1e999"), skipped},
      {u"Shadow", Text(u"0"), false}, {u"Shadow", I4(5), true}, {u"Shadow", Text(u" false "), false},
      {u"Shadow", Text(u" TRUE "), true}, {u"Shadow", Text(u"yes"), skipped}, {u"Caption", I4(-12), Text(u"-12")},
      {u"Caption", 1.5, skipped}, {u"Caption", font, skipped}, {u"BackgroundPicture", font, skipped},
      {u"Font", Variant(PictureRef(std::make_shared<BytesPicture>(std::vector<std::uint8_t>(7)))), skipped},
  };
  ChangeEverything(B());
  for (const auto& c : cases) {
    const Entries before = Saved(B());
    MemoryPropertyBag bag;
    WriteProperties(B(), bag);
    bag.Set(c.key, c.saved);
    ReadProperties(B(), bag);
    const Entries after = Saved(B());
    const std::string key(c.key, c.key + std::char_traits<char16_t>::length(c.key));
    for (std::size_t i = 0; i < after.size(); ++i) {
      const bool loads = after[i].first == c.key && !std::holds_alternative<std::monostate>(c.loaded);
      EXPECT_TRUE(loads ? after[i].second == c.loaded : after[i] == before[i]) << key << ": " << i;
    }
  }
}

TEST_F(Persistence, FailingKeysAreSkippedAndTheRestStillMove) {
  ChangeEverything(A());
  ScriptedBag bag;
  bag.failing = {u"Caption", u"Max"};
  WriteProperties(A(), bag);
  EXPECT_EQ(bag.store.Names().size(), 24u);
  bag.failing = {u"Min", u"Shadow"};
  B().props().m_sCaption = u"Old";
  B().props().m_dMax = 60;
  B().props().m_dMin = -7;
  b.host.propertyChangedFails = true;
  ReadProperties(B(), bag);
  EXPECT_EQ(B().Caption(), u"") << "absent from the bag: its default";
  EXPECT_EQ(B().Max(), 100);
  EXPECT_EQ(B().Min(), -7) << "unreadable: kept";
  EXPECT_FALSE(B().Shadow());
  EXPECT_EQ(B().Value(), 33.25) << "stored although the host refused the notification";
  EXPECT_EQ(B().PercentFormat(), u"0.00");
}

TEST(MemoryPropertyBag, DefaultsCompareByNumberAcrossIntegerAndDoubleTypes) {
  EXPECT_TRUE(SameSavedValue(100.0, std::int32_t(100)));
  EXPECT_FALSE(SameSavedValue(true, std::int32_t(-1)));
  EXPECT_FALSE(SameSavedValue(std::u16string(u"0"), std::int32_t(0)));
  EXPECT_FALSE(SameSavedValue(FontRef(std::make_shared<StdFont>()), Variant()));
}

}  // namespace
}  // namespace vantiq::testing
