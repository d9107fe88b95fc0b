#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "support/control_rig.h"

namespace vantiq::testing {
namespace {

struct HandlePicture : PictureObject {
  explicit HandlePicture(std::uintptr_t h) : handle(h) {}
  std::uintptr_t Handle() const override { return handle; }
  std::uintptr_t handle;
};

class ControlProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.host.ambientRightToLeft = true;
    rig.Start();
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
}

TEST_F(ControlProperties, ContainerThatCannotAnswerLeavesRightToLeftFalse) {
  ControlRig late;
  late.host.ambientRightToLeft = std::nullopt;
  late.control->Initialize();
  EXPECT_FALSE(late.control->RightToLeft());
  late.host.ambientRightToLeft = true;
  late.control->InitProperties();
  EXPECT_TRUE(late.control->RightToLeft());
}

TEST_F(ControlProperties, EverySetterNotifiesItsNameAndRedraws) {
  struct Row {
    std::u16string name;
    std::function<void(Vantiq&)> set;
  } rows[] = {
      {u"TextAlignment", [](Vantiq& v) { v.SetTextAlignment(0); }},
      {u"Font", [](Vantiq& v) { v.SetFont(std::make_shared<StdFont>()); }},
      {u"Min", [](Vantiq& v) { v.SetMin(-5); }},
      {u"Max", [](Vantiq& v) { v.SetMax(50); }},
      {u"Orientation", [](Vantiq& v) { v.SetOrientation(9); }},
      {u"Enabled", [](Vantiq& v) { v.SetEnabled(false); }},
      {u"Scrolling", [](Vantiq& v) { v.SetScrolling(-3); }},
      {u"ShowCaption", [](Vantiq& v) { v.SetShowCaption(false); }},
      {u"SearchCaption", [](Vantiq& v) { v.SetSearchCaption(u"Searching"); }},
      {u"PercentFormat", [](Vantiq& v) { v.SetPercentFormat(u"0.0"); }},
      {u"Caption", [](Vantiq& v) { v.SetCaption(u"Done"); }},
      {u"Shadow", [](Vantiq& v) { v.SetShadow(true); }},
      {u"ShadowIntensity", [](Vantiq& v) { v.SetShadowIntensity(10); }},
      {u"Value", [](Vantiq& v) { v.SetValue(42); }},
      {u"Style", [](Vantiq& v) { v.SetStyle(3); }},
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
  for (const Row& row : rows) {
    rig.host.changes.clear();
    rig.renderers->calls.clear();
    row.set(c());
    ASSERT_EQ(rig.host.changes.size(), 1u) << std::string(row.name.begin(), row.name.end());
    EXPECT_EQ(rig.host.changes[0], row.name);
    EXPECT_EQ(Fills(), 1) << "a setter repaints: " << std::string(row.name.begin(), row.name.end());
    EXPECT_FALSE(rig.control->paint().m_bRedraw) << "cleared by the paint it requested";
  }
}

TEST_F(ControlProperties, MousePointerAndMouseIconNotifyWithoutRepainting) {
  c().SetMousePointer(0x10002);
  EXPECT_EQ(rig.host.baseMousePointer, 2) << "only the low 16 bits reach the base";
  EXPECT_EQ(c().MousePointer(), 2);
  auto icon = std::make_shared<HandlePicture>(7);
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

TEST_F(ControlProperties, MinMaxAndValueKeepTheirOwnRangeRules) {
  c().SetValue(50);
  c().SetMin(60);
  EXPECT_EQ(c().Value(), 60);
  c().SetMax(40);
  EXPECT_EQ(c().Value(), 40);
  EXPECT_EQ(c().Min(), 60) << "Max never touches Min";
  // With Min above Max the lower bound is tested first.
  c().SetValue(50);
  EXPECT_EQ(c().Value(), 60);
  c().SetValue(70);
  EXPECT_EQ(c().Value(), 40);
}

TEST_F(ControlProperties, NaNIsTreatedAsUnordered) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  c().SetValue(30);
  c().SetValue(nan);
  EXPECT_EQ(c().Value(), 0) << "NaN stores Min";
  c().SetValue(30);
  c().SetMax(nan);
  EXPECT_EQ(c().Value(), 30) << "an unordered Max leaves the value";
  c().SetMin(nan);
  EXPECT_TRUE(std::isnan(c().Value())) << "an unordered Min is taken by the value";
  // The bar still paints: a NaN state shows as empty.
  rig.renderers->calls.clear();
  c().SetValue(5);
  EXPECT_EQ(Fills(), 1);
  EXPECT_EQ(rig.control->paint().m_rcFill.right, 0);
}

TEST_F(ControlProperties, InvalidValuesAreIgnoredOrClampedWithoutErrors) {
  c().SetTextAlignment(1);
  rig.host.changes.clear();
  rig.renderers->calls.clear();
  EXPECT_NO_THROW(c().SetTextAlignment(3));
  EXPECT_NO_THROW(c().SetTextAlignment(-1));
  EXPECT_EQ(c().TextAlignment(), 1);
  EXPECT_TRUE(rig.host.changes.empty());
  EXPECT_EQ(Fills(), 0);

  c().SetShadowIntensity(-5);
  EXPECT_EQ(c().ShadowIntensity(), 0);
  c().SetShadowIntensity(300);
  EXPECT_EQ(c().ShadowIntensity(), 255);

  c().SetOrientation(17);
  c().SetScrolling(-8);
  c().SetStyle(3);
  EXPECT_EQ(c().Orientation(), 17);
  EXPECT_EQ(c().Scrolling(), -8);
  EXPECT_EQ(c().Style(), 3);
}

TEST_F(ControlProperties, PercentFormatLosesEveryPercentSign) {
  c().SetShowCaption(false);  // a drawn percentage fills an empty format
  c().SetPercentFormat(u"0.0%");
  EXPECT_EQ(c().PercentFormat(), u"0.0");
  c().SetPercentFormat(u"%");
  EXPECT_EQ(c().PercentFormat(), u"");
  c().SetPercentFormat(u"%#%0%");
  EXPECT_EQ(c().PercentFormat(), u"#0");
}

TEST_F(ControlProperties, AlternateForeColorIsTranslatedWhenSet) {
  rig.platform.sysColors[kColorHighlight] = Rgb(1, 2, 3);
  c().SetAlternateForeColor(0x8000000Du);
  EXPECT_EQ(c().AlternateForeColor(), Rgb(1, 2, 3));
  c().SetAlternateShadowColor(0x8000000Du);
  EXPECT_EQ(c().AlternateShadowColor(), 0x8000000Du);
  c().SetForeColor(0x8000000Du);
  EXPECT_EQ(c().ForeColor(), 0x8000000Du);
  // A colour the translation refuses is an error, and nothing is stored.
  rig.host.changes.clear();
  EXPECT_THROW(c().SetAlternateForeColor(0x800000FFu), RuntimeError);
  EXPECT_EQ(c().AlternateForeColor(), Rgb(1, 2, 3));
  EXPECT_TRUE(rig.host.changes.empty());
}

TEST_F(ControlProperties, HwndIsReadOnlyAndHiddenAtDesignTime) {
  try {
    c().SetHwnd(5);
    FAIL() << "writing hwnd must fail";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 387);
    EXPECT_EQ(static_cast<std::uint32_t>(e.HResult()), 0x800A0183u);
  }
  rig.host.userMode = false;
  try {
    c().Hwnd();
    FAIL() << "reading hwnd at design time must fail";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 387);
  }
  rig.host.userMode = true;
  EXPECT_EQ(c().Hwnd(), static_cast<std::int32_t>(rig.hwnd));
  EXPECT_TRUE(rig.host.changes.empty());
}

TEST_F(ControlProperties, FailingNotificationReachesTheCallerExceptWhereIgnored) {
  rig.host.propertyChangedFails = true;
  rig.renderers->calls.clear();
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
  rig.host.changes.clear();
  font->SetItalic(true);
  EXPECT_TRUE(rig.host.changes.empty()) << "the old font is disconnected";
  other->SetSize(12);
  EXPECT_EQ(rig.host.changes, (std::vector<std::u16string>{u"Font"}));
  // Nothing keeps the current font.
  c().SetFont(nullptr);
  EXPECT_EQ(c().Font(), other);
}

TEST_F(ControlProperties, FontOutlivingTheControlNoLongerCallsIt) {
  FontRef font = rig.control->Font();
  rig.control->Terminate();
  rig.control.reset();
  font->SetBold(true);  // the sanitizers see a call into the gone control
  EXPECT_TRUE(font->Bold());
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
