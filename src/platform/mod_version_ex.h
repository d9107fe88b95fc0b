// Operating-system version tests, each built on one GetVersionExA query.
//
// Every test except IsWinNT remembers its answer per thread (0 not asked, 1 true,
// 2 false) and never asks the platform again on that thread. The version cannot
// change while the process runs, so the memo is never reset. A failed query answers
// false without remembering it, except in IsWin2000OrLater, which remembers false.
#pragma once

#include "platform/platform.h"

namespace vantiq::modVersionEx {

// 9x family 4.10 build field >= 2222. The 9x build field carries the version in its
// high word, so every 4.10 system passes the build condition.
bool IsWin98SE(Platform& platform);
// 9x family 4.90, build field >= 3000.
bool IsWinME(Platform& platform);
// NT family, major >= 4. Asks the platform on every call.
bool IsWinNT(Platform& platform);
// NT family, major >= 5.
bool IsWin2000OrLater(Platform& platform);
// NT 5.1, build field >= 2600.
bool IsWinXP(Platform& platform);
// NT with major exactly 6: Vista, 7, 8 and 8.1 (and 10 for programs whose manifest
// does not declare it).
bool IsWinVista(Platform& platform);
// NT 5.1 and later.
bool IsWinXPOrLater(Platform& platform);

}  // namespace vantiq::modVersionEx
