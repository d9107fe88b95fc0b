#include "backends/gdi/gdi_platform.h"

#include <olectl.h>
#include <uxtheme.h>

#include "backends/gdi/dib_section_pool.h"
#include "backends/gdi/gdi_allocation.h"
#include "backends/gdi/gdi_handles.h"
#include "backends/gdi/gdi_surface.h"
#include "backends/gdi/gdi_tip_window.h"

namespace vantiq {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text passes to the wide API as is");

constexpr HResult kEHandle = static_cast<HResult>(0x80070006u);

HWND Hwnd(WindowHandle hwnd) { return reinterpret_cast<HWND>(hwnd); }
HMODULE Hmodule(ModuleHandle module) { return reinterpret_cast<HMODULE>(module); }
HTHEME Htheme(ThemeHandle theme) { return reinterpret_cast<HTHEME>(theme); }
RECT ToRect(const Rect& rc) { return RECT{rc.left, rc.top, rc.right, rc.bottom}; }
const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
wchar_t* Wide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }

// The device context behind a surface, or null for a surface that has none.
HDC HdcOf(Surface& dc) {
  auto* gdi = dynamic_cast<GdiSurface*>(&dc);
  return gdi ? gdi->Hdc() : nullptr;
}

// Casts a looked-up export to the type it has.
template <typename Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

struct GdiPlatform::ThemeApi {
  explicit ThemeApi(const wchar_t* library) : module(::LoadLibraryW(library)) {
    if (!module) return;
    openThemeData = Export<decltype(openThemeData)>(module, "OpenThemeData");
    closeThemeData = Export<decltype(closeThemeData)>(module, "CloseThemeData");
    getCurrentThemeName = Export<decltype(getCurrentThemeName)>(module, "GetCurrentThemeName");
    drawThemeBackground = Export<decltype(drawThemeBackground)>(module, "DrawThemeBackground");
    drawThemeParentBackground =
        Export<decltype(drawThemeParentBackground)>(module, "DrawThemeParentBackground");
    getThemeInt = Export<decltype(getThemeInt)>(module, "GetThemeInt");
    isThemeBackgroundPartiallyTransparent = Export<decltype(isThemeBackgroundPartiallyTransparent)>(
        module, "IsThemeBackgroundPartiallyTransparent");
  }
  ~ThemeApi() {
    if (module) ::FreeLibrary(module);
  }
  ThemeApi(const ThemeApi&) = delete;
  ThemeApi& operator=(const ThemeApi&) = delete;

  HMODULE module;
  HTHEME(WINAPI* openThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* closeThemeData)(HTHEME) = nullptr;
  HRESULT(WINAPI* getCurrentThemeName)(LPWSTR, int, LPWSTR, int, LPWSTR, int) = nullptr;
  HRESULT(WINAPI* drawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* drawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;
  HRESULT(WINAPI* getThemeInt)(HTHEME, int, int, int, int*) = nullptr;
  BOOL(WINAPI* isThemeBackgroundPartiallyTransparent)(HTHEME, int, int) = nullptr;
};

GdiPlatform::GdiPlatform(const wchar_t* themeLibrary)
    : theme_(std::make_unique<ThemeApi>(themeLibrary)), dibSections_(DibSectionPool::Shared()) {}

GdiPlatform::~GdiPlatform() = default;

bool GdiPlatform::HasThemeApi() const {
  return theme_->openThemeData && theme_->closeThemeData && theme_->getCurrentThemeName &&
         theme_->drawThemeBackground && theme_->drawThemeParentBackground && theme_->getThemeInt;
}

// --- kernel32 ---------------------------------------------------------------------

bool GdiPlatform::GetVersionExA(OsVersionInfo& info) {
  // Room for the extended record; the size the caller asks for decides which one
  // the system fills, and a size it does not know fails the call.
  OSVERSIONINFOEXA record{};
  record.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
  if (info.dwOSVersionInfoSize > sizeof(record)) return false;
  if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&record)) != 1) return false;
  info.dwMajorVersion = record.dwMajorVersion;
  info.dwMinorVersion = record.dwMinorVersion;
  info.dwBuildNumber = record.dwBuildNumber;
  info.dwPlatformId = record.dwPlatformId;
  return true;
}

ModuleHandle GdiPlatform::LoadLibraryA(const std::string& name) {
  return reinterpret_cast<ModuleHandle>(::LoadLibraryA(name.c_str()));
}

bool GdiPlatform::GetProcAddress(ModuleHandle module, const std::string& name) {
  return ::GetProcAddress(Hmodule(module), name.c_str()) != nullptr;
}

void GdiPlatform::FreeLibrary(ModuleHandle module) { ::FreeLibrary(Hmodule(module)); }

// --- user32 -----------------------------------------------------------------------

ColorRef GdiPlatform::GetSysColor(int index) { return ::GetSysColor(index); }

bool GdiPlatform::IsWindow(WindowHandle hwnd) { return ::IsWindow(Hwnd(hwnd)) != FALSE; }

Rect GdiPlatform::GetClientRect(WindowHandle hwnd) {
  RECT rc{};
  if (!::GetClientRect(Hwnd(hwnd), &rc)) return Rect{};
  return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

RegionType GdiPlatform::GetWindowRgnType(WindowHandle hwnd) {
  gdi::Rgn scratch(gdi::NewRectRgn(0, 0, 0, 0));
  if (!scratch) return RegionType::kError;
  switch (::GetWindowRgn(Hwnd(hwnd), scratch.Get())) {
    case NULLREGION: return RegionType::kNull;
    case SIMPLEREGION: return RegionType::kSimple;
    case COMPLEXREGION: return RegionType::kComplex;
    default: return RegionType::kError;
  }
}

void GdiPlatform::SetWindowRgn(WindowHandle hwnd, const std::optional<Region>& region,
                               bool redraw) {
  if (!region) {
    ::SetWindowRgn(Hwnd(hwnd), nullptr, redraw);
    return;
  }
  gdi::Rgn whole(gdi::NewRectRgn(0, 0, 0, 0));
  if (!whole) return;
  for (const Rect& r : region->Rects()) {
    gdi::Rgn piece(gdi::NewRectRgn(r.left, r.top, r.right, r.bottom));
    if (!piece || ::CombineRgn(whole.Get(), whole.Get(), piece.Get(), RGN_OR) == ERROR) return;
  }
  // On success the window owns the region and deletes it itself.
  if (::SetWindowRgn(Hwnd(hwnd), whole.Get(), redraw)) whole.Release();
}

// --- oleaut32 ---------------------------------------------------------------------

HResult GdiPlatform::OleTranslateColor(OleColor color, ColorRef& out) {
  COLORREF translated = 0;
  const HRESULT hr = ::OleTranslateColor(color, nullptr, &translated);
  if (SUCCEEDED(hr)) out = translated;
  return hr;
}

// --- uxtheme ----------------------------------------------------------------------

ThemeHandle GdiPlatform::OpenThemeData(WindowHandle hwnd, const std::u16string& classList) {
  if (!theme_->openThemeData) return 0;
  return reinterpret_cast<ThemeHandle>(theme_->openThemeData(Hwnd(hwnd), Wide(classList)));
}

void GdiPlatform::CloseThemeData(ThemeHandle theme) {
  if (theme_->closeThemeData && theme != 0) theme_->closeThemeData(Htheme(theme));
}

HResult GdiPlatform::GetCurrentThemeName(char16_t* file, char16_t* color, char16_t* size,
                                         int capacity) {
  if (!theme_->getCurrentThemeName) return kEFail;
  return theme_->getCurrentThemeName(Wide(file), capacity, Wide(color), capacity, Wide(size),
                                     capacity);
}

HResult GdiPlatform::DrawThemeBackground(ThemeHandle theme, Surface& dc, int part, int state,
                                         const Rect& rc, const Rect* clip) {
  if (!theme_->drawThemeBackground) return kEFail;
  if (theme == 0) return kEHandle;
  const HDC hdc = HdcOf(dc);
  if (!hdc) return kEInvalidArg;
  const RECT r = ToRect(rc);
  const RECT c = clip ? ToRect(*clip) : RECT{};
  const HRESULT hr = theme_->drawThemeBackground(Htheme(theme), hdc, part, state, &r, clip ? &c : nullptr);
  if (FAILED(hr)) ++failedThemeDraws_;
  return hr;
}

HResult GdiPlatform::DrawThemeParentBackground(WindowHandle hwnd, Surface& dc, const Rect& rc) {
  if (!theme_->drawThemeParentBackground) return kEFail;
  const HDC hdc = HdcOf(dc);
  if (!hdc) return kEInvalidArg;
  const RECT r = ToRect(rc);
  return theme_->drawThemeParentBackground(Hwnd(hwnd), hdc, &r);
}

bool GdiPlatform::IsThemeBackgroundPartiallyTransparent(ThemeHandle theme, int part, int state) {
  if (!theme_->isThemeBackgroundPartiallyTransparent || theme == 0) return true;
  return theme_->isThemeBackgroundPartiallyTransparent(Htheme(theme), part, state) != FALSE;
}

long GdiPlatform::FailedRequests() const { return gdi::Failures() + failedThemeDraws_; }

HResult GdiPlatform::GetThemeInt(ThemeHandle theme, int part, int state, int propId, int& value) {
  if (!theme_->getThemeInt) return kEFail;
  if (theme == 0) return kEHandle;
  int read = 0;
  const HRESULT hr = theme_->getThemeInt(Htheme(theme), part, state, propId, &read);
  if (SUCCEEDED(hr)) value = read;
  return hr;
}

// --- gdi32 ------------------------------------------------------------------------

std::unique_ptr<Surface> GdiPlatform::CreateBackBuffer(int width, int height) {
  return GdiSurface::CreateBackBuffer(width, height);
}

std::unique_ptr<Surface> GdiPlatform::CreateDibSection(int width, int height) {
  return dibSections_->Take(width, height);
}

bool GdiPlatform::GetBitmapSize(std::uintptr_t bitmap, int& width, int& height) {
  // GetObjectA would fill a BITMAP from another kind of object's record too.
  const auto handle = reinterpret_cast<HBITMAP>(bitmap);
  BITMAP info{};
  if (::GetObjectType(handle) != OBJ_BITMAP ||
      ::GetObjectA(handle, sizeof(info), &info) == 0) {
    return false;
  }
  width = info.bmWidth;
  height = info.bmHeight;
  return true;
}

bool GdiPlatform::CopyBitmap(std::uintptr_t bitmap, Surface& target, int width, int height) {
  auto* to = dynamic_cast<GdiSurface*>(&target);
  if (to == nullptr) return false;
  const HWND desktop = ::GetDesktopWindow();
  const HDC screen = ::GetDC(desktop);
  if (screen == nullptr) return false;
  gdi::Dc memory(gdi::NewCompatibleDc(screen));
  ::ReleaseDC(desktop, screen);
  if (!memory) return false;
  // Fails for a bitmap that is selected into another context.
  gdi::SelectGuard selected(memory.Get(), reinterpret_cast<HBITMAP>(bitmap));
  if (!selected.Selected()) return false;
  return ::BitBlt(to->Hdc(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY) != FALSE;
}

int GdiPlatform::ScreenLogPixelsY() {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return 96;
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

std::unique_ptr<TipWindow> GdiPlatform::CreateTipWindow() {
  return std::make_unique<GdiTipWindow>();
}

}  // namespace vantiq
