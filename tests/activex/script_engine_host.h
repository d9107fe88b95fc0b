// The system's VBScript engine run by a test: the script sees this object as `Host`, with
// `Host.Echo text` (collected in `echoed`) and `Host.Paint` (the frame's pending messages);
// a test's host adds members of its own through MemberId and InvokeMember.
#pragma once

#include <activscp.h>

#include <string>
#include <vector>

#include "container_support.h"

namespace vantiq::activex::testing {

class ScriptEngineHost : public IDispatch, public IActiveScriptSite {
 public:
  explicit ScriptEngineHost(Frame& frame) : frame_(frame) {}
  virtual ~ScriptEngineHost() { Close(); }
  ScriptEngineHost(const ScriptEngineHost&) = delete;
  ScriptEngineHost& operator=(const ScriptEngineHost&) = delete;

  // Parses and runs the script; false, with `error` set, when it does not run to its end.
  bool Run(const std::wstring& code);
  // Lets the script go: the engine and everything it holds are released.
  void Close();
  // Calls a sub of the running script by name; nothing when there is none.
  HRESULT CallSub(const std::wstring& name, DISPPARAMS* args = nullptr);

  std::vector<std::wstring> echoed;
  std::wstring error;  // the engine's description and the line, or why it did not start

  // IUnknown: the host lives on the test's stack.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  // IDispatch: Echo, Paint and the test's own members.
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;
  // IActiveScriptSite
  STDMETHODIMP GetLCID(LCID* lcid) override { return *lcid = LOCALE_USER_DEFAULT, S_OK; }
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override;
  STDMETHODIMP GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  STDMETHODIMP OnStateChange(SCRIPTSTATE) override { return S_OK; }
  STDMETHODIMP OnScriptError(IActiveScriptError* failure) override;
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

 protected:
  static constexpr DISPID kFirstMember = 100;
  // The test's own members, numbered from kFirstMember; DISPID_UNKNOWN for none.
  virtual DISPID MemberId(const std::wstring&) { return DISPID_UNKNOWN; }
  virtual HRESULT InvokeMember(DISPID, DISPPARAMS*, VARIANT*) { return DISP_E_MEMBERNOTFOUND; }
  // Argument `index` (from the first) as text; arguments arrive last first.
  static std::wstring TextArgument(const DISPPARAMS* params, UINT index);

  Frame& frame_;
  ComPtr<IActiveScript> engine_;
  ComPtr<IDispatch> script_;  // the script's subs, once it parsed
};

}  // namespace vantiq::activex::testing
