// The control's own window inside its container's window. It hands the core a window
// and a drawing surface over the window's own device context (ComHost::SetWindow), and
// turns the window's messages into the core's host events: WM_SIZE becomes Resize,
// becoming visible or hidden Show and Hide, WM_PAINT Paint, the theme and system
// change messages RefreshThemeState and a repaint, and mouse messages MouseDown,
// MouseMove and MouseUp in client pixels. WM_SETCURSOR shows MousePointer or MouseIcon.
// WM_GETOBJECT hands accessibility clients an AccessibleControl, and they hear of the
// window being shown, hidden, enabled or disabled as a state change.
//
// The class has no background brush and WM_ERASEBKGND does nothing: every pixel comes
// from the core's back buffer, so nothing flickers.
#pragma once

#include <windows.h>

#include <memory>

#include "activex/com_host.h"
#include "backends/gdi/gdi_surface.h"
#include "control/vantiq.h"

namespace vantiq::activex {

class AccessibleControl;

class ControlWindow {
 public:
  // `owner` is the control object's controlling unknown: it is held for the length of
  // each message, since an event handler may let go of the control while it runs.
  ControlWindow(vantiq::Vantiq& control, ComHost& host, IUnknown* owner);
  ~ControlWindow();
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  // Creates the window, hidden, at `rect` of `parent`'s client area; with no parent, a
  // hidden top-level window of that size. The core gets it through Resize.
  bool Create(HWND parent, const RECT& rect);
  // Hides the window (the core's Hide), takes it from the core and destroys it.
  void Destroy();

  HWND Handle() const { return hwnd_; }
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  // Through the window's own show and hide messages, which reach Show and Hide.
  void SetVisible(bool visible);
  void Move(const RECT& rect);

  // Draws the control's complete current picture into `target` at `bounds` (logical
  // units of `target`), stretched when the sizes differ. Pixels outside the window's
  // region are left alone, as on screen.
  bool RenderInto(HDC target, const RECT& bounds);
  // The window's region (client pixels) placed and scaled onto `bounds`, a new region
  // the caller deletes; nullptr when the window has no region, or there is no window.
  HRGN PlacedRegion(const RECT& bounds) const;
  bool HasRegion() const {
    RECT box;
    return hwnd_ && GetWindowRgnBox(hwnd_, &box) != ERROR;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnSetCursor();
  // A surface over the window's DC for the new client size, given to the core.
  void NewSurface(int width, int height);
  // The window is going: the core lets go of it and of its surface.
  void Detach();

  vantiq::Vantiq& control_;
  ComHost& host_;
  IUnknown* owner_;
  HWND hwnd_ = nullptr;
  HDC dc_ = nullptr;  // the window's own DC (CS_OWNDC), released with the window
  std::shared_ptr<GdiSurface> surface_;
  bool registered_ = false;  // holds the window class
  AccessibleControl* accessible_ = nullptr;  // held from the first WM_GETOBJECT to Detach
};

}  // namespace vantiq::activex
