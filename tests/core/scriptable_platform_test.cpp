// The scriptable platform stands in for Windows in every other test; these cases hold
// it to the answers those tests rely on.
#include "backends/soft/scriptable_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "backends/soft/soft_surface.h"
#include "support/ole_color_cases.h"
#include "support/picture.h"

namespace vantiq {
namespace {

using P = ScriptablePlatform;
using testing::BlankSurface;
using testing::Looks;
using Picture = std::vector<std::string>;

using Record = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

TEST(ScriptablePlatform, NamedVersionsFillTheRecordAndQueriesAreCounted) {
  const std::pair<const char*, Record> all[] = {  // platform, major, minor, build
      {"win98", {1, 4, 10, 0x040A08AE}}, {"winme", {1, 4, 90, 0x045A0BB8}}, {"win2k", {2, 5, 0, 2195}},
      {"winxp", {2, 5, 1, 2600}}, {"win2003", {2, 5, 2, 3790}}, {"vista", {2, 6, 0, 6002}},
      {"win7", {2, 6, 1, 7601}}, {"win10", {2, 10, 0, 19045}}};
  for (const auto& [name, record] : all) {
    P p;
    p.SetVersion(name);
    const OsVersionInfo& v = p.version;
    EXPECT_EQ(Record(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber), record);
  }
  EXPECT_THROW(P().SetVersion("win31"), std::invalid_argument);
  P p;
  OsVersionInfo info{0};
  EXPECT_FALSE(p.GetVersionExA(info)) << "only the sizes of the two records are accepted";
  p.versionQueryFails = true;
  info.dwOSVersionInfoSize = 148;
  EXPECT_FALSE(p.GetVersionExA(info));
  EXPECT_EQ(p.versionQueries, 2);
}

TEST(ScriptablePlatform, LibrariesLoadIgnoringCaseExportsMatchExactlyAndFreesCountOnce) {
  P p;
  // A name without an extension gets ".dll"; a trailing dot stands for none.
  for (auto [name, loads] : {std::pair{"msimg32.dll", true}, {"MSIMG32.DLL", true}, {"Msimg32", true},
                             {"msimg32.", false}, {"msimg32.dl", false}, {"uxtheme.dll", false}})
    EXPECT_EQ(p.LoadLibraryA(name) != 0, loads) << name;
  p.libraries["Custom.DLL"] = {"Entry"};
  const ModuleHandle custom = p.LoadLibraryA("CUSTOM");
  EXPECT_EQ(p.librariesLoaded, 4);
  EXPECT_TRUE(p.GetProcAddress(custom, "Entry"));
  EXPECT_FALSE(p.GetProcAddress(custom, "entry"));
  EXPECT_FALSE(p.GetProcAddress(custom, "GradientFill")) << "another library's export";
  p.FreeLibrary(custom);
  p.FreeLibrary(custom);
  p.FreeLibrary(12345);
  EXPECT_EQ(p.librariesLoaded, 3) << "only a loaded module counts down, once";
  EXPECT_FALSE(p.GetProcAddress(custom, "Entry"));
}

TEST(ScriptablePlatform, OleTranslateColorDecidesAsOleaut32) {
  P p;
  for (int i = 0; i < 31; ++i) p.sysColors[i] = Rgb(i, 100 + i, 200 - i);
  EXPECT_EQ(p.GetSysColor(-1) | p.GetSysColor(31), 0u);
  for (const testing::OleColorCase& c : testing::kOleColorCases) {
    ColorRef out = 0xDEADBEEF;
    EXPECT_EQ(p.OleTranslateColor(c.input, out), c.result) << std::hex << c.input;
    const ColorRef want = c.result != kSOk      ? 0xDEADBEEFu  // a refusal leaves it alone
                          : c.systemIndex < 0 ? c.input
                                              : p.sysColors[c.systemIndex];
    EXPECT_EQ(out, want) << std::hex << c.input;
  }
}

// Themes open only when every switch allows; only an open "Progress" theme draws.
TEST(ScriptablePlatform, ThemesOpenDrawAndAreCountedUntilClosed) {
  enum Setup { kStyled, kNoStyles, kNoThemeApi, kWindowZero, kUnknownWindow };
  enum Theme { kNone, kOpen, kDraws };
  struct Case { Setup setup; const char16_t* classes; Theme theme; };
  const Case cases[] = {{kStyled, u"Progress", kDraws}, {kStyled, u"Rebar;progress", kDraws}, {kStyled, u"BUTTON", kOpen},
                        {kStyled, u"Rebar", kNone}, {kStyled, u"", kNone}, {kNoStyles, u"Progress", kNone},
                        {kNoThemeApi, u"Progress", kNone}, {kWindowZero, u"Progress", kNone},
                        {kUnknownWindow, u"Progress", kNone}};
  for (const Case& c : cases) {
    P p;
    p.visualStyles = c.setup != kNoStyles;
    p.themeApiPresent = c.setup != kNoThemeApi;
    const WindowHandle live = p.AddWindow(10, 10);
    const ThemeHandle theme = p.OpenThemeData(
        c.setup == kWindowZero ? 0 : c.setup == kUnknownWindow ? live + 4 : live, c.classes);
    EXPECT_EQ(theme != 0, c.theme != kNone) << c.setup;
    EXPECT_EQ(p.themesOpen, c.theme != kNone ? 1 : 0) << c.setup;
    auto s = BlankSurface(4, 4);
    const Rect all = {0, 0, 4, 4};
    EXPECT_EQ(p.DrawThemeBackground(theme, *s, 1, 0, all, nullptr) == kSOk, c.theme == kDraws);
    p.CloseThemeData(theme);
    p.CloseThemeData(theme);
    EXPECT_EQ(p.themesOpen, 0) << c.setup;
    EXPECT_NE(p.DrawThemeBackground(theme, *s, 1, 0, all, nullptr), kSOk) << "closed";
    EXPECT_EQ(p.themeCalls, 5) << "failed calls count too";
  }
}

// Bars: a frame ('#') round a light fill ('-'), lit ('w') along the top or left.
// Chunks: a gradient, light ('L') at the top or left; 'm' is the light-dark midpoint.
TEST(ScriptablePlatform, ThemedPartsAreDrawnInsideBothClipsAndOthersNotAtAll) {
  struct Case { int part; Rect rc; std::optional<Rect> clip, surfaceClip; Picture picture; };
  const std::optional<Rect> none, left{Rect{2, 0, 5, 5}};
  const Case cases[] = {
      {2, {0, 0, 4, 5}, none, none, {"####..", "#w-#..", "#w-#..", "#w-#..", "####.."}},
      {1, {0, 0, 6, 5}, left, none, {"..###.", "..www.", "..---.", "..---.", "..###."}},
      {1, {0, 0, 6, 5}, left, Rect{0, 2, 4, 5}, {"......", "......", "..--..", "..--..", "..##.."}},
      {3, {1, 1, 5, 3}, left, none, {"......", "..LLL.", "..mmm.", "......", "......"}},
      {4, {1, 1, 3, 4}, none, Rect{0, 2, 6, 5}, {"......", "......", ".Lm...", ".Lm...", "......"}},
      {0, {0, 0, 6, 5}, none, none, Picture(5, "......")},
      {5, {0, 0, 6, 5}, none, none, Picture(5, "......")},
  };
  for (const Case& c : cases) {
    P p;
    const ThemeHandle progress = p.OpenThemeData(p.AddWindow(6, 5), u"Progress");
    auto s = BlankSurface(6, 5);
    s->SetClip(c.surfaceClip);
    EXPECT_EQ(p.DrawThemeBackground(progress, *s, c.part, 1, c.rc, c.clip ? &*c.clip : nullptr),
              c.part == 0 || c.part == 5 ? kEFail : kSOk);
    EXPECT_EQ(s->Clip(), c.surfaceClip);
    EXPECT_TRUE(Looks(*s, c.picture,
                      {{'#', P::kThemeBarFrame}, {'-', P::kThemeBarFill}, {'w', P::kThemeBarShine},
                       {'L', P::kThemeChunkLight}, {'m', Rgb(83, 204, 98)}}))
        << c.part;
  }
}

TEST(ScriptablePlatform, BackBuffersComeFromTheFactoryOrAreSoftSurfacesOverItsColours) {
  P p;
  p.sysColors[kColorBtnShadow] = Rgb(9, 8, 7);
  auto buffer = p.CreateBackBuffer(30, 12);
  ASSERT_NE(dynamic_cast<SoftSurface*>(buffer.get()), nullptr);
  EXPECT_EQ(std::pair(buffer->Width(), buffer->Height()), std::pair(30, 12));
  buffer->SunkenEdge(Rect{0, 0, 30, 12}, EdgeKind::kSunkenOuter);
  EXPECT_EQ(buffer->GetPixel(15, 0), Rgb(9, 8, 7)) << "edges in the platform's colours";
  std::vector<std::pair<int, int>> asked;
  p.backBufferFactory = [&](int w, int h) {
    asked.emplace_back(w, h);
    return std::make_unique<SoftSurface>(w + 1, h + 1, p);
  };
  EXPECT_EQ(p.CreateBackBuffer(4, 5)->Width(), 5);
  EXPECT_EQ(p.CreateBackBuffer(0, 5), nullptr);
  EXPECT_EQ(p.CreateBackBuffer(4, -1), nullptr);
  p.backBufferFails = true;
  EXPECT_EQ(p.CreateBackBuffer(4, 5), nullptr);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{4, 5}}));
}

}  // namespace
}  // namespace vantiq
