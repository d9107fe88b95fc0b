// What a GdiSurface made for itself: its memory context and the bitmap selected into it.
// Shared by the surface and the DIB section pool, which keeps these between surfaces.
#pragma once

#include <optional>

#include "backends/gdi/gdi_handles.h"
#include "backends/gdi/gdi_surface.h"

namespace vantiq {

struct GdiSurface::Owned {
  gdi::Dc dc;
  gdi::Bitmap bitmap;
  // Declared last so it is destroyed first: the bitmap must leave the context before
  // it can be deleted.
  std::optional<gdi::SelectGuard> selection;
  void* bits = nullptr;
  bool bottomUp = false;
};

}  // namespace vantiq
