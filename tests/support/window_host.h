// Windows only: a real window, a host over it and the control on the real platform,
// for the tests that must see what GDI, USER and the visual styles really do.
#pragma once
#ifdef _WIN32

#include <memory>

#include "backends/gdi/gdi_platform.h"
#include "backends/gdi/gdi_surface.h"
#include "control/vantiq.h"
#include "support/real_window.h"
#include "support/recording_host.h"

namespace vantiq::testing {

class WindowRig {
 public:
  // A shown popup window of w x h pixels with a control on it; Start() starts it.
  // The platform takes the theme functions from `themeLibrary`.
  WindowRig(int width, int height, const wchar_t* themeLibrary = L"uxtheme.dll");
  ~WindowRig();

  // Initialize, InitProperties, Resize, Show and Paint, as a container starts a new control.
  void Start();
  // The window's pixels as they are on screen now (BitBlt from the window's DC).
  std::unique_ptr<GdiSurface> Snapshot() const;
  // The window's region type (GetWindowRgn) and whether it holds a pixel.
  int RegionType() const;
  bool RegionContains(int x, int y) const;
  HWND Hwnd() const { return window_.Get(); }

 private:
  RealWindow window_;  // first: it outlives everything drawn on it
  HDC dc_ = nullptr;
  std::shared_ptr<GdiSurface> screen_;
  int width_;
  int height_;

 public:
  GdiPlatform platform;
  RecordingHost host;
  std::unique_ptr<Vantiq> control;
};

}  // namespace vantiq::testing

#endif  // _WIN32
