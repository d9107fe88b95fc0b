#ifdef _WIN32
#include "support/window_host.h"

namespace vantiq::testing {

WindowRig::WindowRig(int width, int height, const wchar_t* themeLibrary)
    : window_(width, height), width_(width), height_(height), platform(themeLibrary) {
  // Shown, so that what is drawn on its DC stays there to be read back.
  ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
  dc_ = GetDC(window_.Get());
  screen_ = std::make_shared<GdiSurface>(dc_, width, height);
  host.windowHandle = window_.Handle();
  host.deviceContext = screen_;
  host.width = width;
  host.height = height;
  control = std::make_unique<Vantiq>(host, platform);
}

WindowRig::~WindowRig() {
  if (control) control->Terminate();
  control.reset();
  screen_.reset();
  if (dc_) ReleaseDC(window_.Get(), dc_);
}

void WindowRig::Start() {
  control->Initialize();
  control->InitProperties();
  control->Resize();
  control->Show();
  control->Paint();
}

std::unique_ptr<GdiSurface> WindowRig::Snapshot() const {
  auto copy = GdiSurface::CreateDibSection(width_, height_);
  if (copy) copy->CopyFrom(0, 0, width_, height_, *screen_, 0, 0);
  return copy;
}

int WindowRig::RegionType() const {
  HRGN scratch = CreateRectRgn(0, 0, 0, 0);
  const int type = GetWindowRgn(window_.Get(), scratch);
  DeleteObject(scratch);
  return type;
}

bool WindowRig::RegionContains(int x, int y) const {
  HRGN scratch = CreateRectRgn(0, 0, 0, 0);
  bool inside = true;  // a window without a region shows every pixel
  if (GetWindowRgn(window_.Get(), scratch) != ERROR) inside = PtInRegion(scratch, x, y) != FALSE;
  DeleteObject(scratch);
  return inside;
}

}  // namespace vantiq::testing
#endif  // _WIN32
