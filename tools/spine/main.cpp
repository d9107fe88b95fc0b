// vantiq-spine: walks the control's spine on the scriptable platform and prints, for
// each Windows version and style, what the paint driver decides: visual styles, themed
// mode, the window region, where a 42 % fill ends and whether the frame goes on top.
#include <cstdio>
#include <string>
#include <thread>

#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "caption/number_format.h"
#include "control/vantiq.h"

namespace {

using namespace vantiq;

// The smallest container: one window, pixel scale, no extender.
class DemoHost : public Host {
 public:
  DemoHost(WindowHandle hwnd, Surface& screen, int w, int h) : hwnd_(hwnd), screen_(screen), w_(w), h_(h) {}
  WindowHandle BaseWindowHandle() override { return hwnd_; }
  Surface* BaseDeviceContext() override { return &screen_; }
  void SetScaleModePixels() override {}
  int ScaleWidth() override { return w_; }
  int ScaleHeight() override { return h_; }
  void SetBaseFont(const FontRef& font) override { font_ = font; }
  FontRef BaseFont() override { return font_; }
  bool BaseEnabled() override { return true; }
  void SetBaseEnabled(bool) override {}
  std::int16_t BaseMousePointer() override { return 0; }
  void SetBaseMousePointer(std::int16_t) override {}
  PictureRef BaseMouseIcon() override { return nullptr; }
  void SetBaseMouseIcon(const PictureRef&) override {}
  int TextWidth(const std::u16string& text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(const std::u16string&) override { return 13; }
  FontRef CreateStandardFont() override { return std::make_shared<StdFont>(); }
  bool AmbientUserMode() override { return true; }
  bool AmbientRightToLeft() override { return false; }
  std::u16string ExtenderToolTipText() override { return {}; }
  void SetExtenderToolTipText(const std::u16string&) override {}
  std::u16string FormatNumber(double v, const std::u16string& p) override {
    return vantiq::FormatNumber(v, p, NumberLocale{});
  }
  void PropertyChanged(const std::u16string&) override {}
  void RaiseProgressTextCallBack(double&, double&, double&, std::u16string&) override {}
  void RaiseClick() override {}
  void RaiseMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  void RaiseMouseDown(std::int16_t&, std::int16_t&, float&, float&) override {}
  void RaiseMouseUp(std::int16_t&, std::int16_t&, float&, float&) override {}

 private:
  WindowHandle hwnd_;
  Surface& screen_;
  int w_, h_;
  FontRef font_;
};

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
  WindowHandle hwnd = platform.CreateWindow(w, h);
  SoftSurface screen(w, h, platform);
  DemoHost host(hwnd, screen, w, h);
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
