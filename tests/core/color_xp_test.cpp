// The theme identity of a window on scripted Windows versions, and the upper-casing
// that the names go through.
#include "platform/color_xp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "backends/soft/scriptable_platform.h"
#include "platform/text_case.h"
#include "support/control_rig.h"

namespace vantiq {
namespace {

using testing::OnNewThread;

TEST(ColorXP, VisualStylesAndNamesOnEachVersionAndSetUp) {
  enum Setup { kStyled, kNoStyles, kNoThemeApi, kWindowZero, kWindowDestroyed };
  // Calls: 8 when styled (each of 3 questions opens and closes a theme, 2 read names).
  struct Case { const char* version; Setup setup; int themeCalls; };
  const Case cases[] = {{"winxp", kStyled, 8}, {"win2003", kStyled, 8}, {"vista", kStyled, 8}, {"win7", kStyled, 8},
                        {"win10", kStyled, 8}, {"win98", kStyled, 0}, {"winme", kStyled, 0}, {"win2k", kStyled, 0},
                        {"winxp", kNoStyles, 3}, {"winxp", kNoThemeApi, 3}, {"win7", kWindowZero, 0},
                        {"win7", kWindowDestroyed, 3}};
  for (const Case& c : cases) {
    OnNewThread([&c] {
      ScriptablePlatform p;
      p.SetVersion(c.version);
      p.visualStyles = c.setup != kNoStyles;
      p.themeApiPresent = c.setup != kNoThemeApi;
      const WindowHandle hwnd = c.setup == kWindowZero ? 0 : p.AddWindow(50, 10);
      if (c.setup == kWindowDestroyed) p.RemoveWindow(hwnd);
      CColorXP colors(p);
      const bool active = c.themeCalls == 8;
      const std::string at = std::string(c.version) + " setup " + std::to_string(c.setup);
      EXPECT_EQ(colors.IsVisualStyleActive(hwnd), active) << at;
      EXPECT_EQ(colors.ThemeFileName(hwnd), active ? u"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES" : u"") << at;
      EXPECT_EQ(colors.ThemeColorName(hwnd), active ? u"NORMALCOLOR" : u"") << at;
      // What was read is kept as the platform spelled it, size name included.
      EXPECT_EQ(colors.ColorName() + colors.SizeName(), active ? u"NormalColorNormalSize" : u"") << at;
      EXPECT_EQ(std::tie(p.themeCalls, p.themesOpen), std::make_tuple(c.themeCalls, 0)) << at;
    });
  }
}

// Fails GetCurrentThemeName on demand; otherwise records the buffers it is given and
// answers with `reply` in the file buffer when one is set.
class NamePlatform : public ScriptablePlatform {
 public:
  bool failNames = false;
  int capacitySeen = 0;
  bool buffersWereSpaces = true;
  std::u16string reply;
  HResult GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                              int capacity) override {
    if (failNames) return kEFail;
    if (reply.empty()) return ScriptablePlatform::GetCurrentThemeName(file, color, size, capacity);
    capacitySeen = capacity;
    for (char16_t* buffer : {file, color, size})
      for (int i = 0; i < capacity; ++i) buffersWereSpaces &= buffer[i] == u' ';
    std::copy(reply.begin(), reply.end(), file);
    color[0] = size[0] = u'\0';
    return kSOk;
  }
};

TEST(ColorXP, NamesAreReadInto256SpacesCutAtTheFirstNulAndEmptiedByAFailedRead) {
  OnNewThread([] {
    NamePlatform p;
    p.SetVersion("winxp");
    const WindowHandle hwnd = p.AddWindow(10, 10);
    CColorXP colors(p);
    ASSERT_EQ(colors.ThemeColorName(hwnd), u"NORMALCOLOR");
    p.visualStyles = false;
    EXPECT_EQ(colors.ThemeFileName(hwnd), u"");
    EXPECT_EQ(colors.ColorName(), u"NormalColor") << "no theme, no read";
    p.visualStyles = true;
    p.failNames = true;
    EXPECT_TRUE(colors.IsVisualStyleActive(hwnd));
    EXPECT_EQ(colors.ThemeColorName(hwnd), u"");
    EXPECT_EQ(colors.FileName() + colors.ColorName() + colors.SizeName(), u"");
    p.failNames = false;
    p.reply = std::u16string(u"abc\0left over", 13);
    EXPECT_EQ(colors.ThemeFileName(hwnd), u"ABC");
    EXPECT_EQ(p.capacitySeen, 256);
    EXPECT_TRUE(p.buffersWereSpaces);
    p.reply = std::u16string(256, u'x');  // no NUL at all: kept whole
    EXPECT_EQ(colors.ThemeFileName(hwnd), std::u16string(256, u'X'));
    EXPECT_EQ(p.themesOpen, 0);
  });
}

// Each character is held to the invariant locale's upper case by the Windows suite.
TEST(UpperCase, MapsTheLatinLettersOfAText) {
  EXPECT_EQ(UpperCase(std::u16string(u"C:\\Th\u00e8mes\\luna.msstyles \u00ff\u0133\u03b1")),
            u"C:\\TH\u00c8MES\\LUNA.MSSTYLES \u0178\u0132\u03b1");
}

}  // namespace
}  // namespace vantiq
