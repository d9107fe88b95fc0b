// A started control drawing with the standard renderers, and probes of what one
// renderer draws on its own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "backends/soft/bitmap_picture.h"
#include "control/standard_renderers.h"
#include "render/paint_snapshot.h"
#include "support/control_rig.h"

namespace vantiq::testing {

constexpr ColorRef kFill = Rgb(200, 40, 10);
constexpr ColorRef kBack = Rgb(250, 250, 240);
constexpr ColorRef kClear = Rgb(1, 2, 3);  // under a renderer that runs alone

struct Bar {
  int width = 200, height = 20;
  std::int32_t style = eProgStandard, scrolling = 0, orientation = 0;
  double value = 50;
  std::string version = "winxp";  // other versions need a thread of their own
  bool visualStyles = true;
  bool caption = false;  // the renderers' own tests look at the bar without its text
  bool msimg32 = true, gradientFill = true;  // Msimg32 present, and exporting GradientFill
};

// The bar drawn by Redraw in kFill on kBack, with or without the caption.
inline std::unique_ptr<ControlRig> StartBar(const Bar& bar) {
  auto rig = std::make_unique<ControlRig>(bar.width, bar.height, bar.version);
  Vantiq& c = *rig->control;
  c.SetRenderers(std::make_unique<StandardRenderers>(c.platform(), c.ops()));
  rig->platform.visualStyles = bar.visualStyles;
  if (!bar.msimg32)
    rig->platform.libraries.erase("msimg32.dll");
  else if (!bar.gradientFill)
    rig->platform.libraries["msimg32.dll"].erase("GradientFill");
  rig->Start();
  c.SetProgressColor(kFill);
  c.SetBackColor(kBack);
  c.SetStyle(bar.style);
  c.SetScrolling(bar.scrolling);
  c.SetOrientation(bar.orientation);
  c.SetShowCaption(bar.caption);
  c.SetValue(bar.value);
  return rig;
}

// Clears the surface to kClear and runs the fill (or the frame) alone on it, with what
// the control's next paint would read as `edit` changes it; the fill's result goes to
// *result.
inline const Surface& DrawAlone(ControlRig& rig, bool fill, bool frameOnly = false,
                                const std::function<void(PaintSnapshot&)>& edit = {},
                                FillResult* result = nullptr) {
  Surface& dc = *rig.control->paint().m_hDC;
  dc.FillRect({0, 0, dc.Width(), dc.Height()}, kClear);
  StandardRenderers renderers(rig.control->platform(), rig.control->ops());
  PaintSnapshot snapshot = rig.control->TakePaintSnapshot();
  if (edit) edit(snapshot);
  if (fill) {
    const FillResult drawn = renderers.DrawFill(snapshot, dc);
    if (result) *result = drawn;
  } else {
    renderers.DrawFrame(snapshot, dc, frameOnly);
  }
  return dc;
}

// Runs of pixels, first and last inclusive; a train of `count` runs of `length`, `pitch` apart.
using Runs = std::vector<std::pair<int, int>>;
inline Runs Train(int first, int length, int pitch, int count) {
  Runs runs;
  for (int i = 0; i < count; ++i) runs.emplace_back(first + i * pitch, first + i * pitch + length - 1);
  return runs;
}
inline Runs operator+(Runs a, const Runs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Runs of pixels other than kClear along row `line` (down column `line` when `column`).
inline Runs DrawnRuns(const Surface& s, int line, int length, bool column = false) {
  Runs runs;
  for (int i = 0; i < length; ++i) {
    if ((column ? s.GetPixel(line, i) : s.GetPixel(i, line)) == kClear) continue;
    if (!runs.empty() && runs.back().second == i - 1)
      runs.back().second = i;
    else
      runs.emplace_back(i, i);
  }
  return runs;
}

// A 10 x 10 picture whose pixels all differ; Tiled(x, y) is what it shows at (x, y)
// when tiled from the surface's origin.
inline ColorRef TilePixel(int x, int y) { return Rgb(10 + 20 * x, 10 + 20 * y, 77); }
inline ColorRef Tiled(int x, int y) { return TilePixel(x % 10, y % 10); }
inline PictureRef TestPicture(ScriptablePlatform& platform) {
  std::vector<ColorRef> pixels;
  for (int i = 0; i < 100; ++i) pixels.push_back(TilePixel(i % 10, i / 10));
  return std::make_shared<BitmapPicture>(platform.CreateBitmap(10, 10, pixels));
}

}  // namespace vantiq::testing
