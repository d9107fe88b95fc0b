// Untrusted callers: numbers no script can write (NaN, infinities) and objects of the
// wrong kind through IDispatch and the vtable, and event handlers that change, resize
// and let go of the control while its events are in flight. The control must keep
// working, return only the errors of its interface, and outlive no reference.
#include <olectl.h>

#include <climits>
#include <cstddef>
#include <cmath>
#include <functional>
#include <limits>

#include "activex/class_factory.h"
#include "activex/control_identity.h"
#include "activex/control_object.h"
#include "activex/module.h"
#include "backends/gdi/gdi_allocation.h"
#include "container_support.h"
#include "support/real_window.h"

namespace vantiq::activex::testing {
namespace {

using HostileTest = ContainerTest;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

// The frame's control with a caption, drawn as the core draws it after any abuse.
void ExpectDrawsAsNew(Site& bar, const std::function<Pixels()>& shot) {
  BarState state;
  state.value = 40;
  state.showCaption = true;
  Apply(bar, state);
  bar.Put(L"Min", 0.0);
  bar.Put(L"Max", 100.0);
  bar.Put(L"Value", 40.0);
  EXPECT_EQ(bar.GetDouble(L"Value"), 40.0);
  EXPECT_TRUE(SamePixels(GdiRender(200, 20, state), shot()));
}

// What NaN and the infinities mean is the core's; here, that the hosted control paints
// on through them and through extents no container should give.
TEST_F(HostileTest, NonFiniteNumbersAndExtremeExtentsAndThePaintGoesOn) {
  Site* bar = AddBar();
  ASSERT_TRUE(bar);
  bar->Put(L"Style", 0L);  // flat: the back colour shows wherever the bar is empty
  bar->Put(L"ShowCaption", true);
  // Every state below has an empty bar: a back colour set then shows at its far end at
  // once, if the paint goes on.
  long back = 0x102030;
  const auto paintsOn = [&] {
    bar->Put(L"BackColor", ++back);
    const Pixels shot = Shot(*bar);
    return shot.width == 200 && shot.At(195, 10) == static_cast<COLORREF>(back);
  };
  const struct {
    const wchar_t* name;
    double value;
  } writes[] = {{L"Value", kNaN}, {L"Max", kNaN}, {L"Min", -kInfinity}, {L"Max", kInfinity}, {L"Value", 5},
                {L"Min", kNaN}, {L"Scrolling", 1}, {L"Orientation", 1}, {L"ShadowIntensity", kNaN},
                {L"Style", kNaN}, {L"Max", 1e308}, {L"Min", -1e308}, {L"Value", 1e308}, {L"Style", 0}};
  for (const auto& write : writes) {
    SCOPED_TRACE(write.name);
    const HRESULT hr = bar->Put(write.name, write.value);
    // What NaN converts to as an integer is the system's: Wine lets it through.
    EXPECT_TRUE(hr == S_OK || (std::isnan(write.value) && hr == DISP_E_OVERFLOW)) << std::hex << hr;
    if (write.value < 1e300) EXPECT_TRUE(paintsOn());
  }
  // Negative and huge extents for the control that is drawn without its window.
  auto ole = bar->As<IOleObject>(IID_IOleObject);
  for (SIZEL extent : {SIZEL{-500, -500}, SIZEL{0, 0}, SIZEL{LONG_MAX, LONG_MIN}}) {
    ole->SetExtent(DVASPECT_CONTENT, &extent);
    bar->Move({10, 10, 10 - extent.cx % 300, 10 - extent.cy % 300});
    EXPECT_EQ(bar->GetDouble(L"Value"), 1e308);
    frame->PumpMessages();
  }
  SIZEL normal{5292, 529};
  ole->SetExtent(DVASPECT_CONTENT, &normal);
  bar->Move({10, 10, 210, 30});
  bar->Put(L"ShadowIntensity", 128L);
  bar->Put(L"Orientation", 0L);
  bar->Put(L"Scrolling", 0L);
  ExpectDrawsAsNew(*bar, [&] { return Shot(*bar); });
}

TEST_F(HostileTest, ACaptionHandlerChangesAndResizesTheControlWhileItPaints) {
  Site* bar = AddBar();
  ASSERT_TRUE(bar);
  int calls = 0;
  bar->events.progressText = [&](double& value, double&, double& max, std::wstring& text) {
    ++calls;
    bar->Put(L"Value", 70.0);
    bar->Put(L"Caption", L"inside");
    bar->Put(L"Style", static_cast<long>(calls % 5));
    bar->Put(L"Max", 1e308);
    bar->Put(L"ShadowIntensity", 1000L);
    bar->Move({10, 10, 10 + 50 * (calls % 4), 40});  // down to nothing wide
    bar->Put(L"CaptionCallBack", calls < 20);
    value = kNaN;
    max = -kInfinity;
    text.assign(100000, L'w');
  };
  bar->Put(L"ShowCaption", true);
  bar->Put(L"CaptionCallBack", true);
  frame->PumpMessages();
  for (int i = 0; i < 10; ++i) {
    bar->Put(L"Value", 10.0 * i);
    frame->PumpMessages();
  }
  EXPECT_GE(calls, 10);
  EXPECT_EQ(bar->GetLong(L"CaptionCallBack"), 0);
  bar->events.progressText = nullptr;
  bar->Move({10, 10, 210, 30});
  frame->PumpMessages();
  ExpectDrawsAsNew(*bar, [&] { return Shot(*bar); });
}

TEST_F(HostileTest, MouseHandlersChangeAndResizeTheControlUnderThePointer) {
  Site* bar = AddBar();
  ASSERT_TRUE(bar);
  int calls = 0;
  const auto handler = [&](short& button, short& shift, float& x, float& y) {
    ++calls;
    bar->Put(L"Value", static_cast<double>(x));
    bar->Put(L"Caption", L"moved");
    bar->Put(L"ShowCaption", true);
    bar->Put(L"Style", static_cast<long>(calls % 5));
    bar->Move({10, 10, 10 + 40 * (calls % 6) - 80, 10 + 5 * (calls % 5) - 10});  // negative too
    bar->SetUserMode(calls % 2 == 0);
    button = -1;
    shift = 0x7FFF;
    x = -1e30f;
    y = std::numeric_limits<float>::quiet_NaN();
  };
  bar->events.mouseDown = handler;
  bar->events.mouseMove = handler;
  bar->events.mouseUp = handler;
  for (int i = 0; i < 30; ++i) {
    const HWND window = bar->Window();
    ASSERT_TRUE(window);
    const LPARAM at = MAKELPARAM(i % 7, i % 3);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
    frame->PumpMessages();
  }
  EXPECT_EQ(calls, 90);
  bar->events = {};
  bar->SetUserMode(true);
  bar->Put(L"Caption", L"");
  bar->Move({10, 10, 210, 30});
  frame->PumpMessages();
  ExpectDrawsAsNew(*bar, [&] { return Shot(*bar); });
}

// IViewObjectEx called with null pointers, and before the control has a site or a
// window: the errors of the interface, answers from the extent, nothing held.
TEST_F(HostileTest, ViewObjectExNullPointersAndCallsBeforeASite) {
  const RECT bounds{10, 10, 210, 30};  // AddBar's
  const POINT corner{10, 10};
  const auto nulls = [&](IViewObjectEx* view) {
    DWORD result = 0;
    EXPECT_EQ(view->GetViewStatus(nullptr), E_POINTER);
    EXPECT_EQ(view->GetRect(DVASPECT_CONTENT, nullptr), E_POINTER);
    EXPECT_EQ(view->GetRect(DVASPECT_OPAQUE, nullptr), E_POINTER);
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_CONTENT, &bounds, corner, 0, nullptr), E_POINTER);
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_CONTENT, nullptr, corner, 0, &result), E_POINTER);
    EXPECT_EQ(view->QueryHitRect(DVASPECT_CONTENT, &bounds, &bounds, 0, nullptr), E_POINTER);
    EXPECT_EQ(view->QueryHitRect(DVASPECT_CONTENT, nullptr, &bounds, 0, &result), E_POINTER);
    EXPECT_EQ(view->QueryHitRect(DVASPECT_CONTENT, &bounds, nullptr, 0, &result), E_POINTER);
    EXPECT_EQ(view->GetNaturalExtent(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
  };
  {
    ComPtr<IViewObjectEx> view;
    ASSERT_EQ(Factory()->CreateInstance(nullptr, IID_IViewObjectEx, reinterpret_cast<void**>(view.Put())), S_OK);
    nulls(view.Get());
    DWORD status = 0;
    EXPECT_EQ(view->GetViewStatus(&status), S_OK);
    EXPECT_EQ(status, static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND));
    SIZEL extent{};
    ASSERT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent), S_OK);
    for (DWORD aspect : {DWORD{DVASPECT_CONTENT}, DWORD{DVASPECT_OPAQUE}}) {
      RECTL rect{};
      EXPECT_EQ(view->GetRect(aspect, &rect), S_OK);
      EXPECT_EQ(rect.right, extent.cx);
      EXPECT_EQ(rect.bottom, extent.cy);
    }
    DWORD hit = 0;
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_CONTENT, &bounds, corner, 0, &hit), S_OK);
    EXPECT_EQ(hit, static_cast<DWORD>(HITRESULT_HIT)) << "no window, no region: the whole rectangle";
    const RECT empty{10, 10, 10, 10};
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_CONTENT, &empty, corner, 0, &hit), S_OK);
    EXPECT_EQ(hit, static_cast<DWORD>(HITRESULT_OUTSIDE));
  }
  EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the control outlived its last reference";

  // In place with a region, the null pointers meet the same answers.
  Site* bar = AddBar(bounds);
  ASSERT_EQ(vantiq::testing::TurnVisualStylesOff(bar->Window()), S_OK);
  bar->Put(L"Style", 2L);
  Shot(*bar);
  nulls(bar->As<IViewObjectEx>(IID_IViewObjectEx).Get());
  ExpectDrawsAsNew(*bar, [&] { return Shot(*bar); });
}

TEST_F(HostileTest, QuickActivateNullPointersShortStructuresAndNoSite) {
  {
    ComPtr<IQuickActivate> quick;
    ASSERT_EQ(Factory()->CreateInstance(nullptr, IID_IQuickActivate, reinterpret_cast<void**>(quick.Put())), S_OK);
    QACONTAINER container{};
    container.cbSize = sizeof container;
    // A control structure of an older size, with guard bytes after it.
    struct {
      QACONTROL control;
      DWORD guard;
    } shortControl;
    FillMemory(&shortControl, sizeof shortControl, 0xAB);
    shortControl.control.cbSize = offsetof(QACONTROL, dwPointerActivationPolicy);
    EXPECT_EQ(quick->QuickActivate(nullptr, &shortControl.control), E_POINTER);
    EXPECT_EQ(quick->QuickActivate(&container, nullptr), E_POINTER);
    for (ULONG size : {0ul, 4ul, static_cast<ULONG>(offsetof(QACONTAINER, dwAmbientFlags))}) {
      QACONTAINER small = container;
      small.cbSize = size;
      EXPECT_EQ(quick->QuickActivate(&small, &shortControl.control), E_INVALIDARG) << size;
    }
    // Nothing but the sizes: no site, no sinks.
    ASSERT_EQ(quick->QuickActivate(&container, &shortControl.control), S_OK);
    EXPECT_NE(shortControl.control.dwMiscStatus, 0u);
    EXPECT_EQ(shortControl.control.dwEventCookie, 0u);
    EXPECT_EQ(shortControl.control.dwPointerActivationPolicy, 0xABABABABu) << "written past cbSize";
    EXPECT_EQ(shortControl.guard, 0xABABABABu);
    EXPECT_EQ(quick->SetContentExtent(nullptr), E_POINTER);
    EXPECT_EQ(quick->GetContentExtent(nullptr), E_POINTER);
  }
  EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the control outlived its last reference";
}

// The General page called out of order and with null pointers: before a site, before
// Activate, twice, with no objects and with an object that has no IDispatch.
TEST_F(HostileTest, GeneralPageNullPointersAndCallsOutOfOrder) {
  {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(Library().GetClassFactory(kGeneralPageClsid, factory), S_OK);
    ComPtr<IUnknown> inner;
    EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IUnknown, reinterpret_cast<void**>(inner.Put())),
              CLASS_E_NOAGGREGATION);
    ComPtr<IPropertyPage> page = NewGeneralPage();
    ASSERT_TRUE(page);
    const RECT rect{0, 0, 200, 100};
    MSG message{frame->Hwnd(), WM_KEYDOWN, VK_TAB, 0};
    EXPECT_EQ(page->GetPageInfo(nullptr), E_POINTER);
    EXPECT_EQ(page->SetObjects(1, nullptr), E_POINTER);
    IUnknown* none[] = {nullptr};
    EXPECT_EQ(page->SetObjects(1, none), E_POINTER);
    ComPtr<IStream> stream = container::NewStream();
    IUnknown* notDispatch[] = {stream.Get()};
    EXPECT_EQ(page->SetObjects(1, notDispatch), E_NOINTERFACE);
    EXPECT_EQ(page->Activate(frame->Hwnd(), nullptr, FALSE), E_POINTER);
    EXPECT_EQ(page->Activate(frame->Hwnd(), &rect, FALSE), E_UNEXPECTED) << "no site yet";
    EXPECT_EQ(page->Move(nullptr), E_POINTER);
    EXPECT_EQ(page->TranslateAccelerator(nullptr), E_POINTER);
    for (HRESULT hr : {page->Show(SW_SHOW), page->Move(&rect), page->Deactivate(),
                       page->TranslateAccelerator(&message)})
      EXPECT_EQ(hr, E_UNEXPECTED) << "not active";
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->Help(nullptr), E_NOTIMPL);

    RecordingPageSite site;
    ASSERT_EQ(page->SetPageSite(&site), S_OK);
    EXPECT_EQ(page->SetPageSite(&site), E_UNEXPECTED);
    ASSERT_EQ(page->Activate(frame->Hwnd(), &rect, FALSE), S_OK);
    EXPECT_EQ(page->Activate(frame->Hwnd(), &rect, FALSE), E_UNEXPECTED);
    // With no objects the fields are empty and an edit goes nowhere.
    HWND dialog = FindWindowExW(frame->Hwnd(), nullptr, L"#32770", nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND caption = GetWindow(FindWindowExW(dialog, nullptr, L"Static", L"Caption"), GW_HWNDNEXT);
    wchar_t text[16] = {L'?'};
    GetWindowTextW(caption, text, 16);
    EXPECT_STREQ(text, L"");
    SetWindowTextW(caption, L"Lost");
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    EXPECT_EQ(page->Apply(), S_OK);
    // Keys for the page's fields are the page's; others are not.
    message.hwnd = caption;
    EXPECT_EQ(page->TranslateAccelerator(&message), S_OK);
    message.hwnd = frame->Hwnd();
    EXPECT_EQ(page->TranslateAccelerator(&message), S_FALSE);
    // A control the page holds when the last reference goes, still active.
    ComPtr<IUnknown> control;
    ASSERT_EQ(Factory()->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(control.Put())), S_OK);
    IUnknown* objects[] = {control.Get()};
    ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    EXPECT_EQ(page->SetObjects(1, notDispatch), E_NOINTERFACE);
    control.Reset();
    page.Reset();
    EXPECT_EQ(site.refs, 1u) << "the page kept its site";
  }
  EXPECT_EQ(FindWindowExW(frame->Hwnd(), nullptr, L"#32770", nullptr), nullptr);
  EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the page or its control outlived the last reference";
}

TEST_F(HostileTest, PropertyPagesAndBrowsingNullPointers) {
  ComPtr<IUnknown> control;
  ASSERT_EQ(Factory()->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(control.Put())), S_OK);
  auto pages = control.As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  auto browsing = control.As<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
  ASSERT_TRUE(pages && browsing);
  EXPECT_EQ(pages->GetPages(nullptr), E_POINTER);
  EXPECT_EQ(browsing->MapPropertyToPage(DISPID_FONT, nullptr), E_POINTER);
  EXPECT_EQ(browsing->GetDisplayString(DISPID_FONT, nullptr), E_POINTER);
  CALPOLESTR strings{};
  CADWORD cookies{};
  EXPECT_EQ(browsing->GetPredefinedStrings(0, nullptr, &cookies), E_POINTER);
  EXPECT_EQ(browsing->GetPredefinedStrings(0, &strings, nullptr), E_POINTER);
  EXPECT_EQ(browsing->GetPredefinedStrings(0, &strings, &cookies), E_NOTIMPL);
  EXPECT_EQ(strings.cElems, 0u);
  EXPECT_EQ(browsing->GetPredefinedValue(0, 0, nullptr), E_POINTER);
}

// Connects a sink to the control's events; the connection holds the sink.
void Connect(IUnknown* control, TestDispatch* sink) {
  auto container = ComPtr<IUnknown>(control).As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  ASSERT_TRUE(container);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(DIID___Vantiq, point.Put()), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sink, &cookie), S_OK);
}

// The site goes and the caller lets its reference go from inside an event that a call
// of its own raised: the control lives on until that call returns, then nothing of it.
class ReleaseInEvent : public HostileTest {
 protected:
  void Run(DISPID which, const std::function<void(_Vantiq*, HWND)>& raise) {
    Site* bar = AddBar();
    ASSERT_TRUE(bar);
    _Vantiq* raw = bar->As<_Vantiq>(IID__Vantiq).Detach();  // the caller's own reference
    ULONG left = 0;
    int events = 0;
    bool armed = false;
    // The control holds the sink while it raises an event.
    auto* sink = TestDispatch::New([&](DISPID id, DISPPARAMS*, VARIANT*) {
      if (id != which || !armed) return S_OK;
      armed = false;
      ++events;
      frame->Remove(bar);
      left = raw->Release();
      return S_OK;
    });
    Connect(raw, sink);
    sink->Release();
    raw->put_CaptionCallBack(VARIANT_TRUE);
    raw->put_ShowCaption(VARIANT_TRUE);
    frame->PumpMessages();
    armed = true;
    raise(raw, bar->Window());
    EXPECT_EQ(events, 1);
    EXPECT_GE(left, 1u) << "the last reference went while the control was still raising the event";
    frame->PumpMessages();
    EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the control outlived its last reference";
  }
};

TEST_F(ReleaseInEvent, FromASetterThatRepaints) {
  Run(1, [](_Vantiq* bar, HWND) { EXPECT_EQ(bar->put_value(60), S_OK); });
}

TEST_F(ReleaseInEvent, FromADrawingOfTheView) {
  Run(1, [](_Vantiq* bar, HWND) {
    ComPtr<IViewObject> view;
    bar->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(view.Put()));
    ASSERT_TRUE(view);
    IViewObject* raw = view.Detach();
    raw->Release();  // the call below runs on the caller's one reference, as a script's would
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECTL bounds{0, 0, 200, 20};
    EXPECT_EQ(raw->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0),
              S_OK);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  });
}

TEST_F(ReleaseInEvent, FromAMouseHandler) {
  Run(4, [](_Vantiq*, HWND window) {
    ASSERT_TRUE(window);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  });
}

// What a caption handler does to the control while the caption pass draws.
enum class Takes { kResize, kDeactivate, kRemove };

// Without a back buffer the paint draws on the window's own surface, which a handler
// that resizes, deactivates or removes the control makes the control replace or drop
// while the caption pass still draws on it.
class SurfaceTakenInCaption : public HostileTest {
 protected:
  // With `failBuffers` the control is this program's own copy, whose every back buffer
  // fails through the GDI backend's allocation hook; otherwise the library's control,
  // laid out first at 0 x 0, where no buffer is made.
  void Run(bool failBuffers, Takes takes) {
    ComPtr<IClassFactory> factory;
    if (failBuffers) {
      ASSERT_EQ(CreateClassFactory(ControlObject::Create, IID_IClassFactory,
                                   reinterpret_cast<void**>(factory.Put())),
                S_OK);
      gdi::InjectFailures(gdi::Allocation::kBitmap, 0, -1);
    } else {
      factory = Factory();
    }
    Site* bar = frame->Add(factory.Get(), failBuffers ? RECT{10, 10, 210, 30} : RECT{10, 10, 10, 10});
    ASSERT_TRUE(bar && bar->Status() == S_OK);
    ComPtr<_Vantiq> control = bar->As<_Vantiq>(IID__Vantiq);
    int events = 0, raised = 0;
    bool armed = false;
    auto* sink = TestDispatch::New([&](DISPID id, DISPPARAMS*, VARIANT*) {
      if (id != container::kProgressTextCallBack || (++raised, !armed)) return S_OK;
      armed = false;
      ++events;
      switch (takes) {
        case Takes::kResize: bar->Move({10, 10, 160, 40}); break;
        case Takes::kDeactivate: bar->Deactivate(); break;
        case Takes::kRemove: frame->Remove(bar); bar = nullptr; break;
      }
      return S_OK;
    });
    Connect(control.Get(), sink);
    sink->Release();
    control->put_Shadow(VARIANT_TRUE);
    control->put_ShowCaption(VARIANT_TRUE);
    control->put_CaptionCallBack(VARIANT_TRUE);
    frame->PumpMessages();
    armed = true;
    EXPECT_EQ(control->put_value(60), S_OK);
    EXPECT_EQ(events, 1);
    frame->PumpMessages();
    if (failBuffers) EXPECT_GT(gdi::Requests(gdi::Allocation::kBitmap), 0) << "no buffer was asked for";
    gdi::ClearInjectedFailures();
    // It goes on answering and drawing; off the frame, it raises no more events.
    const int raisedBefore = raised;
    EXPECT_EQ(control->put_value(40), S_OK);
    double value = 0;
    EXPECT_EQ(control->get_value(&value), S_OK);
    EXPECT_EQ(value, 40);
    if (takes == Takes::kRemove) {
      Bstr caption(u"after");
      EXPECT_EQ(control->put_Caption(caption.Get()), S_OK);
      frame->PumpMessages();
      EXPECT_EQ(raised, raisedBefore) << "an event from a control off the frame";
    }
    if (takes == Takes::kResize) {
      control->put_CaptionCallBack(VARIANT_FALSE);
      control->put_Shadow(VARIANT_FALSE);
      bar->Move({10, 10, 210, 30});
      ExpectDrawsAsNew(*bar, [&] { return Shot(*bar); });
    }
    control.Reset();
    if (bar) frame->Remove(bar);
    factory.Reset();  // a factory holds the module too
    frame->PumpMessages();
    if (failBuffers)
      EXPECT_EQ(ModuleLockCount(), 0) << "the control outlived its last reference";
    else
      EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the control outlived its last reference";
  }
};

TEST_F(SurfaceTakenInCaption, NoBufferAtZeroSize) {
  for (Takes takes : {Takes::kResize, Takes::kDeactivate, Takes::kRemove}) {
    SCOPED_TRACE(static_cast<int>(takes));
    Run(false, takes);
  }
}

TEST_F(SurfaceTakenInCaption, NoBufferWhenItsCreationFails) {
  for (Takes takes : {Takes::kResize, Takes::kDeactivate, Takes::kRemove}) {
    SCOPED_TRACE(static_cast<int>(takes));
    Run(true, takes);
  }
}

}  // namespace
}  // namespace vantiq::activex::testing
