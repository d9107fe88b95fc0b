// A control started as a container starts a new one, on the XP platform with software
// surfaces, for the targets that drive a whole control. Everything it made is released
// when it goes, so millions of runs do not add up.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "common/plain_host.h"
#include "control/vantiq.h"

namespace vantiq::fuzz {

// One platform for the whole run: the version tests remember their answers per thread.
inline ScriptablePlatform& FuzzPlatform() {
  static ScriptablePlatform* const platform = [] {
    auto* p = new ScriptablePlatform;
    p->SetVersion("winxp");
    p->backBufferFactory = [p](int w, int h) { return std::make_unique<SoftSurface>(w, h, *p); };
    p->dibSectionFactory = [p](int w, int h) { return std::make_unique<SoftSurface>(w, h, *p); };
    return p;
  }();
  return *platform;
}

class StartedControl {
 public:
  // Small windows: every setter repaints, so the pixel count sets the pace of a run, and
  // the edge cases (empty, one pixel, text wider than the bar) are all within reach.
  static constexpr int kMaxWidth = 96, kMaxHeight = 40;
  static constexpr int kStartWidth = 64, kStartHeight = 18;

  StartedControl()
      : platform(FuzzPlatform()),
        hwnd(platform.AddWindow(kStartWidth, kStartHeight)),
        screen(kMaxWidth, kMaxHeight, platform),
        host(hwnd, screen, kStartWidth, kStartHeight),
        control(std::make_unique<Vantiq>(host, platform)) {
    control->Initialize();
    control->InitProperties();
    control->Resize();
    control->Show();
  }
  ~StartedControl() {
    control->Terminate();
    control.reset();
    platform.RemoveWindow(hwnd);
    for (std::uintptr_t bitmap : bitmaps) platform.DeleteBitmap(bitmap);
  }
  StartedControl(const StartedControl&) = delete;
  StartedControl& operator=(const StartedControl&) = delete;

  // A w x h bitmap picture of one colour, released with the control.
  std::uintptr_t Bitmap(int w, int h, ColorRef color) {
    bitmaps.push_back(platform.CreateBitmap(w, h, std::vector<ColorRef>(static_cast<std::size_t>(w * h), color)));
    return bitmaps.back();
  }

  ScriptablePlatform& platform;
  WindowHandle hwnd;
  SoftSurface screen;
  tools::PlainHost host;
  std::unique_ptr<Vantiq> control;
  std::vector<std::uintptr_t> bitmaps;
};

}  // namespace vantiq::fuzz
