// Basic value types shared by every subsystem of the control.
#pragma once

#include <cstdint>
#include <string>

namespace vantiq {

// An OLE colour: 0x00BBGGRR, or 0x80000000 + a system colour index.
using OleColor = std::uint32_t;
// A resolved RGB colour in the same 0x00BBGGRR layout (GDI's COLORREF).
using ColorRef = std::uint32_t;

constexpr OleColor kSystemColorFlag = 0x80000000u;
constexpr OleColor kAutoColor = 0x8000000Fu;           // COLOR_BTNFACE reference: "automatic"
constexpr OleColor kAutoTextColor = 0x8000000Eu;       // COLOR_HIGHLIGHTTEXT reference
constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;        // CLR_INVALID

constexpr int kColor3dDkShadow = 21;
constexpr int kColor3dLight = 22;
constexpr int kColorBtnShadow = 16;
constexpr int kColorBtnHighlight = 20;
constexpr int kColorBtnFace = 15;
constexpr int kColorHighlight = 13;
constexpr int kColorHighlightText = 14;

constexpr ColorRef Rgb(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(std::int32_t x, std::int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const Rect& o) const { return !(*this == o); }
};

Rect Intersect(const Rect& a, const Rect& b);

// Window, module and theme handles as opaque integers; 0 means none.
using WindowHandle = std::uintptr_t;
using ModuleHandle = std::uintptr_t;
using ThemeHandle = std::uintptr_t;

}  // namespace vantiq
