// OLE measures an object's extent in HIMETRIC (0.01 mm); the window is measured in
// pixels of the screen.
#pragma once

#include <windows.h>

namespace vantiq::activex {

constexpr int kHimetricPerInch = 2540;

inline SIZE ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  SIZE dpi{96, 96};
  if (screen) {
    dpi.cx = GetDeviceCaps(screen, LOGPIXELSX);
    dpi.cy = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

inline SIZEL PixelsToHimetric(int width, int height) {
  const SIZE dpi = ScreenPixelsPerInch();
  return SIZEL{MulDiv(width, kHimetricPerInch, dpi.cx), MulDiv(height, kHimetricPerInch, dpi.cy)};
}

inline SIZE HimetricToPixels(const SIZEL& size) {
  const SIZE dpi = ScreenPixelsPerInch();
  return SIZE{MulDiv(size.cx, dpi.cx, kHimetricPerInch), MulDiv(size.cy, dpi.cy, kHimetricPerInch)};
}

}  // namespace vantiq::activex
