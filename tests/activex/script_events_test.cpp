// VBScript handlers of the control's events, through a script host of our own: the
// system's cscript cannot connect a script's subs to an object's events. The host
// offers the script `Host.CreateObject(progid, prefix)`, which places the control on the
// container's frame and calls the script's `prefix & EventName` subs when it raises its
// events, `Host.Paint` and `Host.Echo`.
#include "script_engine_host.h"

#include <memory>
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

// Calls the script's sub for the event, handing it the arguments as by-reference variants
// (the only kind the script engine writes back) and copying back what it left.
HRESULT CallEventSub(IDispatch* script, const std::wstring& prefix, DISPID id, DISPPARAMS* params) {
  const wchar_t* event = EventName(id);
  if (!event) return S_OK;
  std::wstring name = prefix + event;
  LPOLESTR names[] = {name.data()};
  DISPID sub = 0;
  if (FAILED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &sub))) return S_OK;
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
  const HRESULT hr =
      script->Invoke(sub, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &call, nullptr, nullptr, nullptr);
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

// `Host.CreateObject` beside the engine host's own members.
class ScriptHost final : public ScriptEngineHost {
 public:
  explicit ScriptHost(Frame& frame) : ScriptEngineHost(frame) {}
  ~ScriptHost() override {
    for (auto& connection : connections_) connection.point->Unadvise(connection.cookie);
  }

  std::vector<Site*> sites;

 protected:
  static constexpr DISPID kCreateObject = kFirstMember;
  DISPID MemberId(const std::wstring& name) override {
    return _wcsicmp(name.c_str(), L"CreateObject") == 0 ? kCreateObject : DISPID_UNKNOWN;
  }
  HRESULT InvokeMember(DISPID id, DISPPARAMS* params, VARIANT* result) override {
    if (id != kCreateObject || params->cArgs < 1) return DISP_E_MEMBERNOTFOUND;
    return CreateControl(TextArgument(params, 0), TextArgument(params, 1), result);
  }

 private:
  struct Connection {
    ComPtr<IConnectionPoint> point;
    DWORD cookie;
    std::unique_ptr<TestDispatch> sink;
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
    if (!prefix.empty() && script_) {  // the sinks call the subs the host holds until it closes
      auto call = [script = script_.Get(), prefix](DISPID id, DISPPARAMS* params, VARIANT*) {
        return CallEventSub(script, prefix, id, params);
      };
      Connection c{nullptr, 0, std::make_unique<TestDispatch>(call)};
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
