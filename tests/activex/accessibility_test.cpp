// The control's window as accessibility clients see it: a read-only progress bar named
// by the container, whose value is the caption text on the bar, with value and state
// changes announced as window events, and an object that outlives the control safely.
#include <oleacc.h>

#include <vector>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

struct WinEvent {
  DWORD event;
  HWND hwnd;
  LONG object;
  LONG child;
};
std::vector<WinEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
  g_events.push_back({event, hwnd, object, child});
}

class AccessibilityTest : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    g_events.clear();
    // Out of context, for this thread: delivered while the thread pumps messages.
    hook_ = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent,
                            GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook_, nullptr);
  }
  void TearDown() override {
    if (hook_) UnhookWinEvent(hook_);
    ContainerTest::TearDown();
  }

  static ComPtr<IAccessible> Accessible(HWND window) {
    ComPtr<IAccessible> accessible;
    EXPECT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
        window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
        reinterpret_cast<void**>(accessible.Put())));
    return accessible;
  }

  // The events of `kind` raised for the client area of `window` since the last call.
  std::size_t Count(DWORD kind, HWND window) {
    frame->PumpMessages();
    std::size_t n = 0;
    for (const WinEvent& e : g_events)
      if (e.event == kind && e.hwnd == window && e.object == OBJID_CLIENT && e.child == CHILDID_SELF) ++n;
    return n;
  }

  HWINEVENTHOOK hook_ = nullptr;
};

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  V_VT(&self) = VT_I4;
  V_I4(&self) = CHILDID_SELF;
  return self;
}

// get_accValue as text; "<none>" when the object reports no value.
std::wstring ValueOf(IAccessible* accessible) {
  BSTR value = nullptr;
  const bool got = accessible->get_accValue(Self(), &value) == S_OK && value;
  const std::wstring text = TakeText(value);
  return got ? text : L"<none>";
}

std::wstring NameOf(IAccessible* accessible) {
  BSTR name = nullptr;
  accessible->get_accName(Self(), &name);
  return TakeText(name);
}

LONG StateOf(IAccessible* accessible) {
  VARIANT state;
  VariantInit(&state);
  if (FAILED(accessible->get_accState(Self(), &state)) || V_VT(&state) != VT_I4) return -1;
  return V_I4(&state);
}

TEST_F(AccessibilityTest, AProgressBarNamedByTheContainerWhoseValueIsTheShownCaption) {
  SiteOptions options;
  options.name = L"UploadProgress";
  Site* site = AddBar({10, 10, 210, 30}, options);
  BarState state;
  state.showCaption = true;
  state.value = 37;
  Apply(*site, state);
  frame->PumpMessages();
  ComPtr<IAccessible> accessible = Accessible(site->Window());
  ASSERT_TRUE(accessible);

  VARIANT role;
  VariantInit(&role);
  ASSERT_HRESULT_SUCCEEDED(accessible->get_accRole(Self(), &role));
  EXPECT_EQ(V_VT(&role), VT_I4);
  EXPECT_EQ(V_I4(&role), ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(NameOf(accessible.Get()), L"UploadProgress");
  EXPECT_EQ(ValueOf(accessible.Get()), L"37%");
  EXPECT_EQ(StateOf(accessible.Get()), STATE_SYSTEM_READONLY);
  LONG children = -1;
  EXPECT_HRESULT_SUCCEEDED(accessible->get_accChildCount(&children));
  EXPECT_EQ(children, 0);
  VARIANT child = Self();
  V_I4(&child) = 1;
  BSTR none = nullptr;
  EXPECT_EQ(accessible->get_accValue(child, &none), E_INVALIDARG);

  // The location is the window's, from the system's object for the client area.
  LONG left = 0, top = 0, width = 0, height = 0;
  ASSERT_HRESULT_SUCCEEDED(accessible->accLocation(&left, &top, &width, &height, Self()));
  RECT screen{};
  GetWindowRect(site->Window(), &screen);
  EXPECT_EQ(left, screen.left);
  EXPECT_EQ(top, screen.top);
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 20);

  // The value follows what the bar shows: a fixed caption, then none at all.
  site->Put(L"Caption", L"Copying \u2192 \u65e5\u672c");
  frame->PumpMessages();
  EXPECT_EQ(ValueOf(accessible.Get()), L"Copying \u2192 \u65e5\u672c");
  site->Put(L"ShowCaption", false);
  frame->PumpMessages();
  EXPECT_EQ(ValueOf(accessible.Get()), L"<none>");

  site->Put(L"Enabled", false);
  EXPECT_EQ(StateOf(accessible.Get()), STATE_SYSTEM_READONLY | STATE_SYSTEM_UNAVAILABLE);
  ShowWindow(site->Window(), SW_HIDE);
  EXPECT_EQ(StateOf(accessible.Get()),
            STATE_SYSTEM_READONLY | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);
}

TEST_F(AccessibilityTest, ValueAndStateChangesAreAnnounced) {
  Site* site = AddBar();
  BarState state;
  state.showCaption = true;
  Apply(*site, state);
  const HWND window = site->Window();
  ComPtr<IAccessible> accessible = Accessible(window);
  ASSERT_TRUE(accessible);
  EXPECT_EQ(NameOf(accessible.Get()), L"") << "the container gives no name";
  frame->PumpMessages();
  g_events.clear();

  site->Put(L"Value", 60.0);
  EXPECT_EQ(Count(EVENT_OBJECT_VALUECHANGE, window), 1u);
  EXPECT_EQ(ValueOf(accessible.Get()), L"60%");
  // A change the text does not show is not a value change.
  g_events.clear();
  site->Put(L"Value", 60.2);
  site->Put(L"ForeColor", 255L);
  EXPECT_EQ(Count(EVENT_OBJECT_VALUECHANGE, window), 0u);
  site->Put(L"Caption", L"Done");
  EXPECT_EQ(Count(EVENT_OBJECT_VALUECHANGE, window), 1u);

  g_events.clear();
  site->Put(L"Enabled", false);
  EXPECT_EQ(Count(EVENT_OBJECT_STATECHANGE, window), 1u);
  ShowWindow(window, SW_HIDE);
  EXPECT_EQ(Count(EVENT_OBJECT_STATECHANGE, window), 2u);
}

TEST_F(AccessibilityTest, AnObjectHeldPastTheControlAnswersDisconnected) {
  Site* site = AddBar();
  ComPtr<IAccessible> accessible = Accessible(site->Window());
  ASSERT_TRUE(accessible);
  frame->Remove(site);
  VARIANT role;
  VariantInit(&role);
  EXPECT_EQ(accessible->get_accRole(Self(), &role), CO_E_OBJNOTCONNECTED);
  BSTR value = nullptr;
  EXPECT_EQ(accessible->get_accValue(Self(), &value), CO_E_OBJNOTCONNECTED);
  LONG left = 0, top = 0, width = 0, height = 0;
  EXPECT_EQ(accessible->accLocation(&left, &top, &width, &height, Self()), CO_E_OBJNOTCONNECTED);
}

}  // namespace
}  // namespace vantiq::activex::testing
