// VBScript handlers of the control's events that change the control and take it off its
// container while the event is in flight, run by the system's script engine through a
// small host: the control sits on the container's frame, the script gets it as
// `Host.Bar`, and `Host.Drop` removes the site. (A handler that sets the script's last
// reference to Nothing during a call on it crashes Wine's VBScript engine itself, before
// the control is asked anything: the C++ handlers of hostile_test.cpp let it go instead.)
#include "container_support.h"

// The script engine's interface identifiers are in no import library: defined here.
#include <initguid.h>
#include <activscp.h>

#include <string>
#include <vector>

namespace vantiq::activex::testing {
namespace {

class ScriptHost final : public IDispatch, public IActiveScriptSite {
 public:
  ScriptHost(Frame& frame, Site* bar) : frame_(frame), bar_(bar) {}

  // Runs the script with the control's events sent to its `bar_` subs.
  bool Run(const std::wstring& code) {
    CLSID vbscript;
    if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript)) ||
        FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(engine_.Put()))))
      return error = L"no VBScript engine", false;
    auto parse = engine_.As<IActiveScriptParse>(IID_IActiveScriptParse);
    if (!parse || FAILED(parse->InitNew()) || FAILED(engine_->SetScriptSite(this)) ||
        FAILED(engine_->AddNamedItem(L"Host", SCRIPTITEM_ISVISIBLE)) ||
        FAILED(parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr)) ||
        FAILED(engine_->GetScriptDispatch(nullptr, script_.Put())))
      return error.empty() ? (error = L"the script does not parse", false) : false;
    bar_->events.progressText = [this](double&, double&, double&, std::wstring&) { Call(L"bar_ProgressTextCallBack"); };
    const HRESULT state = engine_->SetScriptState(SCRIPTSTATE_CONNECTED);
    if (FAILED(state) && error.empty()) error = L"the script does not run";
    return SUCCEEDED(state) && error.empty();
  }
  void Close() {
    if (engine_) engine_->Close();
    script_ = {};
    engine_ = {};
  }

  std::vector<std::wstring> echoed;
  std::wstring error;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch)
      *out = static_cast<IDispatch*>(this);
    else if (riid == IID_IActiveScriptSite)
      *out = static_cast<IActiveScriptSite*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    static const wchar_t* const kNames[] = {L"Bar", L"Drop", L"Echo", L"Paint"};
    for (DISPID i = 0; i < 4; ++i)
      if (_wcsicmp(names[0], kNames[i]) == 0) return *ids = i + 1, S_OK;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    switch (id) {
      case 1:  // Bar
        if (!bar_ || !result) return E_FAIL;
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = bar_->Dispatch().Detach();
        return S_OK;
      case 2:  // Drop: the container's site goes with everything it holds
        if (bar_) frame_.Remove(bar_);
        bar_ = nullptr;
        return S_OK;
      case 3: {  // Echo
        container::Value text;
        if (params->cArgs) VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR);
        echoed.push_back(V_VT(&text) == VT_BSTR && V_BSTR(&text) ? V_BSTR(&text) : L"");
        return S_OK;
      }
      case 4: frame_.PumpMessages(); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

  STDMETHODIMP GetLCID(LCID* lcid) override { return *lcid = LOCALE_USER_DEFAULT, S_OK; }
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override {
    if (_wcsicmp(name, L"Host") != 0) return TYPE_E_ELEMENTNOTFOUND;
    if (mask & SCRIPTINFO_IUNKNOWN) *item = static_cast<IDispatch*>(this);
    if (mask & SCRIPTINFO_ITYPEINFO) *info = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  STDMETHODIMP OnStateChange(SCRIPTSTATE) override { return S_OK; }
  STDMETHODIMP OnScriptError(IActiveScriptError* failure) override {
    EXCEPINFO info{};
    failure->GetExceptionInfo(&info);
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    failure->GetSourcePosition(&context, &line, &column);
    error = (info.bstrDescription ? info.bstrDescription : L"script error") + std::wstring(L" on line ") +
            std::to_wstring(line + 1);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return S_OK;
  }
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

 private:
  void Call(const wchar_t* sub) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(sub)};
    DISPID id = 0;
    if (!script_ || FAILED(script_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return;
    DISPPARAMS none{};
    script_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  }

  Frame& frame_;
  Site* bar_;
  ComPtr<IActiveScript> engine_;
  ComPtr<IDispatch> script_;
};

using HostileScriptTest = ContainerTest;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST_F(HostileScriptTest, HandlersChangeTheControlAndTakeItOffTheFrameWhileItsEventsRun) {
  Site* site = AddBar();
  ASSERT_TRUE(site);
  ScriptHost host(*frame, site);
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
