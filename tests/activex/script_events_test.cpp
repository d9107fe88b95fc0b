// VBScript handlers of the control's events, through a script host of our own: the
// system's cscript cannot connect a script's subs to an object's events. The host
// offers the script `Host.CreateObject(progid, prefix)`, which places the control on the
// container's frame and calls the script's `prefix & EventName` subs when it raises its
// events, `Host.Paint` and `Host.Echo`.
#include "container_support.h"

// The script engine's interface identifiers are in no import library: defined here.
#include <initguid.h>
#include <activscp.h>

#include <string>
#include <vector>

namespace vantiq::activex::testing {
namespace {

// What the script's subs are called for each event id of the control.
const wchar_t* EventName(DISPID id) {
  switch (id) {
    case 1: return L"ProgressTextCallBack";
    case 2: return L"Click";
    case 3: return L"MouseMove";
    case 4: return L"MouseDown";
    case 5: return L"MouseUp";
    default: return nullptr;
  }
}

// Calls the script's sub for each event, handing it the arguments as by-reference
// variants (the only kind the script engine writes back) and copying back what it left.
class ScriptSink final : public IDispatch {
 public:
  ScriptSink(IDispatch* script, std::wstring prefix) : script_(script), prefix_(std::move(prefix)) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___Vantiq) {
      *out = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    const wchar_t* event = EventName(id);
    if (!event) return S_OK;
    std::wstring name = prefix_ + event;
    LPOLESTR names[] = {name.data()};
    DISPID sub = 0;
    if (FAILED(script_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &sub))) return S_OK;
    const UINT n = params->cArgs;
    std::vector<VARIANT> values(n), refs(n);
    for (UINT i = 0; i < n; ++i) {
      VariantInit(&values[i]);
      VariantCopyInd(&values[i], &params->rgvarg[i]);
      VariantInit(&refs[i]);
      V_VT(&refs[i]) = VT_VARIANT | VT_BYREF;
      V_VARIANTREF(&refs[i]) = &values[i];
    }
    DISPPARAMS call{refs.data(), nullptr, n, 0};
    const HRESULT hr = script_->Invoke(sub, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &call, nullptr,
                                       nullptr, nullptr);
    for (UINT i = 0; i < n; ++i) {
      VARIANT& original = params->rgvarg[i];
      if (SUCCEEDED(hr) && (V_VT(&original) & VT_BYREF)) {
        VARIANT converted;
        VariantInit(&converted);
        if (SUCCEEDED(VariantChangeType(&converted, &values[i], 0, V_VT(&original) & ~VT_BYREF))) {
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
        VariantClear(&converted);
      }
      VariantClear(&values[i]);
    }
    return S_OK;
  }

 private:
  IDispatch* script_;
  std::wstring prefix_;
};

// The script's "Host" object and the script engine's site.
class ScriptHost final : public IDispatch, public IActiveScriptSite {
 public:
  explicit ScriptHost(Frame& frame) : frame_(frame) {}
  ~ScriptHost() {
    for (auto& connection : connections_) connection.point->Unadvise(connection.cookie);
    if (engine_) engine_->Close();
  }

  // Runs the script; false (with `error` set) when it does not run to its end.
  bool Run(const std::wstring& code) {
    CLSID vbscript;
    if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript))) return error = L"no VBScript engine", false;
    if (FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(engine_.Put()))))
      return error = L"the engine does not start", false;
    auto parse = engine_.As<IActiveScriptParse>(IID_IActiveScriptParse);
    if (!parse || FAILED(parse->InitNew()) || FAILED(engine_->SetScriptSite(this)) ||
        FAILED(engine_->AddNamedItem(L"Host", SCRIPTITEM_ISVISIBLE)))
      return error = L"the engine refuses the host", false;
    EXCEPINFO info{};
    if (FAILED(parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, &info)))
      return error.empty() ? (error = L"the script does not parse", false) : false;
    const HRESULT state = engine_->SetScriptState(SCRIPTSTATE_CONNECTED);
    if (FAILED(state) && error.empty()) error = L"the script does not run: " + std::to_wstring(state);
    if (FAILED(state)) return false;
    return error.empty();
  }

  std::vector<std::wstring> echoed;
  std::wstring error;
  std::vector<Site*> sites;

  // --- IUnknown ----------------------------------------------------------------------
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
    } else if (riid == IID_IActiveScriptSite) {
      *out = static_cast<IActiveScriptSite*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  // --- IDispatch: CreateObject, Echo, Paint ------------------------------------------
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    const std::wstring name = names[0];
    if (_wcsicmp(name.c_str(), L"CreateObject") == 0) return *ids = 1, S_OK;
    if (_wcsicmp(name.c_str(), L"Echo") == 0) return *ids = 2, S_OK;
    if (_wcsicmp(name.c_str(), L"Paint") == 0) return *ids = 3, S_OK;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    // Arguments arrive last first.
    const auto text = [&](UINT fromEnd) {
      VARIANT v;
      VariantInit(&v);
      std::wstring s;
      if (SUCCEEDED(VariantChangeType(&v, &params->rgvarg[params->cArgs - 1 - fromEnd], 0, VT_BSTR)))
        s = V_BSTR(&v) ? V_BSTR(&v) : L"";
      VariantClear(&v);
      return s;
    };
    switch (id) {
      case 1: return CreateControl(text(0), params->cArgs > 1 ? text(1) : L"", result);
      case 2: echoed.push_back(params->cArgs ? text(0) : L""); return S_OK;
      case 3: frame_.PumpMessages(); return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

  // --- IActiveScriptSite -------------------------------------------------------------
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
    error = info.bstrDescription ? info.bstrDescription : L"script error";
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return S_OK;
  }
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

 private:
  struct Connection {
    ComPtr<IConnectionPoint> point;
    DWORD cookie;
    std::unique_ptr<ScriptSink> sink;
  };

  // The control on the frame, its default source interface connected to the script.
  HRESULT CreateControl(const std::wstring& progid, const std::wstring& prefix, VARIANT* result) {
    // The control comes from the library beside the program, registered or not.
    if (_wcsicmp(progid.c_str(), L"VantiqCtl.Vantiq") != 0) return E_INVALIDARG;
    const LONG top = 10 + 30 * static_cast<LONG>(sites.size());
    Site* site = frame_.Add(Factory().Get(), {10, top, 210, top + 20});
    if (!site || FAILED(site->Status())) return E_FAIL;
    frame_.PumpMessages();
    sites.push_back(site);
    GUID source{};
    auto info = site->As<IProvideClassInfo2>(IID_IProvideClassInfo2);
    if (!info || FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source))) return E_FAIL;
    ComPtr<IDispatch> script;
    if (!prefix.empty() && SUCCEEDED(engine_->GetScriptDispatch(nullptr, script.Put()))) {
      Connection c{nullptr, 0, std::make_unique<ScriptSink>(script.Get(), prefix)};
      scriptDispatch_.push_back(script);
      auto container = site->As<IConnectionPointContainer>(IID_IConnectionPointContainer);
      if (container && SUCCEEDED(container->FindConnectionPoint(source, c.point.Put())) &&
          SUCCEEDED(c.point->Advise(c.sink.get(), &c.cookie)))
        connections_.push_back(std::move(c));
    }
    if (result) {
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = site->Dispatch().Detach();
    }
    return S_OK;
  }

  Frame& frame_;
  ComPtr<IActiveScript> engine_;
  std::vector<ComPtr<IDispatch>> scriptDispatch_;
  std::vector<Connection> connections_;
};

using ScriptEventsTest = ContainerTest;

TEST_F(ScriptEventsTest, VbscriptSubsHandleEventsAndWriteBackTheirArguments) {
  ScriptHost host(*frame);
  const bool ran = host.Run(LR"(
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
)");
  ASSERT_TRUE(ran) << std::string(host.error.begin(), host.error.end());
  std::wstring all;
  for (const std::wstring& line : host.echoed) all += line + L"|";
  SCOPED_TRACE(std::string(all.begin(), all.end()));
  ASSERT_GE(host.echoed.size(), 3u);
  EXPECT_EQ(host.echoed[0], L"event 40 200 20%");
  // The first pass's handler wrote 150 into the stored value: the second pass sees it.
  EXPECT_EQ(host.echoed[1], L"event 150 200 75%");
  EXPECT_EQ(host.echoed.back(), L"value 150");
}

}  // namespace
}  // namespace vantiq::activex::testing
