// The container's frame: a top-level window holding the sites.
#include <algorithm>

#include "container/container.h"
#include "container/site_objects.h"

namespace vantiq::container {

namespace {

constexpr wchar_t kFrameClass[] = L"VantiqContainerFrame";

}  // namespace

// --- Frame --------------------------------------------------------------------------------

Frame::Frame(int width, int height, const wchar_t* title) {
  static const ATOM registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Frame::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameClass;
    return RegisterClassExW(&wc);
  }();
  if (!registered) return;
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT outer{0, 0, width, height};
  AdjustWindowRect(&outer, style, FALSE);
  hwnd_ = CreateWindowExW(0, kFrameClass, title, style, 0, 0, outer.right - outer.left,
                          outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  frameObject_ = new FrameObject(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
}

Frame::~Frame() {
  sites_.clear();
  if (frameObject_) {
    frameObject_->Detach();
    frameObject_->Release();
  }
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

Site* Frame::Add(IClassFactory* factory, const RECT& rect, const SiteOptions& options) {
  if (!hwnd_) return nullptr;
  auto site = std::unique_ptr<Site>(new Site(*this, rect, options));
  site->status_ = factory ? site->Start(factory, options) : E_POINTER;
  sites_.push_back(std::move(site));
  return sites_.back().get();
}

Site* Frame::Add(REFCLSID clsid, const RECT& rect, const SiteOptions& options) {
  if (!hwnd_) return nullptr;
  ComPtr<IClassFactory> factory;
  const HRESULT hr = CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                      reinterpret_cast<void**>(factory.Put()));
  if (SUCCEEDED(hr)) return Add(factory.Get(), rect, options);
  auto site = std::unique_ptr<Site>(new Site(*this, rect, options));
  site->status_ = hr;
  sites_.push_back(std::move(site));
  return sites_.back().get();
}

void Frame::Remove(Site* site) {
  auto it = std::find_if(sites_.begin(), sites_.end(),
                         [&](const std::unique_ptr<Site>& s) { return s.get() == site; });
  if (it == sites_.end()) return;
  // Out of the list before it goes: the control's end may call back into the frame.
  std::unique_ptr<Site> gone = std::move(*it);
  sites_.erase(it);
}

void Frame::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

IOleInPlaceActiveObject* Frame::ActiveObject() const {
  return frameObject_ ? frameObject_->Active() : nullptr;
}

LRESULT CALLBACK Frame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    // Only top-level windows hear of these; the controls' windows need them too.
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
      if (frame)
        for (const auto& site : frame->sites_)
          if (HWND child = site->Window()) SendMessageW(child, message, wParam, lParam);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace vantiq::container
