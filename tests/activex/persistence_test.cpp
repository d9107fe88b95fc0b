// Saving and loading through the container: every key through a property bag, a
// stream and a storage, the defaults a bag leaves out, and damaged streams refused.
#include <olectl.h>

#include <algorithm>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using PersistenceTest = ContainerTest;

const std::vector<std::wstring> kKeys = {
    L"AlternateForeColor", L"AlternateShadowColor", L"BackColor", L"BackgroundPicture",
    L"Caption", L"CaptionCallBack", L"Font", L"ForeColor", L"Max", L"Min", L"Orientation",
    L"PercentFormat", L"ProgressColor", L"ProgressPicture", L"RightToLeft", L"Scrolling",
    L"SearchCaption", L"SegmentBorderColor", L"SegmentBorders", L"Shadow", L"ShadowColor",
    L"ShadowIntensity", L"ShowCaption", L"Style", L"TextAlignment", L"Value"};

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// A 9 x 7 bitmap picture whose pixels follow `seed`.
ComPtr<IPictureDisp> Picture(int seed) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 9, 7);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) SetPixelV(dc, x, y, RGB(seed + 20 * x, 30 * y, 255 - seed));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return NewPicture(bitmap);
}

// Every saved property away from its default; the XP look shows both pictures.
void ChangeEverything(Site& site) {
  site.Put(L"AlternateForeColor", 0x0000FFL);
  site.Put(L"AlternateShadowColor", 0x404040L);
  site.Put(L"BackColor", 0x123456L);
  site.Put(L"Caption", L"Saved");
  site.Put(L"CaptionCallBack", true);
  site.Put(L"ForeColor", 0x00FF00L);
  site.Put(L"Max", 250.0);
  site.Put(L"Min", 10.0);
  site.Put(L"PercentFormat", L"0.0");
  site.Put(L"ProgressColor", 0xFF0000L);
  site.Put(L"RightToLeft", true);
  site.Put(L"Scrolling", 1L);
  site.Put(L"SearchCaption", L"Looking");
  site.Put(L"SegmentBorderColor", 0L);  // black, not the automatic colour
  site.Put(L"SegmentBorders", true);
  site.Put(L"Shadow", true);
  site.Put(L"ShadowColor", 0x808080L);
  site.Put(L"ShadowIntensity", 200L);
  site.Put(L"ShowCaption", false);
  site.Put(L"Style", 2L);
  site.Put(L"TextAlignment", 0L);
  site.Put(L"Value", 120.0);
  site.Put(L"Orientation", 1L);
  site.PutRef(L"BackgroundPicture", Picture(10).Get());
  site.PutRef(L"ProgressPicture", Picture(90).Get());
  container::Value font;
  site.Get(L"Font", font);
  ComPtr<IFont> ifont;
  V_DISPATCH(&font)->QueryInterface(IID_IFont, reinterpret_cast<void**>(ifont.Put()));
  BSTR name = SysAllocString(L"Courier New");
  ifont->put_Name(name);
  SysFreeString(name);
  ifont->put_Bold(TRUE);
  CY size{};
  size.int64 = 120000;
  ifont->put_Size(size);
}

// The site's font as "name, bold, size"; empty when it has none.
std::wstring FontText(Site& site, ComPtr<IFont>& font) {
  container::Value value;
  if (FAILED(site.Get(L"Font", value)) || V_VT(&value) != VT_DISPATCH || !V_DISPATCH(&value) ||
      FAILED(V_DISPATCH(&value)->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.Put()))))
    return L"";
  BSTR name = nullptr;
  BOOL bold = FALSE;
  CY size{};
  font->get_Name(&name);
  font->get_Bold(&bold);
  font->get_Size(&size);
  std::wstring text = std::wstring(name ? name : L"") + L", " + std::to_wstring(bold) + L", " +
                      std::to_wstring(size.int64);
  SysFreeString(name);
  return text;
}

class LoadedState : public PersistenceTest {
 protected:
  // `loaded` holds what `saved` held: every value, the font, and the same picture. (Every
  // value of random states through bags and streams: round_trip_test.cpp.)
  void ExpectSameState(Site& saved, Site& loaded) {
    for (const std::wstring& name : kKeys) {
      if (name != L"Font" && name.find(L"Picture") == std::wstring::npos) {
        EXPECT_EQ(saved.GetText(name.c_str()), loaded.GetText(name.c_str())) << name.c_str();
      }
    }
    ComPtr<IFont> a, b;
    EXPECT_EQ(FontText(saved, a), FontText(loaded, b));
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.Get(), b.Get()) << "a font of its own";
    // The pictures show in the same pixels.
    EXPECT_TRUE(SamePixels(Shot(saved), Shot(loaded)));
  }
};

TEST_F(LoadedState, EveryKeyRoundTripsThroughAPropertyBag) {
  Site* saved = AddBar({10, 10, 210, 40});
  ChangeEverything(*saved);
  auto bag = container::PropertyBag::Create();
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToBag(*bag.Get()));
  EXPECT_EQ(Sorted(bag->Names()), kKeys) << "no key is left at its default";
  EXPECT_EQ(saved->IsDirty(), S_FALSE);
  SiteOptions options;
  options.bag = bag.Get();
  Site* loaded = AddBar({10, 50, 210, 80}, options);
  ExpectSameState(*saved, *loaded);
  EXPECT_EQ(loaded->IsDirty(), S_FALSE);
}

TEST_F(LoadedState, EveryKeyRoundTripsThroughAStreamAndAStorage) {
  Site* saved = AddBar({10, 10, 210, 40});
  ChangeEverything(*saved);
  std::vector<std::uint8_t> bytes;
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToStream(bytes));
  ULARGE_INTEGER size{};
  ASSERT_HRESULT_SUCCEEDED(saved->As<IPersistStreamInit>(IID_IPersistStreamInit)->GetSizeMax(&size));
  EXPECT_EQ(size.QuadPart, bytes.size());
  SiteOptions fromStream;
  fromStream.stream = &bytes;
  ExpectSameState(*saved, *AddBar({10, 50, 210, 80}, fromStream));

  ComPtr<IStorage> storage = container::NewStorage();
  ASSERT_TRUE(storage);
  ASSERT_HRESULT_SUCCEEDED(saved->SaveToStorage(storage.Get()));
  CLSID clsid{};
  ReadClassStg(storage.Get(), &clsid);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Vantiq));
  SiteOptions fromStorage;
  fromStorage.storage = storage.Get();
  ExpectSameState(*saved, *AddBar({10, 90, 210, 120}, fromStorage));
}

TEST_F(PersistenceTest, ABagThatLeavesOutDefaultsHoldsOnlyTheFont) {
  Site* site = AddBar();
  auto changed = container::PropertyBag::Create();
  ASSERT_HRESULT_SUCCEEDED(site->SaveToBag(*changed.Get(), false));
  EXPECT_EQ(changed->Names(), std::vector<std::wstring>{L"Font"});
  auto all = container::PropertyBag::Create();
  ASSERT_HRESULT_SUCCEEDED(site->SaveToBag(*all.Get(), true));
  EXPECT_EQ(Sorted(all->Names()), kKeys);

  // Loaded back, the missing keys give the defaults again.
  site->Put(L"Value", 70.0);
  site->Put(L"SegmentBorderColor", 0L);
  SiteOptions options;
  options.bag = changed.Get();
  Site* loaded = AddBar({10, 50, 210, 70}, options);
  EXPECT_EQ(loaded->GetDouble(L"Value"), 0);
  EXPECT_EQ(static_cast<unsigned long>(loaded->GetLong(L"SegmentBorderColor")), 0x8000000Fu);
  EXPECT_EQ(loaded->GetText(L"PercentFormat"), L"#0");
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
  const Pixels before = Shot(*site);
  std::vector<std::vector<std::uint8_t>> damaged;
  for (std::size_t length : {std::size_t{0}, std::size_t{5}, std::size_t{12}, good.size() / 2, good.size() - 1})
    damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
  damaged.push_back(good);
  damaged.back()[0] ^= 0xFF;  // not the control's data
  damaged.push_back(good);
  damaged.back()[4] = 99;  // a later version
  damaged.push_back(good);
  std::fill(damaged.back().begin() + 8, damaged.back().begin() + 12, 0xFF);  // a huge payload
  for (const auto& bytes : damaged) {
    EXPECT_EQ(site->LoadFromStream(bytes), CTL_E_INVALIDFILEFORMAT) << bytes.size() << " bytes";
    EXPECT_EQ(site->GetDouble(L"Value"), 33);
    EXPECT_EQ(site->GetText(L"Caption"), L"Kept");
    EXPECT_EQ(site->GetLong(L"Style"), 4);
  }
  EXPECT_TRUE(SamePixels(before, Shot(*site)));

  // A storage without the control's stream.
  ComPtr<IStorage> empty = container::NewStorage();
  EXPECT_FALSE(SUCCEEDED(site->LoadFromStorage(empty.Get())));
  EXPECT_EQ(site->GetDouble(L"Value"), 33);
}

}  // namespace
}  // namespace vantiq::activex::testing
