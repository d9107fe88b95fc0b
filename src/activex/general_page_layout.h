// The General page's fields and the dialog that shows them, built in memory in dialog
// units with the "MS Shell Dlg" 8 font, so its size follows the dialog font.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vantiq::activex::general_page {

enum class Kind { kNumber, kText, kCheck, kChoice };

struct Field {
  const wchar_t* name;      // the property, and the field's label
  Kind kind;
  const wchar_t* enumType;  // for a choice: the type library's enumeration
};

// In the order Apply writes them: Max before Value, so that a new range and a value in
// it arrive in one Apply. The first eight make the dialog's left column, the rest its
// right one.
inline constexpr Field kFields[] = {
    {L"Min", Kind::kNumber, nullptr},
    {L"Max", Kind::kNumber, nullptr},
    {L"Value", Kind::kNumber, nullptr},
    {L"ShadowIntensity", Kind::kNumber, nullptr},
    {L"Style", Kind::kChoice, L"eProgressBarStyle"},
    {L"Orientation", Kind::kChoice, L"eProgressBarOrientation"},
    {L"Scrolling", Kind::kChoice, L"eProgressBarScroll"},
    {L"TextAlignment", Kind::kChoice, L"eProgressBarTextAlign"},
    {L"Caption", Kind::kText, nullptr},
    {L"SearchCaption", Kind::kText, nullptr},
    {L"PercentFormat", Kind::kText, nullptr},
    {L"ShowCaption", Kind::kCheck, nullptr},
    {L"Shadow", Kind::kCheck, nullptr},
    {L"SegmentBorders", Kind::kCheck, nullptr},
    {L"CaptionCallBack", Kind::kCheck, nullptr},
    {L"RightToLeft", Kind::kCheck, nullptr},
};
inline constexpr size_t kFieldCount = sizeof kFields / sizeof kFields[0];

// A field's window's id in the dialog; its label's is kLabelId + the same index.
constexpr int kFieldId = 100;
constexpr int kLabelId = 200;

// The page's dialog, hidden, as a child of `parent`; `proc` gets `param` with
// WM_INITDIALOG.
HWND CreatePageDialog(HWND parent, DLGPROC proc, LPARAM param);
// The page's size in pixels of its dialog font.
SIZE PageSize();
// The members of a type library enumeration, by name, with their values.
std::vector<std::pair<std::wstring, LONG>> EnumMembers(const wchar_t* typeName);

}  // namespace vantiq::activex::general_page
