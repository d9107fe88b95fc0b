// The theme identity of a window on scripted Windows versions, and the upper-casing
// that the names go through.
#include "platform/color_xp.h"

#include <gtest/gtest.h>

#include <string>

#include "backends/soft/scriptable_platform.h"
#include "platform/text_case.h"
#include "support/control_rig.h"

namespace vantiq {
namespace {

using testing::OnNewThread;

struct Identity {
  bool active = false;
  std::u16string file;
  std::u16string color;
};

Identity Read(CColorXP& colors, WindowHandle hwnd) {
  Identity id;
  id.active = colors.IsVisualStyleActive(hwnd);
  id.file = colors.ThemeFileName(hwnd);
  id.color = colors.ThemeColorName(hwnd);
  return id;
}

TEST(ColorXP, XpWithLunaReportsActiveStylesAndUpperCasedNames) {
  OnNewThread([] {
    ScriptablePlatform p;
    p.SetVersion("winxp");
    const WindowHandle hwnd = p.CreateWindow(100, 20);
    CColorXP colors(p);
    const Identity id = Read(colors, hwnd);
    EXPECT_TRUE(id.active);
    EXPECT_EQ(id.file, u"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES");
    EXPECT_NE(id.file.find(u"LUNA\\LUNA.MSSTYLES"), std::u16string::npos);
    EXPECT_EQ(id.color, u"NORMALCOLOR");
    // The object keeps what it read as the platform spelled it, size name included.
    EXPECT_EQ(colors.FileName(), p.themeFile);
    EXPECT_EQ(colors.ColorName(), u"NormalColor");
    EXPECT_EQ(colors.SizeName(), u"NormalSize");
    // Every question opened its own theme and closed it again.
    EXPECT_EQ(p.themesOpen, 0);
  });
}

TEST(ColorXP, EveryVersionFromXpOnHasVisualStyles) {
  for (const char* version : {"winxp", "win2003", "vista", "win7", "win10"}) {
    OnNewThread([version] {
      ScriptablePlatform p;
      p.SetVersion(version);
      p.colorName = u"Metallic";
      CColorXP colors(p);
      const Identity id = Read(colors, p.CreateWindow(50, 10));
      EXPECT_TRUE(id.active) << version;
      EXPECT_EQ(id.color, u"METALLIC") << version;
    });
  }
}

TEST(ColorXP, OlderVersionsHaveNoVisualStylesAndMakeNoThemeCall) {
  for (const char* version : {"win98", "winme", "win2k"}) {
    OnNewThread([version] {
      ScriptablePlatform p;
      p.SetVersion(version);
      CColorXP colors(p);
      const Identity id = Read(colors, p.CreateWindow(50, 10));
      EXPECT_FALSE(id.active) << version;
      EXPECT_EQ(id.file, u"") << version;
      EXPECT_EQ(id.color, u"") << version;
      EXPECT_EQ(p.themeCalls, 0) << version;
    });
  }
}

TEST(ColorXP, TheClassicLookOrNoThemeFunctionsGiveNoThemeAndEmptyNames) {
  for (const bool apiPresent : {true, false}) {
    OnNewThread([apiPresent] {
      ScriptablePlatform p;
      p.SetVersion("winxp");
      p.visualStyles = false;
      p.themeApiPresent = apiPresent;
      CColorXP colors(p);
      const Identity id = Read(colors, p.CreateWindow(50, 10));
      EXPECT_FALSE(id.active);
      EXPECT_EQ(id.file, u"");
      EXPECT_EQ(id.color, u"");
      EXPECT_EQ(p.themeCalls, 3) << "one failed OpenThemeData per question";
      EXPECT_EQ(p.themesOpen, 0);
    });
  }
}

TEST(ColorXP, WindowZeroAndADestroyedWindowGiveFalseAndEmptyNames) {
  OnNewThread([] {
    ScriptablePlatform p;
    p.SetVersion("win7");
    CColorXP colors(p);
    const Identity none = Read(colors, 0);
    EXPECT_FALSE(none.active);
    EXPECT_EQ(none.file, u"");
    EXPECT_EQ(none.color, u"");
    EXPECT_EQ(p.themeCalls, 0) << "window 0 never reaches OpenThemeData";

    const WindowHandle hwnd = p.CreateWindow(10, 10);
    p.DestroyWindow(hwnd);
    const Identity gone = Read(colors, hwnd);
    EXPECT_FALSE(gone.active);
    EXPECT_EQ(gone.file, u"");
    EXPECT_EQ(gone.color, u"");
  });
}

// Fails GetCurrentThemeName on demand while themes open normally.
class NameFailingPlatform : public ScriptablePlatform {
 public:
  bool failNames = false;
  HResult GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                              int capacity) override {
    if (failNames) return kEFail;
    return ScriptablePlatform::GetCurrentThemeName(file, color, size, capacity);
  }
};

TEST(ColorXP, AFailedNameReadEmptiesAllThreeNames) {
  OnNewThread([] {
    NameFailingPlatform p;
    p.SetVersion("winxp");
    const WindowHandle hwnd = p.CreateWindow(10, 10);
    CColorXP colors(p);
    ASSERT_EQ(colors.ThemeFileName(hwnd), u"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES");
    p.failNames = true;
    EXPECT_TRUE(colors.IsVisualStyleActive(hwnd));
    EXPECT_EQ(colors.ThemeColorName(hwnd), u"");
    EXPECT_EQ(colors.FileName(), u"");
    EXPECT_EQ(colors.ColorName(), u"");
    EXPECT_EQ(colors.SizeName(), u"");
    EXPECT_EQ(p.themesOpen, 0);
  });
}

TEST(ColorXP, ANameQuestionThatCannotOpenAThemeLeavesTheLastNamesAlone) {
  OnNewThread([] {
    ScriptablePlatform p;
    p.SetVersion("winxp");
    const WindowHandle hwnd = p.CreateWindow(10, 10);
    CColorXP colors(p);
    colors.ThemeFileName(hwnd);
    p.visualStyles = false;
    EXPECT_EQ(colors.ThemeFileName(hwnd), u"");
    EXPECT_EQ(colors.ColorName(), u"NormalColor");
  });
}

// Records the buffers GetCurrentThemeName is given and answers with `reply`, which
// may fill a buffer to the end without a terminating NUL.
class BufferInspectingPlatform : public ScriptablePlatform {
 public:
  int capacitySeen = 0;
  bool buffersWereSpaces = false;
  std::u16string reply;
  HResult GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                              int capacity) override {
    capacitySeen = capacity;
    buffersWereSpaces = true;
    for (char16_t* buffer : {file, color, size}) {
      for (int i = 0; i < capacity; ++i) buffersWereSpaces &= buffer[i] == u' ';
    }
    std::copy(reply.begin(), reply.end(), file);
    color[0] = u'\0';
    size[0] = u'\0';
    return kSOk;
  }
};

TEST(ColorXP, NamesAreReadInto256CharacterBuffersOfSpaces) {
  BufferInspectingPlatform p;
  p.reply = u"abc";
  p.reply.push_back(u'\0');
  p.reply += u"left over";
  CColorXP colors(p);
  colors.ReadCurrentThemeName();
  EXPECT_EQ(p.capacitySeen, 256);
  EXPECT_TRUE(p.buffersWereSpaces);
  EXPECT_EQ(colors.FileName(), u"abc");
  EXPECT_EQ(colors.ColorName(), u"");
  EXPECT_EQ(colors.SizeName(), u"");

  // A buffer filled to the end has no NUL; it is kept whole.
  p.reply = std::u16string(256, u'x');
  colors.ReadCurrentThemeName();
  EXPECT_EQ(colors.FileName(), std::u16string(256, u'x'));
}

TEST(ColorXP, StripAtNullKeepsWhatPrecedesTheFirstNul) {
  EXPECT_EQ(CColorXP::StripAtNull(std::u16string(u"ab\0cd\0", 6)), u"ab");
  EXPECT_EQ(CColorXP::StripAtNull(std::u16string(u"\0ab", 3)), u"");
  EXPECT_EQ(CColorXP::StripAtNull(u""), u"");
  EXPECT_EQ(CColorXP::StripAtNull(u"no terminator"), u"no terminator");
}

TEST(ColorXP, NonAsciiThemeNamesAreUpperCasedToo) {
  OnNewThread([] {
    ScriptablePlatform p;
    p.SetVersion("winxp");
    p.themeFile = u"C:\\Th\u00e8mes\\\u00c9t\u00e9\\Luna\\luna.msstyles";
    p.colorName = u"HomeStead";
    CColorXP colors(p);
    const WindowHandle hwnd = p.CreateWindow(10, 10);
    EXPECT_EQ(colors.ThemeFileName(hwnd), u"C:\\TH\u00c8MES\\\u00c9T\u00c9\\LUNA\\LUNA.MSSTYLES");
    EXPECT_EQ(colors.ThemeColorName(hwnd), u"HOMESTEAD");
  });
}

// --- UpperCase -----------------------------------------------------------------------

TEST(UpperCase, AsciiLettersAloneChangeBelowLatin1) {
  for (char16_t c = 0; c < 0x80; ++c) {
    const char16_t expected = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    EXPECT_EQ(UpperCase(c), expected) << static_cast<int>(c);
  }
  for (char16_t c = 0x80; c < 0xE0; ++c) {
    if (c == 0xB5 || c == 0xDF) continue;
    EXPECT_EQ(UpperCase(c), c) << static_cast<int>(c);
  }
}

TEST(UpperCase, Latin1SmallLettersMapToTheirCapitals) {
  for (char16_t c = 0xE0; c <= 0xFE; ++c) {
    if (c == 0xF7) continue;
    EXPECT_EQ(UpperCase(c), c - 0x20) << static_cast<int>(c);
  }
  EXPECT_EQ(UpperCase(char16_t{0xFF}), 0x178);  // ÿ -> Ÿ
  EXPECT_EQ(UpperCase(char16_t{0xF7}), 0xF7);   // ÷
  // No one-to-one partner: micro sign and sharp s stay.
  EXPECT_EQ(UpperCase(char16_t{0xB5}), 0xB5);
  EXPECT_EQ(UpperCase(char16_t{0xDF}), 0xDF);
}

TEST(UpperCase, LatinExtendedAPairsAcrossItsThreeRuns) {
  EXPECT_EQ(UpperCase(char16_t{0x101}), 0x100);  // ā
  EXPECT_EQ(UpperCase(char16_t{0x100}), 0x100);
  EXPECT_EQ(UpperCase(char16_t{0x133}), 0x132);  // ĳ
  EXPECT_EQ(UpperCase(char16_t{0x131}), 0x131);  // dotless i stays
  EXPECT_EQ(UpperCase(char16_t{0x138}), 0x138);  // kra stays
  EXPECT_EQ(UpperCase(char16_t{0x13A}), 0x139);  // ĺ
  EXPECT_EQ(UpperCase(char16_t{0x139}), 0x139);
  EXPECT_EQ(UpperCase(char16_t{0x148}), 0x147);  // ň
  EXPECT_EQ(UpperCase(char16_t{0x149}), 0x149);  // ŉ stays
  EXPECT_EQ(UpperCase(char16_t{0x14B}), 0x14A);  // ŋ
  EXPECT_EQ(UpperCase(char16_t{0x177}), 0x176);  // ŷ
  EXPECT_EQ(UpperCase(char16_t{0x178}), 0x178);  // Ÿ
  EXPECT_EQ(UpperCase(char16_t{0x17A}), 0x179);  // ź
  EXPECT_EQ(UpperCase(char16_t{0x17E}), 0x17D);  // ž
  EXPECT_EQ(UpperCase(char16_t{0x17F}), 0x17F);  // long s stays
}

TEST(UpperCase, IsIdempotentAndMapsWholeStrings) {
  for (char32_t c = 0; c < 0x180; ++c) {
    const char16_t once = UpperCase(static_cast<char16_t>(c));
    EXPECT_EQ(UpperCase(once), once) << static_cast<int>(c);
  }
  EXPECT_EQ(UpperCase(std::u16string(u"Luna\\Luna.msstyles")), u"LUNA\\LUNA.MSSTYLES");
}

}  // namespace
}  // namespace vantiq
