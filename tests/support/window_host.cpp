#ifdef _WIN32
#include "support/window_host.h"

namespace vantiq::testing {
namespace {

const wchar_t* RegisterTestClass() {
  static const wchar_t* name = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantiqTestWindow";
    RegisterClassW(&wc);
    return L"VantiqTestWindow";
  }();
  return name;
}

}  // namespace

WindowRig::WindowRig(int width, int height) : width_(width), height_(height) {
  hwnd_ = CreateWindowExW(0, RegisterTestClass(), L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  dc_ = GetDC(hwnd_);
  screen_ = std::make_unique<GdiSurface>(dc_, width, height);
  host.windowHandle = reinterpret_cast<WindowHandle>(hwnd_);
  host.deviceContext = screen_.get();
  host.width = width;
  host.height = height;
  control = std::make_unique<Vantiq>(host, platform);
  control->Initialize();
  control->InitProperties();
  control->Resize();
  control->Show();
  control->Paint();
}

WindowRig::~WindowRig() {
  if (control) control->Terminate();
  control.reset();
  screen_.reset();
  if (dc_) ReleaseDC(hwnd_, dc_);
  if (hwnd_) DestroyWindow(hwnd_);
}

std::unique_ptr<GdiSurface> WindowRig::Snapshot() const {
  auto copy = GdiSurface::CreateDibSection(width_, height_);
  if (copy) copy->CopyFrom(0, 0, width_, height_, *screen_, 0, 0);
  return copy;
}

int WindowRig::RegionType() const {
  HRGN scratch = CreateRectRgn(0, 0, 0, 0);
  const int type = GetWindowRgn(hwnd_, scratch);
  DeleteObject(scratch);
  return type;
}

bool WindowRig::RegionContains(int x, int y) const {
  HRGN scratch = CreateRectRgn(0, 0, 0, 0);
  bool inside = true;  // a window without a region shows every pixel
  if (GetWindowRgn(hwnd_, scratch) != ERROR) inside = PtInRegion(scratch, x, y) != FALSE;
  DeleteObject(scratch);
  return inside;
}

}  // namespace vantiq::testing
#endif  // _WIN32
