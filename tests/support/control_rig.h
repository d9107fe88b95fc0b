// A control wired to a recording host, a scriptable platform and recording renderers,
// drawing on the test backend's surfaces.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "control/renderers.h"
#include "control/vantiq.h"
#include "support/recording_host.h"

namespace vantiq::testing {

struct RenderCall {
  std::string name;  // "Frame", "Fill" or "Caption"
  bool flag = false;  // frameOnly or inFill
  std::optional<Rect> clip;
  std::u16string text;  // a caption pass's text
};

// Records each renderer call with the clip in force; optional actions draw or poke.
class RecordingRenderers : public Renderers {
 public:
  std::vector<RenderCall> calls;
  std::int32_t split = 0;  // where the recorded fill says it ends
  std::function<void(bool)> onFrame;
  std::function<void(Surface&)> onFill;
  std::function<void(const CaptionPass&, Surface&)> onCaption;

  void DrawFrame(const PaintSnapshot& s, Surface& dc, bool frameOnly) override;
  FillResult DrawFill(const PaintSnapshot& s, Surface& dc) override;
  void DrawCaption(const PaintSnapshot& s, const CaptionPass& pass, Surface& dc) override;
  std::vector<std::string> Names() const;
};

class ControlRig {
 public:
  // A control window of w x h pixels on the named Windows version.
  explicit ControlRig(int width = 200, int height = 20, const std::string& version = "winxp");
  ~ControlRig();

  // Initialize, InitProperties, Resize, Show and Paint, as a container starts a new control.
  void Start();
  // Changes the window's size and tells the control.
  void ResizeTo(int width, int height);
  ColorRef ScreenPixel(int x, int y) const { return screen->GetPixel(x, y); }
  ColorRef BufferPixel(int x, int y) const { return control->paint().m_hDC->GetPixel(x, y); }

  ScriptablePlatform platform;
  RecordingHost host;
  std::shared_ptr<Surface> screen;
  WindowHandle hwnd = 0;
  std::unique_ptr<Vantiq> control;
  RecordingRenderers* renderers = nullptr;
};

// Runs fn on a new thread and waits: the version tests remember their answers per
// thread, so each scripted Windows version needs a thread of its own.
void OnNewThread(const std::function<void()>& fn);

}  // namespace vantiq::testing
