// Windows only: a plain real window for tests of the platform itself, and the call
// that turns visual styles off for one window.
#pragma once
#ifdef _WIN32

#include <optional>
#include <string>

#include "platform/platform.h"

#include <windows.h>

namespace vantiq::testing {

// A hidden window of w x h client pixels: top-level, or a child at (x, y) of
// `parent`. With `background` its class brush is that colour, which is what the
// window paints for WM_ERASEBKGND. Each window has a class of its own.
class RealWindow {
 public:
  RealWindow(int width, int height, HWND parent = nullptr, int x = 0, int y = 0,
             std::optional<COLORREF> background = std::nullopt) {
    static int serial = 0;
    className_ = L"VantiqTestWindow" + std::to_wstring(++serial);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className_.c_str();
    if (background) wc.hbrBackground = brush_ = ::CreateSolidBrush(*background);
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, className_.c_str(), L"", parent ? WS_CHILD : WS_POPUP, x, y,
                              width, height, parent, nullptr, wc.hInstance, nullptr);
  }
  ~RealWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    ::UnregisterClassW(className_.c_str(), ::GetModuleHandleW(nullptr));
    if (brush_) ::DeleteObject(brush_);
  }
  RealWindow(const RealWindow&) = delete;
  RealWindow& operator=(const RealWindow&) = delete;

  HWND Get() const { return hwnd_; }
  WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(hwnd_); }

 private:
  std::wstring className_;
  HBRUSH brush_ = nullptr;
  HWND hwnd_ = nullptr;
};

// SetWindowTheme(hwnd, L" ", L" "): the window gets no visual style from then on.
// Looked up at run time, as the platform looks up the theme functions.
inline HRESULT TurnVisualStylesOff(HWND hwnd) {
  HMODULE uxtheme = ::LoadLibraryW(L"uxtheme.dll");
  if (!uxtheme) return E_FAIL;
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  auto set = reinterpret_cast<SetWindowThemeFn>(
      reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme")));
  const HRESULT hr = set ? set(hwnd, L" ", L" ") : E_FAIL;
  ::FreeLibrary(uxtheme);
  return hr;
}

}  // namespace vantiq::testing

#endif  // _WIN32
