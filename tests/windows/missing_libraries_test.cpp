// The control where a system library is missing. Without the theme library the system
// look is drawn as without visual styles; without Msimg32 (scripts/test.sh runs this
// program once more with it turned off through Wine's DLL overrides) the control still
// loads, its caption loses the shadow, and gradients are drawn line by line. In each case
// GDI shows the same pixels as the software surface scripted to lack the library.
#include "backends/soft/scriptable_platform.h"
#include "backends/soft/soft_surface.h"
#include "common/enums.h"
#include "common/plain_host.h"
#include "backends/soft/png_file.h"
#include "support/control_rig.h"
#include "support/pixel_diff.h"
#include "support/real_system.h"
#include "support/window_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace vantiq::testing {
namespace {

constexpr int kWidth = 150, kHeight = 22;
// Pixels outside the window's region are not the window's.
constexpr ColorRef kNotShown = 0xFFFFFFFF;

using BarSetup = std::function<void(Vantiq&)>;

bool Msimg32Present() {
  HMODULE module = ::LoadLibraryA("msimg32.dll");
  if (module) ::FreeLibrary(module);
  return module != nullptr;
}

// What the window shows.
Image OnGdi(const wchar_t* themeLibrary, const BarSetup& setup) {
  WindowRig rig(kWidth, kHeight, themeLibrary);
  rig.Start();
  setup(*rig.control);
  rig.control->Paint();
  const std::unique_ptr<GdiSurface> shot = rig.Snapshot();
  Image pixels(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) pixels.Set(x, y, shot && rig.RegionContains(x, y) ? shot->GetPixel(x, y) : kNotShown);
  return pixels;
}

// The same control on the software surface, answering as this system does but for
// the visual styles or Msimg32 it is told to lack.
Image OnSoftware(bool visualStyles, bool msimg32, const BarSetup& setup) {
  Image pixels(kWidth, kHeight);
  OnNewThread([&] {  // the version answers are remembered per thread
    ScriptablePlatform platform;
    MirrorRealSystem(platform);
    if (!visualStyles) platform.visualStyles = false;
    if (!msimg32) platform.libraries.erase("msimg32.dll");
    const WindowHandle hwnd = platform.AddWindow(kWidth, kHeight);
    SoftSurface screen(kWidth, kHeight, platform);
    tools::PlainHost host(hwnd, screen, kWidth, kHeight);
    Vantiq control(host, platform);
    control.Initialize(), control.InitProperties(), control.Resize(), control.Show(), control.Paint();
    setup(control);
    control.Paint();
    const std::optional<Region>& region = platform.Window(hwnd)->region;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) pixels.Set(x, y, !region || region->Contains(x, y) ? screen.GetPixel(x, y) : kNotShown);
    control.Terminate();
  });
  return pixels;
}

BarSetup Bar(std::int32_t style, std::int32_t scrolling, std::int32_t orientation = eProgressBarOrientationHorizontal) {
  return [=](Vantiq& c) {
    c.SetShowCaption(false), c.SetStyle(style), c.SetScrolling(scrolling), c.SetOrientation(orientation);
    c.SetValue(58);
  };
}

TEST(WithoutTheThemeLibrary, TheSystemLookIsDrawnAsWithoutVisualStyles) {
  for (const std::int32_t scrolling : {eProgressBarScrollStandard, eProgressBarScrollSmooth}) {
    const BarSetup setup = Bar(eProgSystem, scrolling);
    EXPECT_TRUE(SamePixels(OnSoftware(false, true, setup), OnGdi(L"no-such-uxtheme.dll", setup)))
        << "scrolling " << scrolling;
  }
}

TEST(WithoutMsimg32, TheControlPaintsAndItsCaptionLosesTheShadow) {
  if (Msimg32Present()) GTEST_SKIP() << "Msimg32 is here; scripts/test.sh runs this with it turned off";
  WindowRig rig(kWidth, kHeight);
  rig.Start();
  Vantiq& c = *rig.control;
  c.SetShowCaption(true), c.SetShadow(true), c.SetValue(40), c.Paint();
  EXPECT_FALSE(c.Shadow());
  const std::unique_ptr<GdiSurface> shot = rig.Snapshot();
  ASSERT_TRUE(shot);
  int captionInk = 0;  // the caption is drawn in the default black fore colour
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) captionInk += shot->GetPixel(x, y) == 0;
  EXPECT_GT(captionInk, 10);
}

TEST(WithoutMsimg32, GradientsAreDrawnLineByLineAsOnTheSoftwareSurface) {
  if (Msimg32Present()) GTEST_SKIP() << "Msimg32 is here; scripts/test.sh runs this with it turned off";
  for (const std::int32_t orientation : {eProgressBarOrientationHorizontal, eProgressBarOrientationVertical}) {
    for (const std::int32_t scrolling : {eProgressBarScrollStandard, eProgressBarScrollSmooth}) {
      const BarSetup setup = Bar(eProgXP, scrolling, orientation);
      EXPECT_TRUE(SamePixels(OnSoftware(true, false, setup), OnGdi(L"uxtheme.dll", setup)))
          << "orientation " << orientation << ", scrolling " << scrolling;
    }
  }
}

}  // namespace
}  // namespace vantiq::testing
