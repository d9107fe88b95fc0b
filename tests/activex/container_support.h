// Shared by the container tests: the control hosted by the project's container, the
// pictures the control should show (drawn by the core directly, on the software
// surface and on GDI), and the count of live GDI objects.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <string>

#include "VantiqCtl.h"
#include "activex_test_support.h"
#include "container/container.h"
#include "control/vantiq.h"
#include "common/gdi_objects.h"
#include "support/pixel_diff.h"

namespace vantiq::activex::testing {

using container::Frame;
using container::Pixels;
using container::Site;
using container::SiteOptions;

// VantiqCtl.dll from the program's folder, loaded through the container for the run.
container::ControlLibrary& Library();
ComPtr<IClassFactory> Factory();

// The properties a test sets, the same way on a hosted control and on a bare core.
struct BarState {
  long style = 0;  // eProgStandard: the same on every visual style
  double value = 37;
  long orientation = 0;
  long scrolling = 0;
  bool showCaption = false;
  bool rightToLeft = false;
  long progressColor = static_cast<long>(0x8000000F);
  long backColor = static_cast<long>(0x8000000F);
  std::wstring caption;
};
void Apply(Site& site, const BarState& state);
void Apply(Vantiq& control, const BarState& state);

// A frame (320 x 200 unless the test says) in an apartment of its own for each test.
class ContainerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new control, activated at `rect`; fails the test when it does not start.
  Site* AddBar(const RECT& rect = {10, 10, 210, 30}, const SiteOptions& options = {});
  // Paints what is pending and reads the control's window.
  Pixels Shot(Site& site);

  std::unique_ptr<Frame> frame;
  SIZE frameSize{320, 200};  // a test that needs more sets it before SetUp
};

// The picture the core draws of a w x h bar on the software surface, with the
// scriptable platform set up as this system is (version, colours, theme identity).
Pixels SoftRender(int width, int height, const BarState& state);
// The same through GDI, hosted as the COM control hosts it (its host, its fonts).
Pixels GdiRender(int width, int height, const BarState& state);

// A page site that remembers the status changes it is told of.
class RecordingPageSite final : public IPropertyPageSite {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IPropertyPageSite) return *out = nullptr, E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP OnStatusChange(DWORD flags) override {
    statuses.push_back(flags);
    return S_OK;
  }
  STDMETHODIMP GetLocaleID(LCID* lcid) override { return *lcid = LOCALE_USER_DEFAULT, S_OK; }
  STDMETHODIMP GetPageContainer(IUnknown** out) override { return *out = nullptr, E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

  ULONG refs = 1;  // the test's own
  std::vector<DWORD> statuses;
};

// A new General property page from the library's class factory.
ComPtr<IPropertyPage> NewGeneralPage();

using vantiq::testing::SamePixels;

using ::vantiq::tools::LiveGdiObjects;

}  // namespace vantiq::activex::testing
