// A Platform whose every answer is scripted: any Windows version, visual styles on or
// off, any theme file and colour name, any system colours, libraries present or
// missing, and windows that are plain records. Tests and the gallery use it.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/platform.h"

namespace vantiq {

struct SoftWindow {
  Rect client;
  std::optional<Region> region;  // the region SetWindowRgn gave it
  int setRegionCalls = 0;
};

class ScriptablePlatform : public Platform {
 public:
  ScriptablePlatform();

  // --- Scripted state -------------------------------------------------------------
  OsVersionInfo version;          // Windows 7 SP1 (6.1.7601, NT) by default
  bool versionQueryFails = false;
  int versionQueries = 0;         // GetVersionExA calls made

  // Library name (compared case-insensitively) -> exported function names.
  // Default: "msimg32.dll" with GradientFill, AlphaBlend and TransparentBlt.
  std::map<std::string, std::set<std::string>> libraries;
  int librariesLoaded = 0;        // LoadLibraryA successes not yet freed

  std::array<ColorRef, 31> sysColors;  // Windows' standard colours by default

  bool themeApiPresent = true;    // uxtheme calls exist at all
  bool visualStyles = true;       // a visual style is in force
  std::u16string themeFile = u"C:\\WINDOWS\\resources\\Themes\\Luna\\Luna.msstyles";
  std::u16string colorName = u"NormalColor";
  std::u16string sizeName = u"NormalSize";
  int themesOpen = 0;             // OpenThemeData handles not yet closed
  int themeChunkSize = 8;         // TMT_PROGRESSCHUNKSIZE of the "Progress" class
  int themeSpaceSize = 2;         // TMT_PROGRESSSPACESIZE

  // Makes the back buffers; by default software surfaces over these system colours.
  std::function<std::unique_ptr<Surface>(int, int)> backBufferFactory;
  bool backBufferFails = false;

  // Windows are records; handles start at 0x100 and are never 0.
  WindowHandle CreateWindow(int width, int height);
  void DestroyWindow(WindowHandle hwnd);
  SoftWindow* Window(WindowHandle hwnd);

  // Sets the version record from a short name: "win98", "winme", "win2k", "winxp",
  // "win2003", "vista", "win7", "win10".
  void SetVersion(const std::string& name);

  // --- Platform -------------------------------------------------------------------
  bool GetVersionExA(OsVersionInfo& info) override;
  ModuleHandle LoadLibraryA(const std::string& name) override;
  bool GetProcAddress(ModuleHandle module, const std::string& name) override;
  void FreeLibrary(ModuleHandle module) override;
  ColorRef GetSysColor(int index) override;
  bool IsWindow(WindowHandle hwnd) override;
  Rect GetClientRect(WindowHandle hwnd) override;
  RegionType GetWindowRgnType(WindowHandle hwnd) override;
  void SetWindowRgn(WindowHandle hwnd, const std::optional<Region>& region, bool redraw) override;
  HResult OleTranslateColor(OleColor color, ColorRef& out) override;
  ThemeHandle OpenThemeData(WindowHandle hwnd, const std::u16string& classList) override;
  void CloseThemeData(ThemeHandle theme) override;
  HResult GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                              int capacity) override;
  HResult DrawThemeBackground(ThemeHandle theme, Surface& dc, int part, int state, const Rect& rc,
                              const Rect* clip) override;
  HResult DrawThemeParentBackground(WindowHandle hwnd, Surface& dc, const Rect& rc) override;
  HResult GetThemeInt(ThemeHandle theme, int part, int state, int propId, int& value) override;
  std::unique_ptr<Surface> CreateBackBuffer(int width, int height) override;

 private:
  std::map<WindowHandle, SoftWindow> windows_;
  WindowHandle nextWindow_ = 0x100;
  std::map<ModuleHandle, std::string> modules_;
  ModuleHandle nextModule_ = 0x10000;
  std::map<ThemeHandle, std::u16string> themes_;
  ThemeHandle nextTheme_ = 0x2000;
};

}  // namespace vantiq
