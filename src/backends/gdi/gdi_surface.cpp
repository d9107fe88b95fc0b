#include "backends/gdi/gdi_surface.h"

#include <climits>
#include <cstring>
#include <optional>

#include "backends/gdi/gdi_allocation.h"
#include "backends/gdi/gdi_handles.h"
#include "backends/gdi/gdi_surface_owned.h"
#include "backends/gdi/dib_section_pool.h"

namespace vantiq {
namespace {

// Msimg32 is looked up when first needed rather than imported, so this backend (and a
// control built on it) still loads where the library is missing; blending and
// gradients then report failure and their callers draw without them.
struct Msimg32 {
  using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                     BLENDFUNCTION);
  using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
  AlphaBlendFn alphaBlend = nullptr;
  GradientFillFn gradientFill = nullptr;
};

const Msimg32& Msimg32Api() {
  static const Msimg32 api = [] {
    Msimg32 found;
    // Kept loaded for the life of the process, as an import would be.
    if (HMODULE module = ::LoadLibraryA("msimg32.dll")) {
      found.alphaBlend = reinterpret_cast<Msimg32::AlphaBlendFn>(
          reinterpret_cast<void*>(::GetProcAddress(module, "AlphaBlend")));
      found.gradientFill = reinterpret_cast<Msimg32::GradientFillFn>(
          reinterpret_cast<void*>(::GetProcAddress(module, "GradientFill")));
    }
    return found;
  }();
  return api;
}

}  // namespace

GdiSurface::GdiSurface(HDC dc, int width, int height)
    : GdiSurface(nullptr, dc, width, height) {}

GdiSurface::GdiSurface(std::unique_ptr<Owned> owned, HDC dc, int width, int height)
    : owned_(std::move(owned)), dc_(dc), width_(width), height_(height) {}

GdiSurface::~GdiSurface() {
  if (clip_) ::SelectClipRgn(dc_, nullptr);
  if (brushColor_) ::SetDCBrushColor(dc_, *brushColor_);
  // A pooled section goes back, its context as it was made, for the next of its size.
  if (auto pool = pool_.lock(); pool && owned_ && owned_->bits && owned_->bottomUp) {
    ::RestoreDC(dc_, -1);
    ::SaveDC(dc_);
    pool->Keep(std::move(owned_), width_, height_);
  }
}

std::unique_ptr<GdiSurface> GdiSurface::CreateBackBuffer(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  gdi::Dc screen(gdi::NewDisplayDc());
  if (!screen) return nullptr;
  auto owned = std::make_unique<Owned>();
  owned->dc.Reset(gdi::NewCompatibleDc(screen.Get()));
  if (!owned->dc) return nullptr;
  owned->bitmap.Reset(gdi::NewCompatibleBitmap(screen.Get(), width, height));
  if (!owned->bitmap) return nullptr;
  owned->selection.emplace(owned->dc.Get(), owned->bitmap.Get());
  if (!owned->selection->Selected()) return nullptr;
  HDC dc = owned->dc.Get();
  return std::unique_ptr<GdiSurface>(new GdiSurface(std::move(owned), dc, width, height));
}

std::unique_ptr<GdiSurface> GdiSurface::CreateDibSection(int width, int height, Rows rows) {
  if (width <= 0 || height <= 0 || std::int64_t{width} * height * 4 > INT_MAX) return nullptr;
  auto owned = std::make_unique<Owned>();
  owned->dc.Reset(gdi::NewCompatibleDc(nullptr));
  if (!owned->dc) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = rows == Rows::kBottomUp ? height : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  owned->bitmap.Reset(gdi::NewDibSection(owned->dc.Get(), info, &owned->bits));
  if (!owned->bitmap || owned->bits == nullptr) return nullptr;
  owned->bottomUp = rows == Rows::kBottomUp;
  std::memset(owned->bits, 0, static_cast<std::size_t>(width) * height * 4);
  owned->selection.emplace(owned->dc.Get(), owned->bitmap.Get());
  if (!owned->selection->Selected()) return nullptr;
  ::SaveDC(owned->dc.Get());  // the state a pooled context returns to
  HDC dc = owned->dc.Get();
  return std::unique_ptr<GdiSurface>(new GdiSurface(std::move(owned), dc, width, height));
}

std::unique_ptr<GdiSurface> GdiSurface::Reuse(std::unique_ptr<Owned> owned, int width, int height) {
  ::GdiFlush();  // nothing queued may land after the clearing
  std::memset(owned->bits, 0, static_cast<std::size_t>(width) * height * 4);
  HDC dc = owned->dc.Get();
  return std::unique_ptr<GdiSurface>(new GdiSurface(std::move(owned), dc, width, height));
}

const std::uint32_t* GdiSurface::DibBits() const {
  if (!owned_ || owned_->bits == nullptr || owned_->bottomUp) return nullptr;
  ::GdiFlush();
  return static_cast<const std::uint32_t*>(owned_->bits);
}

std::uint8_t* GdiSurface::Bits() {
  if (!owned_ || owned_->bits == nullptr || !owned_->bottomUp) return nullptr;
  ::GdiFlush();  // GDI may still hold drawing that the caller is about to read
  return static_cast<std::uint8_t*>(owned_->bits);
}

bool GdiSurface::AlphaBlend(int x, int y, int w, int h, const Surface& source, int sx, int sy,
                            int constantAlpha) {
  const auto* src = dynamic_cast<const GdiSurface*>(&source);
  const auto alphaBlend = Msimg32Api().alphaBlend;
  if (src == nullptr || alphaBlend == nullptr) return false;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(constantAlpha), AC_SRC_ALPHA};
  return alphaBlend(dc_, x, y, w, h, src->dc_, sx, sy, w, h, blend) != FALSE;
}

// The context's own brush, recoloured: a segmented fill paints dozens of rectangles a
// paint, and a brush made and freed for each costs more than the painting.
HBRUSH GdiSurface::SolidBrush(ColorRef color) {
  const COLORREF before = ::SetDCBrushColor(dc_, color);
  if (before == CLR_INVALID) return nullptr;
  if (!brushColor_) brushColor_ = before;  // given back to the context's owner at the end
  return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
}

void GdiSurface::FillRect(const Rect& rc, ColorRef color) {
  const HBRUSH brush = SolidBrush(color);
  if (!brush) return;
  const RECT r{rc.left, rc.top, rc.right, rc.bottom};
  ::FillRect(dc_, &r, brush);
}

void GdiSurface::FrameRect(const Rect& rc, ColorRef color) {
  const HBRUSH brush = SolidBrush(color);
  if (!brush) return;
  const RECT r{rc.left, rc.top, rc.right, rc.bottom};
  ::FrameRect(dc_, &r, brush);
}

void GdiSurface::Line(int x1, int y1, int x2, int y2, ColorRef color) {
  gdi::Pen pen(gdi::NewPen(color));
  if (!pen) return;
  gdi::SelectGuard selected(dc_, pen.Get());
  if (!selected.Selected()) return;
  ::MoveToEx(dc_, x1, y1, nullptr);
  ::LineTo(dc_, x2, y2);
}

void GdiSurface::SetPixel(int x, int y, ColorRef color) { ::SetPixelV(dc_, x, y, color); }

ColorRef GdiSurface::GetPixel(int x, int y) const { return ::GetPixel(dc_, x, y); }

void GdiSurface::SunkenEdge(const Rect& rc, EdgeKind kind) {
  RECT r{rc.left, rc.top, rc.right, rc.bottom};
  ::DrawEdge(dc_, &r, kind == EdgeKind::kSunken ? EDGE_SUNKEN : BDR_SUNKENOUTER, BF_RECT);
}

bool GdiSurface::GradientFill(const Rect& rc, ColorRef start, ColorRef end,
                              GradientDirection direction) {
  const auto gradientFill = Msimg32Api().gradientFill;
  if (gradientFill == nullptr) return false;
  TRIVERTEX vertices[2]{};
  vertices[0].x = rc.left;
  vertices[0].y = rc.top;
  vertices[0].Red = static_cast<COLOR16>(GetRValue(start) << 8);
  vertices[0].Green = static_cast<COLOR16>(GetGValue(start) << 8);
  vertices[0].Blue = static_cast<COLOR16>(GetBValue(start) << 8);
  vertices[1].x = rc.right;
  vertices[1].y = rc.bottom;
  vertices[1].Red = static_cast<COLOR16>(GetRValue(end) << 8);
  vertices[1].Green = static_cast<COLOR16>(GetGValue(end) << 8);
  vertices[1].Blue = static_cast<COLOR16>(GetBValue(end) << 8);
  GRADIENT_RECT rect{0, 1};
  const ULONG mode = direction == GradientDirection::kHorizontal ? GRADIENT_FILL_RECT_H
                                                                 : GRADIENT_FILL_RECT_V;
  return gradientFill(dc_, vertices, 2, &rect, 1, mode) != FALSE;
}

void GdiSurface::CopyFrom(int x, int y, int w, int h, const Surface& source, int sx, int sy) {
  const auto* src = dynamic_cast<const GdiSurface*>(&source);
  if (src == nullptr) return;
  ::BitBlt(dc_, x, y, w, h, src->dc_, sx, sy, SRCCOPY);
}

void GdiSurface::MirrorHorizontally(int w, int h) {
  // An empty or negative area mirrors nothing (StretchBlt's answer to one differs
  // between architectures).
  if (w <= 0 || h <= 0) return;
  // A negative destination width includes its origin column, so the mirror of columns
  // 0..w-1 starts at w - 1.
  ::StretchBlt(dc_, w - 1, 0, -w, h, dc_, 0, 0, w, h, SRCCOPY);
}

void GdiSurface::SetClip(const std::optional<Rect>& rc) {
  clip_ = rc;
  if (!rc) {
    ::SelectClipRgn(dc_, nullptr);
    return;
  }
  // SelectClipRgn keeps a copy, so the region is ours to delete.
  gdi::Rgn region(gdi::NewRectRgn(rc->left, rc->top, rc->right, rc->bottom));
  if (region) ::SelectClipRgn(dc_, region.Get());
}

}  // namespace vantiq
