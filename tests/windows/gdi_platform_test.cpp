// The real platform under Windows (Wine here): what the API answers through
// GdiPlatform for real windows, regions, themes, libraries and colours.
#include "backends/gdi/gdi_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "backends/gdi/gdi_surface.h"
#include "backends/soft/soft_surface.h"
#include "platform/color_xp.h"
#include "platform/mod_version_ex.h"
#include "platform/mod_visual_styles.h"
#include "platform/text_case.h"
#include "support/ole_color_cases.h"
#include "support/real_window.h"

namespace vantiq {
namespace {

using testing::RealWindow;
using testing::TurnVisualStylesOff;

constexpr int kTmtProgressChunkSize = 2411;
constexpr int kTmtProgressSpaceSize = 2412;

std::u16string Lower(std::u16string s) {
  for (char16_t& c : s) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return s;
}

bool EndsWith(const std::u16string& s, const std::u16string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// --- version, colours and libraries ---------------------------------------------

TEST(GdiPlatform, GetVersionExAFillsTheRecordForEitherSizeAndRefusesOthers) {
  GdiPlatform gdi;
  OSVERSIONINFOA direct{};
  direct.dwOSVersionInfoSize = sizeof direct;
  ASSERT_TRUE(::GetVersionExA(&direct));
  for (std::uint32_t size : {148u, 156u}) {
    OsVersionInfo info;
    info.dwOSVersionInfoSize = size;
    ASSERT_TRUE(gdi.GetVersionExA(info)) << size;
    EXPECT_EQ(info.dwMajorVersion, direct.dwMajorVersion);
    EXPECT_EQ(info.dwMinorVersion, direct.dwMinorVersion);
    EXPECT_EQ(info.dwBuildNumber, direct.dwBuildNumber);
    EXPECT_EQ(info.dwPlatformId, direct.dwPlatformId);
  }
  OsVersionInfo bad;
  bad.dwOSVersionInfoSize = 12;
  EXPECT_FALSE(gdi.GetVersionExA(bad));
}

TEST(GdiPlatform, SystemColoursAreTheSystemsAndUnknownIndexesAreZero) {
  GdiPlatform gdi;
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(gdi.GetSysColor(i), ::GetSysColor(i)) << i;
  EXPECT_EQ(gdi.GetSysColor(-1), 0u);
  EXPECT_EQ(gdi.GetSysColor(1000), 0u);
}

TEST(GdiPlatform, OleTranslateColorAnswersAsTheSharedTableSays) {
  GdiPlatform gdi;
  for (const testing::OleColorCase& c : testing::kOleColorCases) {
    ColorRef out = 0xDEADBEEF;
    EXPECT_EQ(gdi.OleTranslateColor(c.input, out), c.result) << std::hex << c.input;
    if (c.result != kSOk) {
      EXPECT_EQ(out, 0xDEADBEEFu) << std::hex << c.input;
    } else if (c.systemIndex < 0) {
      EXPECT_EQ(out, c.input) << std::hex << c.input;
    } else {
      EXPECT_EQ(out, ::GetSysColor(c.systemIndex)) << std::hex << c.input;
    }
  }
}

TEST(GdiPlatform, LibraryTestsLoadLookUpAndFreeRealLibraries) {
  GdiPlatform gdi;
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "GradientFill"));
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "AlphaBlend"));
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(gdi, "Msimg32.dll", "gradientfill"));
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(gdi, "no-such-library.dll", "GradientFill"));
  EXPECT_FALSE(modVisualStyles::IsDllPresent(gdi, "no-such-library.dll"));

  // A library nothing else in this program loads shows that each test freed it.
  ASSERT_EQ(::GetModuleHandleA("msacm32.dll"), nullptr);
  EXPECT_TRUE(modVisualStyles::IsDllPresent(gdi, "msacm32.dll"));
  EXPECT_EQ(::GetModuleHandleA("msacm32.dll"), nullptr);
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(gdi, "msacm32.dll", "NoSuchExport"));
  EXPECT_EQ(::GetModuleHandleA("msacm32.dll"), nullptr);
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(gdi, "msacm32", "acmGetVersion"));
  EXPECT_EQ(::GetModuleHandleA("msacm32.dll"), nullptr);
}

TEST(UpperCaseOnWindows, MatchesTheInvariantLocalesUpperCaseForEveryLatinCharacter) {
  for (wchar_t c = 1; c < 0x180; ++c) {
    wchar_t mapped = 0;
    ASSERT_EQ(::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &c, 1, &mapped, 1, nullptr,
                              nullptr, 0),
              1);
    EXPECT_EQ(static_cast<int>(UpperCase(static_cast<char16_t>(c))), static_cast<int>(mapped))
        << "U+" << std::hex << static_cast<int>(c);
  }
}

// --- windows and regions ---------------------------------------------------------

TEST(GdiPlatform, ClientRectAndIsWindowFollowARealWindow) {
  GdiPlatform gdi;
  WindowHandle gone = 0;
  {
    RealWindow w(120, 30);
    ASSERT_NE(w.Get(), nullptr);
    EXPECT_TRUE(gdi.IsWindow(w.Handle()));
    EXPECT_EQ(gdi.GetClientRect(w.Handle()), (Rect{0, 0, 120, 30}));
    gone = w.Handle();
  }
  EXPECT_FALSE(gdi.IsWindow(gone));
  EXPECT_EQ(gdi.GetClientRect(gone), Rect{});
  EXPECT_FALSE(gdi.IsWindow(0));
}

TEST(GdiPlatform, RegionsRoundTripThroughTheWindow) {
  GdiPlatform gdi;
  RealWindow w(12, 6);
  ASSERT_NE(w.Get(), nullptr);
  EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kError) << "no region yet";

  gdi.SetWindowRgn(w.Handle(), Region(Rect{1, 1, 11, 5}), false);
  EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kSimple);

  // Cut corners: the window's region must hold exactly the pixels the Region holds.
  Region cut(Rect{0, 0, 12, 6});
  for (const Rect& corner : {Rect{0, 0, 2, 1}, Rect{0, 1, 1, 2}, Rect{10, 0, 12, 1},
                             Rect{11, 1, 12, 2}, Rect{0, 5, 2, 6}, Rect{11, 4, 12, 6}}) {
    cut.Subtract(corner);
  }
  gdi.SetWindowRgn(w.Handle(), cut, true);
  EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kComplex);
  HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(::GetWindowRgn(w.Get(), copy), COMPLEXREGION);
  for (int y = -1; y <= 6; ++y) {
    for (int x = -1; x <= 12; ++x) {
      EXPECT_EQ(::PtInRegion(copy, x, y) != FALSE, cut.Contains(x, y)) << x << "," << y;
    }
  }
  ::DeleteObject(copy);

  gdi.SetWindowRgn(w.Handle(), Region(), false);
  EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kNull);
  gdi.SetWindowRgn(w.Handle(), std::nullopt, false);
  EXPECT_EQ(gdi.GetWindowRgnType(w.Handle()), RegionType::kError);
}

TEST(GdiPlatform, BackBuffersAreGdiSurfacesOfThePositiveSizesAsked) {
  GdiPlatform gdi;
  auto buffer = gdi.CreateBackBuffer(40, 12);
  ASSERT_NE(buffer, nullptr);
  EXPECT_NE(dynamic_cast<GdiSurface*>(buffer.get()), nullptr);
  EXPECT_EQ(buffer->Width(), 40);
  EXPECT_EQ(buffer->Height(), 12);
  EXPECT_EQ(gdi.CreateBackBuffer(0, 12), nullptr);
  EXPECT_EQ(gdi.CreateBackBuffer(40, -1), nullptr);
}

// --- themes ----------------------------------------------------------------------

// A theme platform and a window that can have visual styles; skips the test where
// the prefix has them off altogether.
class GdiThemes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdi.HasThemeApi());
    ASSERT_NE(window.Get(), nullptr);
    const ThemeHandle probe = gdi.OpenThemeData(0, u"Button");
    if (probe == 0) GTEST_SKIP() << "visual styles are off in this Wine prefix";
    gdi.CloseThemeData(probe);
  }
  GdiPlatform gdi;
  RealWindow window{100, 20};
};

TEST_F(GdiThemes, ThemesOpenForTheWindowUntilItsVisualStyleIsTurnedOff) {
  const ThemeHandle progress = gdi.OpenThemeData(window.Handle(), u"Progress");
  const ThemeHandle button = gdi.OpenThemeData(window.Handle(), u"Button");
  EXPECT_NE(progress, 0u);
  EXPECT_NE(button, 0u);
  gdi.CloseThemeData(progress);
  gdi.CloseThemeData(button);
  EXPECT_EQ(gdi.OpenThemeData(window.Handle(), u"NoSuchClass"), 0u);

  ASSERT_EQ(TurnVisualStylesOff(window.Get()), S_OK);
  EXPECT_EQ(gdi.OpenThemeData(window.Handle(), u"Progress"), 0u);
  EXPECT_EQ(gdi.OpenThemeData(window.Handle(), u"Button"), 0u);
  RealWindow other(10, 10);
  const ThemeHandle elsewhere = gdi.OpenThemeData(other.Handle(), u"Button");
  EXPECT_NE(elsewhere, 0u) << "only that window lost its style";
  gdi.CloseThemeData(elsewhere);
}

TEST_F(GdiThemes, TheCurrentThemeIsWinesLightStyle) {
  char16_t file[256], color[256], size[256];
  ASSERT_EQ(gdi.GetCurrentThemeName(file, color, size, 256), kSOk);
  EXPECT_TRUE(EndsWith(Lower(file), u"\\light\\light.msstyles")) << Lower(file).size();
  EXPECT_EQ(std::u16string(color), u"Blue");
  EXPECT_EQ(std::u16string(size), u"NormalSize");
  // A short buffer gets what fits, terminated.
  ASSERT_EQ(gdi.GetCurrentThemeName(file, color, size, 5), kSOk);
  EXPECT_EQ(std::u16string(color), u"Blue");
  EXPECT_EQ(std::u16string(size), u"Norm");
}

TEST_F(GdiThemes, ColorXPReadsTheRealThemeIdentity) {
  const WindowHandle hwnd = window.Handle();
  bool canTheme = false, active = false;
  std::u16string file, color;
  std::thread([&] {
    CColorXP colors(gdi);
    canTheme = modVersionEx::IsWinXPOrLater(gdi);
    active = colors.IsVisualStyleActive(hwnd);
    file = colors.ThemeFileName(hwnd);
    color = colors.ThemeColorName(hwnd);
  }).join();
  if (!canTheme) GTEST_SKIP() << "this Windows version has no visual styles";
  EXPECT_TRUE(active);
  EXPECT_TRUE(EndsWith(file, u"\\LIGHT\\LIGHT.MSSTYLES"));
  EXPECT_EQ(color, u"BLUE");
}

TEST_F(GdiThemes, ProgressThemeIntegersAreReadAndUnknownOnesRefused) {
  const ThemeHandle progress = gdi.OpenThemeData(window.Handle(), u"Progress");
  ASSERT_NE(progress, 0u);
  int chunk = -1, space = -1, other = -7;
  EXPECT_EQ(gdi.GetThemeInt(progress, 0, 0, kTmtProgressChunkSize, chunk), kSOk);
  EXPECT_EQ(gdi.GetThemeInt(progress, 0, 0, kTmtProgressSpaceSize, space), kSOk);
  EXPECT_GE(chunk, 0);
  EXPECT_GE(space, 0);
  EXPECT_NE(gdi.GetThemeInt(progress, 0, 0, 9999, other), kSOk);
  EXPECT_EQ(other, -7);
  EXPECT_NE(gdi.GetThemeInt(0, 0, 0, kTmtProgressChunkSize, other), kSOk);
  gdi.CloseThemeData(progress);
}

TEST_F(GdiThemes, ProgressPartsDrawOnAGdiSurfaceWithinTheClip) {
  const ThemeHandle progress = gdi.OpenThemeData(window.Handle(), u"Progress");
  ASSERT_NE(progress, 0u);
  constexpr ColorRef kBack = Rgb(1, 2, 3);
  for (int part = 1; part <= 4; ++part) {
    auto dib = GdiSurface::CreateDibSection(40, 20);
    ASSERT_NE(dib, nullptr);
    dib->FillRect(Rect{0, 0, 40, 20}, kBack);
    const Rect clip{10, 0, 30, 20};
    ASSERT_EQ(gdi.DrawThemeBackground(progress, *dib, part, part >= 3 ? 1 : 0, Rect{0, 0, 40, 20},
                                      &clip),
              kSOk)
        << part;
    int drawn = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= 10 && x < 30;
        if (!inside) {
          EXPECT_EQ(dib->GetPixel(x, y), kBack) << part << ": " << x << "," << y;
        } else if (dib->GetPixel(x, y) != kBack) {
          ++drawn;
        }
      }
    }
    EXPECT_GT(drawn, 0) << "part " << part << " drew nothing";
  }
  SoftSurface soft(4, 4, gdi);
  EXPECT_EQ(gdi.DrawThemeBackground(progress, soft, 1, 0, Rect{0, 0, 4, 4}, nullptr), kEInvalidArg);
  gdi.CloseThemeData(progress);
}

TEST(GdiPlatform, ParentBackgroundIsWhatTheParentPaints) {
  GdiPlatform gdi;
  const COLORREF parentColor = RGB(10, 120, 230);
  RealWindow parent(60, 40, nullptr, 0, 0, parentColor);
  RealWindow child(30, 10, parent.Get(), 5, 5);
  ASSERT_NE(child.Get(), nullptr);
  auto dib = GdiSurface::CreateDibSection(30, 10);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(gdi.DrawThemeParentBackground(child.Handle(), *dib, Rect{0, 0, 30, 10}), kSOk);
  EXPECT_EQ(dib->GetPixel(0, 0), parentColor);
  EXPECT_EQ(dib->GetPixel(29, 9), parentColor);
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
  ASSERT_NE(dib, nullptr);
  EXPECT_NE(gdi.DrawThemeBackground(0x1234, *dib, 1, 0, Rect{0, 0, 8, 8}, nullptr), kSOk);
  EXPECT_NE(gdi.DrawThemeParentBackground(w.Handle(), *dib, Rect{0, 0, 8, 8}), kSOk);
  EXPECT_EQ(dib->GetPixel(4, 4), 0u);

  bool active = true;
  std::u16string name = u"unset";
  std::thread([&] {
    CColorXP colors(gdi);
    active = colors.IsVisualStyleActive(w.Handle());
    name = colors.ThemeFileName(w.Handle());
  }).join();
  EXPECT_FALSE(active);
  EXPECT_EQ(name, u"");
}

}  // namespace
}  // namespace vantiq
