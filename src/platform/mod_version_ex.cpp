#include "platform/mod_version_ex.h"

#include <cstdint>

namespace vantiq::modVersionEx {
namespace {

enum Memo : int { kNotAsked = 0, kTrue = 1, kFalse = 2 };

// The memos; one set per thread.
thread_local int g_win98SE = kNotAsked;
thread_local int g_winME = kNotAsked;
thread_local int g_win2000OrLater = kNotAsked;
thread_local int g_winXP = kNotAsked;
thread_local int g_winVista = kNotAsked;
thread_local int g_winXPOrLater = kNotAsked;

bool QueryVersion(Platform& platform, OsVersionInfo& info) {
  info = OsVersionInfo{};
  info.dwOSVersionInfoSize = 148;
  return platform.GetVersionExA(info);
}

// The whole build field, read as the signed value the comparisons use.
std::int32_t Build(const OsVersionInfo& info) {
  return static_cast<std::int32_t>(info.dwBuildNumber);
}

template <typename Condition>
bool Memoised(Platform& platform, int& memo, bool rememberFailure, Condition condition) {
  if (memo != kNotAsked) return memo == kTrue;
  OsVersionInfo info;
  if (!QueryVersion(platform, info)) {
    if (rememberFailure) memo = kFalse;
    return false;
  }
  bool result = condition(info);
  memo = result ? kTrue : kFalse;
  return result;
}

}  // namespace

bool IsWin98SE(Platform& platform) {
  return Memoised(platform, g_win98SE, false, [](const OsVersionInfo& v) {
    return v.dwPlatformId == kVerPlatformWin32Windows && v.dwMajorVersion == 4 &&
           v.dwMinorVersion == 10 && Build(v) >= 2222;
  });
}

bool IsWinME(Platform& platform) {
  return Memoised(platform, g_winME, false, [](const OsVersionInfo& v) {
    return v.dwPlatformId == kVerPlatformWin32Windows && v.dwMajorVersion == 4 &&
           v.dwMinorVersion == 90 && Build(v) >= 3000;
  });
}

bool IsWinNT(Platform& platform) {
  OsVersionInfo v;
  if (!QueryVersion(platform, v)) return false;
  return v.dwPlatformId == kVerPlatformWin32Nt && v.dwMajorVersion >= 4;
}

bool IsWin2000OrLater(Platform& platform) {
  return Memoised(platform, g_win2000OrLater, true, [](const OsVersionInfo& v) {
    return v.dwPlatformId == kVerPlatformWin32Nt && v.dwMajorVersion >= 5;
  });
}

bool IsWinXP(Platform& platform) {
  return Memoised(platform, g_winXP, false, [](const OsVersionInfo& v) {
    return v.dwPlatformId == kVerPlatformWin32Nt && v.dwMajorVersion == 5 &&
           v.dwMinorVersion == 1 && Build(v) >= 2600;
  });
}

bool IsWinVista(Platform& platform) {
  return Memoised(platform, g_winVista, false, [](const OsVersionInfo& v) {
    return v.dwPlatformId == kVerPlatformWin32Nt && v.dwMajorVersion == 6;
  });
}

bool IsWinXPOrLater(Platform& platform) {
  return Memoised(platform, g_winXPOrLater, false, [](const OsVersionInfo& v) {
    return v.dwPlatformId == kVerPlatformWin32Nt &&
           (v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1));
  });
}

}  // namespace vantiq::modVersionEx
