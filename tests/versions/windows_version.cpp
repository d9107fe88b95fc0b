#include "windows_version.h"

#include <algorithm>
#include <cctype>

#include <windows.h>

namespace vantiq::testing {
namespace {

constexpr std::uint32_t k9x = 1;
constexpr std::uint32_t kNT = 2;

// What Wine reports for each version name. The 9x family keeps major and minor in
// the high word of the build field. A program whose manifest does not declare
// Windows 10 sees 6.2.9200 there, as on real Windows 10; "win10m" is the same
// system seen by a copy with a manifest that declares it.
const WindowsVersion kVersions[] = {
    // name      platform major minor build  Vista  XP+
    {"win98",   k9x, 4, 10, 0x040A08AE,      false, false}, {"winme",  k9x, 4, 90, 0x045A0BB8, false, false},
    {"win2k",   kNT, 5, 0, 2195,             false, false}, {"winxp",  kNT, 5, 1, 2600,        false, true},
    {"win2003", kNT, 5, 2, 3790,             false, true},  {"vista",  kNT, 6, 0, 6002,        true,  true},
    {"win7",    kNT, 6, 1, 7601,             true,  true},  {"win10",  kNT, 6, 2, 9200,        true,  true},
    {"win10m",  kNT, 10, 0, 18362,           false, true},
};

}  // namespace

std::string ProgramName() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, n);
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

const WindowsVersion* RunningAs() {
  const std::string name = ProgramName();
  for (const WindowsVersion& v : kVersions) {
    const std::string suffix = std::string("-") + v.name + ".exe";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      return &v;
  }
  return nullptr;
}

}  // namespace vantiq::testing
