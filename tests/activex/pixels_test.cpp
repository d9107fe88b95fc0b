// What the hosted control shows: its window against the core's own picture of the same
// state, and IViewObject::Draw against its window.
#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using PixelsTest = ContainerTest;

constexpr long kRed = 0x0000C0;
constexpr long kCream = 0xE0F0F8;

TEST_F(PixelsTest, WindowShowsTheSoftwareRendersPicture) {
  Site* site = AddBar({10, 10, 210, 30});
  BarState states[6];
  states[1].value = 100;
  states[2].value = 0;
  states[3].scrolling = 1;
  states[3].progressColor = kRed;
  states[3].backColor = kCream;
  states[4].rightToLeft = true;
  states[4].value = 64;
  states[5].style = 1;  // eProgThin
  states[5].value = 81;
  for (const BarState& state : states) {
    Apply(*site, state);
    EXPECT_TRUE(SamePixels(SoftRender(200, 20, state), Shot(*site)))
        << "style " << state.style << " value " << state.value << " rtl " << state.rightToLeft;
  }
  // A vertical bar in a tall window.
  Site* tall = AddBar({250, 10, 270, 150});
  BarState vertical;
  vertical.orientation = 1;
  vertical.value = 45;
  Apply(*tall, vertical);
  EXPECT_TRUE(SamePixels(SoftRender(20, 140, vertical), Shot(*tall)));
}

TEST_F(PixelsTest, CaptionMatchesTheCoresGdiPicture) {
  Site* site = AddBar({10, 10, 210, 30});
  BarState percent;
  percent.showCaption = true;
  percent.value = 42;
  Apply(*site, percent);
  EXPECT_TRUE(SamePixels(GdiRender(200, 20, percent), Shot(*site)));

  BarState text = percent;
  text.caption = L"Copying files";
  text.progressColor = kRed;
  text.rightToLeft = true;
  Apply(*site, text);
  EXPECT_TRUE(SamePixels(GdiRender(200, 20, text), Shot(*site)));
}

TEST_F(PixelsTest, DrawGivesTheWindowsPixels) {
  Site* site = AddBar({10, 10, 210, 30});
  BarState state;
  state.showCaption = true;
  state.value = 58;
  Apply(*site, state);
  const Pixels window = Shot(*site);
  EXPECT_TRUE(SamePixels(window, container::DrawView(site->Object(), 200, 20, RGB(1, 2, 3))));

  // Not in place, it draws the same through a window of its own for the drawing.
  ASSERT_HRESULT_SUCCEEDED(site->Deactivate());
  EXPECT_TRUE(SamePixels(window, container::DrawView(site->Object(), 200, 20, RGB(1, 2, 3))));
  EXPECT_EQ(site->Window(), nullptr);
}

TEST_F(PixelsTest, DrawLeavesWhatTheWindowRegionCutsAway) {
  Site* site = AddBar({10, 10, 110, 30});
  site->Put(L"Style", 2L);  // eProgXP: three pixels cut at each corner
  site->Put(L"Value", 50.0);
  const Pixels window = Shot(*site);
  const COLORREF background = RGB(1, 2, 3);
  const Pixels drawn = container::DrawView(site->Object(), 100, 20, background);
  ASSERT_EQ(drawn.width, 100);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(site->Window(), region), COMPLEXREGION);
  int cut = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (PtInRegion(region, x, y)) {
        EXPECT_EQ(drawn.At(x, y), window.At(x, y)) << x << "," << y;
      } else {
        EXPECT_EQ(drawn.At(x, y), background) << x << "," << y;
        ++cut;
      }
    }
  }
  DeleteObject(region);
  EXPECT_EQ(cut, 12);
}

// Counts the view changes a control reports.
class ViewSink final : public IAdviseSink {
 public:
  int changes = 0;
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IAdviseSink) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD aspect, LONG) override {
    if (aspect == DVASPECT_CONTENT) ++changes;
  }
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override {}
};

TEST_F(PixelsTest, WithoutAWindowTheControlAsksTheContainerToDrawIt) {
  Site* site = AddBar({10, 10, 110, 30});
  auto view = site->As<IViewObject2>(IID_IViewObject2);
  ViewSink sink;
  ASSERT_HRESULT_SUCCEEDED(view->SetAdvise(DVASPECT_CONTENT, 0, &sink));
  site->Put(L"Value", 20.0);
  EXPECT_EQ(sink.changes, 0) << "its own window shows the change";
  ASSERT_HRESULT_SUCCEEDED(site->Deactivate());
  site->Put(L"Value", 30.0);
  site->Put(L"Caption", L"x");
  EXPECT_EQ(sink.changes, 2);
  ASSERT_HRESULT_SUCCEEDED(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr));

  // The extent it draws at is the container's last placement, in HIMETRIC.
  SIZEL extent{};
  ASSERT_HRESULT_SUCCEEDED(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(extent.cx, MulDiv(100, 2540, GetDeviceCaps(screen, LOGPIXELSX)));
  EXPECT_EQ(extent.cy, MulDiv(20, 2540, GetDeviceCaps(screen, LOGPIXELSY)));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(view->GetExtent(DVASPECT_ICON, -1, nullptr, &extent), DV_E_DVASPECT);
}

}  // namespace
}  // namespace vantiq::activex::testing
