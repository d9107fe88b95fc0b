// A container that starts the control with IQuickActivate gets the control one that goes
// the long way (SetClientSite, Advise, SetExtent) gets: the same saved state, pictures,
// events and change notifications, and the same status answers.
#include <ocidl.h>

#include <algorithm>

#include "container_support.h"

namespace vantiq::activex::testing {
namespace {

using QuickActivateTest = ContainerTest;

TEST_F(QuickActivateTest, StartsTheControlALongStartGives) {
  // A saved state both load, so loading's own notifications are in play.
  Site* source = AddBar({10, 130, 210, 150});
  source->Put(L"Value", 64.0);
  source->Put(L"ShowCaption", true);
  source->Put(L"Caption", L"Copying");
  auto bag = container::PropertyBag::Create();
  ASSERT_EQ(source->SaveToBag(*bag.Get()), S_OK);

  SiteOptions longWay;
  longWay.bag = bag.Get();
  SiteOptions quickWay = longWay;
  quickWay.quickActivate = true;
  Site* slow = AddBar({10, 10, 210, 30}, longWay);
  Site* quick = AddBar({10, 50, 210, 70}, quickWay);

  const QACONTROL& status = quick->QuickStatus();
  EXPECT_NE(status.dwEventCookie, 0u);
  EXPECT_NE(status.dwPropNotifyCookie, 0u);
  DWORD misc = 0;
  ASSERT_EQ(slow->As<IOleObject>(IID_IOleObject)->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_EQ(status.dwMiscStatus, misc);
  EXPECT_EQ(status.dwViewStatus, static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND));
  SIZEL slowExtent{}, quickExtent{};
  slow->As<IOleObject>(IID_IOleObject)->GetExtent(DVASPECT_CONTENT, &slowExtent);
  ASSERT_EQ(quick->As<IQuickActivate>(IID_IQuickActivate)->GetContentExtent(&quickExtent), S_OK);
  EXPECT_EQ(quickExtent.cx, slowExtent.cx);
  EXPECT_EQ(quickExtent.cy, slowExtent.cy);

  EXPECT_TRUE(SamePixels(Shot(*slow), Shot(*quick)));
  EXPECT_EQ(quick->changes, slow->changes) << "loading was heard only by the long way's sinks";
  EXPECT_EQ(quick->eventLog, slow->eventLog);
  EXPECT_EQ(quick->IsDirty(), S_FALSE);

  // From then on both hear the same.
  for (Site* site : {slow, quick}) {
    site->changes.clear();
    site->eventLog.clear();
    site->Put(L"Value", 20.0);
    site->Put(L"CaptionCallBack", true);
    SendMessageW(site->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(site->Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  EXPECT_TRUE(SamePixels(Shot(*slow), Shot(*quick)));
  EXPECT_EQ(quick->changes, slow->changes);
  EXPECT_EQ(quick->eventLog, slow->eventLog);
  EXPECT_NE(std::find(quick->eventLog.begin(), quick->eventLog.end(), container::kClick),
            quick->eventLog.end());
}

TEST_F(QuickActivateTest, TheStructuresUserModeStandsForTheSites) {
  // hwnd can be read only at run time.
  for (bool userMode : {true, false}) {
    SiteOptions options;
    options.quickActivate = true;
    options.userMode = userMode;
    Site* site = AddBar({10, 10, 210, 30}, options);
    container::Value hwnd;
    EXPECT_EQ(SUCCEEDED(site->Get(L"hwnd", hwnd)), userMode);
    frame->Remove(site);
  }
}

}  // namespace
}  // namespace vantiq::activex::testing
