#include "activex/general_page.h"

#include <new>
#include <utility>

#include "activex/dispatch_calls.h"
#include "activex/general_page_layout.h"

namespace vantiq::activex {

namespace {

using namespace general_page;

HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARIANT& value) {
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = PropertyId(object, name, id);
  return FAILED(hr) ? hr : InvokeProperty(object, id, DISPATCH_PROPERTYGET, nullptr, &value);
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

HRESULT GeneralPage::Create(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* page = new (std::nothrow) GeneralPage;
  if (!page) return E_OUTOFMEMORY;
  const HRESULT hr = page->QueryInterface(iid, out);
  page->Release();
  return hr;
}

GeneralPage::~GeneralPage() {
  if (dialog_) DestroyWindow(dialog_);
}

STDMETHODIMP GeneralPage::SetPageSite(IPropertyPageSite* site) {
  if (site && site_) return E_UNEXPECTED;
  site_ = ComPtr<IPropertyPageSite>(site);
  return S_OK;
}

STDMETHODIMP GeneralPage::Activate(HWND parent, LPCRECT rect, BOOL /*modal*/) {
  if (!rect) return E_POINTER;
  if (dialog_ || !site_) return E_UNEXPECTED;
  loading_ = true;
  dialog_ = CreatePageDialog(parent, DialogProc, reinterpret_cast<LPARAM>(this));
  loading_ = false;
  if (!dialog_) return E_OUTOFMEMORY;
  for (size_t i = 0; i < kFieldCount; ++i) {
    if (kFields[i].kind != Kind::kChoice) continue;
    HWND box = GetDlgItem(dialog_, kFieldId + static_cast<int>(i));
    for (const auto& [name, value] : EnumMembers(kFields[i].enumType)) {
      const LRESULT at = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      SendMessageW(box, CB_SETITEMDATA, static_cast<WPARAM>(at), value);
    }
  }
  Load();
  MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, FALSE);
  return S_OK;
}

STDMETHODIMP GeneralPage::Deactivate() {
  if (!dialog_) return E_UNEXPECTED;
  HWND dialog = std::exchange(dialog_, nullptr);
  DestroyWindow(dialog);
  edited_.clear();  // the edits went with their fields
  return S_OK;
}

STDMETHODIMP GeneralPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  static constexpr wchar_t kTitle[] = L"General";
  auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof kTitle));
  if (!title) return E_OUTOFMEMORY;
  CopyMemory(title, kTitle, sizeof kTitle);
  info->cb = sizeof *info;
  info->pszTitle = title;
  info->size = PageSize();
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

STDMETHODIMP GeneralPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count && !objects) return E_POINTER;
  std::vector<ComPtr<IDispatch>> dispatches;
  for (ULONG i = 0; i < count; ++i) {
    if (!objects[i]) return E_POINTER;
    ComPtr<IDispatch> dispatch;
    if (FAILED(objects[i]->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Put()))))
      return E_NOINTERFACE;
    dispatches.push_back(std::move(dispatch));
  }
  objects_ = std::move(dispatches);
  if (dialog_) Load();
  return S_OK;
}

STDMETHODIMP GeneralPage::Show(UINT command) {
  if (!dialog_) return E_UNEXPECTED;
  ShowWindow(dialog_, static_cast<int>(command));
  return S_OK;
}

STDMETHODIMP GeneralPage::Move(LPCRECT rect) {
  if (!rect) return E_POINTER;
  if (!dialog_) return E_UNEXPECTED;
  MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

STDMETHODIMP GeneralPage::IsPageDirty() {
  for (bool edited : edited_)
    if (edited) return S_OK;
  return S_FALSE;
}

// Only the fields edited since the page last read the controls are written: a field
// left alone must not overwrite the other selected controls with the first one's value.
// Every control gets every write even when one fails; the first failure is returned.
STDMETHODIMP GeneralPage::Apply() {
  if (IsPageDirty() != S_OK) return S_OK;
  HRESULT result = S_OK;
  for (const ComPtr<IDispatch>& object : std::vector<ComPtr<IDispatch>>(objects_))
    for (size_t i = 0; i < kFieldCount; ++i) {
      if (!edited_[i]) continue;
      const HRESULT hr = WriteField(i, object.Get());
      if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
  // The setters may have clamped or refused a value: show what the control kept.
  Load();
  return result;
}

STDMETHODIMP GeneralPage::Help(LPCOLESTR /*helpDir*/) { return E_NOTIMPL; }

STDMETHODIMP GeneralPage::TranslateAccelerator(MSG* message) {
  if (!message) return E_POINTER;
  if (!dialog_) return E_UNEXPECTED;
  return IsDialogMessageW(dialog_, message) ? S_OK : S_FALSE;
}

INT_PTR CALLBACK GeneralPage::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return FALSE;  // the frame sets the focus
  }
  auto* page = reinterpret_cast<GeneralPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message != WM_COMMAND || !page) return FALSE;
  const size_t index = static_cast<size_t>(LOWORD(wParam) - kFieldId);
  const WORD code = HIWORD(wParam);
  if (index < kFieldCount && (code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED))
    page->OnEdited(index);
  return FALSE;
}

void GeneralPage::OnEdited(size_t index) {
  if (loading_ || edited_.size() != kFieldCount) return;
  edited_[index] = true;
  if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

void GeneralPage::Load() {
  loading_ = true;
  for (size_t i = 0; i < kFieldCount; ++i) {
    HWND box = GetDlgItem(dialog_, kFieldId + static_cast<int>(i));
    VARIANT value;
    VariantInit(&value);
    const bool known = !objects_.empty() && SUCCEEDED(GetProperty(objects_[0].Get(), kFields[i].name, value));
    switch (kFields[i].kind) {
      case Kind::kNumber:
      case Kind::kText:
        SetWindowTextW(box, known && SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BSTR)) ? V_BSTR(&value) : L"");
        break;
      case Kind::kCheck: {
        const bool on = known && SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BOOL)) && V_BOOL(&value);
        SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      }
      case Kind::kChoice: {
        // A value no member names (one a script wrote) selects nothing.
        LRESULT selected = CB_ERR;
        if (known && SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4)))
          for (LRESULT at = 0, n = SendMessageW(box, CB_GETCOUNT, 0, 0); at < n; ++at)
            if (SendMessageW(box, CB_GETITEMDATA, static_cast<WPARAM>(at), 0) == V_I4(&value)) selected = at;
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        break;
      }
    }
    VariantClear(&value);
  }
  edited_.assign(kFieldCount, false);
  loading_ = false;
}

HRESULT GeneralPage::WriteField(size_t index, IDispatch* object) {
  const Field& field = kFields[index];
  HWND box = GetDlgItem(dialog_, kFieldId + static_cast<int>(index));
  VARIANT value;
  VariantInit(&value);
  switch (field.kind) {
    // Numbers go as the text typed: the control's IDispatch converts them as it does any
    // caller's text, and refuses what is no number.
    case Kind::kNumber:
    case Kind::kText:
      V_VT(&value) = VT_BSTR;
      V_BSTR(&value) = SysAllocString(WindowText(box).c_str());
      if (!V_BSTR(&value)) return E_OUTOFMEMORY;
      break;
    case Kind::kCheck:
      V_VT(&value) = VT_BOOL;
      V_BOOL(&value) = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Kind::kChoice: {
      const LRESULT selected = SendMessageW(box, CB_GETCURSEL, 0, 0);
      if (selected == CB_ERR) return S_OK;
      V_VT(&value) = VT_I4;
      V_I4(&value) = static_cast<LONG>(SendMessageW(box, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
      break;
    }
  }
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = PropertyId(object, field.name, id);
  if (SUCCEEDED(hr)) hr = InvokeProperty(object, id, DISPATCH_PROPERTYPUT, &value, nullptr);
  VariantClear(&value);
  return hr;
}

}  // namespace vantiq::activex
