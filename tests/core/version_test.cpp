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

struct Answers {
  bool win98SE, winME, winNT, win2000OrLater, winXP, winVista, winXPOrLater;
};

Answers Ask(Platform& p) {
  return {mv::IsWin98SE(p),  mv::IsWinME(p),   mv::IsWinNT(p),        mv::IsWin2000OrLater(p),
          mv::IsWinXP(p),    mv::IsWinVista(p), mv::IsWinXPOrLater(p)};
}

std::string Describe(const Answers& a) {
  std::string s;
  for (bool b : {a.win98SE, a.winME, a.winNT, a.win2000OrLater, a.winXP, a.winVista,
                 a.winXPOrLater}) {
    s += b ? '1' : '0';
  }
  return s;  // 98SE ME NT 2000+ XP Vista XP+
}

// The seven answers for a version record, asked on a fresh thread.
std::string AnswersFor(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                       std::uint32_t build) {
  std::string result;
  OnNewThread([&] {
    ScriptablePlatform p;
    p.version.dwPlatformId = platformId;
    p.version.dwMajorVersion = major;
    p.version.dwMinorVersion = minor;
    p.version.dwBuildNumber = build;
    result = Describe(Ask(p));
  });
  return result;
}

std::string AnswersFor(const std::string& name) {
  std::string result;
  OnNewThread([&] {
    ScriptablePlatform p;
    p.SetVersion(name);
    result = Describe(Ask(p));
  });
  return result;
}

constexpr std::uint32_t k9x = kVerPlatformWin32Windows;
constexpr std::uint32_t kNT = kVerPlatformWin32Nt;

// Columns: 98SE ME NT 2000+ XP Vista XP+.
TEST(VersionTests, EachNamedWindowsVersionGetsItsSevenAnswers) {
  EXPECT_EQ(AnswersFor("win98"), "1000000");
  EXPECT_EQ(AnswersFor("winme"), "0100000");
  EXPECT_EQ(AnswersFor("win2k"), "0011000");
  EXPECT_EQ(AnswersFor("winxp"), "0011101");
  EXPECT_EQ(AnswersFor("win2003"), "0011001");
  EXPECT_EQ(AnswersFor("vista"), "0011011");
  EXPECT_EQ(AnswersFor("win7"), "0011011");
  EXPECT_EQ(AnswersFor("win10"), "0011001");
}

TEST(VersionTests, The9xBuildFieldIsComparedWholeAndSigned) {
  // Windows 98 first edition: high word 4.10, low word 1998. The whole field is far
  // above 2222, so it counts as 98 SE.
  EXPECT_EQ(AnswersFor(k9x, 4, 10, 0x040A07CE), "1000000");
  // A bare low word below the limits fails them; at the limits it passes.
  EXPECT_EQ(AnswersFor(k9x, 4, 10, 1998), "0000000");
  EXPECT_EQ(AnswersFor(k9x, 4, 10, 2222), "1000000");
  EXPECT_EQ(AnswersFor(k9x, 4, 10, 2221), "0000000");
  EXPECT_EQ(AnswersFor(k9x, 4, 90, 3000), "0100000");
  EXPECT_EQ(AnswersFor(k9x, 4, 90, 2999), "0000000");
  // A field with the top bit set is negative, so it is below every limit.
  EXPECT_EQ(AnswersFor(k9x, 4, 10, 0x80000000u), "0000000");
  EXPECT_EQ(AnswersFor(kNT, 5, 1, 0xFFFFFFFFu), "0011001");
  // Windows 95 and a 9x record with an NT version number are neither.
  EXPECT_EQ(AnswersFor(k9x, 4, 0, 0x04000395), "0000000");
  EXPECT_EQ(AnswersFor(k9x, 5, 1, 2600), "0000000");
}

TEST(VersionTests, NtVersionsAroundEachBoundary) {
  EXPECT_EQ(AnswersFor(kNT, 3, 51, 1057), "0000000");  // NT 3.51
  EXPECT_EQ(AnswersFor(kNT, 4, 0, 1381), "0010000");   // NT 4
  EXPECT_EQ(AnswersFor(kNT, 5, 1, 2599), "0011001");   // an XP pre-release build
  EXPECT_EQ(AnswersFor(kNT, 6, 2, 9200), "0011011");   // 8, and 10 without a manifest
  EXPECT_EQ(AnswersFor(kNT, 7, 0, 0), "0011001");      // anything after 6 is no Vista
  EXPECT_EQ(AnswersFor(0, 6, 1, 7601), "0000000");     // Win32s is neither family
}

TEST(VersionTests, AMemoisedTestAsksThePlatformOncePerThread) {
  using Test = bool (*)(Platform&);
  const Test memoised[] = {mv::IsWin98SE, mv::IsWinME, mv::IsWin2000OrLater, mv::IsWinXP,
                           mv::IsWinVista, mv::IsWinXPOrLater};
  for (Test test : memoised) {
    OnNewThread([test] {
      ScriptablePlatform p;
      p.SetVersion("winxp");
      const bool first = test(p);
      EXPECT_EQ(p.versionQueries, 1);
      // Not even another version makes it ask again.
      p.SetVersion("win98");
      EXPECT_EQ(test(p), first);
      EXPECT_EQ(p.versionQueries, 1);
      ScriptablePlatform other;
      other.SetVersion("win98");
      EXPECT_EQ(test(other), first);
      EXPECT_EQ(other.versionQueries, 0);
      // Another thread has memos of its own.
      OnNewThread([test, &other] {
        test(other);
        EXPECT_EQ(other.versionQueries, 1);
      });
    });
  }
}

TEST(VersionTests, IsWinNTAsksEveryTime) {
  OnNewThread([] {
    ScriptablePlatform p;
    p.SetVersion("win2k");
    EXPECT_TRUE(mv::IsWinNT(p));
    EXPECT_TRUE(mv::IsWinNT(p));
    EXPECT_EQ(p.versionQueries, 2);
    p.SetVersion("winme");
    EXPECT_FALSE(mv::IsWinNT(p));
    EXPECT_EQ(p.versionQueries, 3);
  });
}

TEST(VersionTests, AFailedQueryAnswersFalseAndIsNotRemembered) {
  struct Case {
    bool (*test)(Platform&);
    const char* version;  // one where the test answers true
  };
  const Case cases[] = {{mv::IsWin98SE, "win98"}, {mv::IsWinME, "winme"},
                        {mv::IsWinNT, "win2k"},   {mv::IsWinXP, "winxp"},
                        {mv::IsWinVista, "vista"}, {mv::IsWinXPOrLater, "win2003"}};
  for (const Case& c : cases) {
    OnNewThread([&c] {
      ScriptablePlatform p;
      p.SetVersion(c.version);
      p.versionQueryFails = true;
      EXPECT_FALSE(c.test(p)) << c.version;
      p.versionQueryFails = false;
      EXPECT_TRUE(c.test(p)) << c.version;
      EXPECT_EQ(p.versionQueries, 2) << c.version;
    });
  }
}

TEST(VersionTests, IsWin2000OrLaterRemembersAFailedQueryAsFalse) {
  OnNewThread([] {
    ScriptablePlatform p;
    p.SetVersion("win7");
    p.versionQueryFails = true;
    EXPECT_FALSE(mv::IsWin2000OrLater(p));
    p.versionQueryFails = false;
    EXPECT_FALSE(mv::IsWin2000OrLater(p));
    EXPECT_EQ(p.versionQueries, 1);
  });
}

// --- library tests -------------------------------------------------------------------

// Counts every load and free, so a test can see that what was loaded was freed.
class CountingPlatform : public ScriptablePlatform {
 public:
  int loads = 0;
  int frees = 0;
  int lookups = 0;
  ModuleHandle LoadLibraryA(const std::string& name) override {
    const ModuleHandle m = ScriptablePlatform::LoadLibraryA(name);
    if (m != 0) ++loads;
    return m;
  }
  bool GetProcAddress(ModuleHandle module, const std::string& name) override {
    ++lookups;
    return ScriptablePlatform::GetProcAddress(module, name);
  }
  void FreeLibrary(ModuleHandle module) override {
    ++frees;
    ScriptablePlatform::FreeLibrary(module);
  }
};

TEST(LibraryTests, TheLibraryIsFreedWhetherOrNotTheFunctionIsThere) {
  CountingPlatform p;
  EXPECT_TRUE(modVisualStyles::IsFunctionExported(p, "MSIMG32.DLL", "GradientFill"));
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(p, "Msimg32.dll", "NoSuchFunction"));
  // Export names are case-sensitive.
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(p, "Msimg32.dll", "gradientfill"));
  EXPECT_TRUE(modVisualStyles::IsDllPresent(p, "msimg32"));  // ".dll" is implied
  EXPECT_FALSE(modVisualStyles::IsDllPresent(p, "uxtheme.dll"));
  EXPECT_EQ(p.loads, 4);
  EXPECT_EQ(p.lookups, 3);
  EXPECT_EQ(p.frees, 4);
  EXPECT_EQ(p.librariesLoaded, 0);
}

TEST(LibraryTests, AMissingLibraryAnswersFalseWithoutALookup) {
  CountingPlatform p;
  p.libraries.clear();
  EXPECT_FALSE(modVisualStyles::IsFunctionExported(p, "Msimg32.dll", "GradientFill"));
  EXPECT_FALSE(modVisualStyles::IsDllPresent(p, "Msimg32.dll"));
  EXPECT_EQ(p.lookups, 0);
  EXPECT_EQ(p.frees, 0);
}

}  // namespace
}  // namespace vantiq
