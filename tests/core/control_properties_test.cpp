#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "support/bytes_picture.h"
#include "support/control_rig.h"
#include "support/raised_error.h"

namespace vantiq::testing {
namespace {

std::string Name(const std::u16string& s) { return std::string(s.begin(), s.end()); }

class ControlProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.host.ambientRightToLeft = true;
    rig.Start();
    Clear();
  }
  void Clear() {
    rig.host.changes.clear();
    rig.renderers->calls.clear();
  }
  Vantiq& c() { return *rig.control; }
  int Fills() const {
    int n = 0;
    for (const RenderCall& call : rig.renderers->calls) n += call.name == "Fill";
    return n;
  }
  ControlRig rig;
};

// A new control saves nothing but its font (the persistence tests), which pins every
// persisted property's default; these are the others.
TEST_F(ControlProperties, NewControlHasEveryDefault) {
  ASSERT_TRUE(c().Font());
  EXPECT_EQ(c().Font()->Name(), u"Tahoma");
  EXPECT_EQ(c().Font()->Size(), 8);
  EXPECT_EQ(rig.host.baseFont, c().Font());
  EXPECT_TRUE(c().RightToLeft()) << "taken from the container";
  EXPECT_TRUE(c().Enabled());
  EXPECT_EQ(rig.host.scaleModeCalls, 1);
  // A container that cannot answer yet leaves it false until InitProperties asks again.
  ControlRig late;
  late.host.ambientRightToLeft = std::nullopt;
  late.control->Initialize();
  EXPECT_FALSE(late.control->RightToLeft());
  late.host.ambientRightToLeft = true;
  late.control->InitProperties();
  EXPECT_TRUE(late.control->RightToLeft());
}

TEST_F(ControlProperties, EverySetterNotifiesItsNameAndRedraws) {
  using V = Vantiq&;
  const std::pair<const char16_t*, std::function<void(Vantiq&)>> rows[] = {
      {u"TextAlignment", [](V v) { v.SetTextAlignment(0); }}, {u"Font", [](V v) { v.SetFont(std::make_shared<StdFont>()); }},
      {u"Min", [](V v) { v.SetMin(-5); }}, {u"Max", [](V v) { v.SetMax(50); }}, {u"Value", [](V v) { v.SetValue(42); }},
      {u"Orientation", [](V v) { v.SetOrientation(9); }}, {u"Enabled", [](V v) { v.SetEnabled(false); }},
      {u"Scrolling", [](V v) { v.SetScrolling(-3); }}, {u"ShowCaption", [](V v) { v.SetShowCaption(false); }},
      {u"SearchCaption", [](V v) { v.SetSearchCaption(u"Searching"); }}, {u"Style", [](V v) { v.SetStyle(3); }},
      {u"PercentFormat", [](V v) { v.SetPercentFormat(u"0.0"); }}, {u"Caption", [](V v) { v.SetCaption(u"Done"); }},
      {u"Shadow", [](V v) { v.SetShadow(true); }}, {u"ShadowIntensity", [](V v) { v.SetShadowIntensity(10); }},
      {u"ForeColor", [](V v) { v.SetForeColor(0xFF); }}, {u"BackColor", [](V v) { v.SetBackColor(0x80000005u); }},
      {u"ShadowColor", [](V v) { v.SetShadowColor(0x123456); }}, {u"ProgressColor", [](V v) { v.SetProgressColor(0xFF00); }},
      {u"SegmentBorderColor", [](V v) { v.SetSegmentBorderColor(0); }},
      {u"RightToLeft", [](V v) { v.SetRightToLeft(false); }}, {u"SegmentBorders", [](V v) { v.SetSegmentBorders(true); }},
      {u"CaptionCallBack", [](V v) { v.SetCaptionCallBack(true); }},
      {u"ProgressPicture", [](V v) { v.SetProgressPicture(nullptr); }},
      {u"BackgroundPicture", [](V v) { v.SetBackgroundPicture(nullptr); }},
      {u"AlternateForeColor", [](V v) { v.SetAlternateForeColor(0xFF); }},
      {u"AlternateShadowColor", [](V v) { v.SetAlternateShadowColor(0xFF); }},
  };
  for (const auto& [name, set] : rows) {
    Clear();
    set(c());
    EXPECT_EQ(rig.host.changes, std::vector<std::u16string>{name}) << Name(name);
    EXPECT_EQ(Fills(), 1) << "a setter repaints: " << Name(name);
    EXPECT_FALSE(rig.control->paint().m_bRedraw) << "cleared by the paint it requested";
  }
}

// Each row runs on a new control: the setters in order, then what the getter answers.
TEST(PropertyRules, SettersClampIgnoreOrAcceptWithoutErrors) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<double, std::function<double(Vantiq&)>> rows[] = {  // NaN: the getter answers NaN
      {60, [](Vantiq& v) { return v.SetValue(50), v.SetMin(60), v.Value(); }},  // Min raises the value,
      {40, [](Vantiq& v) { return v.SetValue(50), v.SetMin(60), v.SetMax(40), v.Value(); }},  // Max lowers it
      {60, [](Vantiq& v) { return v.SetMin(60), v.SetMax(40), v.Min(); }},                    // but not Min
      {60, [](Vantiq& v) { return v.SetMin(60), v.SetMax(40), v.SetValue(50), v.Value(); }},  // lower bound first
      {40, [](Vantiq& v) { return v.SetMin(60), v.SetMax(40), v.SetValue(70), v.Value(); }},
      {-3, [&](Vantiq& v) { return v.SetMin(-3), v.SetValue(30), v.SetValue(nan), v.Value(); }},  // NaN stores Min
      {30, [&](Vantiq& v) { return v.SetValue(30), v.SetMax(nan), v.Value(); }},  // an unordered Max leaves it
      {nan, [&](Vantiq& v) { return v.SetValue(30), v.SetMin(nan), v.Value(); }},  // an unordered Min takes it
      {1, [](Vantiq& v) { return v.SetTextAlignment(1), v.SetTextAlignment(3), v.SetTextAlignment(-1), v.TextAlignment(); }},
      {0, [](Vantiq& v) { return v.SetShadowIntensity(-5), v.ShadowIntensity(); }},
      {255, [](Vantiq& v) { return v.SetShadowIntensity(300), v.ShadowIntensity(); }},
      {17, [](Vantiq& v) { return v.SetOrientation(17), v.Orientation(); }},  // accepted as they are
      {-8, [](Vantiq& v) { return v.SetScrolling(-8), v.Scrolling(); }},
      {3, [](Vantiq& v) { return v.SetStyle(3), v.Style(); }},
  };
  for (const auto& [want, run] : rows) {
    ControlRig rig;
    rig.Start();
    double got = 0;
    EXPECT_NO_THROW(got = run(*rig.control)) << "row " << &want - &rows[0].first;
    EXPECT_TRUE(got == want || (std::isnan(got) && std::isnan(want))) << "row " << &want - &rows[0].first << ": " << got;
  }
}

TEST_F(ControlProperties, IgnoredAlignmentsAndNaNStatesStillBehave) {
  c().SetTextAlignment(1);
  Clear();
  c().SetTextAlignment(3);
  EXPECT_TRUE(rig.host.changes.empty()) << "an ignored value is not announced";
  EXPECT_EQ(Fills(), 0);
  // A NaN state still paints, as an empty bar.
  c().SetValue(30);
  c().SetMin(std::numeric_limits<double>::quiet_NaN());
  Clear();
  c().SetValue(5);
  EXPECT_EQ(Fills(), 1);
  EXPECT_EQ(rig.control->paint().m_rcFill.right, 0);
}

TEST_F(ControlProperties, PercentFormatLosesEveryPercentSign) {
  c().SetShowCaption(false);  // a drawn percentage fills an empty format
  for (const auto& [set, stored] : {std::pair{u"0.0%", u"0.0"}, {u"%", u""}, {u"%#%0%", u"#0"}}) {
    c().SetPercentFormat(set);
    EXPECT_EQ(c().PercentFormat(), stored);
  }
}

TEST_F(ControlProperties, MousePointerAndMouseIconNotifyWithoutRepainting) {
  c().SetMousePointer(0x10002);
  EXPECT_EQ(rig.host.baseMousePointer, 2) << "only the low 16 bits reach the base";
  EXPECT_EQ(c().MousePointer(), 2);
  auto icon = std::make_shared<BytesPicture>(std::vector<std::uint8_t>{});
  c().SetMouseIcon(icon);
  EXPECT_EQ(c().MouseIcon(), icon);
  EXPECT_EQ(rig.host.changes, (std::vector<std::u16string>{u"MousePointer", u"MouseIcon"}));
  EXPECT_EQ(Fills(), 0);
  EXPECT_TRUE(rig.control->paint().m_bRedraw) << "the next paint draws";
  // The base may refuse; the setter still notifies and raises nothing.
  rig.host.baseRefusesPointer = true;
  EXPECT_NO_THROW(c().SetMousePointer(99));
  EXPECT_EQ(c().MousePointer(), 2);
  EXPECT_EQ(rig.host.ChangeCount(u"MousePointer"), 2);
}

TEST_F(ControlProperties, OnlyAlternateForeColorIsTranslatedWhenSet) {
  rig.platform.sysColors[kColorHighlight] = Rgb(1, 2, 3);
  c().SetAlternateForeColor(0x8000000Du);
  c().SetAlternateShadowColor(0x8000000Du);
  c().SetForeColor(0x8000000Du);
  EXPECT_EQ(c().AlternateForeColor(), Rgb(1, 2, 3));
  EXPECT_EQ(c().AlternateShadowColor(), 0x8000000Du);
  EXPECT_EQ(c().ForeColor(), 0x8000000Du);
  // A colour the translation refuses is an error, and nothing is stored.
  Clear();
  EXPECT_THROW(c().SetAlternateForeColor(0x800000FFu), RuntimeError);
  EXPECT_EQ(c().AlternateForeColor(), Rgb(1, 2, 3));
  EXPECT_TRUE(rig.host.changes.empty());
}

TEST_F(ControlProperties, HwndIsReadOnlyAndHiddenAtDesignTime) {
  EXPECT_EQ(ErrorNumber([&] { c().SetHwnd(5); }), 387);
  EXPECT_EQ(static_cast<std::uint32_t>(RuntimeError(387).HResult()), 0x800A0183u);
  rig.host.userMode = false;
  EXPECT_EQ(ErrorNumber([&] { c().Hwnd(); }), 387);
  rig.host.userMode = true;
  EXPECT_EQ(c().Hwnd(), static_cast<std::int32_t>(rig.hwnd));
  EXPECT_TRUE(rig.host.changes.empty());
}

TEST_F(ControlProperties, FailingNotificationReachesTheCallerExceptWhereIgnored) {
  rig.host.propertyChangedFails = true;
  EXPECT_THROW(c().SetCaption(u"x"), RuntimeError);
  EXPECT_EQ(c().Caption(), u"x") << "stored before the notification";
  EXPECT_EQ(Fills(), 0) << "the steps after a failure are left out";
  EXPECT_NO_THROW(c().SetTextAlignment(0));
  EXPECT_NO_THROW(c().SetMousePointer(3));
  EXPECT_NO_THROW(c().SetMouseIcon(nullptr));
  EXPECT_EQ(c().TextAlignment(), 0);
  EXPECT_EQ(Fills(), 1) << "TextAlignment still repaints";
}

TEST_F(ControlProperties, FontIsSharedAndItsChangesRepaint) {
  FontRef font = c().Font();
  font->SetBold(true);
  EXPECT_EQ(rig.host.changes, (std::vector<std::u16string>{u"Font"}));
  EXPECT_TRUE(c().Font()->Bold()) << "the getter hands out the control's own object";
  auto other = std::make_shared<StdFont>();
  c().SetFont(other);
  EXPECT_EQ(c().Font(), other);
  EXPECT_EQ(rig.host.baseFont, other);
  Clear();
  font->SetItalic(true);
  EXPECT_TRUE(rig.host.changes.empty()) << "the old font is disconnected";
  other->SetSize(12);
  EXPECT_EQ(rig.host.changes, (std::vector<std::u16string>{u"Font"}));
  EXPECT_EQ(Fills(), 1);
  c().SetFont(nullptr);  // nothing keeps the current font
  EXPECT_EQ(c().Font(), other);
  // A font outliving the control no longer calls it (the sanitizers see a call into it).
  rig.control->Terminate();
  rig.control.reset();
  other->SetBold(true);
}

TEST_F(ControlProperties, StyleSetterRefreshesTheThemeIdentityAndTheRegion) {
  rig.platform.colorName = u"Metallic";
  c().SetStyle(eProgXP);
  EXPECT_TRUE(rig.control->paint().m_bThemedMode);
  EXPECT_EQ(rig.control->paint().m_sColorName, u"METALLIC");
  // A complex region of someone else's stays through value updates; the style setter
  // has the region evaluated again, which puts the rounded one back.
  SoftWindow* win = rig.platform.Window(rig.hwnd);
  Region holed(Rect{0, 0, 200, 20});
  holed.Subtract(Rect{50, 5, 60, 10});
  win->region = holed;
  c().SetValue(10);
  ASSERT_FALSE(win->region->Contains(55, 7));
  c().SetStyle(eProgXP);
  EXPECT_TRUE(win->region->Contains(55, 7));
  EXPECT_FALSE(win->region->Contains(0, 0));
  c().SetStyle(eProgStandard);
  EXPECT_FALSE(rig.control->paint().m_bThemedMode);
}

}  // namespace
}  // namespace vantiq::testing
