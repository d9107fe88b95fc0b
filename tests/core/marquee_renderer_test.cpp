// The marquee renderer: where the three blocks go and their shades, the themed train's
// stop and skip rules and base colour, and the vertical train with and without GradientFill.
#include "render/marquee_renderer.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/render_probe.h"

namespace vantiq::testing {
namespace {

constexpr std::int32_t kMarquee = eProgressBarScrollMarquee, kVert = eProgressBarOrientationVertical;

ColorRef Edge(ColorRef base, int i) { return LightenColor(base, 220 - 40 * i); }
ColorRef Middle(ColorRef base, int i) { return LightenColor(base, 200 - 40 * i); }

TEST(MarqueeRenderer, HorizontalBlocksPlacesAndShades) {
  // The imitation's blocks fade, each less than the one before it: kFill lightened by
  // 220 - 40i at the edges and 200 - 40i in the middle, six-pixel ramps between.
  const ColorRef xpShades[3][5] = {
      {Rgb(247, 225, 221), Rgb(244, 213, 208), Rgb(243, 208, 202), Rgb(243, 208, 202), Rgb(246, 222, 217)},
      {Rgb(238, 191, 182), Rgb(235, 179, 169), Rgb(234, 174, 163), Rgb(234, 174, 163), Rgb(237, 188, 178)},
      {Rgb(230, 158, 144), Rgb(226, 146, 131), Rgb(225, 141, 125), Rgb(225, 141, 125), Rgb(229, 155, 140)},
  };
  const int rows[5] = {3, 7, 8, 11, 17};
  for (const Bar& bar : {Bar{200, 20, eProgXP, kMarquee, 0, 0}, Bar{200, 20, eProgStandard, kMarquee, 0, 50}}) {
    const bool xp = bar.style == eProgXP;  // the flat look is solid
    auto rig = StartBar(bar);
    EXPECT_EQ(rig->control->paint().m_lSplit, 0) << "the caption stays outside";
    const Surface& dc = DrawAlone(*rig, true);
    const Runs blocks = xp ? Train(0, 10, 12, 3) : Train(100, 10, 11, 3);
    ASSERT_EQ(DrawnRuns(dc, 10, 200), blocks);
    for (int i = 0; i < 3; ++i) {
      const int x = blocks[static_cast<std::size_t>(i)].first + 5;
      EXPECT_EQ(DrawnRuns(dc, x, 20, true), (Runs{{3, 17}}));
      for (int r = 0; r < 5; ++r)
        EXPECT_EQ(dc.GetPixel(x, rows[r]), xp ? xpShades[i][r] : kFill) << "block " << i << " row " << rows[r];
    }
  }
}

TEST(MarqueeRenderer, OnlyTheThemedTrainStopsAtTheFarEdgeAndSkipsTheStartEdge) {
  for (auto [style, value, blocks] : {std::tuple{eProgSystem, 95, Runs{{190, 199}}},  // block 1 would end at 211
                                      {eProgSystem, 0, Train(11, 10, 11, 2)},         // block 0 at x = 0 left out
                                      {eProgStandard, 95, Train(190, 10, 11, 3)},
                                      {eProgXP, 95, Train(184, 10, 12, 3)}}) {
    // Shrunk from 300 pixels: the buffer keeps its width, so blocks past the edge show in it.
    auto rig = StartBar({300, 20, style, kMarquee, 0, static_cast<double>(value)});
    rig->ResizeTo(200, 20);
    EXPECT_EQ(DrawnRuns(DrawAlone(*rig, true), 10, 300), blocks) << style << " at " << value;
  }
}

TEST(MarqueeRenderer, ThemedBaseIsTheFillColourOnlyUnderLuna) {
  auto rig = StartBar({200, 20, eProgSystem, kMarquee, 0, 50});
  EXPECT_EQ(DrawAlone(*rig, true).GetPixel(105, 10), Middle(kFill, 0));
  rig->platform.themeFile = u"C:\\WINDOWS\\resources\\Themes\\Royale\\Royale.msstyles";
  rig->control->RefreshThemeState(0, 794, 0, 0);
  const ColorRef highlight = rig->platform.GetSysColor(kColorHighlight);
  EXPECT_EQ(DrawAlone(*rig, true).GetPixel(127, 3), Edge(highlight, 2)) << "whatever ProgressColor says";
}

TEST(MarqueeRenderer, VerticalBlocksWithAndWithoutGradientFill) {
  // Row 4 of block 0: its drawn columns, the first column's colour and the middle's.
  for (auto [style, gradientFill, first, last, edge, middle] :
       {std::tuple{eProgXP, true, 2, 17, Edge(kFill, 0), Middle(kFill, 0)},
        {eProgXP, false, 2, 17, Middle(kFill, 0), Middle(kFill, 0)},
        {eProgStandard, true, 2, 17, kFill, kFill},
        {eProgStandard, false, 3, 16, kFill, kFill},
        {eProgThin, false, 2, 17, kFill, kFill}}) {
    Bar bar{20, 100, style, kMarquee, kVert, 50};
    bar.gradientFill = gradientFill;
    auto rig = StartBar(bar);
    EXPECT_EQ(rig->control->paint().m_lSplit, 100) << "the caption stays outside";
    const Surface& dc = DrawAlone(*rig, true);
    const int top = style == eProgXP ? 52 : 50;  // the fill top: steps of 8 or 10
    EXPECT_EQ(DrawnRuns(dc, 10, 100, true), Train(top, 10, style == eProgXP ? 12 : 11, 3));
    EXPECT_EQ(DrawnRuns(dc, top + 4, 20), (Runs{{first, last}})) << style << " " << gradientFill;
    EXPECT_EQ(dc.GetPixel(first, top + 4), edge) << style << " " << gradientFill;
    EXPECT_EQ(dc.GetPixel(10, top + 4), middle) << style << " " << gradientFill;
  }
}

}  // namespace
}  // namespace vantiq::testing
