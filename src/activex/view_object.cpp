// IViewObjectEx: the control drawn into any device context, for printing and for
// containers that show it without activating it, and what of its rectangle it covers
// and answers to the mouse. Only the window's region (the themed looks cut the corners)
// makes it other than an opaque rectangle, so opacity and hits are read from that region.
#include "activex/control_object.h"

namespace vantiq::activex {

STDMETHODIMP ControlObject::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC target,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_DOCPRINT) return DV_E_DVASPECT;
  if (!target || !bounds) return E_INVALIDARG;
  KeepAlive hold(outer_);  // a handler of the events raised while drawing may let it go
  const RECT rect{bounds->left, bounds->top, bounds->right, bounds->bottom};
  if (window_.Handle()) return window_.RenderInto(target, rect) ? S_OK : E_FAIL;

  // Not in place: the core draws only for a window, so a hidden one of the control's
  // own size stands in while it draws.
  const SIZE size = ExtentInPixels();
  ControlWindow standIn(control_, host_, outer_);
  if (!standIn.Create(nullptr, RECT{0, 0, size.cx, size.cy})) return E_FAIL;
  IgnoreErrors([&] { control_.Show(); });  // the theme state of the new window
  const bool drawn = standIn.RenderInto(target, rect);
  IgnoreErrors([&] { control_.Hide(); });
  standIn.Destroy();
  return drawn ? S_OK : E_FAIL;
}

STDMETHODIMP ControlObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                        LOGPALETTE** colors) {
  if (!colors) return E_POINTER;
  *colors = nullptr;
  return S_FALSE;  // no palette of its own
}

STDMETHODIMP ControlObject::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }

STDMETHODIMP ControlObject::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP ControlObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewSink_ = ComPtr<IAdviseSink>(sink);
  viewAspects_ = sink ? aspects : 0;
  viewFlags_ = sink ? flags : 0;
  return S_OK;
}

STDMETHODIMP ControlObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) *sink = ComPtr<IAdviseSink>(viewSink_).Detach();
  return S_OK;
}

STDMETHODIMP ControlObject::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

HRGN ControlObject::HitArea(const RECT& bounds) const {
  if (HRGN placed = window_.PlacedRegion(bounds)) return placed;
  return CreateRectRgnIndirect(&bounds);
}

STDMETHODIMP ControlObject::GetRect(DWORD aspect, LPRECTL rect) {
  if (!rect) return E_POINTER;
  const bool cut = window_.HasRegion();
  // The opaque part is a rectangle only while no region cuts it; the irregular part
  // exists only while one does.
  if (aspect == DVASPECT_CONTENT || (aspect == DVASPECT_OPAQUE && !cut) ||
      (aspect == DVASPECT_TRANSPARENT && cut)) {
    *rect = RECTL{0, 0, extent_.cx, extent_.cy};
    return S_OK;
  }
  *rect = RECTL{};
  return DV_E_DVASPECT;
}

STDMETHODIMP ControlObject::GetViewStatus(DWORD* status) {
  if (!status) return E_POINTER;
  // The container's background shows at the cut corners.
  *status = window_.HasRegion() ? 0 : VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}

STDMETHODIMP ControlObject::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG,
                                          DWORD* result) {
  if (!result) return E_POINTER;
  *result = HITRESULT_OUTSIDE;
  if (!bounds) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  HRGN area = HitArea(*bounds);
  if (!area) return E_OUTOFMEMORY;
  if (PtInRegion(area, location.x, location.y)) *result = HITRESULT_HIT;
  DeleteObject(area);
  return S_OK;
}

STDMETHODIMP ControlObject::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG,
                                         DWORD* result) {
  if (!result) return E_POINTER;
  *result = HITRESULT_OUTSIDE;
  if (!bounds || !location) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  HRGN area = HitArea(*bounds);
  if (!area) return E_OUTOFMEMORY;
  if (RectInRegion(area, location)) *result = HITRESULT_HIT;
  DeleteObject(area);
  return S_OK;
}

STDMETHODIMP ControlObject::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                             LPSIZEL) {
  return E_NOTIMPL;  // any extent the container gives suits the bar
}

}  // namespace vantiq::activex
