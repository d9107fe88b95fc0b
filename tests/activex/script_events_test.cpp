// VBScript handlers of the control's events, run by the system's script engine through a
// host of our own: the system's cscript cannot connect a script's subs to an object's
// events. The script sees `Host.CreateObject(progid, prefix)`, which places the control
// on the container's frame and calls the script's `prefix & EventName` subs when it
// raises its events; `Host.Drop` takes the last control off the frame; `Host.Paint` runs
// the frame's pending messages and `Host.Echo text` is collected in `echoed`.
#include "container_support.h"

// The script engine's interface identifiers are in no import library: defined here.
#include <initguid.h>
#include <activscp.h>

#include <memory>
#include <string>
#include <vector>

namespace vantiq::activex::testing {
namespace {

const wchar_t* const kEventNames[] = {L"ProgressTextCallBack", L"Click", L"MouseMove", L"MouseDown", L"MouseUp"};

// Calls the script's sub for the event, handing it the arguments as by-reference variants
// (the only kind the script engine writes back) and copying back what it left.
HRESULT CallEventSub(IDispatch* script, const std::wstring& prefix, DISPID id, DISPPARAMS* params) {
  if (id < 1 || id > 5) return S_OK;
  std::wstring name = prefix + kEventNames[id - 1];
  LPOLESTR names[] = {name.data()};
  DISPID sub = 0;
  if (FAILED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &sub))) return S_OK;
  const UINT n = params->cArgs;
  std::vector<Variant> values(n);
  std::vector<VARIANT> refs(n);
  for (UINT i = 0; i < n; ++i) {
    VariantCopyInd(&values[i], &params->rgvarg[i]);
    V_VT(&refs[i]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&refs[i]) = &values[i];
  }
  DISPPARAMS call{refs.data(), nullptr, n, 0};
  if (FAILED(script->Invoke(sub, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &call, nullptr, nullptr, nullptr)))
    return S_OK;
  for (UINT i = 0; i < n; ++i) {
    VARIANT& original = params->rgvarg[i];
    Variant converted;
    if (!(V_VT(&original) & VT_BYREF) || FAILED(VariantChangeType(&converted, &values[i], 0, V_VT(&original) & ~VT_BYREF)))
      continue;
    switch (V_VT(&original) & ~VT_BYREF) {
      case VT_R8: *V_R8REF(&original) = V_R8(&converted); break;
      case VT_R4: *V_R4REF(&original) = V_R4(&converted); break;
      case VT_I2: *V_I2REF(&original) = V_I2(&converted); break;
      case VT_BSTR:
        SysFreeString(*V_BSTRREF(&original));
        *V_BSTRREF(&original) = V_BSTR(&converted);
        V_VT(&converted) = VT_EMPTY;  // now owned by the caller's string
        break;
      default: break;
    }
  }
  return S_OK;
}

class ScriptHost final : public IDispatch, public IActiveScriptSite {
 public:
  explicit ScriptHost(Frame& frame) : frame_(frame) {}
  ~ScriptHost() {
    for (auto& connection : connections_) connection.point->Unadvise(connection.cookie);
    script_ = {};
    if (engine_) engine_->Close();
  }

  // Parses and runs the script; false, with `error` set, when it does not run to its end.
  bool Run(const std::wstring& code) {
    CLSID vbscript;
    auto parse = ComPtr<IActiveScriptParse>();
    if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript)) ||
        FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(engine_.Put()))) ||
        !(parse = engine_.As<IActiveScriptParse>(IID_IActiveScriptParse)) || FAILED(parse->InitNew()) ||
        FAILED(engine_->SetScriptSite(this)) || FAILED(engine_->AddNamedItem(L"Host", SCRIPTITEM_ISVISIBLE)))
      return error = L"the engine does not start", false;
    if (FAILED(parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr)) ||
        FAILED(engine_->GetScriptDispatch(nullptr, script_.Put())))
      return error.empty() ? (error = L"the script does not parse", false) : false;
    const HRESULT state = engine_->SetScriptState(SCRIPTSTATE_CONNECTED);
    if (FAILED(state) && error.empty()) error = L"the script does not run: " + std::to_wstring(state);
    return SUCCEEDED(state) && error.empty();
  }

  std::vector<std::wstring> echoed;
  std::wstring error;  // the engine's description and the line

  // The host lives on the test's stack.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) return *out = static_cast<IDispatch*>(this), S_OK;
    if (riid == IID_IActiveScriptSite) return *out = static_cast<IActiveScriptSite*>(this), S_OK;
    return *out = nullptr, E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    for (DISPID id = 0; id < 4; ++id)
      if (_wcsicmp(names[0], kMembers[id]) == 0) return *ids = id, S_OK;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*) override {
    switch (id) {
      case 0: echoed.push_back(Argument(params, 0)); return S_OK;
      case 1: frame_.PumpMessages(); return S_OK;
      case 2: return CreateControl(Argument(params, 0), Argument(params, 1), result);
      case 3:  // the container's site goes with everything it holds
        if (!sites_.empty()) frame_.Remove(sites_.back()), sites_.pop_back();
        return S_OK;
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
    error = TakeText(info.bstrDescription) + L" on line " + std::to_wstring(line + 1);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    return S_OK;
  }
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

 private:
  static constexpr const wchar_t* kMembers[] = {L"Echo", L"Paint", L"CreateObject", L"Drop"};

  // Argument `index` (from the first) as text; arguments arrive last first.
  static std::wstring Argument(const DISPPARAMS* params, UINT index) {
    if (index >= params->cArgs) return L"";
    Variant text;
    VariantChangeType(&text, &params->rgvarg[params->cArgs - 1 - index], 0, VT_BSTR);
    return V_VT(&text) == VT_BSTR && V_BSTR(&text) ? std::wstring(V_BSTR(&text), SysStringLen(V_BSTR(&text))) : L"";
  }

  // The control on the frame, its default source interface connected to the script's subs.
  HRESULT CreateControl(const std::wstring& progid, const std::wstring& prefix, VARIANT* result) {
    // The control comes from the library beside the program, registered or not.
    if (_wcsicmp(progid.c_str(), L"VantiqCtl.Vantiq") != 0 || !result) return E_INVALIDARG;
    const LONG top = 10 + 30 * static_cast<LONG>(sites_.size());
    Site* site = frame_.Add(Factory().Get(), {10, top, 210, top + 20});
    if (!site || FAILED(site->Status())) return E_FAIL;
    frame_.PumpMessages();
    sites_.push_back(site);
    GUID source{};
    auto info = site->As<IProvideClassInfo2>(IID_IProvideClassInfo2);
    if (!info || FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source))) return E_FAIL;
    auto call = [script = script_.Get(), prefix](DISPID id, DISPPARAMS* params, VARIANT*) {
      return CallEventSub(script, prefix, id, params);
    };
    Connection c{nullptr, 0, std::make_unique<TestDispatch>(call)};
    auto container = site->As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    if (container && SUCCEEDED(container->FindConnectionPoint(source, c.point.Put())) &&
        SUCCEEDED(c.point->Advise(c.sink.get(), &c.cookie)))
      connections_.push_back(std::move(c));
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = site->Dispatch().Detach();
    return S_OK;
  }

  struct Connection {
    ComPtr<IConnectionPoint> point;
    DWORD cookie;
    std::unique_ptr<TestDispatch> sink;
  };
  Frame& frame_;
  ComPtr<IActiveScript> engine_;
  ComPtr<IDispatch> script_;  // the script's subs, once it parsed
  std::vector<Site*> sites_;
  std::vector<Connection> connections_;
};

using ScriptEventsTest = ContainerTest;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST_F(ScriptEventsTest, VbscriptSubsHandleEventsAndWriteBackTheirArguments) {
  ScriptHost host(*frame);
  ASSERT_TRUE(host.Run(LR"(
Dim bar
Set bar = Host.CreateObject("VantiqCtl.Vantiq", "bar_")
bar.Max = 200
bar.Value = 40
bar.CaptionCallBack = True
Host.Paint
Host.Echo "value " & bar.Value

Sub bar_ProgressTextCallBack(dValue, dMin, dMax, sCallBackText)
  Host.Echo "event " & dValue & " " & dMax & " " & sCallBackText
  sCallBackText = "from script"
  dValue = 150
End Sub
)")) << Narrow(host.error);
  ASSERT_GE(host.echoed.size(), 3u);
  EXPECT_EQ(host.echoed[0], L"event 40 200 20%");
  // The first pass's handler wrote 150 into the stored value: the second pass sees it.
  EXPECT_EQ(host.echoed[1], L"event 150 200 75%");
  EXPECT_EQ(host.echoed.back(), L"value 150");
}

// A handler that sets the script's last reference to Nothing during a call on it crashes
// Wine's VBScript engine itself, before the control is asked anything: the C++ handlers
// of hostile_test.cpp let it go instead.
TEST_F(ScriptEventsTest, HandlersChangeTheControlAndTakeItOffTheFrameWhileItsEventsRun) {
  {
    ScriptHost host(*frame);
    ASSERT_TRUE(host.Run(LR"(
Dim bar, calls
Set bar = Host.CreateObject("VantiqCtl.Vantiq", "bar_")
calls = 0
bar.CaptionCallBack = True
Host.Paint

Sub bar_ProgressTextCallBack(dValue, dMin, dMax, sCallBackText)
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
)")) << Narrow(host.error);
    // Off the frame, the control raises no more events and answers the script as before.
    EXPECT_EQ(host.echoed, std::vector<std::wstring>{L"calls 4, value 100, after"});
  }
  frame->PumpMessages();
  EXPECT_EQ(Library().CanUnloadNow(), S_OK) << "the control outlived the script's last reference";
}

}  // namespace
}  // namespace vantiq::activex::testing
