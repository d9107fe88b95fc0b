// What screen readers and other accessibility clients see of the control's window
// (WM_GETOBJECT, OBJID_CLIENT): a progress bar whose value is the caption text the last
// paint showed, whose name is the container's name for the control (its extender's
// Name), read-only, unavailable while disabled and invisible while hidden. Location,
// navigation, hit testing and the parent come from the system's standard object for
// the window's client area.
//
// The window hands the object out and takes it back when it goes (Disconnect): a client
// may hold it longer, and then hears CO_E_OBJNOTCONNECTED.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "activex/com_host.h"
#include "activex/com_ptr.h"
#include "activex/module.h"

namespace vantiq::activex {

class AccessibleControl final : public IAccessible {
 public:
  // `owner` is the control object's controlling unknown, not held: the window lets go
  // of the object (Disconnect) before the control can go. Null when the system cannot
  // make the standard object.
  static AccessibleControl* Create(HWND hwnd, ComHost& host, IUnknown* owner);
  void Disconnect();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: clients call the interface's own methods.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(LONG* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* focus) override;
  STDMETHODIMP get_accSelection(VARIANT* selection) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override;
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

 private:
  AccessibleControl(HWND hwnd, ComHost& host, IUnknown* owner, ComPtr<IAccessible> standard);
  ~AccessibleControl() = default;
  // S_OK for the control itself while connected; the error to return otherwise.
  HRESULT Check(const VARIANT& child) const;
  // The extender's Name; empty when the container gives none.
  std::wstring ExtenderName() const;

  LONG refs_ = 1;
  ModuleLock lock_;
  HWND hwnd_;
  ComHost* host_;
  IUnknown* owner_;
  ComPtr<IAccessible> standard_;  // the system's object for the client area
};

}  // namespace vantiq::activex
