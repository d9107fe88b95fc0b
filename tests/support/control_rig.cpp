#include "support/control_rig.h"

#include <thread>

#include "support/test_surface.h"

namespace vantiq::testing {

void RecordingRenderers::DrawFrame(const PaintSnapshot&, Surface& dc, bool frameOnly) {
  calls.push_back({"Frame", frameOnly, dc.Clip()});
  if (onFrame) onFrame(frameOnly);
}

FillResult RecordingRenderers::DrawFill(const PaintSnapshot&, Surface& dc) {
  calls.push_back({"Fill", false, dc.Clip()});
  if (onFill) onFill(dc);
  FillResult result;
  result.m_lSplit = split;
  return result;
}

void RecordingRenderers::DrawCaption(const PaintSnapshot&, const CaptionPass& pass, Surface& dc) {
  calls.push_back({"Caption", pass.inFill, dc.Clip(), pass.text});
  if (onCaption) onCaption(pass, dc);
}

std::vector<std::string> RecordingRenderers::Names() const {
  std::vector<std::string> names;
  for (const RenderCall& c : calls) names.push_back(c.name + (c.flag ? "+" : ""));
  return names;
}

ControlRig::ControlRig(int width, int height, const std::string& version) {
  platform.SetVersion(version);
  // The system's own colours, so that on Windows the surfaces are real GDI ones.
  for (int i = 0; i < static_cast<int>(platform.sysColors.size()); ++i)
    platform.sysColors[static_cast<std::size_t>(i)] = HostSystemColors().GetSysColor(i);
  platform.backBufferFactory = [this](int w, int h) { return MakeTestSurface(w, h, platform); };
  platform.dibSectionFactory = [this](int w, int h) { return MakeTestDibSection(w, h, platform); };
  hwnd = platform.AddWindow(width, height);
  screen = MakeTestSurface(width > 0 ? width : 1, height > 0 ? height : 1, platform);
  host.windowHandle = hwnd;
  host.deviceContext = screen;
  host.width = width;
  host.height = height;
  control = std::make_unique<Vantiq>(host, platform);
  auto recorder = std::make_unique<RecordingRenderers>();
  renderers = recorder.get();
  control->SetRenderers(std::move(recorder));
}

ControlRig::~ControlRig() { control.reset(); }

void ControlRig::Start() {
  control->Initialize();
  control->InitProperties();
  control->Resize();
  control->Show();
  control->Paint();
}

void ControlRig::ResizeTo(int width, int height) {
  platform.Window(hwnd)->client = {0, 0, width, height};
  screen = MakeTestSurface(width > 0 ? width : 1, height > 0 ? height : 1, platform);
  host.deviceContext = screen;
  host.width = width;
  host.height = height;
  control->Resize();
}

void OnNewThread(const std::function<void()>& fn) {
  std::thread t(fn);
  t.join();
}

}  // namespace vantiq::testing
