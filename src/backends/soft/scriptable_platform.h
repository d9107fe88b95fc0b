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
#include <vector>

#include "backends/soft/scriptable_tip_window.h"
#include "platform/platform.h"

namespace vantiq {

struct SoftWindow {
  Rect client;
  std::optional<Region> region;  // the region SetWindowRgn gave it
  int setRegionCalls = 0;
  int getRegionCalls = 0;
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

  // GetACP's answer. Code pages 65001 (UTF-8) and 1252 convert; any other fails.
  // UTF-8 follows the scripted version: Vista and later put U+FFFD for each invalid
  // piece and each lone surrogate; earlier systems drop invalid pieces and encode a
  // lone surrogate as it stands.
  std::uint32_t ansiCodePage = kCodePage1252;

  // GetSysColor's answers for the indexes 0 (COLOR_SCROLLBAR) to 30 (COLOR_MENUBAR).
  // By default Windows XP's colours under its default visual style (Luna, blue), the
  // look that the default theme identity below names: button face (236, 233, 216),
  // highlight (49, 106, 197). Any other index answers 0.
  std::array<ColorRef, 31> sysColors;

  bool themeApiPresent = true;    // uxtheme calls exist at all
  bool visualStyles = true;       // a visual style is in force
  std::u16string themeFile = u"C:\\WINDOWS\\resources\\Themes\\Luna\\Luna.msstyles";
  std::u16string colorName = u"NormalColor";
  std::u16string sizeName = u"NormalSize";
  int themesOpen = 0;             // OpenThemeData handles not yet closed
  int themeCalls = 0;             // every uxtheme call made, failed ones included
  int themeChunkSize = 8;         // TMT_PROGRESSCHUNKSIZE of the "Progress" class
  int themeSpaceSize = 2;         // TMT_PROGRESSSPACESIZE
  bool themeBarTransparent = false;    // the bar parts let the parent show through
  bool themeChunkTransparent = false;  // the chunk parts let what is under them show
  int themeDraws = 0;                  // DrawThemeBackground calls, failed ones included
  long failedRequests = 0;        // what FailedRequests answers

  // Makes the back buffers; when empty, software surfaces over these system colours.
  std::function<std::unique_ptr<Surface>(int, int)> backBufferFactory;
  bool backBufferFails = false;
  // Makes the DIB sections; when empty, software surfaces. Windows tests and tools set
  // both factories so that every surface of a paint is of one backend.
  std::function<std::unique_ptr<Surface>(int, int)> dibSectionFactory;
  bool dibSectionFails = false;   // CreateDibSection answers null

  // Bitmaps that GetBitmapSize and CopyBitmap know: w x h pixels given top row first.
  // Handles start at 0x3000 and are never 0. Throws std::invalid_argument when the
  // pixel count is not w * h.
  std::uintptr_t CreateBitmap(int width, int height, std::vector<ColorRef> pixels);
  void DeleteBitmap(std::uintptr_t bitmap);

  // Tooltip windows: what the wrapper asked of them, and whether they can be made.
  SoftTooltips tooltips;

  // Windows are records; handles start at 0x100 and are never 0.
  WindowHandle AddWindow(int width, int height);
  void RemoveWindow(WindowHandle hwnd);
  SoftWindow* Window(WindowHandle hwnd);

  // Sets the version record from a short name: "win98", "winme", "win2k", "winxp",
  // "win2003", "vista", "win7", "win10" (10.0, as a program that declares Windows 10
  // support sees it). Throws std::invalid_argument for any other name.
  void SetVersion(const std::string& name);

  // The deterministic look that DrawThemeBackground gives the "Progress" class:
  // bars (parts 1 and 2) are a 1-pixel frame around a light fill with a white line
  // along the inner top (part 1) or inner left (part 2) side; chunks are a gradient
  // from light to dark green, top to bottom (part 3) or left to right (part 4).
  static constexpr ColorRef kThemeBarFrame = Rgb(188, 188, 188);
  static constexpr ColorRef kThemeBarFill = Rgb(234, 234, 234);
  static constexpr ColorRef kThemeBarShine = Rgb(255, 255, 255);
  static constexpr ColorRef kThemeChunkLight = Rgb(160, 232, 160);
  static constexpr ColorRef kThemeChunkDark = Rgb(6, 176, 37);

  // --- Platform -------------------------------------------------------------------
  bool GetVersionExA(OsVersionInfo& info) override;
  ModuleHandle LoadLibraryA(const std::string& name) override;
  bool GetProcAddress(ModuleHandle module, const std::string& name) override;
  void FreeLibrary(ModuleHandle module) override;
  std::u16string MultiByteToWideChar(std::uint32_t codePage, const std::string& bytes) override;
  std::string WideCharToMultiByte(std::uint32_t codePage, const std::u16string& text) override;
  std::uint32_t GetACP() override { return ansiCodePage; }
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
  bool IsThemeBackgroundPartiallyTransparent(ThemeHandle theme, int part, int state) override;
  long FailedRequests() const override { return failedRequests; }
  HResult GetThemeInt(ThemeHandle theme, int part, int state, int propId, int& value) override;
  std::unique_ptr<Surface> CreateBackBuffer(int width, int height) override;
  // Software surfaces, whose buffers already have a DIB section's layout.
  std::unique_ptr<Surface> CreateDibSection(int width, int height) override;
  bool GetBitmapSize(std::uintptr_t bitmap, int& width, int& height) override;
  bool CopyBitmap(std::uintptr_t bitmap, Surface& target, int width, int height) override;
  // A scripted tooltip window over `tooltips`.
  std::unique_ptr<TipWindow> CreateTipWindow() override;

 private:
  struct Bitmap {
    int width;
    int height;
    std::vector<ColorRef> pixels;
  };

  std::map<WindowHandle, SoftWindow> windows_;
  WindowHandle nextWindow_ = 0x100;
  std::map<ModuleHandle, std::string> modules_;
  ModuleHandle nextModule_ = 0x10000;
  std::map<ThemeHandle, std::u16string> themes_;
  ThemeHandle nextTheme_ = 0x2000;
  std::map<std::uintptr_t, Bitmap> bitmaps_;
  std::uintptr_t nextBitmap_ = 0x3000;
};

}  // namespace vantiq
