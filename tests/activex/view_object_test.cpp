// What the hosted control tells a container of its view through IViewObjectEx: whether
// it covers its rectangle, where the mouse hits it and the rectangles of its aspects.
// The themed looks cut the window's corners with a region; the flat look has none.
#include <ocidl.h>

#include "container_support.h"
#include "support/real_window.h"

namespace vantiq::activex::testing {
namespace {

class ViewObjectTest : public ContainerTest {
 protected:
  // eProgXP without visual styles: the corners cut on every Windows version.
  Site* CutCorners(Site* site) {
    EXPECT_EQ(vantiq::testing::TurnVisualStylesOff(site->Window()), S_OK);
    site->Put(L"Style", 2L);
    Shot(*site);  // the region comes with the paint
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(site->Window(), region), COMPLEXREGION);
    DeleteObject(region);
    return site;
  }
};

TEST_F(ViewObjectTest, OpaqueWhileTheWindowHasNoRegion) {
  Site* site = AddBar({10, 10, 110, 30});
  site->Put(L"Style", 0L);
  Shot(*site);
  auto view = site->As<IViewObjectEx>(IID_IViewObjectEx);
  ASSERT_TRUE(view);
  // The same object answers the older view interfaces.
  EXPECT_EQ(site->As<IViewObject>(IID_IViewObject).Get(), static_cast<IViewObject*>(view.Get()));
  EXPECT_EQ(site->As<IViewObject2>(IID_IViewObject2).Get(), static_cast<IViewObject2*>(view.Get()));

  SIZEL extent{};
  ASSERT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent), S_OK);
  ASSERT_GT(extent.cx, 0);
  const RECTL whole{0, 0, extent.cx, extent.cy};
  const auto expectRect = [&](DWORD aspect, HRESULT expected) {
    RECTL rect{-1, -1, -1, -1};
    EXPECT_EQ(view->GetRect(aspect, &rect), expected) << aspect;
    const RECTL want = expected == S_OK ? whole : RECTL{};
    EXPECT_TRUE(rect.left == want.left && rect.top == want.top && rect.right == want.right &&
                rect.bottom == want.bottom)
        << aspect << ": " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
  };

  DWORD status = 0;
  ASSERT_EQ(view->GetViewStatus(&status), S_OK);
  EXPECT_EQ(status, static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND));
  expectRect(DVASPECT_CONTENT, S_OK);
  expectRect(DVASPECT_OPAQUE, S_OK);
  expectRect(DVASPECT_TRANSPARENT, DV_E_DVASPECT);
  expectRect(DVASPECT_ICON, DV_E_DVASPECT);

  CutCorners(site);
  ASSERT_EQ(view->GetViewStatus(&status), S_OK);
  EXPECT_EQ(status, 0u) << "the container's background shows at the corners";
  expectRect(DVASPECT_CONTENT, S_OK);
  expectRect(DVASPECT_OPAQUE, DV_E_DVASPECT);
  expectRect(DVASPECT_TRANSPARENT, S_OK);

  // Back to the flat look, the region goes and the control is opaque again.
  site->Put(L"Style", 0L);
  Shot(*site);
  ASSERT_EQ(view->GetViewStatus(&status), S_OK);
  EXPECT_EQ(status, static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND));
  expectRect(DVASPECT_OPAQUE, S_OK);

  // Not in place there is no window and so no region: the extent answers.
  CutCorners(site);
  ASSERT_HRESULT_SUCCEEDED(site->Deactivate());
  ASSERT_EQ(view->GetViewStatus(&status), S_OK);
  EXPECT_EQ(status, static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND));
  expectRect(DVASPECT_OPAQUE, S_OK);
}

TEST_F(ViewObjectTest, HitsFollowTheRegionScaledToTheBounds) {
  Site* flat = AddBar({10, 40, 110, 60});
  flat->Put(L"Style", 0L);
  Shot(*flat);
  Site* cut = CutCorners(AddBar({10, 10, 110, 30}));
  auto flatView = flat->As<IViewObjectEx>(IID_IViewObjectEx);
  auto cutView = cut->As<IViewObjectEx>(IID_IViewObjectEx);
  ASSERT_TRUE(flatView && cutView);

  const RECT window{10, 10, 110, 30};   // the window's own size: 100 x 20
  const RECT doubled{0, 0, 200, 40};    // twice the size: each pixel cut is 2 x 2
  const RECT halved{300, 0, 350, 10};   // half the size
  const struct {
    const char* what;
    RECT bounds;
    POINT at;
    DWORD cutHit;   // the cut control
    DWORD flatHit;  // the flat one at the same bounds
  } rows[] = {
      {"top-left corner", window, {10, 10}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"top-left, second of the top row", window, {11, 10}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"top-left, second row", window, {10, 11}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"next to the top-left cut", window, {12, 10}, HITRESULT_HIT, HITRESULT_HIT},
      {"inside the top-left cut", window, {11, 11}, HITRESULT_HIT, HITRESULT_HIT},
      {"below the top-left cut", window, {10, 12}, HITRESULT_HIT, HITRESULT_HIT},
      {"top-right corner", window, {109, 10}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"top-right, second row", window, {109, 11}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"next to the top-right cut", window, {107, 10}, HITRESULT_HIT, HITRESULT_HIT},
      {"bottom-left corner", window, {10, 29}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"bottom-left, row above", window, {10, 28}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"bottom-right corner", window, {109, 29}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"bottom-right, second of the row", window, {108, 29}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"bottom-right, row above", window, {109, 28}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"next to the bottom-right cut", window, {107, 29}, HITRESULT_HIT, HITRESULT_HIT},
      {"centre", window, {60, 20}, HITRESULT_HIT, HITRESULT_HIT},
      {"left of the bounds", window, {9, 20}, HITRESULT_OUTSIDE, HITRESULT_OUTSIDE},
      {"right of the bounds", window, {110, 20}, HITRESULT_OUTSIDE, HITRESULT_OUTSIDE},
      {"above the bounds", window, {60, 9}, HITRESULT_OUTSIDE, HITRESULT_OUTSIDE},
      {"below the bounds", window, {60, 30}, HITRESULT_OUTSIDE, HITRESULT_OUTSIDE},
      {"doubled: corner", doubled, {0, 0}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"doubled: end of the top cut", doubled, {3, 1}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"doubled: past the top cut", doubled, {4, 0}, HITRESULT_HIT, HITRESULT_HIT},
      {"doubled: end of the second cut", doubled, {1, 3}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"doubled: past the second cut", doubled, {2, 2}, HITRESULT_HIT, HITRESULT_HIT},
      {"doubled: bottom-right", doubled, {199, 39}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"doubled: row above bottom-right", doubled, {198, 36}, HITRESULT_OUTSIDE, HITRESULT_HIT},
      {"doubled: next to bottom-right", doubled, {197, 36}, HITRESULT_HIT, HITRESULT_HIT},
      {"doubled: centre", doubled, {100, 20}, HITRESULT_HIT, HITRESULT_HIT},
      {"doubled: the window's own corner is inside", doubled, {10, 10}, HITRESULT_HIT, HITRESULT_HIT},
      {"doubled: right of the bounds", doubled, {200, 20}, HITRESULT_OUTSIDE, HITRESULT_OUTSIDE},
      {"halved: centre", halved, {325, 5}, HITRESULT_HIT, HITRESULT_HIT},
      {"halved: beyond the bounds", halved, {350, 5}, HITRESULT_OUTSIDE, HITRESULT_OUTSIDE},
  };
  const int gdi = LiveGdiObjects();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    DWORD hit = 0xFFFF;
    EXPECT_EQ(cutView->QueryHitPoint(DVASPECT_CONTENT, &row.bounds, row.at, 0, &hit), S_OK);
    EXPECT_EQ(hit, row.cutHit);
    hit = 0xFFFF;
    EXPECT_EQ(flatView->QueryHitPoint(DVASPECT_CONTENT, &row.bounds, row.at, 0, &hit), S_OK);
    EXPECT_EQ(hit, row.flatHit);
  }

  // A rectangle hits when it meets a pixel that the point test hits.
  const struct {
    const char* what;
    RECT bounds;
    RECT location;
    DWORD hit;
  } rects[] = {
      {"only the top-left cut", window, {10, 10, 12, 11}, HITRESULT_OUTSIDE},
      {"the cut and one pixel past it", window, {10, 10, 13, 11}, HITRESULT_HIT},
      {"only the bottom-right cut", window, {108, 29, 110, 30}, HITRESULT_OUTSIDE},
      {"beside the bounds", window, {0, 0, 10, 30}, HITRESULT_OUTSIDE},
      {"reaching in over the left edge", window, {0, 20, 11, 21}, HITRESULT_HIT},
      {"around the whole control", window, {0, 0, 200, 100}, HITRESULT_HIT},
      {"doubled: only the scaled top-left cut", doubled, {0, 0, 4, 2}, HITRESULT_OUTSIDE},
      {"doubled: one pixel past it", doubled, {0, 0, 5, 2}, HITRESULT_HIT},
  };
  for (const auto& row : rects) {
    SCOPED_TRACE(row.what);
    DWORD hit = 0xFFFF;
    EXPECT_EQ(cutView->QueryHitRect(DVASPECT_CONTENT, &row.bounds, &row.location, 0, &hit), S_OK);
    EXPECT_EQ(hit, row.hit);
  }
  EXPECT_EQ(LiveGdiObjects(), gdi) << "each hit test deletes the regions it makes";

  // Hit testing is for the content only.
  DWORD hit = 0xFFFF;
  const POINT centre{60, 20};
  EXPECT_EQ(cutView->QueryHitPoint(DVASPECT_ICON, &window, centre, 0, &hit), E_FAIL);
  EXPECT_EQ(hit, static_cast<DWORD>(HITRESULT_OUTSIDE));
  EXPECT_EQ(cutView->QueryHitRect(DVASPECT_OPAQUE, &window, &window, 0, &hit), E_FAIL);
  EXPECT_EQ(cutView->GetNaturalExtent(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr),
            E_NOTIMPL);
}

}  // namespace
}  // namespace vantiq::activex::testing
