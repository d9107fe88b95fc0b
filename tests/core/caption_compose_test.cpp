// Which text the caption shows, the callback's by-reference arguments, and the
// percentage faults that end a pass.
#include "control/vantiq.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/runtime_error.h"
#include "support/control_rig.h"
#include "support/raised_error.h"

namespace vantiq::testing {
namespace {

class ComposeCaptionTest : public ::testing::Test {
 protected:
  void SetUp() override { rig.Start(); }
  Vantiq& c() { return *rig.control; }
  std::u16string Compose() { return c().ComposeCaption(); }
  ControlRig rig;
};

TEST_F(ComposeCaptionTest, ChoosesCaptionSearchCaptionOrPercentage) {
  c().SetValue(25);  // its paint shows "25%"
  c().SetCaption(u"Done");
  c().SetValue(40);
  EXPECT_EQ(Compose(), u"Done");
  EXPECT_EQ(c().paint().m_sLastPercent, u"25%") << "a fixed caption leaves the percentage alone";

  c().SetScrolling(eProgressBarScrollMarquee);
  EXPECT_EQ(Compose(), u"40%") << "the fixed caption is ignored by a marquee";
  c().SetSearchCaption(u"Searching");
  EXPECT_EQ(Compose(), u"Searching");

  c().SetScrolling(eProgressBarScrollSmooth);
  c().SetCaption(u"");
  EXPECT_EQ(Compose(), u"40%") << "the search caption belongs to the marquee only";
  EXPECT_EQ(c().paint().m_sLastPercent, u"40%");
}

TEST_F(ComposeCaptionTest, PercentageOfValueOverMax) {
  struct Case {
    double min, max, value;
    std::u16string format, text;
  } const cases[] = {
      {50, 100, 75, u"#0", u"75%"},  // Min takes no part
      {0, 3, 1, u"#0", u"33%"}, {0, 8, 1, u"0.0", u"12.5%"}, {0, 8, 1, u"0.00", u"12.50%"},
      {0, 200, 1, u"#0", u"1%"}, {-10, 10, -5, u"#0", u"-50%"},
  };
  for (const Case& k : cases) {
    c().SetMax(k.max);
    c().SetMin(k.min);
    c().SetValue(k.value);
    c().props().m_sPercentFormat = k.format;
    EXPECT_EQ(Compose(), k.text) << k.value << " of " << k.max << " as " << std::string(k.format.begin(), k.format.end());
  }
}

// An empty format becomes the default, silently, even when the percentage then faults.
TEST_F(ComposeCaptionTest, EmptyFormatBecomesTheDefaultAndAFaultKeepsTheLastText) {
  c().SetValue(30);
  c().SetPercentFormat(u"");
  rig.host.changes.clear();
  EXPECT_EQ(Compose(), u"30%");
  EXPECT_EQ(c().PercentFormat(), u"#0");
  EXPECT_TRUE(rig.host.changes.empty());
  c().props().m_dMax = 0;
  c().props().m_sPercentFormat.clear();
  EXPECT_THROW(Compose(), RuntimeError);
  EXPECT_EQ(c().paint().m_sLastPercent, u"30%");
  EXPECT_EQ(c().PercentFormat(), u"#0");

  // Overflows: of the quotient itself, and of a finite quotient times 100.
  const auto overflowNumber = [&](double value, double max) {
    c().props().m_dMax = max;
    c().props().m_dValue = value;
    return ErrorNumber([&] { Compose(); });
  };
  EXPECT_EQ(overflowNumber(std::numeric_limits<double>::max(), std::numeric_limits<double>::min()), kErrOverflow);
  EXPECT_EQ(overflowNumber(std::numeric_limits<double>::max(), 1), kErrOverflow) << "a quotient too large to scale";
  EXPECT_EQ(overflowNumber(std::numeric_limits<double>::max() / 200, 1), 0) << "one that scales";
  // NaN divides without a fault; the format engine gives it a defined text.
  c().props().m_dMax = 100;
  c().props().m_dValue = std::nan("");
  EXPECT_NO_THROW(Compose());
}

TEST_F(ComposeCaptionTest, CallbackRewritesTextAndStoredNumbers) {
  c().SetMax(5);
  c().SetValue(2);
  c().SetCaptionCallBack(true);
  int calls = 0;
  rig.host.onProgressText = [&](double& value, double& min, double& max, std::u16string& text) {
    ++calls;
    EXPECT_EQ(text, u"40%");
    EXPECT_EQ(&value, &c().props().m_dValue) << "the stored value itself, not a copy";
    text = u"abc";
    value = 10;
    min = -1;
    max = 5;
  };
  rig.host.changes.clear();
  EXPECT_EQ(Compose(), u"abc");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(c().Value(), 10) << "no clamping";
  EXPECT_EQ(c().Min(), -1);
  EXPECT_EQ(c().paint().m_sLastPercent, u"40%");
  EXPECT_TRUE(rig.host.changes.empty());
}

// UTF-8 held one byte per character is decoded (the rules are the UTF-8 tests'), even in
// a caption of a million characters.
TEST_F(ComposeCaptionTest, CaptionsHeldAsUtf8BytesAreDecoded) {
  c().SetCaption(u"\u00C3\u00A9t\u00C3\u00A9");
  EXPECT_EQ(Compose(), u"\u00E9t\u00E9");
  c().SetCaption(u"two\r\nwords\u00C3");
  EXPECT_EQ(Compose(), u"two\r\nwords\u00C3");
  c().SetCaption(std::u16string(1 << 20, u'\u00C3'));
  EXPECT_EQ(Compose().size(), std::size_t{1} << 20);
}

}  // namespace
}  // namespace vantiq::testing
