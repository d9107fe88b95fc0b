// The control's property pages as a designer uses them: the pages it names, where each
// property is edited and what a browser shows of it, and the General page editing two
// hosted controls, on its own and inside the system's property frame.
#include <olectl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "activex/control_identity.h"
#include "backends/soft/png_file.h"
#include "container_support.h"
#include "activex/stock_pages.h"

namespace vantiq::activex::testing {
namespace {

using PropertyPagesTest = ContainerTest;

// The window that edits `name` on the page: the switch of that name, or the box after
// the label of that name.
HWND FieldOf(HWND page, const wchar_t* name) {
  if (HWND box = FindWindowExW(page, nullptr, L"Button", name)) return box;
  HWND label = FindWindowExW(page, nullptr, L"Static", name);
  return label ? GetWindow(label, GW_HWNDNEXT) : nullptr;
}

// What a field shows: its text, the selected item's name, or "on"/"off".
std::wstring Shown(HWND page, const wchar_t* name) {
  HWND field = FieldOf(page, name);
  if (!field) return L"<missing>";
  wchar_t text[256] = {};
  GetClassNameW(field, text, 256);
  if (_wcsicmp(text, L"Button") == 0) return SendMessageW(field, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"on" : L"off";
  GetWindowTextW(field, text, 256);
  return text;
}

// Edits a field as a user does: its text, the item of that name, or a click.
void Edit(HWND page, const wchar_t* name, const wchar_t* text) {
  HWND field = FieldOf(page, name);
  ASSERT_NE(field, nullptr) << name;
  wchar_t kind[32] = {};
  GetClassNameW(field, kind, 32);
  if (_wcsicmp(kind, L"Button") == 0) {
    SendMessageW(field, BM_CLICK, 0, 0);
  } else if (_wcsicmp(kind, L"ComboBox") == 0) {
    const LRESULT at = SendMessageW(field, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    ASSERT_NE(at, CB_ERR) << name << ": " << text;
    SendMessageW(field, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), CBN_SELCHANGE), reinterpret_cast<LPARAM>(field));
  } else {
    SetWindowTextW(field, text);
  }
}

// Two controls in different states and a third, the reference, in the first one's.
void Prepare(Site& bar, double value, double max, const wchar_t* caption) {
  bar.Put(L"Min", 0.0);
  bar.Put(L"Max", max);
  bar.Put(L"Value", value);
  bar.Put(L"ShadowIntensity", 100L);
  bar.Put(L"Style", 2L);
  bar.Put(L"Scrolling", 1L);
  bar.Put(L"TextAlignment", 2L);
  bar.Put(L"Caption", caption);
  bar.Put(L"SearchCaption", L"Looking");
  bar.Put(L"PercentFormat", L"0.0");
  bar.Put(L"ShowCaption", true);
  bar.Put(L"SegmentBorders", true);
  bar.changes.clear();
}

struct Row {
  const wchar_t* name;
  const wchar_t* shown;  // of the first control, before the edit
  const wchar_t* typed;  // the edit; null: left alone
  const wchar_t* after;  // shown after Apply
};
const Row kRows[] = {
    {L"Min", L"0", nullptr, L"0"},
    {L"Max", L"80", nullptr, L"80"},
    {L"Value", L"30", L"95", L"80"},                  // clamped to Max
    {L"ShadowIntensity", L"100", L"300", L"255"},     // clamped to 255
    {L"Style", L"eProgXP", L"eProgThin", L"eProgThin"},
    {L"Orientation", L"eProgressBarOrientationHorizontal", nullptr, L"eProgressBarOrientationHorizontal"},
    {L"Scrolling", L"eProgressBarScrollSmooth", nullptr, L"eProgressBarScrollSmooth"},
    {L"TextAlignment", L"ePbTextAlignCenter", nullptr, L"ePbTextAlignCenter"},
    {L"Caption", L"Copying", L"Done", L"Done"},
    {L"SearchCaption", L"Looking", nullptr, L"Looking"},
    {L"PercentFormat", L"0.0", L"0.00%", L"0.00"},    // the percent sign is the control's
    {L"ShowCaption", L"on", nullptr, L"on"},
    {L"Shadow", L"off", L"", L"on"},
    {L"SegmentBorders", L"on", nullptr, L"on"},
    {L"CaptionCallBack", L"off", nullptr, L"off"},
    {L"RightToLeft", L"off", nullptr, L"off"},
};

TEST_F(PropertyPagesTest, GeneralPageShowsTheFirstControlAndAppliesEditsToAllThroughTheirSetters) {
  Site* first = AddBar({10, 10, 210, 30});
  Site* second = AddBar({10, 40, 210, 60});
  Site* reference = AddBar({10, 70, 210, 90});
  ASSERT_TRUE(first && second && reference);
  Prepare(*first, 30, 80, L"Copying");
  Prepare(*second, 10, 50, L"Other");
  Prepare(*reference, 30, 80, L"Copying");

  RecordingPageSite pageSite;
  {
    ComPtr<IPropertyPage> page = NewGeneralPage();
    ASSERT_TRUE(page);
    ASSERT_EQ(page->SetPageSite(&pageSite), S_OK);
    IUnknown* objects[] = {first->Object(), second->Object()};
    ASSERT_EQ(page->SetObjects(2, objects), S_OK);
    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_STREQ(info.pszTitle, L"General");
    CoTaskMemFree(info.pszTitle);
    const RECT rect{0, 0, info.size.cx, info.size.cy};
    ASSERT_EQ(page->Activate(frame->Hwnd(), &rect, FALSE), S_OK);
    ASSERT_EQ(page->Show(SW_SHOW), S_OK);
    HWND dialog = FindWindowExW(frame->Hwnd(), nullptr, L"#32770", nullptr);
    ASSERT_NE(dialog, nullptr);
    // Every field fits the page at the dialog font.
    RECT client{};
    GetClientRect(dialog, &client);
    for (const Row& row : kRows) {
      RECT box{};
      GetWindowRect(FieldOf(dialog, row.name), &box);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
      EXPECT_TRUE(box.right <= client.right && box.bottom <= client.bottom) << row.name;
    }

    for (const Row& row : kRows) EXPECT_EQ(Shown(dialog, row.name), row.shown) << row.name;
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(pageSite.statuses, std::vector<DWORD>{});

    for (const Row& row : kRows)
      if (row.typed) Edit(dialog, row.name, row.typed);
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_FALSE(pageSite.statuses.empty());
    for (DWORD status : pageSite.statuses) EXPECT_EQ(status, static_cast<DWORD>(PROPPAGESTATUS_DIRTY));
    EXPECT_TRUE(first->changes.empty()) << "nothing is written before Apply";

    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    for (const Row& row : kRows) EXPECT_EQ(Shown(dialog, row.name), row.after) << row.name;

    // What a direct caller's writes of the same values give, in the page's order.
    reference->Put(L"Value", L"95");
    reference->Put(L"ShadowIntensity", L"300");
    reference->Put(L"Style", 1L);
    reference->Put(L"Caption", L"Done");
    reference->Put(L"PercentFormat", L"0.00%");
    reference->Put(L"Shadow", true);
    EXPECT_EQ(SavedState(first->As<_Vantiq>(IID__Vantiq).Get()),
              SavedState(reference->As<_Vantiq>(IID__Vantiq).Get()));
    EXPECT_EQ(first->changes, reference->changes);
    EXPECT_EQ(second->changes, reference->changes);
    // The second control clamps to its own range and keeps what the page did not edit.
    EXPECT_EQ(second->GetDouble(L"Value"), 50);
    EXPECT_EQ(second->GetText(L"Caption"), L"Done");
    EXPECT_EQ(second->GetLong(L"ShadowIntensity"), 255);
    EXPECT_EQ(second->GetDouble(L"Max"), 50);

    // Without objects the page lets the controls go; without a site, the site.
    ASSERT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(FindWindowExW(frame->Hwnd(), nullptr, L"#32770", nullptr), nullptr);
    ASSERT_EQ(page->SetObjects(0, nullptr), S_OK);
    ASSERT_EQ(page->SetPageSite(nullptr), S_OK);
    EXPECT_EQ(pageSite.refs, 1u);
  }
  frame.reset();
  EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the page or a control outlived its last reference";
}

TEST_F(PropertyPagesTest, PagesAndBrowsingNameTheStockPagesAndDescribeFontAndPictures) {
  Site* bar = AddBar();
  ASSERT_TRUE(bar);
  auto pages = bar->As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  ASSERT_TRUE(pages);
  CAUUID list{};
  ASSERT_EQ(pages->GetPages(&list), S_OK);
  const std::vector<GUID> named(list.pElems, list.pElems + list.cElems);
  CoTaskMemFree(list.pElems);
  EXPECT_EQ(named, (std::vector<GUID>{kGeneralPageClsid, CLSID_StockFontPage, CLSID_StockColorPage,
                                      CLSID_StockPicturePage}));

  container::Value fontValue;
  ASSERT_EQ(bar->Get(L"Font", fontValue), S_OK);
  auto fontObject = ComPtr<IUnknown>(V_DISPATCH(&fontValue)).As<IFont>(IID_IFont);
  ASSERT_TRUE(fontObject);
  fontObject->put_Name(Bstr(u"Tahoma").Get());
  CY size{};
  size.int64 = 82500;
  fontObject->put_Size(size);
  ASSERT_EQ(bar->PutRef(L"BackgroundPicture", BitmapPicture(4, 4, [](int, int) { return RGB(1, 2, 3); }).Get()), S_OK);
  ASSERT_EQ(bar->PutRef(L"MouseIcon", IconPicture(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)), false).Get()), S_OK);

  auto browsing = bar->As<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
  ASSERT_TRUE(browsing);
  const struct {
    DISPID id;
    const GUID* page;
    HRESULT shownResult;
    const wchar_t* shown;
  } rows[] = {
      {DISPID_FONT, &CLSID_StockFontPage, S_OK, L"Tahoma, 8.25"},
      {DISPID_BACKCOLOR, &CLSID_StockColorPage, S_FALSE, nullptr},
      {0x68030006, &CLSID_StockColorPage, S_FALSE, nullptr},  // ProgressColor
      {0x68030003, &CLSID_StockPicturePage, S_OK, L"(None)"},    // ProgressPicture
      {0x68030002, &CLSID_StockPicturePage, S_OK, L"(Bitmap)"},  // BackgroundPicture
      {0x68030012, &CLSID_StockPicturePage, S_OK, L"(Icon)"},    // MouseIcon
      {0, &kGeneralPageClsid, S_FALSE, nullptr},                 // Value
      {0x68030009, &kGeneralPageClsid, S_FALSE, nullptr},        // Style
      {DISPID_ENABLED, &kGeneralPageClsid, S_FALSE, nullptr},
      {12345, &CLSID_NULL, S_FALSE, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    CLSID page{};
    EXPECT_EQ(browsing->MapPropertyToPage(row.id, &page), *row.page == CLSID_NULL ? E_INVALIDARG : S_OK);
    EXPECT_EQ(GuidText(page), GuidText(*row.page));
    BSTR text = nullptr;
    EXPECT_EQ(browsing->GetDisplayString(row.id, &text), row.shownResult);
    EXPECT_EQ(TakeText(text), row.shown ? row.shown : L"");
  }
  // A whole size has no decimals.
  size.int64 = 120000;
  fontObject->put_Size(size);
  BSTR text = nullptr;
  ASSERT_EQ(browsing->GetDisplayString(DISPID_FONT, &text), S_OK);
  EXPECT_EQ(TakeText(text), L"Tahoma, 12");
}

// Finds the property frame of this thread, pictures it and closes it, from a timer that
// the frame's modal loop runs.
struct FrameProbe {
  static FrameProbe* current;
  HWND window = nullptr;
  std::vector<std::wstring> labels;
  container::Pixels shot;
  int ticks = 0;

  static BOOL CALLBACK FindFrame(HWND window, LPARAM) {
    wchar_t kind[16] = {};
    GetClassNameW(window, kind, 16);
    if (wcscmp(kind, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    current->window = window;
    return FALSE;
  }
  static BOOL CALLBACK ReadLabel(HWND window, LPARAM) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (*text) current->labels.emplace_back(text);
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    FrameProbe& probe = *current;
    if (++probe.ticks > 100) return KillTimer(nullptr, timer), void();
    if (!probe.window) EnumThreadWindows(GetCurrentThreadId(), FindFrame, 0);
    if (!probe.window || probe.ticks < 5) return;  // let it paint
    KillTimer(nullptr, timer);
    RedrawWindow(probe.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EnumChildWindows(probe.window, ReadLabel, 0);
    probe.shot = container::Capture(probe.window);
    PostMessageW(probe.window, WM_COMMAND, IDCANCEL, 0);
  }
};
FrameProbe* FrameProbe::current = nullptr;

TEST_F(PropertyPagesTest, SystemPropertyFrameShowsTheGeneralPage) {
  Site* bar = AddBar();
  ASSERT_TRUE(bar);
  Prepare(*bar, 30, 80, L"Copying");
  // The frame creates pages by class: this program's registration of the library's.
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(Library().GetClassFactory(kGeneralPageClsid, factory), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kGeneralPageClsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &cookie),
            S_OK);
  CAUUID pages{};
  ASSERT_EQ(bar->As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages)->GetPages(&pages), S_OK);

  FrameProbe probe;
  FrameProbe::current = &probe;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, FrameProbe::Tick);
  IUnknown* objects[] = {bar->Object()};
  const HRESULT hr = OleCreatePropertyFrame(frame->Hwnd(), 0, 0, L"Vantiq", 1, objects, pages.cElems, pages.pElems,
                                            LOCALE_USER_DEFAULT, 0, nullptr);
  KillTimer(nullptr, timer);
  CoTaskMemFree(pages.pElems);
  CoRevokeClassObject(cookie);
  FrameProbe::current = nullptr;
  ASSERT_EQ(hr, S_OK);
  ASSERT_NE(probe.window, nullptr) << "no property frame came up";
  for (const Row& row : kRows)
    EXPECT_NE(std::find(probe.labels.begin(), probe.labels.end(), row.name), probe.labels.end()) << row.name;
  EXPECT_NE(std::find(probe.labels.begin(), probe.labels.end(), L"Copying"), probe.labels.end());
  ASSERT_GT(probe.shot.width, 0);
  if (const char* out = std::getenv("VANTIQ_PROPERTY_PAGE_PNG")) {
    Image image(probe.shot.width, probe.shot.height);
    image.pixels.assign(probe.shot.data.begin(), probe.shot.data.end());
    EXPECT_TRUE(WritePng(out, image)) << out;
  }
}

}  // namespace
}  // namespace vantiq::activex::testing
