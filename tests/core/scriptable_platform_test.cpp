// The scriptable platform behaves as the Windows calls it stands in for.
#include "backends/soft/scriptable_platform.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "backends/soft/soft_surface.h"
#include "support/ole_color_cases.h"
#include "support/test_surface.h"

namespace vantiq {
namespace {

using P = ScriptablePlatform;

// --- version ---------------------------------------------------------------------

TEST(ScriptableVersion, NamedVersionsFillTheRecordAsWindowsDoes) {
  struct Expected {
    const char* name;
    std::uint32_t platformId, major, minor, build;
  };
  const Expected all[] = {
      {"win98", 1, 4, 10, 0x040A08AE}, {"winme", 1, 4, 90, 0x045A0BB8},
      {"win2k", 2, 5, 0, 2195},        {"winxp", 2, 5, 1, 2600},
      {"win2003", 2, 5, 2, 3790},      {"vista", 2, 6, 0, 6002},
      {"win7", 2, 6, 1, 7601},         {"win10", 2, 10, 0, 19045},
  };
  for (const Expected& e : all) {
    P p;
    p.SetVersion(e.name);
    OsVersionInfo info;
    ASSERT_TRUE(p.GetVersionExA(info)) << e.name;
    EXPECT_EQ(info.dwPlatformId, e.platformId) << e.name;
    EXPECT_EQ(info.dwMajorVersion, e.major) << e.name;
    EXPECT_EQ(info.dwMinorVersion, e.minor) << e.name;
    EXPECT_EQ(info.dwBuildNumber, e.build) << e.name;
    EXPECT_EQ(info.dwOSVersionInfoSize, 148u) << e.name;
  }
  EXPECT_THROW(P().SetVersion("win31"), std::invalid_argument);
}

TEST(ScriptableVersion, DefaultsToWindows7AndAnswersOnlyRecordSizesWindowsKnows) {
  P p;
  OsVersionInfo info;
  info.dwOSVersionInfoSize = 156;  // OSVERSIONINFOEXA
  ASSERT_TRUE(p.GetVersionExA(info));
  EXPECT_EQ(info.dwOSVersionInfoSize, 156u);
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 7601u);
  OsVersionInfo bad;
  bad.dwOSVersionInfoSize = 0;
  EXPECT_FALSE(p.GetVersionExA(bad));
  EXPECT_EQ(bad.dwMajorVersion, 0u) << "a refused query leaves the record alone";
  p.versionQueryFails = true;
  EXPECT_FALSE(p.GetVersionExA(info));
  EXPECT_EQ(p.versionQueries, 3);
}

// --- libraries -------------------------------------------------------------------

TEST(ScriptableLibraries, NamesLoadWithoutRegardToCaseAndWithLoadLibrarysExtensionRule) {
  P p;
  for (const char* name : {"msimg32.dll", "MSIMG32.DLL", "Msimg32.Dll", "msimg32"}) {
    const ModuleHandle m = p.LoadLibraryA(name);
    EXPECT_NE(m, 0u) << name;
    EXPECT_TRUE(p.GetProcAddress(m, "GradientFill")) << name;
  }
  EXPECT_EQ(p.librariesLoaded, 4);
  // A trailing dot asks for a file without any extension.
  EXPECT_EQ(p.LoadLibraryA("msimg32."), 0u);
  EXPECT_EQ(p.LoadLibraryA("msimg32.dl"), 0u);
  EXPECT_EQ(p.LoadLibraryA("uxtheme.dll"), 0u);
  EXPECT_EQ(p.librariesLoaded, 4);
}

TEST(ScriptableLibraries, ExportsAreMatchedExactlyAndOnlyWhileLoadedAndFreesCountOnce) {
  P p;
  p.libraries["Custom.DLL"] = {"Entry"};
  const ModuleHandle m = p.LoadLibraryA("custom.dll");
  ASSERT_NE(m, 0u);
  EXPECT_TRUE(p.GetProcAddress(m, "Entry"));
  EXPECT_FALSE(p.GetProcAddress(m, "entry"));
  EXPECT_FALSE(p.GetProcAddress(m, "GradientFill")) << "another library's export";
  EXPECT_EQ(p.librariesLoaded, 1);
  p.FreeLibrary(m);
  p.FreeLibrary(m);
  p.FreeLibrary(12345);
  EXPECT_EQ(p.librariesLoaded, 0) << "only a loaded module counts down, once";
  EXPECT_FALSE(p.GetProcAddress(m, "Entry"));
  EXPECT_FALSE(p.GetProcAddress(0, "Entry"));
}

// --- colours ---------------------------------------------------------------------

TEST(ScriptableColors, DefaultsAreWindowsXpLunaColours) {
  P p;
  EXPECT_EQ(p.GetSysColor(kColorBtnFace), Rgb(236, 233, 216));
  EXPECT_EQ(p.GetSysColor(kColorHighlight), Rgb(49, 106, 197));
  EXPECT_EQ(p.GetSysColor(kColorHighlightText), Rgb(255, 255, 255));
  EXPECT_EQ(p.GetSysColor(kColorBtnShadow), Rgb(172, 168, 153));
  EXPECT_EQ(p.GetSysColor(kColorBtnHighlight), Rgb(255, 255, 255));
  EXPECT_EQ(p.GetSysColor(kColor3dDkShadow), Rgb(113, 111, 100));
  EXPECT_EQ(p.GetSysColor(kColor3dLight), Rgb(241, 239, 226));
  EXPECT_EQ(p.GetSysColor(30), Rgb(236, 233, 216));  // COLOR_MENUBAR
  EXPECT_EQ(p.GetSysColor(5), Rgb(255, 255, 255));   // COLOR_WINDOW
  EXPECT_EQ(p.GetSysColor(8), Rgb(0, 0, 0));         // COLOR_WINDOWTEXT
}

TEST(ScriptableColors, IndexesOutsideTheTableAnswerZero) {
  P p;
  p.sysColors.fill(Rgb(1, 2, 3));
  EXPECT_EQ(p.GetSysColor(0), Rgb(1, 2, 3));
  EXPECT_EQ(p.GetSysColor(30), Rgb(1, 2, 3));
  EXPECT_EQ(p.GetSysColor(31), 0u);
  EXPECT_EQ(p.GetSysColor(-1), 0u);
  EXPECT_EQ(p.GetSysColor(1000), 0u);
}

TEST(ScriptableColors, OleTranslateColorDecidesAsOleaut32) {
  P p;
  for (int i = 0; i < 31; ++i) p.sysColors[i] = Rgb(i, 100 + i, 200 - i);
  for (const testing::OleColorCase& c : testing::kOleColorCases) {
    ColorRef out = 0xDEADBEEF;
    EXPECT_EQ(p.OleTranslateColor(c.input, out), c.result) << std::hex << c.input;
    if (c.result != kSOk) {
      EXPECT_EQ(out, 0xDEADBEEFu) << "a refused colour leaves the output alone";
    } else if (c.systemIndex < 0) {
      EXPECT_EQ(out, c.input) << std::hex << c.input;
    } else {
      EXPECT_EQ(out, p.sysColors[c.systemIndex]) << std::hex << c.input;
    }
  }
}

// --- windows ---------------------------------------------------------------------

TEST(ScriptableWindows, WindowsAreRecordsUntilDestroyed) {
  P p;
  const WindowHandle a = p.CreateWindow(100, 20);
  const WindowHandle b = p.CreateWindow(7, 9);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_TRUE(p.IsWindow(a));
  EXPECT_FALSE(p.IsWindow(0));
  EXPECT_EQ(p.GetClientRect(a), (Rect{0, 0, 100, 20}));
  EXPECT_EQ(p.GetClientRect(b), (Rect{0, 0, 7, 9}));
  p.Window(a)->client = Rect{0, 0, 50, 10};
  EXPECT_EQ(p.GetClientRect(a), (Rect{0, 0, 50, 10}));
  p.DestroyWindow(a);
  EXPECT_FALSE(p.IsWindow(a));
  EXPECT_EQ(p.Window(a), nullptr);
  EXPECT_EQ(p.GetClientRect(a), Rect{});
  EXPECT_TRUE(p.IsWindow(b));
}

TEST(ScriptableWindows, RegionsAreRecordedAndReportTheirType) {
  P p;
  const WindowHandle hwnd = p.CreateWindow(10, 6);
  EXPECT_EQ(p.GetWindowRgnType(hwnd), RegionType::kError) << "no region yet";

  p.SetWindowRgn(hwnd, Region(Rect{0, 0, 10, 6}), true);
  EXPECT_EQ(p.GetWindowRgnType(hwnd), RegionType::kSimple);

  Region cut(Rect{0, 0, 10, 6});
  cut.Subtract(Rect{0, 0, 1, 1});
  p.SetWindowRgn(hwnd, cut, false);
  EXPECT_EQ(p.GetWindowRgnType(hwnd), RegionType::kComplex);
  ASSERT_TRUE(p.Window(hwnd)->region.has_value());
  EXPECT_EQ(*p.Window(hwnd)->region, cut);

  p.SetWindowRgn(hwnd, Region(), true);
  EXPECT_EQ(p.GetWindowRgnType(hwnd), RegionType::kNull);

  p.SetWindowRgn(hwnd, std::nullopt, true);
  EXPECT_EQ(p.GetWindowRgnType(hwnd), RegionType::kError);
  EXPECT_EQ(p.Window(hwnd)->setRegionCalls, 4);

  p.SetWindowRgn(0x9999, Region(Rect{0, 0, 1, 1}), true);
  EXPECT_EQ(p.GetWindowRgnType(0x9999), RegionType::kError);
}

// --- themes ----------------------------------------------------------------------

TEST(ScriptableThemes, OpenThemeDataNeedsTheApiVisualStylesAWindowAndAKnownClass) {
  P p;
  const WindowHandle hwnd = p.CreateWindow(10, 10);
  EXPECT_EQ(p.OpenThemeData(0, u"Progress"), 0u);
  EXPECT_EQ(p.OpenThemeData(0x4444, u"Progress"), 0u);
  EXPECT_EQ(p.OpenThemeData(hwnd, u"Rebar"), 0u);
  EXPECT_EQ(p.OpenThemeData(hwnd, u""), 0u);
  p.visualStyles = false;
  EXPECT_EQ(p.OpenThemeData(hwnd, u"Progress"), 0u);
  p.visualStyles = true;
  p.themeApiPresent = false;
  EXPECT_EQ(p.OpenThemeData(hwnd, u"Progress"), 0u);
  EXPECT_EQ(p.themesOpen, 0);
  EXPECT_EQ(p.themeCalls, 6);
}

TEST(ScriptableThemes, HandlesAreCountedUntilClosed) {
  P p;
  const WindowHandle hwnd = p.CreateWindow(10, 10);
  const ThemeHandle progress = p.OpenThemeData(hwnd, u"Progress");
  const ThemeHandle button = p.OpenThemeData(hwnd, u"BUTTON");
  const ThemeHandle listed = p.OpenThemeData(hwnd, u"Rebar;progress");
  EXPECT_NE(progress, 0u);
  EXPECT_NE(button, 0u);
  EXPECT_NE(listed, 0u);
  EXPECT_NE(progress, button);
  EXPECT_EQ(p.themesOpen, 3);
  p.CloseThemeData(progress);
  p.CloseThemeData(progress);
  p.CloseThemeData(0);
  EXPECT_EQ(p.themesOpen, 2);
  p.CloseThemeData(button);
  p.CloseThemeData(listed);
  EXPECT_EQ(p.themesOpen, 0);
}

TEST(ScriptableThemes, ThemeIntegersAreTheProgressChunkAndSpaceSizes) {
  P p;
  const WindowHandle hwnd = p.CreateWindow(10, 10);
  const ThemeHandle progress = p.OpenThemeData(hwnd, u"Progress");
  int value = -1;
  EXPECT_EQ(p.GetThemeInt(progress, 0, 0, 2411, value), kSOk);
  EXPECT_EQ(value, 8);
  EXPECT_EQ(p.GetThemeInt(progress, 0, 0, 2412, value), kSOk);
  EXPECT_EQ(value, 2);
  p.themeChunkSize = 0;
  p.themeSpaceSize = 5;
  EXPECT_EQ(p.GetThemeInt(progress, 3, 1, 2411, value), kSOk);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(p.GetThemeInt(progress, 3, 1, 2412, value), kSOk);
  EXPECT_EQ(value, 5);

  value = -1;
  EXPECT_NE(p.GetThemeInt(progress, 0, 0, 2413, value), kSOk);
  const ThemeHandle button = p.OpenThemeData(hwnd, u"Button");
  EXPECT_NE(p.GetThemeInt(button, 0, 0, 2411, value), kSOk);
  p.CloseThemeData(progress);
  EXPECT_NE(p.GetThemeInt(progress, 0, 0, 2411, value), kSOk);
  EXPECT_EQ(value, -1) << "failures leave the output alone";
}

TEST(ScriptableThemes, CurrentThemeNameCopiesLikeLstrcpyn) {
  P p;
  char16_t file[256], color[256], size[256];
  ASSERT_EQ(p.GetCurrentThemeName(file, color, size, 256), kSOk);
  EXPECT_EQ(std::u16string(file), p.themeFile);
  EXPECT_EQ(std::u16string(color), u"NormalColor");
  EXPECT_EQ(std::u16string(size), u"NormalSize");

  ASSERT_EQ(p.GetCurrentThemeName(file, color, size, 5), kSOk);
  EXPECT_EQ(std::u16string(file), u"C:\\W");
  EXPECT_EQ(std::u16string(color), u"Norm");
  EXPECT_EQ(std::u16string(size), u"Norm");

  ASSERT_EQ(p.GetCurrentThemeName(nullptr, color, nullptr, 256), kSOk);
  EXPECT_EQ(std::u16string(color), u"NormalColor");
}

TEST(ScriptableThemes, CurrentThemeNameFailsWithoutAVisualStyleOrTheApi) {
  P p;
  char16_t file[8] = u"keep", color[8], size[8];
  p.visualStyles = false;
  EXPECT_NE(p.GetCurrentThemeName(file, color, size, 8), kSOk);
  p.visualStyles = true;
  p.themeApiPresent = false;
  EXPECT_NE(p.GetCurrentThemeName(file, color, size, 8), kSOk);
  EXPECT_EQ(std::u16string(file), u"keep");
}

// --- the themed look -------------------------------------------------------------

constexpr ColorRef kBack = Rgb(1, 2, 3);

std::unique_ptr<Surface> Blank(int w, int h) {
  auto s = MakeTestSurface(w, h, HostSystemColors());
  s->FillRect(Rect{0, 0, w, h}, kBack);
  return s;
}

// Compares the surface with a picture, one character a pixel.
::testing::AssertionResult Looks(const Surface& s, const std::vector<std::string>& rows,
                                 const std::map<char, ColorRef>& legend) {
  bool same = static_cast<int>(rows.size()) == s.Height();
  std::ostringstream actual;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const ColorRef got = s.GetPixel(x, y);
      char shown = '?';
      for (const auto& [c, color] : legend) {
        if (color == got) shown = c;
      }
      if (y >= static_cast<int>(rows.size()) || x >= static_cast<int>(rows[y].size()) ||
          rows[y][x] != shown) {
        same = false;
      }
      actual << shown;
    }
    actual << '\n';
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the surface shows\n" << actual.str();
}

const std::map<char, ColorRef> kBarLegend = {
    {'.', kBack}, {'#', P::kThemeBarFrame}, {'-', P::kThemeBarFill}, {'w', P::kThemeBarShine}};

struct ThemedRig {
  P platform;
  WindowHandle hwnd = platform.CreateWindow(12, 8);
  ThemeHandle progress = platform.OpenThemeData(hwnd, u"Progress");
};

TEST(ScriptableThemedLook, TheHorizontalBarIsAFrameAroundALightFillLitAlongItsTop) {
  ThemedRig rig;
  auto s = Blank(12, 8);
  ASSERT_EQ(rig.platform.DrawThemeBackground(rig.progress, *s, 1, 0, Rect{1, 1, 11, 7}, nullptr),
            kSOk);
  EXPECT_TRUE(Looks(*s,
                    {"............",
                     ".##########.",
                     ".#wwwwwwww#.",
                     ".#--------#.",
                     ".#--------#.",
                     ".#--------#.",
                     ".##########.",
                     "............"},
                    kBarLegend));
}

TEST(ScriptableThemedLook, TheVerticalBarIsLitAlongItsLeftSide) {
  ThemedRig rig;
  auto s = Blank(12, 8);
  ASSERT_EQ(rig.platform.DrawThemeBackground(rig.progress, *s, 2, 0, Rect{0, 0, 6, 8}, nullptr),
            kSOk);
  EXPECT_TRUE(Looks(*s,
                    {"######......",
                     "#w---#......",
                     "#w---#......",
                     "#w---#......",
                     "#w---#......",
                     "#w---#......",
                     "#w---#......",
                     "######......"},
                    kBarLegend));
}

TEST(ScriptableThemedLook, TheClipRectangleLimitsTheBarWithinTheSurfacesOwnClip) {
  ThemedRig rig;
  auto s = Blank(12, 8);
  const Rect clip{4, 0, 9, 8};
  ASSERT_EQ(rig.platform.DrawThemeBackground(rig.progress, *s, 1, 0, Rect{1, 1, 11, 7}, &clip),
            kSOk);
  EXPECT_FALSE(s->Clip().has_value()) << "the surface's clip is put back";
  EXPECT_TRUE(Looks(*s,
                    {"............",
                     "....#####...",
                     "....wwwww...",
                     "....-----...",
                     "....-----...",
                     "....-----...",
                     "....#####...",
                     "............"},
                    kBarLegend));

  auto t = Blank(12, 8);
  t->SetClip(Rect{0, 3, 6, 8});
  ASSERT_EQ(rig.platform.DrawThemeBackground(rig.progress, *t, 1, 0, Rect{1, 1, 11, 7}, &clip),
            kSOk);
  EXPECT_EQ(t->Clip(), (std::optional<Rect>(Rect{0, 3, 6, 8})));
  EXPECT_TRUE(Looks(*t,
                    {"............",
                     "............",
                     "............",
                     "....--......",
                     "....--......",
                     "....--......",
                     "....##......",
                     "............"},
                    kBarLegend));
}

TEST(ScriptableThemedLook, HorizontalChunksShadeFromLightTopToDarkBottom) {
  ThemedRig rig;
  auto s = Blank(12, 8);
  const Rect chunk{2, 1, 9, 7};
  ASSERT_EQ(rig.platform.DrawThemeBackground(rig.progress, *s, 3, 1, chunk, nullptr), kSOk);
  EXPECT_EQ(s->GetPixel(2, 1), P::kThemeChunkLight);
  for (int y = chunk.top; y < chunk.bottom; ++y) {
    for (int x = chunk.left; x < chunk.right; ++x) {
      EXPECT_EQ(s->GetPixel(x, y), s->GetPixel(chunk.left, y)) << x << "," << y;
    }
    if (y > chunk.top) {
      const ColorRef above = s->GetPixel(chunk.left, y - 1), here = s->GetPixel(chunk.left, y);
      EXPECT_LT(GreenOf(here), GreenOf(above)) << y;
      EXPECT_LT(BlueOf(here), BlueOf(above)) << y;
    }
  }
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(s->GetPixel(x, 0), kBack);
    EXPECT_EQ(s->GetPixel(x, 7), kBack);
  }
  EXPECT_EQ(s->GetPixel(1, 3), kBack);
  EXPECT_EQ(s->GetPixel(9, 3), kBack);
}

TEST(ScriptableThemedLook, VerticalChunksShadeFromLightLeftToDarkRight) {
  ThemedRig rig;
  auto s = Blank(12, 8);
  const Rect chunk{1, 2, 11, 6};
  const Rect clip{0, 0, 12, 4};
  ASSERT_EQ(rig.platform.DrawThemeBackground(rig.progress, *s, 4, 0, chunk, &clip), kSOk);
  EXPECT_EQ(s->GetPixel(1, 2), P::kThemeChunkLight);
  for (int x = chunk.left; x < chunk.right; ++x) {
    EXPECT_EQ(s->GetPixel(x, 3), s->GetPixel(x, 2)) << x;
    EXPECT_EQ(s->GetPixel(x, 4), kBack) << "clipped away at " << x;
    if (x > chunk.left) {
      EXPECT_LT(GreenOf(s->GetPixel(x, 2)), GreenOf(s->GetPixel(x - 1, 2))) << x;
    }
  }
}

TEST(ScriptableThemedLook, OnlyTheFourProgressPartsOfAnOpenThemeDraw) {
  ThemedRig rig;
  const ThemeHandle button = rig.platform.OpenThemeData(rig.hwnd, u"Button");
  auto s = Blank(12, 8);
  const Rect all{0, 0, 12, 8};
  EXPECT_NE(rig.platform.DrawThemeBackground(rig.progress, *s, 0, 0, all, nullptr), kSOk);
  EXPECT_NE(rig.platform.DrawThemeBackground(rig.progress, *s, 5, 0, all, nullptr), kSOk);
  EXPECT_NE(rig.platform.DrawThemeBackground(button, *s, 1, 0, all, nullptr), kSOk);
  EXPECT_NE(rig.platform.DrawThemeBackground(0x7777, *s, 1, 0, all, nullptr), kSOk);
  rig.platform.CloseThemeData(rig.progress);
  EXPECT_NE(rig.platform.DrawThemeBackground(rig.progress, *s, 1, 0, all, nullptr), kSOk);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(s->GetPixel(x, y), kBack) << x << "," << y;
}

TEST(ScriptableThemedLook, TheParentBackgroundIsButtonFace) {
  P p;
  p.sysColors[kColorBtnFace] = Rgb(10, 20, 30);
  const WindowHandle hwnd = p.CreateWindow(12, 8);
  auto s = Blank(12, 8);
  EXPECT_EQ(p.DrawThemeParentBackground(hwnd, *s, Rect{2, 2, 5, 4}), kSOk);
  EXPECT_EQ(s->GetPixel(2, 2), Rgb(10, 20, 30));
  EXPECT_EQ(s->GetPixel(4, 3), Rgb(10, 20, 30));
  EXPECT_EQ(s->GetPixel(5, 3), kBack);
  EXPECT_EQ(s->GetPixel(4, 4), kBack);

  auto t = Blank(12, 8);
  EXPECT_NE(p.DrawThemeParentBackground(0x4444, *t, Rect{0, 0, 12, 8}), kSOk);
  p.themeApiPresent = false;
  EXPECT_NE(p.DrawThemeParentBackground(hwnd, *t, Rect{0, 0, 12, 8}), kSOk);
  EXPECT_EQ(t->GetPixel(6, 4), kBack);
}

// --- back buffers ----------------------------------------------------------------

TEST(ScriptableBackBuffers, TheDefaultIsASoftwareSurfaceOverThePlatformsColours) {
  P p;
  p.sysColors[kColorBtnShadow] = Rgb(9, 8, 7);
  auto buffer = p.CreateBackBuffer(30, 12);
  ASSERT_NE(buffer, nullptr);
  EXPECT_NE(dynamic_cast<SoftSurface*>(buffer.get()), nullptr);
  EXPECT_EQ(buffer->Width(), 30);
  EXPECT_EQ(buffer->Height(), 12);
  EXPECT_EQ(buffer->GetPixel(29, 11), 0u) << "a new buffer is black";
  buffer->SunkenEdge(Rect{0, 0, 30, 12}, EdgeKind::kSunkenOuter);
  EXPECT_EQ(buffer->GetPixel(15, 0), Rgb(9, 8, 7)) << "the outer top line is the shadow colour";
}

TEST(ScriptableBackBuffers, AFactoryReplacesTheDefaultAndNoSizeOrAFailureGivesNone) {
  P p;
  std::vector<std::pair<int, int>> asked;
  p.backBufferFactory = [&](int w, int h) {
    asked.emplace_back(w, h);
    return std::make_unique<SoftSurface>(w + 1, h + 1, p);
  };
  auto buffer = p.CreateBackBuffer(4, 5);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->Width(), 5);
  EXPECT_EQ(p.CreateBackBuffer(0, 5), nullptr);
  EXPECT_EQ(p.CreateBackBuffer(4, -1), nullptr);
  p.backBufferFails = true;
  EXPECT_EQ(p.CreateBackBuffer(4, 5), nullptr);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{4, 5}}));
}

}  // namespace
}  // namespace vantiq
