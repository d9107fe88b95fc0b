// The Platform over the real Windows API. The visual-style functions are looked up
// in uxtheme.dll at run time, so the same binary runs where that library is missing:
// every theme call then fails cleanly and the control draws its classic look.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include "platform/platform.h"

namespace vantiq {

class DibSectionPool;

class GdiPlatform : public Platform {
 public:
  // `themeLibrary` names the library that supplies the theme functions; tests pass a
  // missing one to see the platform without visual styles.
  explicit GdiPlatform(const wchar_t* themeLibrary = L"uxtheme.dll");
  ~GdiPlatform() override;
  GdiPlatform(const GdiPlatform&) = delete;
  GdiPlatform& operator=(const GdiPlatform&) = delete;

  // True when the theme library loaded and exports every function used.
  bool HasThemeApi() const;

  bool GetVersionExA(OsVersionInfo& info) override;
  ModuleHandle LoadLibraryA(const std::string& name) override;
  bool GetProcAddress(ModuleHandle module, const std::string& name) override;
  void FreeLibrary(ModuleHandle module) override;
  std::u16string MultiByteToWideChar(std::uint32_t codePage, const std::string& bytes) override;
  std::string WideCharToMultiByte(std::uint32_t codePage, const std::u16string& text) override;
  std::uint32_t GetACP() override;
  int ScreenLogPixelsY() override;
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
  // `dc` must be a GdiSurface; any other surface is refused with E_INVALIDARG.
  HResult DrawThemeBackground(ThemeHandle theme, Surface& dc, int part, int state, const Rect& rc,
                              const Rect* clip) override;
  HResult DrawThemeParentBackground(WindowHandle hwnd, Surface& dc, const Rect& rc) override;
  bool IsThemeBackgroundPartiallyTransparent(ThemeHandle theme, int part, int state) override;
  long FailedRequests() const override;
  HResult GetThemeInt(ThemeHandle theme, int part, int state, int propId, int& value) override;
  std::unique_ptr<Surface> CreateBackBuffer(int width, int height) override;
  std::unique_ptr<Surface> CreateDibSection(int width, int height) override;
  bool GetBitmapSize(std::uintptr_t bitmap, int& width, int& height) override;
  // `target` must be a GdiSurface.
  bool CopyBitmap(std::uintptr_t bitmap, Surface& target, int width, int height) override;
  // The comctl32 tooltip window.
  std::unique_ptr<TipWindow> CreateTipWindow() override;

 private:
  struct ThemeApi;  // the theme library and its entry points
  std::unique_ptr<ThemeApi> theme_;
  std::shared_ptr<DibSectionPool> dibSections_;
  long failedThemeDraws_ = 0;
};

}  // namespace vantiq
