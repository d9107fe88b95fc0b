#include "backends/gdi/gdi_allocation.h"

#include <atomic>

namespace vantiq::gdi {
namespace {

struct Plan {
  std::atomic<long> requests{0};
  std::atomic<long> first{-1};  // -1: nothing injected
  std::atomic<long> count{0};
};

Plan& PlanFor(Allocation kind) {
  static Plan plans[kAllocationKinds];
  return plans[static_cast<int>(kind)];
}

// Counts the request and says whether it is one of the injected failures.
bool Fails(Allocation kind) {
  Plan& plan = PlanFor(kind);
  const long n = plan.requests.fetch_add(1, std::memory_order_relaxed);
  const long first = plan.first.load(std::memory_order_relaxed);
  if (first < 0 || n < first) return false;
  const long count = plan.count.load(std::memory_order_relaxed);
  return count < 0 || n - first < count;
}

std::atomic<long> failures{0};

// Counts a request answered with null.
template <typename Handle>
Handle Counted(Handle handle) {
  if (!handle) failures.fetch_add(1, std::memory_order_relaxed);
  return handle;
}

}  // namespace

void InjectFailures(Allocation kind, long first, long count) {
  Plan& plan = PlanFor(kind);
  plan.count = count;
  plan.first = first < 0 ? 0 : first;
}

void ClearInjectedFailures() {
  for (int i = 0; i < kAllocationKinds; ++i) {
    Plan& plan = PlanFor(static_cast<Allocation>(i));
    plan.first = -1;
    plan.count = 0;
    plan.requests = 0;
  }
}

long Requests(Allocation kind) { return PlanFor(kind).requests.load(std::memory_order_relaxed); }

long Failures() { return failures.load(std::memory_order_relaxed); }

HDC NewDisplayDc() {
  return Counted(Fails(Allocation::kDc) ? nullptr : ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
}

HDC NewCompatibleDc(HDC dc) { return Counted(Fails(Allocation::kDc) ? nullptr : ::CreateCompatibleDC(dc)); }

HBITMAP NewCompatibleBitmap(HDC dc, int width, int height) {
  return Counted(Fails(Allocation::kBitmap) ? nullptr : ::CreateCompatibleBitmap(dc, width, height));
}

HBITMAP NewDibSection(HDC dc, const BITMAPINFO& info, void** bits) {
  *bits = nullptr;
  if (Fails(Allocation::kDibSection)) return Counted<HBITMAP>(nullptr);
  return Counted(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

HBRUSH NewSolidBrush(COLORREF color) {
  return Counted(Fails(Allocation::kBrush) ? nullptr : ::CreateSolidBrush(color));
}

HPEN NewPen(COLORREF color) {
  return Counted(Fails(Allocation::kPen) ? nullptr : ::CreatePen(PS_SOLID, 1, color));
}

HRGN NewRectRgn(int left, int top, int right, int bottom) {
  return Counted(Fails(Allocation::kRegion) ? nullptr : ::CreateRectRgn(left, top, right, bottom));
}

HFONT NewFont(const LOGFONTW& font) {
  return Counted(Fails(Allocation::kFont) ? nullptr : ::CreateFontIndirectW(&font));
}

}  // namespace vantiq::gdi
