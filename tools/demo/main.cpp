// vantiq-demo: a dozen live Vantiq controls on one window, hosted by the project's own
// container, animated as a host would animate them (stepping Value from a timer).
//   vantiq-demo.exe                                  runs until the window is closed
//   vantiq-demo.exe --screenshot FILE.png [--frames N]  runs N frames (default 40),
//                                                    saves the window and exits
// The control comes from the registry when it is registered, else from VantiqCtl.dll
// beside the program.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "VantiqCtl.h"
#include "backends/soft/png_file.h"
#include "container/container.h"
#include "demo/demo_layout.h"

namespace {

using vantiq::container::ComPtr;
using vantiq::container::Frame;
using vantiq::container::Site;
using vantiq::container::SiteOptions;
using namespace vantiq::demo;

// A picture object over a w x h bitmap painted by `paint(x, y)`; the object owns it.
ComPtr<IDispatch> MakePicture(int w, int h, COLORREF (*paint)(int, int)) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelV(memory, x, y, paint(x, y));
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof desc;
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  ComPtr<IDispatch> picture;
  if (FAILED(OleCreatePictureIndirect(&desc, IID_IDispatch, TRUE, reinterpret_cast<void**>(picture.Put()))))
    DeleteObject(bitmap);
  return picture;
}

COLORREF Stripes(int x, int y) { return (x + y) % 8 < 4 ? RGB(230, 90, 40) : RGB(250, 170, 60); }
COLORREF Checker(int x, int y) { return (x / 6 + y / 6) % 2 ? RGB(255, 244, 200) : RGB(220, 232, 255); }

struct Demo {
  Frame frame{kWindowWidth, kWindowHeight, L"Vantiq demo"};
  std::vector<Site*> bars;
  vantiq::container::ControlLibrary* library = nullptr;

  Site* Add(int index, const SiteOptions& options = {}) {
    Site* site = frame.Add(CLSID_Vantiq, kCells[index].rect, options);
    if ((!site || FAILED(site->Status())) && library && library->Loaded()) {
      if (site) frame.Remove(site);
      ComPtr<IClassFactory> factory;
      if (SUCCEEDED(library->GetClassFactory(CLSID_Vantiq, factory)))
        site = frame.Add(factory.Get(), kCells[index].rect, options);
    }
    HWND label = CreateWindowW(L"STATIC", kCells[index].label, WS_CHILD | WS_VISIBLE | SS_RIGHT,
                               kCells[index].rect.left - 105, kCells[index].rect.top + 3, 98, 16,
                               frame.Hwnd(), nullptr, nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (index >= 10) ShowWindow(label, SW_HIDE);  // the vertical bars speak for themselves
    bars.push_back(site);
    return site;
  }

  void Build() {
    Add(0)->Put(L"Style", 0L);
    Site* thin = Add(1);
    thin->Put(L"Style", 1L);
    thin->Put(L"Scrolling", 1L);
    Add(2)->Put(L"Style", 2L);
    Add(3)->Put(L"Style", 4L);
    Site* marquee = Add(4);
    marquee->Put(L"Style", 2L);
    marquee->Put(L"Scrolling", 2L);
    marquee->Put(L"SearchCaption", L"Searching\u2026");
    Site* pictures = Add(5);
    pictures->Put(L"Style", 0L);
    pictures->Put(L"Scrolling", 1L);
    pictures->PutRef(L"ProgressPicture", MakePicture(16, 16, Stripes).Get());
    pictures->PutRef(L"BackgroundPicture", MakePicture(12, 12, Checker).Get());
    Site* shadow = Add(6);
    shadow->Put(L"Style", 0L);
    shadow->Put(L"Shadow", true);
    shadow->Put(L"ShadowColor", static_cast<long>(RGB(0, 0, 0)));
    shadow->Put(L"AlternateShadowColor", static_cast<long>(RGB(0, 0, 80)));
    shadow->Put(L"ShadowIntensity", 255L);
    shadow->Put(L"AlternateForeColor", static_cast<long>(RGB(255, 255, 255)));
    Site* rtl = Add(7, [] {
      SiteOptions o;
      o.rightToLeft = true;
      return o;
    }());
    rtl->Put(L"Style", 2L);
    rtl->Put(L"RightToLeft", true);
    rtl->Put(L"TextAlignment", 0L);
    Site* callback = Add(8);
    callback->Put(L"Style", 0L);
    callback->events.progressText = [](double& value, double&, double& max, std::wstring& text) {
      wchar_t line[64];
      std::swprintf(line, 64, L"File %d of %d", static_cast<int>(value / 10), static_cast<int>(max / 10));
      text = line;
    };
    callback->Put(L"CaptionCallBack", true);
    SiteOptions tip;
    tip.toolTipText = L"\u041f\u0440\u043e\u0433\u0440\u0435\u0441\u0441 \u2014 \u9032\u6357 \u2713";
    Site* tooltip = Add(9, tip);
    tooltip->Put(L"Style", 4L);
    tooltip->Put(L"Caption", L"Hover for a tip");
    Site* vertical = Add(10);
    vertical->Put(L"Style", 0L);
    vertical->Put(L"Orientation", 1L);
    Site* verticalXp = Add(11);
    verticalXp->Put(L"Style", 2L);
    verticalXp->Put(L"Orientation", 1L);
    verticalXp->Put(L"Scrolling", 1L);
  }

  // One frame: every bar moves on, each at its own pace.
  void Step(int frameNumber) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
      if (!bars[i] || FAILED(bars[i]->Status())) continue;
      const int pace = 1 + static_cast<int>(i % 4);
      const int value = (frameNumber * pace + static_cast<int>(i) * 13) % 101;
      bars[i]->Put(L"Value", static_cast<double>(value));
    }
    frame.PumpMessages();
  }
};

bool SaveWindow(HWND window, const std::string& path) {
  const vantiq::container::Pixels shot = vantiq::container::Capture(window);
  vantiq::Image image(shot.width, shot.height);
  image.pixels.assign(shot.data.begin(), shot.data.end());
  return vantiq::WritePng(path, image);
}

// The folder of this program, with a trailing backslash.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace

int main(int argc, char** argv) {
  std::string screenshot;
  int frames = 40;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--screenshot" && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (arg == "--frames" && i + 1 < argc) {
      frames = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: vantiq-demo [--screenshot FILE.png [--frames N]]\n");
      return 2;
    }
  }
  if (FAILED(OleInitialize(nullptr))) return 1;
  int status = 0;
  {
    vantiq::container::ControlLibrary library(ProgramFolder() + L"VantiqCtl.dll");
    Demo demo;
    demo.library = &library;
    demo.Build();
    for (Site* site : demo.bars)
      if (!site || FAILED(site->Status())) {
        std::fprintf(stderr, "vantiq-demo: the control could not be created (is VantiqCtl.dll registered?)\n");
        status = 1;
      }
    const HWND window = demo.frame.Hwnd();
    if (!screenshot.empty()) {
      for (int f = 0; f < frames; ++f) demo.Step(f);
      if (!SaveWindow(window, screenshot)) {
        std::fprintf(stderr, "vantiq-demo: cannot write %s\n", screenshot.c_str());
        status = 1;
      }
    } else {
      for (int f = 0; IsWindow(window); ++f) {
        demo.Step(f);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 60, QS_ALLINPUT);
      }
    }
  }
  OleUninitialize();
  return status;
}
