#ifdef _WIN32
#include "support/real_system.h"

#include <windows.h>

#include "support/real_window.h"

namespace vantiq::testing {
namespace {

// Visual styles are active when a window gets theme data; their names then come from
// GetCurrentThemeName.
void MirrorTheme(ScriptablePlatform& platform) {
  platform.visualStyles = false;
  HMODULE uxtheme = ::LoadLibraryW(L"uxtheme.dll");
  if (!uxtheme) return;
  using Open = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using Close = HRESULT(WINAPI*)(HANDLE);
  using Name = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  auto open = reinterpret_cast<Open>(reinterpret_cast<void*>(::GetProcAddress(uxtheme, "OpenThemeData")));
  auto close = reinterpret_cast<Close>(reinterpret_cast<void*>(::GetProcAddress(uxtheme, "CloseThemeData")));
  auto name = reinterpret_cast<Name>(reinterpret_cast<void*>(::GetProcAddress(uxtheme, "GetCurrentThemeName")));
  RealWindow window(10, 10);
  if (open && close && name) {
    if (HANDLE theme = open(window.Get(), L"Button")) {
      platform.visualStyles = true;
      close(theme);
      wchar_t file[MAX_PATH] = {}, color[MAX_PATH] = {}, size[MAX_PATH] = {};
      if (SUCCEEDED(name(file, MAX_PATH, color, MAX_PATH, size, MAX_PATH))) {
        platform.themeFile = reinterpret_cast<const char16_t*>(file);
        platform.colorName = reinterpret_cast<const char16_t*>(color);
        platform.sizeName = reinterpret_cast<const char16_t*>(size);
      }
    }
  }
  ::FreeLibrary(uxtheme);
}

}  // namespace

void MirrorRealSystem(ScriptablePlatform& platform) {
  OSVERSIONINFOA real{};
  real.dwOSVersionInfoSize = sizeof real;
  ::GetVersionExA(&real);
  platform.version.dwMajorVersion = real.dwMajorVersion;
  platform.version.dwMinorVersion = real.dwMinorVersion;
  platform.version.dwBuildNumber = real.dwBuildNumber;
  platform.version.dwPlatformId = real.dwPlatformId;
  for (std::size_t i = 0; i < platform.sysColors.size(); ++i)
    platform.sysColors[i] = ::GetSysColor(static_cast<int>(i));
  MirrorTheme(platform);
}

}  // namespace vantiq::testing
#endif  // _WIN32
