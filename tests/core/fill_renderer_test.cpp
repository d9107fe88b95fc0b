// The fill renderer: chunk positions and rows of each look, the split, the XP chunk's
// strips, segment borders, colour rules, the progress picture and odd inputs.
#include "render/fill_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>

#include "support/render_probe.h"

namespace vantiq::testing {
namespace {

constexpr std::int32_t kStd = eProgStandard, kThin = eProgThin, kXP = eProgXP, kSys = eProgSystem;
constexpr std::int32_t kSmooth = eProgressBarScrollSmooth, kVert = eProgressBarOrientationVertical;
constexpr int kMax = std::numeric_limits<int>::max();

TEST(FillRenderer, ChunksRowsAndSplitOfEachLook) {
  struct Case {
    const char* name;
    Bar bar;
    Runs along;       // along row 10, or down column 10 of a vertical bar
    int across;       // a column (a row when vertical) through a chunk
    Runs acrossRuns;  // drawn there
    int split;
    int themeChunk = 8, themeSpace = 2;
  } const cases[] = {
      {"standard", {200, 20, kStd}, Train(3, 9, 10, 10), 3, {{3, 17}}, 102},
      {"standard at Min", {200, 20, kStd, 0, 0, 0}, {}, 3, {}, 0},
      {"standard full", {200, 20, kStd, 0, 0, 100}, Train(3, 9, 10, 19) + Runs{{193, 199}}, 3, {{3, 17}}, 202},
      {"thin", {200, 20, kThin}, Train(2, 9, 10, 10), 2, {{2, 17}}, 101},
      {"standard smooth", {200, 20, kStd, kSmooth}, {{2, 99}}, 2, {{2, 17}}, 100},
      {"thin smooth", {200, 20, kThin, kSmooth}, {{1, 99}}, 1, {{1, 18}}, 100},
      {"unknown style and scrolling", {200, 20, -1, 9}, Train(3, 9, 10, 10), 3, {{3, 17}}, 102},
      {"XP", {100, 20, kXP}, Train(3, 6, 8, 5), 3, {{3, 17}}, 41},
      {"XP smooth", {100, 20, kXP, kSmooth}, {{2, 47}}, 2, {{3, 17}}, 48},
      {"XP full: last chunk cut", {104, 20, kXP, 0, 0, 100}, Train(3, 6, 8, 12) + Runs{{99, 101}}, 99, {{3, 17}}, 102},
      {"XP above 0.998", {104, 20, kXP, 0, 0, 99.85}, Train(3, 6, 8, 12) + Runs{{99, 101}}, 99, {{3, 17}}, 102},
      {"XP at 0.995: not cut", {104, 20, kXP, 0, 0, 99.5}, Train(3, 6, 8, 12), 99, {}, 97},
      {"vertical", {20, 100, kStd, 0, kVert}, Train(50, 9, 10, 5), 95, {{1, 18}}, 50},
      {"vertical at Min", {20, 100, kStd, 0, kVert, 0}, {}, 95, {}, 100},
      {"vertical smooth", {20, 100, kStd, kSmooth, kVert}, {{49, 97}}, 60, {{1, 18}}, 49},
      {"other orientations", {20, 100, kStd, 0, 7}, Train(50, 9, 10, 5), 95, {{1, 18}}, 50},
      {"vertical XP", {20, 100, kXP, 0, kVert}, Train(52, 6, 8, 6), 94, {{2, 17}}, 52},
      // The first chunk's top lies below its bottom: FillRect, a PatBlt of negative
      // height, fills the row under it (the border's), and the next chunk is row 96.
      {"vertical XP smooth", {20, 100, kXP, kSmooth, kVert}, {{49, 96}, {99, 99}}, 60, {{2, 17}}, 49},
      {"themed", {200, 20, kSys}, Train(3, 8, 10, 9), 3, {{3, 17}}, 93},
      {"themed full", {200, 20, kSys, 0, 0, 100}, Train(3, 8, 10, 19) + Runs{{193, 197}}, 3, {{3, 17}}, 198},
      {"themed smooth: no space", {200, 20, kSys, kSmooth}, {{3, 98}}, 3, {{3, 17}}, 99},
      {"theme chunk 0 steps as 1", {200, 20, kSys}, {}, 3, {}, 102, 0},
      {"negative theme chunk", {200, 20, kSys}, {}, 3, {}, 102, -5},
      {"negative theme space", {200, 20, kSys}, {{3, 98}}, 3, {{3, 17}}, 99, 8, -20},
      {"huge theme chunk", {200, 20, kSys}, {}, 3, {}, 0, kMax},
      {"huge theme space", {200, 20, kSys}, {{3, 10}}, 3, {{3, 17}}, 3 + 8 + 32767, 8, kMax},
      {"themed vertical: one piece", {20, 100, kSys, 0, kVert}, {{53, 96}}, 70, {{2, 17}}, 53, 3},
      {"Vista: one piece", {200, 20, kSys, 0, 0, 50, "win7"}, {{3, 99}}, 50, {{3, 17}}, 100},
  };
  for (const Case& c : cases) {
    OnNewThread([&] {
      SCOPED_TRACE(c.name);
      auto rig = StartBar(c.bar);
      rig->platform.themeChunkSize = c.themeChunk;
      rig->platform.themeSpaceSize = c.themeSpace;
      const bool vertical = c.bar.orientation != 0;
      FillResult fill;
      const Surface& dc = DrawAlone(*rig, true, false, {}, &fill);
      EXPECT_EQ(DrawnRuns(dc, 10, vertical ? 100 : c.bar.width, vertical), c.along);
      EXPECT_EQ(DrawnRuns(dc, c.across, 20, !vertical), c.acrossRuns);
      EXPECT_EQ(fill.m_lSplit, c.split);
    });
  }
}

TEST(FillRenderer, XPChunkIsLightAtBothEdges) {
  // kFill lightened by 165 at the near edge and 150 at the far one, six-pixel ramps
  // as GradientFill draws them (the cross-backend tests hold both surfaces to GDI).
  const std::vector<ColorRef> nearRamp = {Rgb(235, 179, 168), Rgb(229, 155, 141), Rgb(223, 132, 115),
                                          Rgb(217, 109, 89),  Rgb(211, 86, 62),   Rgb(205, 63, 36)};
  const std::vector<ColorRef> farRamp = {Rgb(200, 40, 10),   Rgb(205, 61, 34),   Rgb(210, 82, 58),
                                         Rgb(216, 103, 82),  Rgb(221, 124, 106), Rgb(226, 145, 130)};
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical);
    auto rig = StartBar(vertical ? Bar{20, 100, kXP, 0, kVert} : Bar{100, 20, kXP});
    const int n = vertical ? 16 : 15;  // across the chunk: columns 2-17 of row 94, rows 3-17 of column 4
    for (int i = 0; i < n; ++i)
      EXPECT_EQ(vertical ? rig->BufferPixel(2 + i, 94) : rig->BufferPixel(4, 3 + i),
                i < 6 ? nearRamp[i] : i >= n - 6 ? farRamp[i - (n - 6)] : kFill) << i;
  }
  // The cut last chunk's strips keep their full width, to x = 104.
  auto rig = StartBar({104, 20, kXP, 0, 0, 100});
  const Surface& dc = DrawAlone(*rig, true);
  EXPECT_EQ(DrawnRuns(dc, 3, 104), (Train(3, 6, 8, 12) + Runs{{99, 103}}));
  EXPECT_EQ(dc.GetPixel(103, 17), farRamp[5]);
}

TEST(FillRenderer, SegmentBordersFrameEachChunkButNotWhenSmooth) {
  using Pixels = std::vector<std::pair<int, int>>;
  const ColorRef border = Rgb(9, 90, 190);
  for (auto [bar, framed, inside] :
       {std::tuple{Bar{200, 20, kStd}, Pixels{{3, 3}, {11, 3}, {3, 17}, {11, 17}, {93, 10}}, Pixels{{7, 10}}},
        {Bar{100, 20, kXP}, Pixels{{3, 3}, {8, 17}, {35, 10}}, Pixels{{5, 10}}},
        {Bar{20, 100, kStd, 0, kVert}, Pixels{{2, 90}, {17, 90}, {10, 50}, {5, 58}}, Pixels{{10, 94}}},
        {Bar{200, 20, kStd, kSmooth}, Pixels{}, Pixels{{2, 2}, {50, 17}, {99, 10}}}}) {
    auto rig = StartBar(bar);
    rig->control->SetSegmentBorderColor(border);
    rig->control->SetSegmentBorders(true);
    for (auto [x, y] : framed) EXPECT_EQ(rig->BufferPixel(x, y), border) << x << "," << y;
    for (auto [x, y] : inside) EXPECT_NE(rig->BufferPixel(x, y), border) << x << "," << y;
  }
}

TEST(FillRenderer, ColoursFollowTheThemedModeAndTheLunaScheme) {
  auto rig = StartBar({100, 20, kXP});
  Vantiq& c = *rig->control;
  rig->platform.sysColors[kColorHighlight] = Rgb(49, 106, 197);
  rig->platform.sysColors[5] = Rgb(7, 8, 9);
  const std::u16string luna = u"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES";
  const ColorRef highlight = Rgb(49, 106, 197), halfHighlight = Rgb(24, 53, 98);
  // Themed mode, theme file, scheme, ProgressColor, SegmentBorderColor; fill and border.
  int k = 0;
  for (auto [themed, file, scheme, progress, segment, fill, border] : {
           std::tuple{false, luna, u"NORMALCOLOR", kAutoColor, kAutoColor, highlight, halfHighlight},
           {true, luna, u"NORMALCOLOR", kAutoColor, kAutoColor, Rgb(46, 211, 49), Rgb(23, 105, 24)},
           {true, luna, u"HOMESTEAD", kAutoColor, kAutoColor, Rgb(227, 128, 64), Rgb(113, 64, 32)},
           {true, luna, u"METALLIC", kAutoColor, kAutoColor, Rgb(118, 166, 106), Rgb(59, 83, 53)},
           {true, std::u16string(u"ROYALE.MSSTYLES"), u"NORMALCOLOR", kAutoColor, kAutoColor, highlight,
            halfHighlight},
           // A set colour is translated; the automatic border never follows ProgressColor.
           {true, luna, u"METALLIC", 0x80000005u, kAutoColor, Rgb(7, 8, 9), Rgb(59, 83, 53)},
           {false, luna, u"", Rgb(1, 2, 3), 0x80000005u, Rgb(1, 2, 3), Rgb(7, 8, 9)}}) {
    PaintSnapshot s = c.TakePaintSnapshot();
    s.m_bThemedMode = themed;
    s.m_sThemeFile = file;
    s.m_sColorName = scheme;
    s.m_lProgressColor = progress;
    s.m_lSegmentBorderColor = segment;
    EXPECT_EQ(ResolveFillColor(s, c.ops()), fill) << "case " << k;
    EXPECT_EQ(ResolveSegmentBorderColor(s, c.ops()), border) << "case " << k++;
  }
  EXPECT_EQ(BlendColors(c.ops(), Rgb(255, 0, 100), Rgb(0, 255, 100), 128), Rgb(128, 127, 99)) << "each share truncates";
}

TEST(FillRenderer, ProgressPictureTilesFromTheOriginOverTheFill) {
  for (const Bar& bar : {Bar{100, 20, kXP}, Bar{20, 100, kStd, 0, kVert}}) {
    auto rig = StartBar(bar);
    rig->control->SetProgressPicture(TestPicture(rig->platform));
    const Surface& dc = DrawAlone(*rig, true);
    const Rect tiled = bar.orientation ? Rect{0, 50, 20, 100} : Rect{0, 0, 48, 20};
    for (int y = 0; y < bar.height; ++y)
      for (int x = 0; x < bar.width; ++x)
        ASSERT_EQ(dc.GetPixel(x, y), tiled.Contains(x, y) ? Tiled(x, y) : kClear) << x << "," << y;
    EXPECT_EQ(rig->control->paint().m_lSplit, bar.orientation ? 50 : 48);
    // A picture that is no bitmap draws nothing.
    rig->control->SetProgressPicture(std::make_shared<BitmapPicture>(0xBAD0));
    EXPECT_EQ(DrawnRuns(DrawAlone(*rig, true), 60, 20, bar.orientation == 0), Runs{});
  }
}

TEST(FillRenderer, WithoutAThemeHandleTheSystemBarImitatesOrStaysEmpty) {
  for (const Bar& bar : {Bar{200, 20, kSys}, Bar{20, 100, kSys, 0, kVert}}) {
    auto rig = StartBar(bar);
    const auto noTheme = [](PaintSnapshot& s) { s.m_hTheme = 0; };
    FillResult fill;
    // Horizontal: XP chunks of the system look's length 9 and the XP space of 2.
    EXPECT_EQ(DrawnRuns(DrawAlone(*rig, true, false, noTheme, &fill), 10, bar.width, bar.orientation != 0),
              bar.orientation ? Runs{} : Train(3, 9, 11, 9));
    EXPECT_EQ(fill.m_lSplit, 100);
    EXPECT_EQ(DrawnRuns(DrawAlone(*rig, false, false, noTheme), 10, bar.width), Runs{}) << "and no border";
  }
}

TEST(FillRenderer, OddSizesAndValuesEndTheirLoopsAndKeepTheSplitNearTheBar) {
  for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {3, 40}}) {
    auto rig = StartBar({w, h});
    for (std::int32_t style : {0, 1, 2, 4, 3, -7})
      for (std::int32_t scrolling : {0, 1, 2, 9})
        for (std::int32_t orientation : {0, 1, -2})
          for (double value : {0.0, 100.0}) {
            Vantiq& c = *rig->control;
            c.SetStyle(style);
            c.SetScrolling(scrolling);
            c.SetOrientation(orientation);
            c.SetValue(value);
            ASSERT_TRUE(c.paint().m_lSplit >= -2 && c.paint().m_lSplit <= std::max(w, h) + 9)
                << w << "x" << h << " " << style << "/" << scrolling << "/" << orientation << "/" << value;
          }
  }
  auto rig = StartBar({4000, 4000, kXP, kSmooth, 0, 100});
  EXPECT_EQ(rig->control->paint().m_lSplit, 3998);
  EXPECT_EQ(rig->BufferPixel(3997, 2000), kFill);
  rig->control->SetOrientation(kVert);
  EXPECT_EQ(rig->control->paint().m_lSplit, -80) << "the fill top, snapped in steps of 3 past the top edge";
  EXPECT_EQ(rig->BufferPixel(2000, 3), kFill);
  EXPECT_EQ(rig->BufferPixel(2000, 3996), kFill);
}

// An opaque themed chunk is drawn by the theme once and copied where the others go, and
// the one-piece fill is drawn once; a translucent chunk, or a surface that cannot be
// read back, is drawn by the theme every time. The pixels are the same either way.
TEST(FillRenderer, OpaqueThemedChunksAreDrawnOnceAndCopied) {
  struct Case {
    const char* version;
    double value;
    bool offscreen, transparent;
    int draws;
    bool stripes = false;  // a backdrop whose rows change colour: chunks copied one by one
    int width = 200;       // wider bars are read back in pieces; one of theirs has a gap of its own
  } const cases[] = {
      {"winxp", 50, true, true, 9},   {"winxp", 50, true, false, 1},        {"winxp", 50, false, false, 9},
      {"winxp", 100, true, true, 20}, {"winxp", 100, true, false, 2},       {"winxp", 37, true, false, 1},
      {"winxp", 37, true, false, 1, true}, {"winxp", 100, true, false, 2, true}, {"win7", 50, true, true, 2},
      {"win7", 50, true, false, 1},        {"winxp", 100, true, false, 2, true, 700},
      {"winxp", 100, true, false, 2, false, 700},
  };
  // A colour of its own in every column, so that no gap between chunks matches another.
  // On a wide bar only the gap column 611, in the third piece read back, differs.
  const auto backdrop = [](Surface& dc, bool stripes) {
    if (stripes && dc.Width() > 200)
      dc.FillRect({611, 0, 612, dc.Height()}, 0x123456);
    else if (stripes)
      for (int x = 0; x < dc.Width(); ++x) dc.FillRect({x, 0, x + 1, dc.Height()}, static_cast<ColorRef>(x) * 0x010101);
  };
  for (const Case& c : cases) {
    OnNewThread([&] {
      SCOPED_TRACE(std::string(c.version) + " " + std::to_string(c.value) + (c.offscreen ? "" : " on screen") +
                   (c.transparent ? " translucent" : " opaque") + (c.stripes ? " striped" : ""));
      auto rig = StartBar({c.width, 20, kSys, 0, 0, c.value, c.version});
      rig->platform.themeChunkTransparent = true;
      std::vector<ColorRef> drawnByTheme;
      Surface& target = *rig->control->paint().m_hDC;
      const Surface& reference = DrawAlone(*rig, true, false, [&](PaintSnapshot&) { backdrop(target, c.stripes); });
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < c.width; ++x) drawnByTheme.push_back(reference.GetPixel(x, y));
      rig->platform.themeChunkTransparent = c.transparent;
      const int before = rig->platform.themeDraws;
      const Surface& dc = DrawAlone(*rig, true, false, [&](PaintSnapshot& s) {
        s.m_bOffscreen = c.offscreen;
        backdrop(target, c.stripes);
      });
      EXPECT_EQ(rig->platform.themeDraws - before, c.draws);
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < c.width; ++x)
          ASSERT_EQ(dc.GetPixel(x, y), drawnByTheme[y * c.width + x]) << x << "," << y;
    });
  }
}

}  // namespace
}  // namespace vantiq::testing
