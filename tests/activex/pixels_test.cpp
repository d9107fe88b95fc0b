// What the hosted control shows: its window against the core's own picture of the same
// state, and IViewObject::Draw against its window.
#include "container_support.h"
#include "support/real_window.h"

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
  // eProgXP without visual styles: three pixels cut at each corner on every version.
  ASSERT_EQ(vantiq::testing::TurnVisualStylesOff(site->Window()), S_OK);
  site->Put(L"Style", 2L);
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

TEST_F(PixelsTest, PrintingPlacesAndScalesThePictureAndLeavesTheCutCorners) {
  Site* site = AddBar({10, 10, 110, 30});
  ASSERT_EQ(vantiq::testing::TurnVisualStylesOff(site->Window()), S_OK);
  site->Put(L"Style", 2L);
  site->Put(L"Value", 50.0);
  site->Put(L"ShowCaption", true);
  const Pixels window = Shot(*site);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(site->Window(), region), COMPLEXREGION);
  const COLORREF background = RGB(1, 2, 3);

  // Three device pixels a logical unit, the origin moved: a DC of another resolution.
  const auto threeToOne = [](HDC dc) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1, 1, nullptr);
    SetViewportExtEx(dc, 3, 3, nullptr);
    SetViewportOrgEx(dc, 10, 5, nullptr);
  };
  const auto asIs = [](HDC) {};
  const struct {
    const char* what;
    int width, height;
    RECTL bounds;
    std::function<void(HDC)> prepare;
    bool metafile;
    POINT origin;  // where the picture lands, in pixels
    int scale;
  } rows[] = {
      {"twice the size, placed", 240, 60, {20, 10, 220, 50}, asIs, false, {20, 10}, 2},
      {"another resolution", 320, 70, {0, 0, 100, 20}, threeToOne, false, {10, 5}, 3},
      {"metafile, twice the size", 240, 60, {20, 10, 220, 50}, asIs, true, {20, 10}, 2},
      {"metafile of another resolution", 320, 70, {0, 0, 100, 20}, threeToOne, true, {10, 5}, 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const Pixels drawn =
        container::DrawView(site->Object(), row.width, row.height, background, row.bounds, row.prepare, row.metafile);
    ASSERT_EQ(drawn.width, row.width);
    int wrong = 0;
    for (int y = 0; y < row.height; ++y) {
      for (int x = 0; x < row.width; ++x) {
        const int sx = (x - row.origin.x) / row.scale, sy = (y - row.origin.y) / row.scale;
        const bool inside = x >= row.origin.x && y >= row.origin.y && sx < 100 && sy < 20;
        const COLORREF want = inside && PtInRegion(region, sx, sy) ? window.At(sx, sy) : background;
        if (drawn.At(x, y) != want && ++wrong <= 3)
          ADD_FAILURE() << x << "," << y << ": " << std::hex << drawn.At(x, y) << " for " << want;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  DeleteObject(region);
}

TEST_F(PixelsTest, CaptionFontsNamedOutsideAsciiDrawInTheirOwnFace) {
  // The test prefix knows DejaVu Serif also by a Cyrillic alias (scripts/wine-prefix.sh).
  for (const long orientation : {0L, 1L}) {
    SCOPED_TRACE(orientation ? "vertical" : "horizontal");
    const RECT rect = orientation ? RECT{10, 10, 40, 190} : RECT{10, 10, 250, 40};
    const auto shot = [&](const wchar_t* face) {
      Site* site = AddBar(rect);
      site->Put(L"Style", 0L);
      site->Put(L"Orientation", orientation);
      site->Put(L"ShowCaption", true);
      site->Put(L"Caption", L"Caption 42");
      site->Put(L"Value", 40.0);
      ComPtr<IFontDisp> font;
      EXPECT_EQ(site->As<_Vantiq>(IID__Vantiq)->get_Font(font.Put()), S_OK);
      EXPECT_EQ(font.As<IFont>(IID_IFont)->put_Size(CY{140000}), S_OK);
      Bstr name(FromWide(face));
      EXPECT_EQ(font.As<IFont>(IID_IFont)->put_Name(name.Get()), S_OK);
      const Pixels pixels = Shot(*site);
      frame->Remove(site);
      return pixels;
    };
    const Pixels alias = shot(L"Шрифт");
    EXPECT_TRUE(SamePixels(shot(L"DejaVu Serif"), alias));
    EXPECT_FALSE(SamePixels(shot(L"No Such Face"), alias)) << "the alias draws what an unknown name does";
  }
}

// Whether visual styles are on for this program, as the theme library says.
bool VisualStylesActive() {
  HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  if (!uxtheme) return false;
  using ThemeActiveFn = BOOL(WINAPI*)();
  auto active = reinterpret_cast<ThemeActiveFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsThemeActive")));
  const bool on = active && active();
  FreeLibrary(uxtheme);
  return on;
}

// The frame changes (WM_WINDOWPOSCHANGED with SWP_FRAMECHANGED) of one window on this thread.
class FrameChanges {
 public:
  explicit FrameChanges(HWND window) {
    window_ = window;
    count_ = 0;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
  }
  ~FrameChanges() { UnhookWindowsHookEx(hook_); }
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->hwnd == window_ && message->message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags & SWP_FRAMECHANGED))
      ++count_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND window_ = nullptr;
  static inline int count_ = 0;
  HHOOK hook_ = nullptr;
};

// Setting or clearing a window region repaints the window and its frame: value updates of
// no look may do it, and the cut corners appear where this system's rule wants them
// (the XP look on NT 6, or wherever visual styles are off).
TEST_F(PixelsTest, ValueUpdatesChangeNoFrameAndCornersAreCutWhereTheRuleSays) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExW(&version));
  const bool nt6 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 6;
  const bool styles = VisualStylesActive();
  SCOPED_TRACE("Windows " + std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
               (styles ? ", visual styles" : ", classic"));
  for (const long style : {4L, 2L, 0L}) {  // eProgSystem, the default; eProgXP; eProgStandard
    SCOPED_TRACE("style " + std::to_string(style));
    Site* bar = AddBar();
    ASSERT_TRUE(bar);
    bar->Put(L"ShowCaption", true);
    bar->Put(L"Style", style);
    frame->PumpMessages();
    FrameChanges changes(bar->Window());
    for (int i = 0; i < 100; ++i) {
      bar->Put(L"Value", static_cast<double>(i));
      frame->PumpMessages();
    }
    EXPECT_EQ(changes.Count(), 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool rounded = style == 2 && (nt6 || !styles);
    EXPECT_EQ(GetWindowRgn(bar->Window(), region) == COMPLEXREGION, rounded);
    // A region set from outside is put right by the next update.
    SetWindowRgn(bar->Window(), CreateRectRgn(0, 0, 10, 10), TRUE);
    bar->Put(L"Value", 7.0);
    frame->PumpMessages();
    EXPECT_EQ(GetWindowRgn(bar->Window(), region), rounded ? COMPLEXREGION : ERROR);
    if (style == 2) {
      // Without visual styles for its window the XP look always has its corners cut.
      EXPECT_EQ(vantiq::testing::TurnVisualStylesOff(bar->Window()), S_OK);
      bar->Put(L"Value", 50.0);
      frame->PumpMessages();
      EXPECT_EQ(GetWindowRgn(bar->Window(), region), COMPLEXREGION);
    }
    DeleteObject(region);
    frame->Remove(bar);
  }
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
