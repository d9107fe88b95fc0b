// The standard renderers on the real platform: themed chunks stay inside their area,
// set the split by the version's rule and fill a vertical bar in one piece; pictures
// tile through real bitmaps. Wine's theme pixels are not asserted, only where they change.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "control/standard_renderers.h"
#include "platform/mod_version_ex.h"
#include "support/render_probe.h"
#include "support/window_host.h"

namespace vantiq::testing {
namespace {

// What the control drew, read from its back buffer: the window's own pixels are not
// there until the window is mapped.
std::unique_ptr<GdiSurface> Drawn(WindowRig& rig, int w, int h) {
  auto copy = GdiSurface::CreateDibSection(w, h);
  copy->CopyFrom(0, 0, w, h, *rig.control->paint().m_hDC, 0, 0);
  return copy;
}

TEST(ThemedRender, ChunksStayInsideTheirAreaAndAVerticalFillIsOnePiece) {
  for (bool vertical : {false, true}) {
    const int w = vertical ? 20 : 200, h = vertical ? 100 : 20;
    WindowRig rig(w, h);
    rig.Start();
    rig.control->SetShowCaption(false);  // the renderers' pixels only
    if (!rig.control->paint().m_bThemesActive) GTEST_SKIP() << "no visual styles";
    rig.control->SetOrientation(vertical ? eProgressBarOrientationVertical : eProgressBarOrientationHorizontal);
    const auto empty = Drawn(rig, w, h);
    rig.control->SetValue(50);
    const auto filled = Drawn(rig, w, h);
    const Rect area = vertical ? Rect{2, 53, 18, 97} : Rect{3, 3, 100, 18};  // fill end 50 or 100
    const bool onePiece = vertical || modVersionEx::IsWinVista(rig.platform);
    for (int i = 0; i < (vertical ? h : w); ++i) {
      bool drawn = false;  // somewhere across the bar at i
      for (int j = 0; j < (vertical ? w : h); ++j) {
        const int x = vertical ? j : i, y = vertical ? i : j;
        const bool changed = empty->GetPixel(x, y) != filled->GetPixel(x, y);
        ASSERT_TRUE(!changed || area.Contains(x, y)) << x << "," << y;
        drawn |= changed;
      }
      if (onePiece && i >= (vertical ? area.top : area.left) && i < (vertical ? area.bottom : area.right)) {
        EXPECT_TRUE(drawn) << "a gap at " << i;
      }
    }
    const int split = rig.control->paint().m_lSplit;
    if (onePiece) {
      EXPECT_EQ(split, vertical ? area.top : area.right);
    } else {  // chunks of the theme's size and space from x = 3, the split where the next starts
      const DrawingOps& ops = rig.control->ops();
      const ThemeHandle theme = rig.control->paint().m_hTheme;
      const int space = std::max(ops.GetThemeInt(theme, 0, 0, 2412), 0);
      EXPECT_EQ((split - 3) % (std::max(ops.GetThemeInt(theme, 0, 0, 2411), 1) + space), 0) << split;
      EXPECT_TRUE(split > 3 && split - space <= area.right) << split;
    }
  }
}

TEST(ThemedRender, PicturesTileFromTheOriginThroughRealBitmaps) {
  std::vector<std::uint32_t> rows;  // a device-dependent bitmap's 32-bit rows: 0x00RRGGBB, top-down
  for (int i = 0; i < 100; ++i) {
    const ColorRef c = TilePixel(i % 10, i / 10);
    rows.push_back(static_cast<std::uint32_t>(RedOf(c)) << 16 | GreenOf(c) << 8 | BlueOf(c));
  }
  HBITMAP bitmap = ::CreateBitmap(10, 10, 1, 32, rows.data());
  const PictureRef picture = std::make_shared<BitmapPicture>(reinterpret_cast<std::uintptr_t>(bitmap));
  {
    WindowRig rig(100, 20);
    rig.Start();
    rig.control->SetShowCaption(false);
    rig.control->SetStyle(eProgStandard);
    rig.control->SetBackgroundPicture(picture);
    auto shot = Drawn(rig, 100, 20);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 100; ++x)
        ASSERT_EQ(shot->GetPixel(x, y) == Tiled(x, y), std::min({x, y, 99 - x, 19 - y}) >= 2) << x << "," << y;
    rig.control->SetBackgroundPicture(nullptr);
    rig.control->SetProgressPicture(picture);
    rig.control->SetValue(50);
    shot = Drawn(rig, 100, 20);
    for (int x = 2; x < 98; ++x) ASSERT_EQ(shot->GetPixel(x, 10) == Tiled(x, 10), x < 50) << x;
  }
  ::DeleteObject(bitmap);
}

}  // namespace
}  // namespace vantiq::testing

namespace vantiq::testing {
namespace {

// Through the real theme: a control that copies its kept backdrop and its opaque chunks
// draws every fill position as one that draws everything, and a resize, a new picture
// or a theme change is drawn afresh.
TEST(ThemedRender, KeptBackdropGivesThePixelsOfAFullDraw) {
  std::vector<std::uint32_t> rows;  // a device-dependent bitmap's 32-bit rows: 0x00RRGGBB
  for (int i = 0; i < 100; ++i) {
    const ColorRef c = TilePixel(i % 10, i / 10);
    rows.push_back(static_cast<std::uint32_t>(RedOf(c)) << 16 | GreenOf(c) << 8 | BlueOf(c));
  }
  HBITMAP bitmap = ::CreateBitmap(10, 10, 1, 32, rows.data());
  const PictureRef picture = std::make_shared<BitmapPicture>(reinterpret_cast<std::uintptr_t>(bitmap));
  struct Row {
    bool vertical, smooth, rightToLeft, progressPicture, backgroundPicture, shadow;
    std::int32_t style = eProgSystem;  // the others keep their fill with the backdrop
  };
  const Row rows_[] = {
      {false, false, false, false, false, false}, {false, true, true, false, false, true},
      {true, false, false, false, false, true},   {true, true, false, false, false, false},
      {false, false, true, true, false, false},   {false, false, false, false, true, false},
      {false, false, true, false, false, true, eProgStandard}, {true, false, false, true, false, false, eProgXP},
  };
  for (const auto [length, across] : {std::pair{200, 20}, std::pair{600, 30}}) {
    for (const Row& row : rows_) {
      const int w = row.vertical ? across : length, h = row.vertical ? length : across;
      WindowRig kept(w, h), fresh(w, h);
      StandardRenderers* renderers[2] = {};
      WindowRig* rigs[2] = {&kept, &fresh};
      for (int i = 0; i < 2; ++i) {
        auto r = std::make_unique<StandardRenderers>(rigs[i]->platform, rigs[i]->control->ops(), i == 0);
        renderers[i] = r.get();
        rigs[i]->control->SetRenderers(std::move(r));
        rigs[i]->Start();
      }
      if (!kept.control->paint().m_bThemesActive) GTEST_SKIP() << "no visual styles";
      const auto both = [&](const std::function<void(Vantiq&)>& change) {
        for (WindowRig* rig : rigs) change(*rig->control);
      };
      both([&](Vantiq& c) {
        c.SetStyle(row.style);
        c.SetMax(length);
        c.SetOrientation(row.vertical ? eProgressBarOrientationVertical : eProgressBarOrientationHorizontal);
        c.SetScrolling(row.smooth ? eProgressBarScrollSmooth : eProgressBarScrollStandard);
        c.SetRightToLeft(row.rightToLeft);
        c.SetProgressPicture(row.progressPicture ? picture : nullptr);
        c.SetBackgroundPicture(row.backgroundPicture ? picture : nullptr);
        c.SetShadow(row.shadow);
      });
      const int copiesBefore = renderers[0]->backdrop().Copies(), freshBefore = renderers[1]->backdrop().Copies();
      const auto same = [&](const std::string& what) {
        const auto a = Drawn(kept, w, h), b = Drawn(fresh, w, h);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            if (a->GetPixel(x, y) != b->GetPixel(x, y)) return ::testing::AssertionFailure() << what << " at " << x << "," << y;
        return ::testing::AssertionSuccess();
      };
      for (int v = 0; v <= length; ++v) {
        both([&](Vantiq& c) { c.SetValue(v); });
        ASSERT_TRUE(same("value " + std::to_string(v))) << w << "x" << h;
      }
      // A kept fill is copied only while the fill ends in the same chunk.
      EXPECT_GE(renderers[0]->backdrop().Copies() - copiesBefore, row.style == eProgSystem ? length : length / 2)
          << w << "x" << h;
      EXPECT_EQ(renderers[1]->backdrop().Copies(), freshBefore) << "the full draw copied";
      // The flat look's fill grows from the kept one chunk by chunk.
      if (row.style == eProgStandard) EXPECT_GE(renderers[0]->backdrop().StartCopies(), length / 20) << w << "x" << h;

      // What changes the backdrop is drawn afresh (the fresh rig draws everything).
      kept.control->SetValue(length / 3);
      fresh.control->SetValue(length / 3);
      kept.control->SystemSettingsChanged(kept.host.windowHandle, WM_THEMECHANGED, 0, 0);
      fresh.control->SystemSettingsChanged(fresh.host.windowHandle, WM_THEMECHANGED, 0, 0);
      EXPECT_TRUE(same("theme change"));
      both([&](Vantiq& c) { c.SetBackgroundPicture(row.backgroundPicture ? nullptr : picture); });
      EXPECT_TRUE(same("new picture"));
      for (WindowRig* rig : rigs) {
        ::SetWindowPos(rig->Hwnd(), nullptr, 0, 0, w - 7, h - 3, SWP_NOMOVE | SWP_NOZORDER);
        rig->host.width = w - 7;
        rig->host.height = h - 3;
        rig->control->Resize();
      }
      both([&](Vantiq& c) { c.SetValue(length / 2); });
      const auto a = Drawn(kept, w - 7, h - 3), b = Drawn(fresh, w - 7, h - 3);
      for (int y = 0; y < h - 3; ++y)
        for (int x = 0; x < w - 7; ++x) ASSERT_EQ(a->GetPixel(x, y), b->GetPixel(x, y)) << "resized, " << x << "," << y;
    }
  }
  ::DeleteObject(bitmap);
}

}  // namespace
}  // namespace vantiq::testing
