// The names, numbers and resources by which hosts find and know the control.
#pragma once

#include <windows.h>

namespace vantiq::activex {

constexpr wchar_t kProgId[] = L"VantiqCtl.Vantiq";
constexpr wchar_t kVersionedProgId[] = L"VantiqCtl.Vantiq.1";
constexpr wchar_t kClassDescription[] = L"Vantiq";
constexpr wchar_t kTypeLibVersion[] = L"1.0";
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;
constexpr LCID kTypeLibLcid = 1033;

// The control's own property page (general_page.cpp), a class of the library beside the
// control.
inline constexpr CLSID kGeneralPageClsid = {
    0xB794E00F, 0x7119, 0x43FA, {0x94, 0x8F, 0x1B, 0xE6, 0xAE, 0x6C, 0xF2, 0xF6}};
constexpr wchar_t kGeneralPageDescription[] = L"Vantiq General Property Page";

// OLEMISC: recompose on resize, can't link inside, inside-out, activate when visible,
// alignable, set client site first.
constexpr DWORD kMiscStatus = 0x28191;

// Resources of the library (VantiqCtl.rc).
constexpr int kTypeLibResource = 1;
constexpr int kToolboxBitmapResource = 30000;

// Run-time error numbers the COM layer raises itself.
constexpr int kErrInvalidPropertyValue = 380;    // CTL_E_INVALIDPROPERTYVALUE
constexpr int kErrClientSiteNotAvailable = 398;  // no container to ask yet

}  // namespace vantiq::activex
