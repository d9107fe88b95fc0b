#include "container_support.h"

#include <thread>

#include "activex/com_host.h"
#include "activex/control_identity.h"
#include "backends/gdi/gdi_platform.h"
#include "backends/gdi/gdi_surface.h"
#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "common/plain_host.h"
#include "support/real_system.h"
#include "support/real_window.h"

namespace vantiq::activex::testing {

namespace {

void Start(Vantiq& control, const BarState& state) {
  control.Initialize();
  control.InitProperties();
  control.Resize();
  control.Show();
  Apply(control, state);
  control.Paint();
}

}  // namespace

container::ControlLibrary& Library() {
  static container::ControlLibrary library(ProgramFolder() + L"VantiqCtl.dll");
  return library;
}

ComPtr<IClassFactory> Factory() {
  ComPtr<IClassFactory> factory;
  Library().GetClassFactory(CLSID_Vantiq, factory);
  return factory;
}

ComPtr<IPropertyPage> NewGeneralPage() {
  ComPtr<IClassFactory> factory;
  ComPtr<IPropertyPage> page;
  if (SUCCEEDED(Library().GetClassFactory(kGeneralPageClsid, factory)))
    factory->CreateInstance(nullptr, IID_IPropertyPage, reinterpret_cast<void**>(page.Put()));
  return page;
}

void Apply(Site& site, const BarState& s) {
  site.Put(L"Style", s.style);
  site.Put(L"Orientation", s.orientation);
  site.Put(L"Scrolling", s.scrolling);
  site.Put(L"ProgressColor", s.progressColor);
  site.Put(L"BackColor", s.backColor);
  site.Put(L"RightToLeft", s.rightToLeft);
  site.Put(L"Caption", s.caption.c_str());
  site.Put(L"ShowCaption", s.showCaption);
  site.Put(L"Value", s.value);
}

void Apply(Vantiq& c, const BarState& s) {
  c.SetStyle(s.style);
  c.SetOrientation(s.orientation);
  c.SetScrolling(s.scrolling);
  c.SetProgressColor(static_cast<OleColor>(s.progressColor));
  c.SetBackColor(static_cast<OleColor>(s.backColor));
  c.SetRightToLeft(s.rightToLeft);
  c.SetCaption(std::u16string(s.caption.begin(), s.caption.end()));
  c.SetShowCaption(s.showCaption);
  c.SetValue(s.value);
}

void ContainerTest::SetUp() {
  ASSERT_HRESULT_SUCCEEDED(OleInitialize(nullptr));
  ASSERT_TRUE(Library().Loaded()) << "VantiqCtl.dll is not next to the test program";
  frame = std::make_unique<Frame>(frameSize.cx, frameSize.cy);
  ASSERT_NE(frame->Hwnd(), nullptr);
}

void ContainerTest::TearDown() {
  frame.reset();
  OleUninitialize();
}

Site* ContainerTest::AddBar(const RECT& rect, const SiteOptions& options) {
  Site* site = frame->Add(Factory().Get(), rect, options);
  EXPECT_NE(site, nullptr);
  if (site) {
    EXPECT_EQ(site->Status(), S_OK);
  }
  frame->PumpMessages();
  return site;
}

Pixels ContainerTest::Shot(Site& site) {
  frame->PumpMessages();
  return container::Capture(site.Window());
}

Pixels SoftRender(int width, int height, const BarState& state) {
  Pixels out;
  // The version answers are remembered per thread.
  std::thread([&] {
    ScriptablePlatform platform;
    vantiq::testing::MirrorRealSystem(platform);
    const WindowHandle hwnd = platform.AddWindow(width, height);
    SoftSurface screen(width, height, platform);
    tools::PlainHost host(hwnd, screen, width, height);
    Vantiq control(host, platform);
    Start(control, state);
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) out.data.push_back(screen.GetPixel(x, y));
    control.Terminate();
  }).join();
  return out;
}

Pixels GdiRender(int width, int height, const BarState& state) {
  vantiq::testing::RealWindow window(width, height);
  HDC dc = GetDC(window.Get());
  Pixels out;
  {
    ComHost host;
    host.SetWindow(window.Get(), std::make_shared<GdiSurface>(dc, width, height));
    GdiPlatform platform;
    Vantiq control(host, platform);
    Start(control, state);
    const Surface* buffer = control.backBuffer().Get();
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) out.data.push_back(buffer ? buffer->GetPixel(x, y) : 0);
    control.Terminate();
  }
  ReleaseDC(window.Get(), dc);
  return out;
}

}  // namespace vantiq::activex::testing
