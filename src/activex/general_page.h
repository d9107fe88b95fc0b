// The control's General property page: a dialog of its plain properties (numbers, texts,
// switches and the enumerations as drop-down lists) for the controls a designer selected.
// It talks to them through IDispatch alone, as any caller does, so every value it writes
// passes the control's own setters. Its fields and dialog: general_page_layout.h.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "activex/com_object.h"
#include "activex/com_ptr.h"
#include "activex/module.h"

namespace vantiq::activex {

class GeneralPage final : public SingleInterfaceObject<IPropertyPage> {
 public:
  // A new page answering `iid`; the page cannot be aggregated.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
  STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
  STDMETHODIMP Show(UINT command) override;
  STDMETHODIMP Move(LPCRECT rect) override;
  STDMETHODIMP IsPageDirty() override;
  STDMETHODIMP Apply() override;
  STDMETHODIMP Help(LPCOLESTR helpDir) override;
  STDMETHODIMP TranslateAccelerator(MSG* message) override;

 private:
  GeneralPage() : SingleInterfaceObject(IID_IPropertyPage, 1) {}
  ~GeneralPage() override;

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  // Fills the fields from the first object; nothing is dirty afterwards.
  void Load();
  // The field `index`'s window's text as the property's value.
  HRESULT WriteField(size_t index, IDispatch* object);
  void OnEdited(size_t index);

  ModuleLock lock_;
  ComPtr<IPropertyPageSite> site_;
  std::vector<ComPtr<IDispatch>> objects_;
  HWND dialog_ = nullptr;
  std::vector<bool> edited_;  // by field, since the last Load
  bool loading_ = false;
};

}  // namespace vantiq::activex
