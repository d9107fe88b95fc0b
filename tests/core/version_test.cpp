// The version and library tests against scripted Windows versions. The version
// tests remember their answers per thread, so every case runs on a thread of its own.
#include "platform/mod_version_ex.h"
#include "platform/mod_visual_styles.h"

#include <gtest/gtest.h>

#include <string>

#include "backends/soft/scriptable_platform.h"
#include "support/control_rig.h"

namespace vantiq {
namespace {

using testing::OnNewThread;
namespace mv = modVersionEx;
using Check = bool (*)(Platform&);

constexpr std::uint32_t k9x = kVerPlatformWin32Windows, kNT = kVerPlatformWin32Nt;
// In the order of the answer strings: 98SE ME NT 2000+ XP Vista XP+.
const Check kChecks[] = {mv::IsWin98SE, mv::IsWinME,    mv::IsWinNT,        mv::IsWin2000OrLater,
                         mv::IsWinXP,   mv::IsWinVista, mv::IsWinXPOrLater};

std::string Ask(Platform& p) {
  std::string answers;
  for (Check check : kChecks) answers += check(p) ? '1' : '0';
  return answers;
}

// Each record's answers (among them every record Wine reports, which the version program
// holds the real platform to); asked again after the record changes, every test but IsWinNT
// gives its remembered answer without asking the platform again.
TEST(VersionTests, EachRecordGetsItsSevenAnswersAndTheyAreRemembered) {
  struct Case { std::uint32_t platformId, major, minor, build; const char* answers; };
  const Case cases[] = {
      {k9x, 4, 10, 0x040A07CE, "1000000"},   // 98 first edition: the high word carries 4.10
      {k9x, 4, 10, 0x040A08AE, "1000000"}, {kNT, 10, 0, 18362, "0011001"},  // 98 SE; 10 as a manifest declares it
      {k9x, 4, 10, 0x80000000u, "0000000"},  // the build field compares signed
      {k9x, 4, 90, 0x045A0BB8, "0100000"}, {k9x, 4, 0, 0x04000395, "0000000"},  // ME, 95
      {k9x, 4, 10, 2222, "1000000"}, {k9x, 4, 10, 2221, "0000000"}, {k9x, 4, 90, 3000, "0100000"},
      {k9x, 4, 90, 2999, "0000000"}, {k9x, 5, 1, 2600, "0000000"},
      {k9x, 6, 1, 7601, "0000000"},  {kNT, 3, 51, 1057, "0000000"}, {kNT, 4, 0, 1381, "0010000"},
      {kNT, 4, 10, 2222, "0010000"}, {kNT, 4, 90, 3000, "0010000"}, {kNT, 5, 0, 2195, "0011000"},
      {kNT, 5, 1, 2600, "0011101"},  {kNT, 5, 1, 2599, "0011001"},  {kNT, 5, 2, 3790, "0011001"},
      {kNT, 5, 1, 0xFFFFFFFFu, "0011001"}, {kNT, 6, 0, 6002, "0011011"},
      {kNT, 6, 1, 7601, "0011011"},  {kNT, 6, 2, 9200, "0011011"},  {kNT, 10, 0, 19045, "0011001"},
      {0, 6, 1, 7601, "0000000"},  // Win32s
  };
  for (const Case& c : cases) {
    OnNewThread([&c] {
      ScriptablePlatform p;
      p.version = OsVersionInfo{148, c.major, c.minor, c.build, c.platformId};
      EXPECT_EQ(Ask(p), c.answers) << c.platformId << " " << c.major << "." << c.minor << "."
                                   << c.build;
      p.SetVersion(c.platformId == kNT ? "win98" : "win7");
      std::string again = c.answers;
      again[2] = c.platformId == kNT ? '0' : '1';
      EXPECT_EQ(Ask(p), again);
      EXPECT_EQ(p.versionQueries, 8);
    });
  }
}

// A failed query answers false; only IsWin2000OrLater remembers that.
TEST(VersionTests, AFailedQueryIsRememberedByIsWin2000OrLaterAlone) {
  const char* trueOn[] = {"win98", "winme", "win2k", "win2k", "winxp", "vista", "win2003"};
  for (int i = 0; i < 7; ++i) {
    OnNewThread([&, i] {
      const bool remembers = kChecks[i] == mv::IsWin2000OrLater;
      ScriptablePlatform p;
      p.SetVersion(trueOn[i]);
      p.versionQueryFails = true;
      EXPECT_FALSE(kChecks[i](p)) << "check " << i;
      p.versionQueryFails = false;
      EXPECT_EQ(kChecks[i](p), !remembers) << "check " << i;
      EXPECT_EQ(p.versionQueries, remembers ? 1 : 2) << "check " << i;
    });
  }
}

// A missing library must stop a test before any lookup or free of module 0.
class StrictPlatform : public ScriptablePlatform {
 public:
  bool GetProcAddress(ModuleHandle m, const std::string& name) override {
    EXPECT_NE(m, 0u) << name;
    return ScriptablePlatform::GetProcAddress(m, name);
  }
  void FreeLibrary(ModuleHandle m) override {
    EXPECT_NE(m, 0u);
    ScriptablePlatform::FreeLibrary(m);
  }
};

TEST(LibraryTests, AnswerAndFreeWhatTheyLoad) {
  struct Case { const char *library, *function; bool expected; };  // no function: IsDllPresent
  const Case cases[] = {
      {"MSIMG32.DLL", "GradientFill", true}, {"msimg32.dll", "NoSuchFunction", false},
      {"uxtheme.dll", "OpenThemeData", false}, {"msimg32", nullptr, true},
      {"uxtheme.dll", nullptr, false}};
  for (const Case& c : cases) {
    StrictPlatform p;
    const bool got = c.function ? modVisualStyles::IsFunctionExported(p, c.library, c.function)
                                : modVisualStyles::IsDllPresent(p, c.library);
    EXPECT_EQ(got, c.expected) << c.library << " " << (c.function ? c.function : "");
    EXPECT_EQ(p.librariesLoaded, 0) << c.library << ": loaded and not freed";
  }
}

}  // namespace
}  // namespace vantiq
