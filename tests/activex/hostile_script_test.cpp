// VBScript handlers of the control's events that change the control and take it off its
// container while the event is in flight, run by the system's script engine through a
// small host: the control sits on the container's frame, the script gets it as
// `Host.Bar`, and `Host.Drop` removes the site. (A handler that sets the script's last
// reference to Nothing during a call on it crashes Wine's VBScript engine itself, before
// the control is asked anything: the C++ handlers of hostile_test.cpp let it go instead.)
#include "script_engine_host.h"

#include <string>

namespace vantiq::activex::testing {
namespace {

class HostileScriptHost final : public ScriptEngineHost {
 public:
  HostileScriptHost(Frame& frame, Site* bar) : ScriptEngineHost(frame), bar_(bar) {
    bar_->events.progressText = [this](double&, double&, double&, std::wstring&) {
      CallSub(L"bar_ProgressTextCallBack");
    };
  }

 protected:
  static constexpr DISPID kBar = kFirstMember, kDrop = kFirstMember + 1;
  DISPID MemberId(const std::wstring& name) override {
    if (_wcsicmp(name.c_str(), L"Bar") == 0) return kBar;
    if (_wcsicmp(name.c_str(), L"Drop") == 0) return kDrop;
    return DISPID_UNKNOWN;
  }
  HRESULT InvokeMember(DISPID id, DISPPARAMS*, VARIANT* result) override {
    switch (id) {
      case kBar:
        if (!bar_ || !result) return E_FAIL;
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = bar_->Dispatch().Detach();
        return S_OK;
      case kDrop:  // the container's site goes with everything it holds
        if (bar_) frame_.Remove(bar_);
        bar_ = nullptr;
        return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  Site* bar_;
};

using HostileScriptTest = ContainerTest;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST_F(HostileScriptTest, HandlersChangeTheControlAndTakeItOffTheFrameWhileItsEventsRun) {
  Site* site = AddBar();
  ASSERT_TRUE(site);
  HostileScriptHost host(*frame, site);
  const bool ran = host.Run(LR"(
Dim bar, calls
Set bar = Host.Bar
calls = 0
bar.ShowCaption = True
bar.CaptionCallBack = True
Host.Paint

Sub bar_ProgressTextCallBack()
  calls = calls + 1
  bar.Value = 70
  bar.Caption = "inside " & calls
  bar.Style = calls Mod 5
  bar.Max = 1E308
  If calls = 4 Then Host.Drop
End Sub

Dim i
For i = 1 To 10
  bar.Value = i * 10
Next
bar.Caption = "after"
Host.Echo "calls " & calls & ", value " & bar.Value & ", " & bar.Caption
Set bar = Nothing
)");
  ASSERT_TRUE(ran) << Narrow(host.error);
  ASSERT_EQ(host.echoed.size(), 1u);
  // Off the frame, the control raises no more events and answers the script as before.
  EXPECT_EQ(host.echoed[0], L"calls 4, value 100, after");
  host.Close();
  frame->PumpMessages();
  EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the control outlived the script's last reference";
}

}  // namespace
}  // namespace vantiq::activex::testing
