#include "activex/control_window.h"

#include <windowsx.h>
#include <olectl.h>

#include <vector>

#include "activex/accessible_control.h"
#include "activex/com_picture.h"
#include "activex/module.h"

namespace vantiq::activex {

namespace {

constexpr wchar_t kWindowClass[] = L"VantiqCtlWindow";

// The class is registered while any window of it lives, and unregistered after the
// last: a library unloaded and loaded again elsewhere must not find a class whose
// window procedure points into its old image.
SRWLOCK g_classLock = SRWLOCK_INIT;
int g_classUsers = 0;

HINSTANCE Instance() {
  HMODULE module = ModuleHandle();
  return module ? module : GetModuleHandleW(nullptr);
}

bool AcquireWindowClass(WNDPROC procedure) {
  AcquireSRWLockExclusive(&g_classLock);
  bool ok = true;
  if (g_classUsers == 0) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Its own DC: one surface serves the window's whole life.
    wc.style = CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = procedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    ok = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  if (ok) ++g_classUsers;
  ReleaseSRWLockExclusive(&g_classLock);
  return ok;
}

void ReleaseWindowClass() {
  AcquireSRWLockExclusive(&g_classLock);
  if (--g_classUsers == 0) UnregisterClassW(kWindowClass, Instance());
  ReleaseSRWLockExclusive(&g_classLock);
}

// Button: 1 left, 2 right, 4 middle.
std::int16_t HeldButtons(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                                   ((keys & MK_MBUTTON) ? 4 : 0));
}

// Shift: 1 Shift, 2 Ctrl, 4 Alt. Mouse messages carry no Alt state: the keyboard says.
std::int16_t ShiftState(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                                   (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

// The system cursor for a MousePointer value from 1 to 15; null for the default (0) and
// values that name none.
HCURSOR StandardCursor(std::int32_t pointer) {
  LPCWSTR id = nullptr;
  switch (pointer) {
    case 1: id = IDC_ARROW; break;
    case 2: id = IDC_CROSS; break;
    case 3: id = IDC_IBEAM; break;
    case 4: id = IDC_ICON; break;
    case 5: id = IDC_SIZEALL; break;  // the old "size" cursor
    case 6: id = IDC_SIZENESW; break;
    case 7: id = IDC_SIZENS; break;
    case 8: id = IDC_SIZENWSE; break;
    case 9: id = IDC_SIZEWE; break;
    case 10: id = IDC_UPARROW; break;
    case 11: id = IDC_WAIT; break;
    case 12: id = IDC_NO; break;
    case 13: id = IDC_APPSTARTING; break;
    case 14: id = IDC_HELP; break;
    case 15: id = IDC_SIZEALL; break;
    default: return nullptr;
  }
  HCURSOR cursor = LoadCursorW(nullptr, id);
  // A system without the old icon cursor shows the arrow.
  return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}

// MouseIcon as a cursor: icons and cursors only; a bitmap picture has no hot spot.
HCURSOR CustomCursor(const PictureRef& icon) {
  auto* com = dynamic_cast<ComPicture*>(icon.get());
  if (!com) return nullptr;
  auto picture = com->Disp().As<IPicture>(IID_IPicture);
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON ||
      FAILED(picture->get_Handle(&handle)))
    return nullptr;
  return reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle));
}

constexpr std::int32_t kCustomPointer = 99;

}  // namespace

ControlWindow::ControlWindow(vantiq::Vantiq& control, ComHost& host, IUnknown* owner)
    : control_(control), host_(host), owner_(owner) {}

ControlWindow::~ControlWindow() {
  Destroy();
  if (registered_) ReleaseWindowClass();
}

bool ControlWindow::Create(HWND parent, const RECT& rect) {
  if (hwnd_) return true;
  if (!registered_) registered_ = AcquireWindowClass(&WindowProc);
  if (!registered_) return false;
  DWORD style = parent ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP;
  if (!host_.BaseEnabled()) style |= WS_DISABLED;
  // WM_NCCREATE stores the window; WM_CREATE and WM_SIZE give it to the core.
  CreateWindowExW(0, kWindowClass, L"", style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent, nullptr, Instance(), this);
  return hwnd_ != nullptr;
}

void ControlWindow::Destroy() {
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  if (IsWindowVisible(hwnd)) IgnoreErrors([&] { control_.Hide(); });
  // Taken from the core first: no message of the window's end reaches the control,
  // which may itself be in the middle of its own end.
  Detach();
  DestroyWindow(hwnd);
}

void ControlWindow::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void ControlWindow::Move(const RECT& rect) {
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindow::NewSurface(int width, int height) {
  if (!dc_) return;
  // A paint in progress may still hold the old surface: it goes when that paint lets go.
  surface_ = std::make_shared<GdiSurface>(dc_, width, height);
  host_.SetWindow(hwnd_, surface_);
}

void ControlWindow::Detach() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (accessible_) {
    // Clients may hold the object longer; it answers no more for this window.
    accessible_->Disconnect();
    accessible_->Release();
    accessible_ = nullptr;
  }
  host_.SetWindow(nullptr, nullptr);
  // Resize without a window: the core forgets the handle and any pointer to the surface.
  IgnoreErrors([&] { control_.Resize(); });
  surface_.reset();
  dc_ = nullptr;  // the class's own DC goes with the window
  hwnd_ = nullptr;
}

LRESULT CALLBACK ControlWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<ControlWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  IUnknown* owner = self->owner_;
  owner->AddRef();
  LRESULT result = 0;
  try {
    result = self->OnMessage(message, wParam, lParam);
  } catch (...) {
    // Nothing may escape into the system's message dispatch.
    result = 0;
  }
  owner->Release();  // may end the control, and this window with it
  return result;
}

LRESULT ControlWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // An event handler may take the window away while a message runs.
  const HWND hwnd = hwnd_;
  switch (message) {
    case WM_CREATE: {
      dc_ = GetDC(hwnd);
      RECT client{};
      GetClientRect(hwnd, &client);
      NewSurface(client.right, client.bottom);
      return 0;
    }
    case WM_SIZE:
      NewSurface(LOWORD(lParam), HIWORD(lParam));
      IgnoreErrors([&] { control_.Resize(); });
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      control_.WindowPositionChanged();  // SetWindowRgn, from anyone, arrives here too
      if (pos->flags & SWP_SHOWWINDOW)
        IgnoreErrors([&] { control_.Show(); });
      else if (pos->flags & SWP_HIDEWINDOW)
        IgnoreErrors([&] { control_.Hide(); });
      if (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
      break;  // DefWindowProc sends WM_SIZE and WM_MOVE
    }
    case WM_ENABLE:
      NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
      return 0;
    case WM_GETOBJECT:
      // The object id arrives as a 32-bit value, sign-extended on 64-bit Windows.
      if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (!accessible_) accessible_ = AccessibleControl::Create(hwnd, host_, owner_);
        if (accessible_) return LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      control_.Paint();
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd, &client);
      RenderInto(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE: {
      control_.SystemSettingsChanged(reinterpret_cast<WindowHandle>(hwnd), message, wParam, lParam);
      break;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT && OnSetCursor())
        return TRUE;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      OnMouse(message, wParam, lParam);
      return 0;
    case WM_DESTROY:
      // Destroyed from outside (with its parent): the core lets go of it.
      Detach();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void ControlWindow::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  std::int16_t shift = ShiftState(wParam);
  float x = static_cast<float>(GET_X_LPARAM(lParam));
  float y = static_cast<float>(GET_Y_LPARAM(lParam));
  std::int16_t button = 0;
  switch (message) {
    case WM_MOUSEMOVE:
      button = HeldButtons(wParam);
      control_.MouseMove(button, shift, x, y);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button = 1;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      button = 2;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = 4;
      break;
    case WM_LBUTTONUP:
      button = 1;
      break;
    case WM_RBUTTONUP:
      button = 2;
      break;
    case WM_MBUTTONUP:
      button = 4;
      break;
  }
  const bool down = message != WM_LBUTTONUP && message != WM_RBUTTONUP && message != WM_MBUTTONUP;
  const HWND hwnd = hwnd_;
  if (down) {
    // The release reaches the control even outside it.
    if (GetCapture() != hwnd) SetCapture(hwnd);
    control_.MouseDown(button, shift, x, y);
  } else {
    control_.MouseUp(button, shift, x, y);
    if (HeldButtons(wParam) == 0 && GetCapture() == hwnd) ReleaseCapture();
  }
}

bool ControlWindow::OnSetCursor() {
  const std::int32_t pointer = control_.MousePointer();
  HCURSOR cursor = pointer == kCustomPointer ? CustomCursor(control_.MouseIcon()) : StandardCursor(pointer);
  if (!cursor) return false;  // the class's arrow, or what the container shows
  SetCursor(cursor);
  return true;
}

HRGN ControlWindow::PlacedRegion(const RECT& bounds) const {
  if (!hwnd_) return nullptr;
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return nullptr;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (!region) return nullptr;
  HRGN placed = nullptr;
  if (GetWindowRgn(hwnd_, region) != ERROR) {
    XFORM place{};
    place.eM11 = static_cast<FLOAT>(bounds.right - bounds.left) / static_cast<FLOAT>(client.right);
    place.eM22 = static_cast<FLOAT>(bounds.bottom - bounds.top) / static_cast<FLOAT>(client.bottom);
    place.eDx = static_cast<FLOAT>(bounds.left);
    place.eDy = static_cast<FLOAT>(bounds.top);
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(size);
    if (size && GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())) == size)
      placed = ExtCreateRegion(&place, size, reinterpret_cast<RGNDATA*>(data.data()));
  }
  DeleteObject(region);
  return placed;
}

bool ControlWindow::RenderInto(HDC target, const RECT& bounds) {
  if (!hwnd_ || !target) return false;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return true;
  control_.RedrawWhole();
  HDC source = dc_;
  if (auto* buffer = dynamic_cast<const GdiSurface*>(control_.backBuffer().Get())) source = buffer->Hdc();
  if (!source) return false;

  const int targetWidth = bounds.right - bounds.left;
  const int targetHeight = bounds.bottom - bounds.top;
  const int saved = SaveDC(target);
  // The region in the target's device units, placed and scaled as the picture is.
  POINT corners[2] = {{bounds.left, bounds.top}, {bounds.right, bounds.bottom}};
  LPtoDP(target, corners, 2);
  if (HRGN placed = PlacedRegion(RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y})) {
    ExtSelectClipRgn(target, placed, RGN_AND);
    DeleteObject(placed);
  }
  BOOL ok;
  if (targetWidth == width && targetHeight == height) {
    ok = BitBlt(target, bounds.left, bounds.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(target, COLORONCOLOR);
    ok = StretchBlt(target, bounds.left, bounds.top, targetWidth, targetHeight, source, 0, 0, width,
                    height, SRCCOPY);
  }
  RestoreDC(target, saved);
  return ok != FALSE;
}

}  // namespace vantiq::activex
