#include "activex/general_page_layout.h"

#include "activex/com_ptr.h"
#include "activex/module.h"

namespace vantiq::activex::general_page {

namespace {

// The layout, in dialog units.
constexpr short kMargin = 7;
constexpr short kRows = 8;
constexpr short kRowHeight = 15;
constexpr short kLabelWidth = 62;
constexpr short kBoxWidth = 84;
constexpr short kColumnWidth = kLabelWidth + 2 + kBoxWidth;
constexpr short kPageWidth = kMargin + kColumnWidth + 10 + kColumnWidth + kMargin;
constexpr short kPageHeight = kMargin + kRows * kRowHeight + 4;

constexpr WORD kButtonClass = 0x0080, kEditClass = 0x0081, kStaticClass = 0x0082,
               kComboClass = 0x0085;

// A DLGTEMPLATE and its items, as words in memory.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, DWORD exStyle, WORD items, short cx, short cy) {
    Dword(style | DS_SETFONT);
    Dword(exStyle);
    words_.push_back(items);
    for (short v : {short{0}, short{0}, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    Text(L"");
    words_.push_back(8);
    Text(L"MS Shell Dlg");
  }
  void Item(WORD windowClass, DWORD style, short x, short y, short cx, short cy, WORD id,
            const wchar_t* text) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(windowClass);
    Text(text);
    words_.push_back(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Dword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(*text);
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

DialogTemplate PageTemplate() {
  DialogTemplate page(WS_CHILD | DS_CONTROL | DS_3DLOOK, WS_EX_CONTROLPARENT, kFieldCount * 2,
                      kPageWidth, kPageHeight);
  for (size_t i = 0; i < kFieldCount; ++i) {
    const Field& field = kFields[i];
    const short x = i < kRows ? kMargin : kMargin + kColumnWidth + 10;
    const short y = kMargin + static_cast<short>(i % kRows) * kRowHeight;
    const short boxX = x + kLabelWidth + 2;
    const WORD id = static_cast<WORD>(kFieldId + i);
    const WORD labelId = static_cast<WORD>(kLabelId + i);
    // A switch carries its name itself; its label is an empty placeholder.
    page.Item(kStaticClass, SS_LEFT, x, y + 2, kLabelWidth, 8, labelId,
              field.kind == Kind::kCheck ? L"" : field.name);
    switch (field.kind) {
      case Kind::kNumber:
      case Kind::kText:
        page.Item(kEditClass, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, boxX, y, kBoxWidth, 12, id, L"");
        break;
      case Kind::kChoice:
        page.Item(kComboClass, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, boxX, y, kBoxWidth, 80, id, L"");
        break;
      case Kind::kCheck:
        page.Item(kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP, x, y + 1, kColumnWidth, 10, id, field.name);
        break;
    }
  }
  return page;
}

INT_PTR CALLBACK MeasureProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

HWND CreatePageDialog(HWND parent, DLGPROC proc, LPARAM param) {
  const DialogTemplate page = PageTemplate();
  return CreateDialogIndirectParamW(ModuleHandle(), page.Get(), parent, proc, param);
}

SIZE PageSize() {
  DialogTemplate empty(WS_POPUP, 0, 0, kPageWidth, kPageHeight);
  RECT rect{0, 0, kPageWidth, kPageHeight};
  HWND probe = CreateDialogIndirectParamW(ModuleHandle(), empty.Get(), nullptr, MeasureProc, 0);
  if (!probe) return {0, 0};
  MapDialogRect(probe, &rect);
  DestroyWindow(probe);
  return {rect.right, rect.bottom};
}

std::vector<std::pair<std::wstring, LONG>> EnumMembers(const wchar_t* typeName) {
  std::vector<std::pair<std::wstring, LONG>> members;
  ComPtr<ITypeLib> library;
  if (FAILED(LoadModuleTypeLib(library))) return members;
  for (UINT i = 0, n = library->GetTypeInfoCount(); i < n; ++i) {
    Bstr name;
    if (FAILED(library->GetDocumentation(static_cast<INT>(i), name.Put(), nullptr, nullptr, nullptr)) ||
        !name.Get() || wcscmp(name.Get(), typeName) != 0)
      continue;
    ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    if (FAILED(library->GetTypeInfo(i, info.Put())) || FAILED(info->GetTypeAttr(&attr))) break;
    const WORD count = attr->typekind == TKIND_ENUM ? attr->cVars : 0;
    info->ReleaseTypeAttr(attr);
    for (UINT v = 0; v < count; ++v) {
      VARDESC* var = nullptr;
      if (FAILED(info->GetVarDesc(v, &var))) continue;
      Bstr member;
      VARIANT value;
      VariantInit(&value);
      if (SUCCEEDED(info->GetDocumentation(var->memid, member.Put(), nullptr, nullptr, nullptr)) &&
          SUCCEEDED(VariantChangeType(&value, var->lpvarValue, 0, VT_I4)))
        members.emplace_back(std::wstring(member.Get(), SysStringLen(member.Get())), V_I4(&value));
      info->ReleaseVarDesc(var);
    }
    break;
  }
  return members;
}

}  // namespace vantiq::activex::general_page
