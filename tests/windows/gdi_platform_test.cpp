// The real platform under Windows (Wine here): what the API answers through
// GdiPlatform for real windows, regions, themes, libraries and colours.
#include "backends/gdi/gdi_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "backends/gdi/gdi_surface.h"
#include "backends/soft/soft_surface.h"
#include "platform/mod_visual_styles.h"
#include "platform/text_case.h"
#include "support/ole_color_cases.h"
#include "support/picture.h"
#include "support/real_window.h"

namespace vantiq {
namespace {

using testing::RealWindow;
constexpr int kTmtProgressChunkSize = 2411;

TEST(GdiPlatform, VersionColoursAndOleColoursAreTheSystemsAnswers) {
  GdiPlatform gdi;
  OSVERSIONINFOA direct{};
  direct.dwOSVersionInfoSize = sizeof direct;
  ASSERT_TRUE(::GetVersionExA(&direct));
  OsVersionInfo bad{12};
  EXPECT_FALSE(gdi.GetVersionExA(bad)) << "a size of no record";
  auto fields = [](auto& v) {
    return std::tuple(v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber, v.dwPlatformId);
  };
  for (std::uint32_t size : {148u, 156u}) {
    OsVersionInfo info{size};
    EXPECT_TRUE(gdi.GetVersionExA(info)) << size;
    EXPECT_EQ(fields(info), fields(direct)) << size;
  }
  EXPECT_EQ(gdi.GetSysColor(kColorHighlight), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(gdi.GetSysColor(-1) | gdi.GetSysColor(1000), 0u) << "unknown indexes";
  for (const testing::OleColorCase& c : testing::kOleColorCases) {
    ColorRef out = 0xDEADBEEF;
    EXPECT_EQ(gdi.OleTranslateColor(c.input, out), c.result) << std::hex << c.input;
    EXPECT_EQ(out, c.result != kSOk ? 0xDEADBEEFu  // a refusal leaves it alone
                   : c.systemIndex < 0 ? c.input : ::GetSysColor(c.systemIndex)) << c.input;
  }
}

TEST(GdiPlatform, LibraryTestsFreeTheRealLibrariesTheyLoad) {
  GdiPlatform gdi;
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "GradientFill"));
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "gradientfill"));
  EXPECT_FALSE(modVisualStyles::IsDllPresent(gdi, "no-such-library.dll"));
  // A library nothing else in this program loads shows that each test freed it.
  ASSERT_EQ(::GetModuleHandleA("msacm32.dll"), nullptr);
  EXPECT_TRUE(modVisualStyles::IsDllPresent(gdi, "msacm32.dll"));
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(gdi, "msacm32.dll", "NoSuchExport"));
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "msacm32", "acmGetVersion"));
  EXPECT_EQ(::GetModuleHandleA("msacm32.dll"), nullptr);
}

TEST(UpperCaseOnWindows, MatchesTheInvariantLocalesUpperCaseForEveryLatinCharacter) {
  for (wchar_t c = 1; c < 0x180; ++c) {
    wchar_t up = 0;
    ASSERT_EQ(::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &c, 1, &up, 1, {}, {}, 0), 1);
    EXPECT_EQ(+UpperCase(char16_t(c)), +char16_t(up)) << "U+" << std::hex << +c;
  }
}

TEST(GdiPlatform, WindowsParentBackgroundsAndRegions) {
  GdiPlatform gdi;
  WindowHandle gone = 0;
  {
    RealWindow parent(60, 40, nullptr, 0, 0, RGB(10, 120, 230));
    RealWindow w(12, 6, parent.Get(), 5, 5);
    ASSERT_TRUE(gdi.IsWindow(gone = w.Handle()));
    EXPECT_EQ(gdi.GetClientRect(w.Handle()), (Rect{0, 0, 12, 6}));
    auto dib = testing::BlankSurface(12, 6);
    EXPECT_EQ(gdi.DrawThemeParentBackground(w.Handle(), *dib, Rect{0, 0, 12, 6}), kSOk);
    EXPECT_TRUE(testing::Looks(*dib, std::vector<std::string>(6, "pppppppppppp"),
                               {{'p', Rgb(10, 120, 230)}}))
        << "what the parent paints";
    EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kError) << "no region yet";
    gdi.SetWindowRgn(w.Handle(), Region(Rect{1, 1, 11, 5}), false);
    EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kSimple);
    // Cut corners: the window's region must hold exactly the pixels the Region holds.
    Region cut(Rect{0, 0, 12, 6});
    for (const Rect& corner : {Rect{0, 0, 2, 1}, {0, 1, 1, 2}, {11, 1, 12, 2}, {11, 4, 12, 6}}) {
      cut.Subtract(corner);
    }
    gdi.SetWindowRgn(w.Handle(), cut, true);
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(w.Get(), copy), COMPLEXREGION);
    EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kComplex);
    for (int i = 0; i < 14 * 8; ++i) {
      const int x = i % 14 - 1, y = i / 14 - 1;
      EXPECT_EQ(::PtInRegion(copy, x, y) != FALSE, cut.Contains(x, y)) << x << "," << y;
    }
    ::DeleteObject(copy);
    gdi.SetWindowRgn(w.Handle(), Region(), false);
    EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kNull);
    gdi.SetWindowRgn(w.Handle(), std::nullopt, false);
    EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kError);
  }
  EXPECT_FALSE(gdi.IsWindow(gone));
  EXPECT_EQ(gdi.GetClientRect(gone), Rect{});
}

// Skips where the Wine prefix has visual styles off altogether.
TEST(GdiPlatform, ThemesOpenReadAndDrawWithinTheClipUntilTheWindowsStyleIsOff) {
  GdiPlatform gdi;
  RealWindow window(40, 20);
  ASSERT_TRUE(gdi.HasThemeApi());
  const ThemeHandle progress = gdi.OpenThemeData(window.Handle(), u"Progress");
  if (progress == 0) GTEST_SKIP() << "visual styles are off in this Wine prefix";
  int chunk, other = -7;
  EXPECT_EQ(gdi.GetThemeInt(progress, 0, 0, kTmtProgressChunkSize, chunk), kSOk);
  EXPECT_NE(gdi.GetThemeInt(progress, 0, 0, 9999, other), kSOk);
  EXPECT_NE(gdi.GetThemeInt(0, 0, 0, kTmtProgressChunkSize, other), kSOk);
  EXPECT_EQ(other, -7) << "a failure leaves the output alone";
  for (int part = 1; part <= 4; ++part) {
    auto dib = testing::BlankSurface(40, 20);  // a GdiSurface here
    const Rect clip{10, 0, 30, 20};
    ASSERT_EQ(gdi.DrawThemeBackground(progress, *dib, part, 1, {0, 0, 40, 20}, &clip), kSOk);
    int drawn = 0;
    for (int i = 0; i < 40 * 20; ++i) {
      const ColorRef pixel = dib->GetPixel(i % 40, i / 40);
      if (clip.Contains(i % 40, i / 40)) {
        drawn += pixel != testing::kPictureBack;
      } else {
        ASSERT_EQ(pixel, testing::kPictureBack) << "part " << part << " at " << i % 40;
      }
    }
    EXPECT_GT(drawn, 0) << "part " << part << " drew nothing";
  }
  SoftSurface soft(4, 4, gdi);
  EXPECT_EQ(gdi.DrawThemeBackground(progress, soft, 1, 0, Rect{0, 0, 4, 4}, nullptr), kEInvalidArg);
  gdi.CloseThemeData(progress);

  char16_t file[256], color[256], size[256];
  ASSERT_EQ(gdi.GetCurrentThemeName(file, color, size, 4), kSOk);
  EXPECT_EQ(std::u16string(color) + u"|" + size, u"Blu|Nor") << "what fits, terminated";
  EXPECT_EQ(std::u16string(file).size(), 3u);
  ASSERT_EQ(testing::TurnVisualStylesOff(window.Get()), S_OK);
  EXPECT_EQ(gdi.OpenThemeData(window.Handle(), u"Progress"), 0u) << "asked for that window";
}

TEST(GdiPlatform, WithoutTheThemeLibraryEveryThemeCallFailsCleanly) {
  GdiPlatform gdi(L"no-such-uxtheme.dll");
  EXPECT_FALSE(gdi.HasThemeApi());
  RealWindow w(50, 10);
  EXPECT_EQ(gdi.OpenThemeData(w.Handle(), u"Progress"), 0u);
  gdi.CloseThemeData(0x1234);  // nothing to call, nothing happens
  char16_t file[16], color[16], size[16];
  EXPECT_NE(gdi.GetCurrentThemeName(file, color, size, 16), kSOk);
  int value = -1;
  EXPECT_NE(gdi.GetThemeInt(0x1234, 0, 0, kTmtProgressChunkSize, value), kSOk);
  EXPECT_EQ(value, -1);
  auto dib = GdiSurface::CreateDibSection(8, 8);
  EXPECT_NE(gdi.DrawThemeBackground(0x1234, *dib, 1, 0, Rect{0, 0, 8, 8}, nullptr), kSOk);
  EXPECT_NE(gdi.DrawThemeParentBackground(w.Handle(), *dib, Rect{0, 0, 8, 8}), kSOk);
}

}  // namespace
}  // namespace vantiq
