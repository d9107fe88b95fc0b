// The Windows version this copy of vantiq_version_tests runs as. The program is
// copied under names such as vantiq_version_tests-win98.exe and Wine is told to report
// that version for that name (scripts/as-version.sh); every test here reads what to
// expect from RunningAs().
#pragma once

#include <cstdint>
#include <string>

namespace vantiq::testing {

struct WindowsVersion {
  const char* name;  // the end of the program's file name; Wine's name for the version,
                     // but "win10m" is win10 for a copy that declares it in a manifest
  // What GetVersionExA reports.
  std::uint32_t platformId, major, minor, build;
  // What IsWinVista and IsWinXPOrLater answer (the looks and the tooltip shadow depend on them).
  bool winVista, winXPOrLater;
};

// Null when the file name names no known version ("...-<name>.exe").
const WindowsVersion* RunningAs();
// The program's own file name, for messages.
std::string ProgramName();

// Declares `v`, the version this copy runs as; skips the test when it names none.
#define REQUIRE_VERSION(v)                  \
  const WindowsVersion* v = RunningAs();    \
  if (v == nullptr) GTEST_SKIP() << ProgramName() << " names no Windows version"

}  // namespace vantiq::testing
