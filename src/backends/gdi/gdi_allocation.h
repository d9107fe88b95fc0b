// Every GDI object the backend makes is made here. A system out of GDI resources
// answers these calls with null; tests make chosen requests fail the same way to see
// that a paint still completes and nothing is left behind.
#pragma once

#include <windows.h>

namespace vantiq::gdi {

enum class Allocation { kDc, kBitmap, kDibSection, kBrush, kPen, kRegion, kFont };
constexpr int kAllocationKinds = 7;

// Requests of `kind` numbered `first` to `first + count - 1` since the last
// ClearInjectedFailures (0 = the first) fail; a negative count fails every one from
// `first` on.
void InjectFailures(Allocation kind, long first, long count);
// Ends every injected failure and restarts the request counts.
void ClearInjectedFailures();
// Requests of `kind` since the last clear, failed ones included.
long Requests(Allocation kind);
// Requests of any kind the system or an injection answered with null, since the
// process started: what was drawn while this grew may be missing a part.
long Failures();

HDC NewDisplayDc();
HDC NewCompatibleDc(HDC dc);
HBITMAP NewCompatibleBitmap(HDC dc, int width, int height);
HBITMAP NewDibSection(HDC dc, const BITMAPINFO& info, void** bits);
HBRUSH NewSolidBrush(COLORREF color);
HPEN NewPen(COLORREF color);
HRGN NewRectRgn(int left, int top, int right, int bottom);
HFONT NewFont(const LOGFONTW& font);

}  // namespace vantiq::gdi
