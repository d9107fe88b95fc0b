// Windows only: a real window, a host over it and the control on the real platform,
// for the tests that must see what GDI, USER and the visual styles really do.
#pragma once
#ifdef _WIN32

#include <memory>

#include "backends/gdi/gdi_platform.h"
#include "backends/gdi/gdi_surface.h"
#include "control/vantiq.h"
#include "support/recording_host.h"

namespace vantiq::testing {

class WindowRig {
 public:
  // A visible popup window of w x h pixels, with a started control on it.
  WindowRig(int width, int height);
  ~WindowRig();

  // The window's pixels as they are on screen now (BitBlt from the window's DC).
  std::unique_ptr<GdiSurface> Snapshot() const;
  // The window's region type (GetWindowRgn) and whether it holds a pixel.
  int RegionType() const;
  bool RegionContains(int x, int y) const;
  HWND Hwnd() const { return hwnd_; }

  GdiPlatform platform;
  RecordingHost host;
  std::unique_ptr<Vantiq> control;

 private:
  HWND hwnd_ = nullptr;
  HDC dc_ = nullptr;
  std::unique_ptr<GdiSurface> screen_;
  int width_;
  int height_;
};

}  // namespace vantiq::testing

#endif  // _WIN32
