// The kept backdrop's rule for a fill that grew: only a shorter fill of flat chunks drawn
// from the same inputs is a start of the new one.
#include "render/kept_backdrop.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/render_probe.h"

namespace vantiq::testing {
namespace {

TEST(KeptBackdrop, AStartOfTheFillIsAShorterOneDrawnFromTheSameInputs) {
  const PictureRef picture = std::make_shared<BitmapPicture>(0);
  struct Case {
    const char* name;
    std::int32_t style;
    bool vertical;
    std::function<void(PaintSnapshot&)> edit;  // the new paint against the kept one
    bool start;
    bool picture = false;  // the kept fill has a progress picture
  } const cases[] = {
      {"longer", eProgStandard, false, [](PaintSnapshot& s) { s.m_rcFill.right += 10; }, true},
      {"longer, thin", eProgThin, false, [](PaintSnapshot& s) { s.m_rcFill.right += 1; }, true},
      {"the same", eProgStandard, false, [](PaintSnapshot&) {}, false},
      {"shorter", eProgStandard, false, [](PaintSnapshot& s) { s.m_rcFill.right -= 10; }, false},
      {"moved", eProgStandard, false, [](PaintSnapshot& s) { s.m_rcFill.left += 1, s.m_rcFill.right += 10; }, false},
      {"another colour", eProgStandard, false,
       [](PaintSnapshot& s) { s.m_rcFill.right += 10, s.m_lProgressColor = Rgb(0, 0, 255); }, false},
      {"segment borders", eProgStandard, false,
       [](PaintSnapshot& s) { s.m_rcFill.right += 10, s.m_bSegmentBorders = true; }, false},
      {"smooth", eProgStandard, false,
       [](PaintSnapshot& s) { s.m_rcFill.right += 10, s.m_lScrolling = eProgressBarScrollSmooth; }, false},
      {"another chunk", eProgStandard, false, [](PaintSnapshot& s) { s.m_rcFill.right += 10, ++s.m_lChunk; }, false},
      {"a progress picture", eProgStandard, false,
       [&](PaintSnapshot& s) { s.m_rcFill.right += 10, s.m_oProgressPicture = picture; }, false},
      {"the same progress picture", eProgStandard, false, [](PaintSnapshot& s) { s.m_rcFill.right += 10; }, false,
       true},
      {"the XP look", eProgXP, false, [](PaintSnapshot& s) { s.m_rcFill.right += 10; }, false},
      {"up the bar, longer", eProgStandard, true, [](PaintSnapshot& s) { s.m_rcFill.top -= 10; }, true},
      {"up the bar, shorter", eProgStandard, true, [](PaintSnapshot& s) { s.m_rcFill.top += 10; }, false},
      {"up the bar, wider", eProgStandard, true, [](PaintSnapshot& s) { s.m_rcFill.top -= 10, ++s.m_rcFill.right; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto rig = StartBar({c.vertical ? 24 : 200, c.vertical ? 150 : 20, c.style, 0,
                               c.vertical ? eProgressBarOrientationVertical : eProgressBarOrientationHorizontal, 40});
    Vantiq& control = *rig->control;
    if (c.picture) control.SetProgressPicture(TestPicture(rig->platform));
    Surface& dc = *control.paint().m_hDC;
    KeptBackdrop kept(control.platform(), control.ops());
    const PaintSnapshot before = control.TakePaintSnapshot();
    kept.Keep(before, dc, FillResult{});
    PaintSnapshot now = before;
    c.edit(now);
    Rect drawn;
    EXPECT_EQ(kept.CopyStartTo(now, dc, drawn), c.start);
    EXPECT_EQ(kept.StartCopies(), c.start ? 1 : 0);
    if (c.start) {
      EXPECT_EQ(drawn, before.m_rcFill);
    }
  }
}

}  // namespace
}  // namespace vantiq::testing
