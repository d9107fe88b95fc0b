// A bitmap in the form OLE's picture objects save one through IPersistStream and
// OleLoadPicture reads back: the tag "lt\0\0", the length of what follows, and a BMP
// file. Written here rather than by the picture object itself, because Wine's picture
// save loses three GDI objects on every call and writes a 16- or 32-bit bitmap's
// bit-field masks short. The BMP holds 24 bits a pixel: the control draws pictures at
// 24 bits anyway. Header-only: the container uses it too.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vantiq::activex {

// Empty when the bitmap cannot be read.
inline std::vector<std::uint8_t> SaveBitmapPicture(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0 ||
      info.bmWidth > 0x7FFF || info.bmHeight > 0x7FFF)
    return {};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = info.bmHeight;  // bottom-up, as BMP files are
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  const std::uint32_t stride = (static_cast<std::uint32_t>(info.bmWidth) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(info.bmHeight);
  format.bmiHeader.biSizeImage = imageSize;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof format.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;

  std::vector<std::uint8_t> bytes(8 + file.bfSize);
  const std::uint32_t tag = 0x0000746C;  // "lt\0\0"
  std::memcpy(bytes.data(), &tag, 4);
  std::memcpy(bytes.data() + 4, &file.bfSize, 4);
  std::memcpy(bytes.data() + 8, &file, sizeof file);
  std::memcpy(bytes.data() + 8 + sizeof file, &format.bmiHeader, sizeof format.bmiHeader);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight),
                             bytes.data() + 8 + file.bfOffBits, &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return {};
  return bytes;
}

}  // namespace vantiq::activex
