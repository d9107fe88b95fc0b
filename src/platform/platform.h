// The operating-system services the control uses, behind one interface so that the
// same core runs on the real Windows API (backends/gdi) and on a scriptable model of
// any Windows version (backends/soft).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/types.h"
#include "draw/region.h"
#include "draw/surface.h"
#include "platform/tip_window.h"

namespace vantiq {


// OSVERSIONINFOA's fields that the version tests read.
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize = 148;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
};

constexpr std::uint32_t kVerPlatformWin32Windows = 1;
constexpr std::uint32_t kVerPlatformWin32Nt = 2;

constexpr std::uint32_t kCodePageUtf8 = 65001;   // CP_UTF8
constexpr std::uint32_t kCodePage1252 = 1252;    // Western European, locale 1033's ANSI page

// HRESULTs the platform answers with.
using HResult = std::int32_t;
constexpr HResult kSOk = 0;
constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);

// GetSysColor alone: what a surface needs for the system's 3D colours.
class SystemColors {
 public:
  virtual ~SystemColors() = default;
  // 0 for an index the system does not know.
  virtual ColorRef GetSysColor(int index) = 0;
};

class Platform : public SystemColors {
 public:

  // kernel32
  // GetVersionExA: true when the call returned 1.
  virtual bool GetVersionExA(OsVersionInfo& info) = 0;
  virtual ModuleHandle LoadLibraryA(const std::string& name) = 0;
  // GetProcAddress: true for a non-null address.
  virtual bool GetProcAddress(ModuleHandle module, const std::string& name) = 0;
  virtual void FreeLibrary(ModuleHandle module) = 0;
  // MultiByteToWideChar and WideCharToMultiByte with flags 0 and no default character,
  // into buffers of 2n UTF-16 units and 3n + 1 bytes for an input of n (room for any
  // UTF-8 or ANSI text). Empty when the call returns 0: empty input, a code page the
  // system does not have.
  virtual std::u16string MultiByteToWideChar(std::uint32_t codePage, const std::string& bytes) {
    return {};
  }
  virtual std::string WideCharToMultiByte(std::uint32_t codePage, const std::u16string& text) {
    return {};
  }
  // GetACP: the system's default ANSI code page.
  virtual std::uint32_t GetACP() { return kCodePage1252; }
  // GetDeviceCaps(LOGPIXELSY) of the screen (GetDC(NULL)).
  virtual int ScreenLogPixelsY() { return 96; }

  // user32
  virtual bool IsWindow(WindowHandle hwnd) = 0;
  virtual Rect GetClientRect(WindowHandle hwnd) = 0;
  // GetWindowRgn into a scratch region: the type of the window's current region.
  virtual RegionType GetWindowRgnType(WindowHandle hwnd) = 0;
  // SetWindowRgn; nullopt removes the region. The window owns what it is given.
  virtual void SetWindowRgn(WindowHandle hwnd, const std::optional<Region>& region,
                            bool redraw) = 0;

  // oleaut32: OleTranslateColor without a palette.
  virtual HResult OleTranslateColor(OleColor color, ColorRef& out) = 0;

  // uxtheme; every call fails cleanly when visual styles are unavailable.
  virtual ThemeHandle OpenThemeData(WindowHandle hwnd, const std::u16string& classList) = 0;
  virtual void CloseThemeData(ThemeHandle theme) = 0;
  // GetCurrentThemeName into three caller buffers of `capacity` UTF-16 units each.
  virtual HResult GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                                      int capacity) = 0;
  virtual HResult DrawThemeBackground(ThemeHandle theme, Surface& dc, int part, int state,
                                      const Rect& rc, const Rect* clip) = 0;
  virtual HResult DrawThemeParentBackground(WindowHandle hwnd, Surface& dc, const Rect& rc) = 0;
  // IsThemeBackgroundPartiallyTransparent; true also when it cannot be told.
  virtual bool IsThemeBackgroundPartiallyTransparent(ThemeHandle theme, int part, int state) = 0;
  virtual HResult GetThemeInt(ThemeHandle theme, int part, int state, int propId,
                              int& value) = 0;

  // Drawing requests the system refused so far (an object it could not make, a theme
  // part it could not draw): a picture drawn while this grew may be missing a part,
  // so it is not kept.
  virtual long FailedRequests() const = 0;

  // gdi32: an off-screen bitmap compatible with the display, selected into its own
  // memory context (CreateDCA("DISPLAY") + CreateCompatibleDC + CreateCompatibleBitmap).
  // Null when any step fails.
  virtual std::unique_ptr<Surface> CreateBackBuffer(int width, int height) = 0;

  // A 32-bit bottom-up DIB section selected into its own memory context
  // (CreateCompatibleDC(NULL) + CreateDIBSection), all zero, with Bits(). Null when
  // either step fails or a size is not above 0.
  virtual std::unique_ptr<Surface> CreateDibSection(int width, int height) { return nullptr; }
  // GetObjectA on a bitmap handle: false when the handle is no bitmap.
  virtual bool GetBitmapSize(std::uintptr_t bitmap, int& width, int& height) { return false; }
  // Selects the bitmap into a memory context compatible with the desktop and copies
  // its (0, 0, width, height) to target (0, 0) with SRCCOPY. False when it cannot.
  virtual bool CopyBitmap(std::uintptr_t bitmap, Surface& target, int width, int height) {
    return false;
  }

  // comctl32: the tooltip window operations for one tooltip wrapper. Null where the
  // system has no tooltip windows; the wrapper then never gets a window.
  virtual std::unique_ptr<TipWindow> CreateTipWindow() { return nullptr; }
};

}  // namespace vantiq
