#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

struct HandlePicture : PictureObject {
  std::uintptr_t Handle() const override { return 7; }
};

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
  EXPECT_EQ(c().Hwnd(), static_cast<std::int32_t>(rig.hwnd));
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
  const std::pair<const char16_t*, std::function<void(Vantiq&)>> rows[] = {
      {u"TextAlignment", [](Vantiq& v) { v.SetTextAlignment(0); }},
      {u"Font", [](Vantiq& v) { v.SetFont(std::make_shared<StdFont>()); }},
      {u"Min", [](Vantiq& v) { v.SetMin(-5); }},            {u"Max", [](Vantiq& v) { v.SetMax(50); }},
      {u"Orientation", [](Vantiq& v) { v.SetOrientation(9); }}, {u"Enabled", [](Vantiq& v) { v.SetEnabled(false); }},
      {u"Scrolling", [](Vantiq& v) { v.SetScrolling(-3); }}, {u"ShowCaption", [](Vantiq& v) { v.SetShowCaption(false); }},
      {u"SearchCaption", [](Vantiq& v) { v.SetSearchCaption(u"Searching"); }},
      {u"PercentFormat", [](Vantiq& v) { v.SetPercentFormat(u"0.0"); }},
      {u"Caption", [](Vantiq& v) { v.SetCaption(u"Done"); }}, {u"Shadow", [](Vantiq& v) { v.SetShadow(true); }},
      {u"ShadowIntensity", [](Vantiq& v) { v.SetShadowIntensity(10); }},
      {u"Value", [](Vantiq& v) { v.SetValue(42); }},         {u"Style", [](Vantiq& v) { v.SetStyle(3); }},
      {u"ForeColor", [](Vantiq& v) { v.SetForeColor(0xFF); }},
      {u"BackColor", [](Vantiq& v) { v.SetBackColor(0x80000005u); }},
      {u"ShadowColor", [](Vantiq& v) { v.SetShadowColor(0x123456); }},
      {u"SegmentBorderColor", [](Vantiq& v) { v.SetSegmentBorderColor(0); }},
      {u"RightToLeft", [](Vantiq& v) { v.SetRightToLeft(false); }},
      {u"ProgressColor", [](Vantiq& v) { v.SetProgressColor(0xFF00); }},
      {u"SegmentBorders", [](Vantiq& v) { v.SetSegmentBorders(true); }},
      {u"CaptionCallBack", [](Vantiq& v) { v.SetCaptionCallBack(true); }},
      {u"ProgressPicture", [](Vantiq& v) { v.SetProgressPicture(nullptr); }},
      {u"BackgroundPicture", [](Vantiq& v) { v.SetBackgroundPicture(nullptr); }},
      {u"AlternateForeColor", [](Vantiq& v) { v.SetAlternateForeColor(0xFF); }},
      {u"AlternateShadowColor", [](Vantiq& v) { v.SetAlternateShadowColor(0xFF); }},
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
  using Set = std::function<void(Vantiq&)>;
  using Get = std::function<double(Vantiq&)>;
  const Get value = [](Vantiq& v) { return v.Value(); };
  const struct {
    const char* what;
    Set set;
    Get get;
    double want;  // NaN: the getter answers NaN
  } rows[] = {
      {"Min raises the value", [](Vantiq& v) { v.SetValue(50), v.SetMin(60); }, value, 60},
      {"Max lowers it", [](Vantiq& v) { v.SetValue(50), v.SetMin(60), v.SetMax(40); }, value, 40},
      {"Max never touches Min", [](Vantiq& v) { v.SetMin(60), v.SetMax(40); }, [](Vantiq& v) { return v.Min(); }, 60},
      {"Min above Max: the lower bound first", [](Vantiq& v) { v.SetMin(60), v.SetMax(40), v.SetValue(50); }, value, 60},
      {"... then the upper", [](Vantiq& v) { v.SetMin(60), v.SetMax(40), v.SetValue(70); }, value, 40},
      {"a NaN value stores Min", [&](Vantiq& v) { v.SetMin(-3), v.SetValue(30), v.SetValue(nan); }, value, -3},
      {"an unordered Max leaves the value", [&](Vantiq& v) { v.SetValue(30), v.SetMax(nan); }, value, 30},
      {"an unordered Min is taken by the value", [&](Vantiq& v) { v.SetValue(30), v.SetMin(nan); }, value, nan},
      {"TextAlignment out of range is ignored",
       [](Vantiq& v) { v.SetTextAlignment(1), v.SetTextAlignment(3), v.SetTextAlignment(-1); },
       [](Vantiq& v) { return v.TextAlignment(); }, 1},
      {"ShadowIntensity clamps to 0", [](Vantiq& v) { v.SetShadowIntensity(-5); },
       [](Vantiq& v) { return v.ShadowIntensity(); }, 0},
      {"... and to 255", [](Vantiq& v) { v.SetShadowIntensity(300); }, [](Vantiq& v) { return v.ShadowIntensity(); },
       255},
      {"Orientation takes anything", [](Vantiq& v) { v.SetOrientation(17); }, [](Vantiq& v) { return v.Orientation(); },
       17},
      {"Scrolling too", [](Vantiq& v) { v.SetScrolling(-8); }, [](Vantiq& v) { return v.Scrolling(); }, -8},
      {"Style too", [](Vantiq& v) { v.SetStyle(3); }, [](Vantiq& v) { return v.Style(); }, 3},
  };
  for (const auto& row : rows) {
    ControlRig rig;
    rig.Start();
    EXPECT_NO_THROW(row.set(*rig.control)) << row.what;
    const double got = row.get(*rig.control);
    EXPECT_TRUE(got == row.want || (std::isnan(got) && std::isnan(row.want))) << row.what << ": " << got;
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
  for (const auto& [set, stored] : {std::pair{u"0.0%", u"0.0"}, {u"%", u""}, {u"%#%0%", u"#0"}}) {
    c().SetPercentFormat(set);
    EXPECT_EQ(c().PercentFormat(), stored);
  }
}

TEST_F(ControlProperties, MousePointerAndMouseIconNotifyWithoutRepainting) {
  c().SetMousePointer(0x10002);
  EXPECT_EQ(rig.host.baseMousePointer, 2) << "only the low 16 bits reach the base";
  EXPECT_EQ(c().MousePointer(), 2);
  auto icon = std::make_shared<HandlePicture>();
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
  const auto error = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const RuntimeError& e) {
      return static_cast<std::uint32_t>(e.HResult());
    }
    return 0u;
  };
  EXPECT_EQ(error([&] { c().SetHwnd(5); }), 0x800A0183u) << "error 387";
  rig.host.userMode = false;
  EXPECT_EQ(error([&] { c().Hwnd(); }), 0x800A0183u);
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
