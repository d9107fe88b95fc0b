// A system out of GDI resources: every request the backend makes for a device context,
// bitmap, DIB section, brush, pen, region or font may fail. Whichever fails, a control
// must finish its paints, leave no object behind, and draw its true picture again once
// the resources are back.
#include "backends/gdi/gdi_allocation.h"
#include "backends/soft/bitmap_picture.h"
#include "common/enums.h"
#include "common/gdi_objects.h"
#include "support/window_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantiq::testing {
namespace {

using gdi::Allocation;

constexpr int kWidth = 120, kHeight = 24;

struct Look {
  const char* name;
  std::int32_t style, orientation;
  bool shadow, rightToLeft, picture;
};
const Look kLooks[] = {
    {"flat segments, right to left", eProgStandard, 0, false, true, false},
    {"thin, shadowed caption", eProgThin, 0, true, false, false},
    {"gradient look, vertical caption", eProgXP, eProgressBarOrientationVertical, false, false, false},
    {"system look, picture fill, shadow", eProgSystem, 0, true, false, true},
};

const char* const kKindNames[] = {"device context", "bitmap", "DIB section", "brush", "pen", "region", "font"};

struct ClearFaults {
  ~ClearFaults() { gdi::ClearInjectedFailures(); }
};

// A 6 x 6 picture of two colours, deleted with the run.
struct TestBitmap {
  TestBitmap() {
    std::vector<COLORREF> pixels(36);
    for (int i = 0; i < 36; ++i) pixels[i] = (i % 6 < 3) ? 0x00C08040 : 0x004080C0;
    handle = ::CreateBitmap(6, 6, 1, 32, pixels.data());
  }
  ~TestBitmap() { ::DeleteObject(handle); }
  HBITMAP handle;
};

// Pixels outside the window's region are not the window's: they keep whatever was
// drawn before the region was set. They are made black so pictures compare the rest.
void MaskOutsideWindowRegion(HWND hwnd, GdiSurface& picture) {
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetWindowRgn(hwnd, region) != ERROR) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (!::PtInRegion(region, x, y)) picture.SetPixel(x, y, 0);
  }
  ::DeleteObject(region);
}

// Starts a control in `look`, paints it through value changes and a resize, then (with
// every fault lifted) repaints it; returns what the window finally shows.
std::unique_ptr<GdiSurface> Drive(const Look& look, bool liftFaultsBeforeLastPaint) {
  TestBitmap bitmap;
  std::unique_ptr<GdiSurface> shown;
  {
    WindowRig rig(kWidth, kHeight);
    rig.Start();
    Vantiq& c = *rig.control;
    c.SetStyle(look.style), c.SetOrientation(look.orientation), c.SetShowCaption(true), c.SetCaption(u"Copying");
    c.SetShadow(look.shadow), c.SetRightToLeft(look.rightToLeft);
    if (look.picture) c.SetProgressPicture(std::make_shared<BitmapPicture>(reinterpret_cast<std::uintptr_t>(bitmap.handle)));
    c.SetValue(37), c.Resize(), c.Paint(), c.SetValue(63), c.Paint();
    if (liftFaultsBeforeLastPaint) gdi::ClearInjectedFailures();
    // A new size and value make every part be drawn again from nothing cached.
    c.Resize(), c.SetValue(64), c.Paint();
    shown = rig.Snapshot();
    if (shown) MaskOutsideWindowRegion(rig.Hwnd(), *shown);
  }
  return shown;
}

long RequestsPerRun(const Look& look, Allocation kind) {
  gdi::ClearInjectedFailures();
  Drive(look, false);
  return gdi::Requests(kind);
}

// The request numbers to fail: the first dozen, then about thirty spread over the rest.
std::vector<long> Positions(long requests) {
  std::vector<long> positions;
  const long step = requests > 12 ? (requests - 12 + 29) / 30 : 1;
  for (long n = 0; n < requests; n += n < 12 ? 1 : step) positions.push_back(n);
  return positions;
}

::testing::AssertionResult SamePicture(const GdiSurface* expected, const GdiSurface* actual) {
  if (!expected || !actual) return ::testing::AssertionFailure() << "no snapshot";
  const std::uint32_t *want = expected->DibBits(), *got = actual->DibBits();
  int differing = 0, first = -1;
  for (int i = 0; i < kWidth * kHeight; ++i) {
    if ((want[i] & 0xFFFFFF) != (got[i] & 0xFFFFFF) && differing++ == 0) first = i;
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, first at (" << first % kWidth
                                       << ", " << first / kWidth << ")";
}

class GdiFaults : public ::testing::TestWithParam<Look> {};

TEST_P(GdiFaults, EveryFailedRequestIsSurvivedWithoutLeaksAndTheTruePictureReturns) {
  ClearFaults clear;
  const Look& look = GetParam();
  const std::unique_ptr<GdiSurface> truth = Drive(look, false);  // also warms the system's caches
  ASSERT_TRUE(truth);
  const int objects = tools::LiveGdiObjects();
  ASSERT_GT(objects, 0);

  for (int k = 0; k < gdi::kAllocationKinds; ++k) {
    const auto kind = static_cast<Allocation>(k);
    const long requests = RequestsPerRun(look, kind);
    for (const long n : Positions(requests)) {
      SCOPED_TRACE(std::string(kKindNames[k]) + " request " + std::to_string(n) + " of " +
                   std::to_string(requests));
      gdi::ClearInjectedFailures();
      gdi::InjectFailures(kind, n, 1);
      EXPECT_TRUE(SamePicture(truth.get(), Drive(look, true).get()));
      EXPECT_EQ(tools::LiveGdiObjects(), objects);
    }
  }
}

TEST_P(GdiFaults, RequestsThatKeepFailingStillLetEveryPaintFinishAndLeakNothing) {
  ClearFaults clear;
  const Look& look = GetParam();
  Drive(look, false);
  const int objects = tools::LiveGdiObjects();

  for (int k = 0; k < gdi::kAllocationKinds; ++k) {
    const auto kind = static_cast<Allocation>(k);
    const long requests = RequestsPerRun(look, kind);
    if (requests == 0) continue;
    for (const long from : {0L, requests / 2, requests - 1}) {
      SCOPED_TRACE(std::string(kKindNames[k]) + " requests from " + std::to_string(from));
      gdi::ClearInjectedFailures();
      gdi::InjectFailures(kind, from, -1);
      Drive(look, false);
      EXPECT_GT(gdi::Requests(kind), from) << "the failing requests were never made";
      EXPECT_EQ(tools::LiveGdiObjects(), objects);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Looks, GdiFaults, ::testing::ValuesIn(kLooks),
                         [](const ::testing::TestParamInfo<Look>& info) {
                           return std::to_string(info.index);
                         });

}  // namespace
}  // namespace vantiq::testing
