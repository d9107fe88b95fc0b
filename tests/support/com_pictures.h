// Windows only: standard OLE picture objects made by the tests, and what a picture holds
// as text.
#pragma once
#ifdef _WIN32

#include <windows.h>
#include <olectl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "activex/com_ptr.h"

namespace vantiq::testing {

using activex::ComPtr;

// A top-down 32-bit DIB of w x h pixels.
inline BITMAPINFO TopDown32(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A picture made from `desc`, owning its handle if `own`.
inline ComPtr<IPictureDisp> PictureOf(PICTDESC desc, bool own) {
  desc.cbSizeofstruct = sizeof desc;
  ComPtr<IPictureDisp> picture;
  OleCreatePictureIndirect(&desc, IID_IPictureDisp, own, reinterpret_cast<void**>(picture.Put()));
  return picture;
}

// A picture that owns `bitmap` (or `icon`).
inline ComPtr<IPictureDisp> NewPicture(HBITMAP bitmap) {
  PICTDESC desc{};
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  return PictureOf(desc, true);
}

inline ComPtr<IPictureDisp> IconPicture(HICON icon, bool own) {
  PICTDESC desc{};
  desc.picType = PICTYPE_ICON;
  desc.icon.hicon = icon;
  return PictureOf(desc, own);
}

// A w x h bitmap picture whose pixel (x, y) is color(x, y) (0x00BBGGRR).
inline ComPtr<IPictureDisp> BitmapPicture(int w, int h, const std::function<COLORREF(int, int)>& color) {
  BITMAPINFO info = TopDown32(w, h);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return {};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = color(x, y);
      static_cast<DWORD*>(bits)[y * w + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
  return NewPicture(bitmap);
}

// "none", "icon", or "bitmap WxH #<hash of its pixels>": equal for pictures that show the
// same pixels.
inline std::wstring PictureText(IPictureDisp* disp) {
  ComPtr<IPicture> picture;
  if (!disp || FAILED(disp->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.Put())))) return L"none";
  SHORT type = 0;
  OLE_HANDLE handle = 0;
  picture->get_Type(&type);
  picture->get_Handle(&handle);
  const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  BITMAP size{};
  if (type != PICTYPE_BITMAP || !GetObjectW(bitmap, sizeof size, &size)) return L"type " + std::to_wstring(type);
  BITMAPINFO info = TopDown32(size.bmWidth, size.bmHeight);
  std::vector<DWORD> pixels(static_cast<std::size_t>(size.bmWidth) * size.bmHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  std::uint32_t hash = 2166136261u;  // FNV-1a over the 24-bit colours
  for (DWORD p : pixels) hash = (hash ^ (p & 0xFFFFFF)) * 16777619u;
  wchar_t text[64];
  swprintf(text, 64, L"bitmap %dx%d #%08x", static_cast<int>(size.bmWidth), static_cast<int>(size.bmHeight), hash);
  return text;
}

}  // namespace vantiq::testing

#endif  // _WIN32
