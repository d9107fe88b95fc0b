// Saving and loading through the container: one state with every saved key away from
// its default through a property bag (with and without the defaults), a stream and a
// storage; what a bag holds of a new control; damaged streams refused. (The keys, their
// defaults and conversions are the core's persistence tests; varied states from saved
// streams: round_trip_test.cpp.)
#include <olectl.h>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using PersistenceTest = ContainerTest;

// Every saved property away from its default, with texts outside the basic plane and
// holding a NUL, colours of every kind, and a font and two pictures of the test's own.
void ChangeEverything(Site& site) {
  site.Put(L"AlternateForeColor", 0x0000FFL);
  site.Put(L"AlternateShadowColor", static_cast<long>(0x8000000D));
  site.Put(L"BackColor", 0x123456L);
  container::Value caption;
  V_VT(&caption) = VT_BSTR;
  V_BSTR(&caption) = SysAllocStringLen(L"Saved\0 \u65e5\U0001F600", 10);
  site.Put(L"Caption", caption);
  site.Put(L"CaptionCallBack", true);
  site.Put(L"ForeColor", static_cast<long>(0x80000005));
  site.Put(L"Max", 250.5);
  site.Put(L"Min", -10.0);
  site.Put(L"PercentFormat", L"0.0");
  site.Put(L"ProgressColor", 0xFF0000L);
  site.Put(L"RightToLeft", true);
  site.Put(L"Scrolling", 1L);
  site.Put(L"SearchCaption", L"Looking \u0627");
  site.Put(L"SegmentBorderColor", 0L);  // black, not the automatic colour
  site.Put(L"SegmentBorders", true);
  site.Put(L"Shadow", true);
  site.Put(L"ShadowColor", 0x808080L);
  site.Put(L"ShadowIntensity", 200L);
  site.Put(L"ShowCaption", false);
  site.Put(L"Style", 2L);
  site.Put(L"TextAlignment", 0L);
  site.Put(L"Value", 120.25);
  site.Put(L"Orientation", 1L);
  site.PutRef(L"BackgroundPicture", BitmapPicture(9, 7, [](int x, int y) { return RGB(10 + 20 * x, 30 * y, 245); }).Get());
  site.PutRef(L"ProgressPicture", BitmapPicture(3, 5, [](int x, int y) { return RGB(90, 40 * x, 50 * y); }).Get());
  ComPtr<IFontDisp> disp;
  site.As<_Vantiq>(IID__Vantiq)->get_Font(disp.Put());
  ComPtr<IFont> font = disp.As<IFont>(IID_IFont);
  Bstr name(u"Courier New");
  font->put_Name(name.Get());
  font->put_Italic(TRUE);
  font->put_Underline(TRUE);
  font->put_Strikethrough(TRUE);
  font->put_Weight(600);
  font->put_Charset(DEFAULT_CHARSET);
  font->put_Size(CY{120000});
}

std::wstring State(Site& site) { return SavedState(site.As<_Vantiq>(IID__Vantiq).Get()); }

ComPtr<IUnknown> FontOf(Site& site) {
  ComPtr<IFontDisp> font;
  site.As<_Vantiq>(IID__Vantiq)->get_Font(font.Put());
  return font.As<IUnknown>(IID_IUnknown);
}

TEST_F(PersistenceTest, EveryKeyRoundTripsThroughBagsAStreamAndAStorage) {
  Site* saved = AddBar({10, 10, 210, 40});
  // A new control's bag without its defaults holds only the font (loading such bags:
  // round_trip_test.cpp).
  auto defaults = container::PropertyBag::Create();
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToBag(*defaults.Get(), false));
  EXPECT_EQ(defaults->Names(), std::vector<std::wstring>{L"Font"});
  ChangeEverything(*saved);
  const std::wstring state = State(*saved);
  const Pixels shown = Shot(*saved);
  auto all = container::PropertyBag::Create(), changed = container::PropertyBag::Create();
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToBag(*all.Get(), true));
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToBag(*changed.Get(), false));
  EXPECT_EQ(all->Names().size(), 26u);
  EXPECT_EQ(changed->Names(), all->Names()) << "no key is left at its default";
  EXPECT_EQ(saved->IsDirty(), S_FALSE);
  std::vector<std::uint8_t> bytes;
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToStream(bytes));
  ULARGE_INTEGER size{};
  ASSERT_HRESULT_SUCCEEDED(saved->As<IPersistStreamInit>(IID_IPersistStreamInit)->GetSizeMax(&size));
  EXPECT_EQ(size.QuadPart, bytes.size());
  ComPtr<IStorage> storage = container::NewStorage();
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToStorage(storage.Get()));
  CLSID clsid{};
  ReadClassStg(storage.Get(), &clsid);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Vantiq));

  SiteOptions options[4];
  options[0].bag = all.Get();
  options[1].bag = changed.Get();
  options[2].stream = &bytes;
  options[3].storage = storage.Get();
  for (const SiteOptions& from : options) {
    Site* loaded = AddBar({10, 50, 210, 80}, from);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(SameText(state, State(*loaded)));
    EXPECT_NE(FontOf(*loaded).Get(), FontOf(*saved).Get()) << "a font of its own";
    EXPECT_EQ(loaded->IsDirty(), S_FALSE);
    EXPECT_TRUE(SamePixels(shown, Shot(*loaded)));
    frame->Remove(loaded);
  }
}

TEST_F(PersistenceTest, DamagedStreamsAreRefusedAndTheControlKeepsItsState) {
  Site* source = AddBar();
  ChangeEverything(*source);
  std::vector<std::uint8_t> good;
  ASSERT_HRESULT_SUCCEEDED(source->SaveToStream(good));
  ASSERT_GT(good.size(), 64u);
  Site* site = AddBar({10, 50, 210, 70});
  site->Put(L"Value", 33.0);
  site->Put(L"Caption", L"Kept");
  const std::wstring before = State(*site);
  std::vector<std::vector<std::uint8_t>> damaged;
  for (std::size_t length : {std::size_t{0}, std::size_t{5}, std::size_t{12}, good.size() / 2, good.size() - 1})
    damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
  damaged.push_back(good);
  damaged.back()[0] ^= 0xFF;  // not the control's data
  damaged.push_back(good);
  std::fill(damaged.back().begin() + 8, damaged.back().begin() + 12, 0xFF);  // a huge payload
  for (const auto& bytes : damaged) {
    EXPECT_EQ(site->LoadFromStream(bytes), CTL_E_INVALIDFILEFORMAT) << bytes.size() << " bytes";
    EXPECT_EQ(State(*site), before);
  }
  ComPtr<IStorage> empty = container::NewStorage();  // without the control's stream
  EXPECT_FALSE(SUCCEEDED(site->LoadFromStorage(empty.Get())));
  EXPECT_EQ(State(*site), before);
}

}  // namespace
}  // namespace vantiq::activex::testing
