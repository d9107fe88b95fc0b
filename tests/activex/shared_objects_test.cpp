// The font, the two pictures and the mouse icon the control shares with its host: every
// reference the control takes it gives back, and every getter hands out exactly the one
// its caller releases. Counted through the objects' own reference counts, so that one
// AddRef too many anywhere (a getter, a setter, a save) shows. Script engines reach the
// same getters and setters through IDispatch, as Site::Get and Site::PutRef do here.
#include <olectl.h>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

ULONG Refs(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

// A standard font, two bitmap pictures and an icon picture of the test's own.
struct SharedObjects {
  SharedObjects() {
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = const_cast<LPOLESTR>(L"Tahoma");
    desc.cySize.int64 = 100000;
    desc.sWeight = FW_NORMAL;
    OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(font.Put()));
    progress = NewPicture(CreateBitmap(8, 8, 1, 32, nullptr));
    background = NewPicture(CreateBitmap(4, 4, 1, 32, nullptr));
    mouseIcon = IconPicture(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)), false);
  }
  std::vector<IUnknown*> All() const { return {font.Get(), progress.Get(), background.Get(), mouseIcon.Get()}; }
  std::vector<ULONG> Counts() const {
    std::vector<ULONG> counts;
    for (IUnknown* o : All()) counts.push_back(Refs(o));
    return counts;
  }
  ComPtr<IFontDisp> font;
  ComPtr<IPictureDisp> progress, background, mouseIcon;
};

// The four object properties by name, in the order of SharedObjects::All.
const wchar_t* const kObjectProperties[] = {L"Font", L"ProgressPicture", L"BackgroundPicture", L"MouseIcon"};

// What the control holds of each property, got and released once more.
std::vector<ComPtr<IUnknown>> Held(_Vantiq* bar) {
  ComPtr<IFontDisp> font;
  ComPtr<IPictureDisp> progress, background, icon;
  bar->get_Font(font.Put());
  bar->get_ProgressPicture(progress.Put());
  bar->get_BackgroundPicture(background.Put());
  bar->get_MouseIcon(icon.Put());
  return {font.As<IUnknown>(IID_IUnknown), progress.As<IUnknown>(IID_IUnknown),
          background.As<IUnknown>(IID_IUnknown), icon.As<IUnknown>(IID_IUnknown)};
}

using SharedObjectsTest = ContainerTest;

TEST_F(SharedObjectsTest, ReadSetAndSavedFromCxxTheCountsComeBack) {
  SharedObjects objects;
  const std::vector<ULONG> before = objects.Counts();
  Site* site = AddBar();
  ASSERT_TRUE(site);
  ComPtr<_Vantiq> bar = site->As<_Vantiq>(IID__Vantiq);
  ASSERT_EQ(bar->putref_Font(objects.font.Get()), S_OK);
  ASSERT_EQ(bar->putref_ProgressPicture(objects.progress.Get()), S_OK);
  ASSERT_EQ(bar->putref_BackgroundPicture(objects.background.Get()), S_OK);
  ASSERT_EQ(bar->putref_MouseIcon(objects.mouseIcon.Get()), S_OK);
  frame->PumpMessages();
  const std::vector<ULONG> held = objects.Counts();
  for (std::size_t i = 0; i < held.size(); ++i) EXPECT_GT(held[i], before[i]) << kObjectProperties[i];

  // Getters through the vtable and through IDispatch, a set of the object held already,
  // paints, mouse moves and saves: none of them keeps anything.
  for (int round = 0; round < 3; ++round) Held(bar.Get());
  for (const wchar_t* name : kObjectProperties) {
    container::Value value;
    ASSERT_EQ(site->Get(name, value), S_OK) << name;
    EXPECT_EQ(V_VT(&value), VT_DISPATCH);
  }
  ASSERT_EQ(site->PutRef(L"Font", objects.font.Get()), S_OK);
  ASSERT_EQ(site->PutRef(L"ProgressPicture", objects.progress.Get()), S_OK);
  ASSERT_EQ(bar->put_Font(objects.font.Get()), S_OK);
  SendMessageW(site->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  site->Put(L"Value", 30.0);
  frame->PumpMessages();
  auto bag = container::PropertyBag::Create();
  ASSERT_EQ(site->SaveToBag(*bag.Get(), true), S_OK);
  std::vector<std::uint8_t> stream;
  ASSERT_EQ(site->SaveToStream(stream), S_OK);
  EXPECT_EQ(objects.Counts(), held);

  // Loading replaces each saved object with one of the control's own and lets go of
  // ours; the mouse icon is not saved and stays.
  constexpr std::size_t kSaved = 3;
  std::vector<ULONG> afterLoad = before;
  afterLoad[kSaved] = held[kSaved];
  ASSERT_EQ(site->LoadFromStream(stream), S_OK);
  EXPECT_EQ(objects.Counts(), afterLoad);
  std::vector<ComPtr<IUnknown>> fromStream = Held(bar.Get());
  ASSERT_EQ(site->LoadFromBag(*bag.Get()), S_OK);
  std::vector<ComPtr<IUnknown>> fromBag = Held(bar.Get());
  for (std::size_t i = 0; i < kSaved; ++i) {
    ASSERT_TRUE(fromBag[i]) << kObjectProperties[i];
    EXPECT_EQ(Refs(fromStream[i].Get()), 1u) << kObjectProperties[i] << ": the stream's object is ours alone";
  }
  fromStream.clear();
  fromBag.resize(kSaved);
  EXPECT_EQ(objects.Counts(), afterLoad);
  frame->Remove(site);
  bar.Reset();
  frame->PumpMessages();
  for (std::size_t i = 0; i < kSaved; ++i)
    EXPECT_EQ(Refs(fromBag[i].Get()), 1u) << kObjectProperties[i] << ": the control held on to its own";
  EXPECT_EQ(objects.Counts(), before);
}

}  // namespace
}  // namespace vantiq::activex::testing
