// The control on the real platform as each Windows version: which look it takes,
// whether its window gets the rounded region and whether the frame goes on top, with
// visual styles on and off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/window_host.h"
#include "windows_version.h"

namespace vantiq::testing {
namespace {

// Records whether the frame was drawn again on top of the caption.
class FrameWatch : public Renderers {
 public:
  void DrawFrame(const PaintSnapshot&, Surface&, bool frameOnly) override { onTop = onTop || frameOnly; }
  FillResult DrawFill(const PaintSnapshot&, Surface&) override { return {}; }
  void DrawCaption(const PaintSnapshot&, const CaptionPass&, Surface&) override {}
  bool onTop = false;
};

struct Outcome {
  bool themesActive, themedMode, rounded, frameOnTop;
};

Outcome RunControl(std::int32_t style, bool stylesOff) {
  WindowRig rig(100, 20);
  auto watch = std::make_unique<FrameWatch>();
  FrameWatch* frames = watch.get();
  rig.control->SetRenderers(std::move(watch));
  if (stylesOff) {
    EXPECT_EQ(TurnVisualStylesOff(rig.Hwnd()), S_OK);
  }
  rig.Start();
  rig.control->SetStyle(style);
  frames->onTop = false;
  rig.control->SetValue(40);
  return {rig.control->paint().m_bThemesActive, rig.control->paint().m_bThemedMode,
          rig.RegionType() == COMPLEXREGION, frames->onTop};
}

TEST(ControlOnThisVersion, EachStyleWithVisualStylesOnAndOff) {
  REQUIRE_VERSION(v);
  for (bool stylesOff : {false, true}) {
    // Wine's own style ("light", not the XP file) is what XP-era systems find here.
    const bool active = v->winXPOrLater && !stylesOff;
    struct Expect {
      std::int32_t style;
      bool themedMode, rounded, frameOnTop;
    } const expected[] = {
        {eProgStandard, false, false, !(v->winVista && active)},
        {eProgThin, false, false, !(v->winVista && active)},
        {eProgXP, true, v->winVista || !active, true},
        {eProgSystem, !v->winVista && active, false, !active},
        {3, false, false, !(v->winVista && active)},
    };
    for (const Expect& e : expected) {
      SCOPED_TRACE(std::string(v->name) + (stylesOff ? ", styles off" : ", styles on") + ", style " +
                   std::to_string(e.style));
      const Outcome o = RunControl(e.style, stylesOff);
      EXPECT_EQ(o.themesActive, active);
      EXPECT_EQ(o.themedMode, e.themedMode);
      EXPECT_EQ(o.rounded, e.rounded);
      EXPECT_EQ(o.frameOnTop, e.frameOnTop);
    }
  }
}

}  // namespace
}  // namespace vantiq::testing
