#include "container_support.h"

// The script engine's interface identifiers are in no import library: defined here.
#include <initguid.h>
#include <activscp.h>

#include "script_engine_host.h"

namespace vantiq::activex::testing {

bool ScriptEngineHost::Run(const std::wstring& code) {
  CLSID vbscript;
  if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript))) return error = L"no VBScript engine", false;
  if (FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                              reinterpret_cast<void**>(engine_.Put()))))
    return error = L"the engine does not start", false;
  auto parse = engine_.As<IActiveScriptParse>(IID_IActiveScriptParse);
  if (!parse || FAILED(parse->InitNew()) || FAILED(engine_->SetScriptSite(this)) ||
      FAILED(engine_->AddNamedItem(L"Host", SCRIPTITEM_ISVISIBLE)))
    return error = L"the engine refuses the host", false;
  if (FAILED(parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr)) ||
      FAILED(engine_->GetScriptDispatch(nullptr, script_.Put())))
    return error.empty() ? (error = L"the script does not parse", false) : false;
  const HRESULT state = engine_->SetScriptState(SCRIPTSTATE_CONNECTED);
  if (FAILED(state) && error.empty()) error = L"the script does not run: " + std::to_wstring(state);
  return SUCCEEDED(state) && error.empty();
}

void ScriptEngineHost::Close() {
  script_ = {};
  if (engine_) engine_->Close();
  engine_ = {};
}

HRESULT ScriptEngineHost::CallSub(const std::wstring& name, DISPPARAMS* args) {
  std::wstring copy = name;
  LPOLESTR names[] = {copy.data()};
  DISPID id = 0;
  if (!script_ || FAILED(script_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return S_FALSE;
  DISPPARAMS none{};
  return script_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args ? args : &none, nullptr,
                         nullptr, nullptr);
}

STDMETHODIMP ScriptEngineHost::QueryInterface(REFIID riid, void** out) {
  if (riid == IID_IUnknown || riid == IID_IDispatch)
    *out = static_cast<IDispatch*>(this);
  else if (riid == IID_IActiveScriptSite)
    *out = static_cast<IActiveScriptSite*>(this);
  else
    return *out = nullptr, E_NOINTERFACE;
  return S_OK;
}

namespace {
constexpr DISPID kEcho = 1, kPaint = 2;
}  // namespace

STDMETHODIMP ScriptEngineHost::GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) {
  if (_wcsicmp(names[0], L"Echo") == 0) return *ids = kEcho, S_OK;
  if (_wcsicmp(names[0], L"Paint") == 0) return *ids = kPaint, S_OK;
  *ids = MemberId(names[0]);
  return *ids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
}

STDMETHODIMP ScriptEngineHost::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO*, UINT*) {
  switch (id) {
    case kEcho: echoed.push_back(params->cArgs ? TextArgument(params, 0) : L""); return S_OK;
    case kPaint: frame_.PumpMessages(); return S_OK;
    default: return InvokeMember(id, params, result);
  }
}

STDMETHODIMP ScriptEngineHost::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) {
  if (_wcsicmp(name, L"Host") != 0) return TYPE_E_ELEMENTNOTFOUND;
  if (mask & SCRIPTINFO_IUNKNOWN) *item = static_cast<IDispatch*>(this);
  if (mask & SCRIPTINFO_ITYPEINFO) *info = nullptr;
  return S_OK;
}

STDMETHODIMP ScriptEngineHost::OnScriptError(IActiveScriptError* failure) {
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

std::wstring ScriptEngineHost::TextArgument(const DISPPARAMS* params, UINT index) {
  if (index >= params->cArgs) return L"";
  container::Value text;
  VariantChangeType(&text, &params->rgvarg[params->cArgs - 1 - index], 0, VT_BSTR);
  return V_VT(&text) == VT_BSTR && V_BSTR(&text) ? V_BSTR(&text) : L"";
}

}  // namespace vantiq::activex::testing
