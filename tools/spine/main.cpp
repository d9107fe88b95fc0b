// vantiq-spine: walks the control's spine on the scriptable platform and prints, for
// each Windows version and style, what the paint driver decides: visual styles, themed
// mode, the window region, where a 42 % fill ends and whether the frame goes on top.
#include <cstdio>
#include <string>
#include <thread>

#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "common/plain_host.h"
#include "control/vantiq.h"

namespace {

using namespace vantiq;

const char* StyleName(std::int32_t s) {
  switch (s) {
    case eProgStandard: return "Standard";
    case eProgThin: return "Thin";
    case eProgXP: return "XP";
    case eProgSystem: return "System";
    default: return "other";
  }
}

void Row(const std::string& version, bool styles, std::int32_t style) {
  ScriptablePlatform platform;
  platform.SetVersion(version);
  platform.visualStyles = styles;
  const int w = 200, h = 20;
  WindowHandle hwnd = platform.AddWindow(w, h);
  SoftSurface screen(w, h, platform);
  tools::PlainHost host(hwnd, screen, w, h);
  Vantiq bar(host, platform);
  bar.Initialize();
  bar.InitProperties();
  bar.Resize();
  bar.Show();
  bar.SetStyle(style);
  bar.SetValue(42);
  const PaintState& p = bar.paint();
  const SoftWindow* win = platform.Window(hwnd);
  const ColorRef back = screen.GetPixel(w / 2, h / 2);
  std::printf("%-6s %-7s %-9s %-7s %-6s %-8s %4d  (%d, %d, %d)\n", version.c_str(), styles ? "on" : "off",
              StyleName(style), p.m_bThemesActive ? "yes" : "no", p.m_bThemedMode ? "yes" : "no",
              win->region ? "rounded" : "none", p.m_rcFill.right, RedOf(back), GreenOf(back), BlueOf(back));
  bar.Terminate();
}

}  // namespace

int main() {
  std::printf("A 200 x 20 bar at 42 %%, on each system with visual styles on and off:\n\n");
  std::printf("%-6s %-7s %-9s %-7s %-6s %-8s %4s  %s\n", "system", "styles", "style", "active", "themed", "region",
              "fill", "background (r, g, b)");
  for (const char* version : {"win98", "win2k", "winxp", "vista", "win7", "win10"})
    for (bool styles : {true, false})
      for (std::int32_t style : {eProgStandard, eProgThin, eProgXP, eProgSystem})
        // The version answers are remembered per thread: one thread per system.
        std::thread([&] { Row(version, styles, style); }).join();
  return 0;
}
