#include "test_surface.h"

#include "backends/soft/soft_surface.h"

#ifdef _WIN32
#include "backends/gdi/gdi_surface.h"
#endif

#include <gtest/gtest.h>

namespace {

#ifdef _WIN32
class RealSystemColors : public vantiq::SystemColors {
 public:
  vantiq::ColorRef GetSysColor(int index) override { return ::GetSysColor(index); }
};

// The indices DrawEdge reads for the two sunken edges.
bool MatchesSystemEdgeColors(vantiq::SystemColors& colors) {
  for (int index : {vantiq::kColorBtnShadow, vantiq::kColorBtnHighlight, vantiq::kColor3dDkShadow,
                    vantiq::kColor3dLight}) {
    if ((colors.GetSysColor(index) & 0xFFFFFFu) != (::GetSysColor(index) & 0xFFFFFFu)) {
      return false;
    }
  }
  return true;
}
#else
class FixedSystemColors : public vantiq::SystemColors {
 public:
  vantiq::ColorRef GetSysColor(int index) override {
    switch (index) {
      case vantiq::kColorBtnFace: return vantiq::Rgb(0xD4, 0xD0, 0xC8);
      case vantiq::kColorBtnShadow: return vantiq::Rgb(0x80, 0x70, 0x60);
      case vantiq::kColorBtnHighlight: return vantiq::Rgb(0xFF, 0xFE, 0xFD);
      case vantiq::kColor3dDkShadow: return vantiq::Rgb(0x40, 0x30, 0x20);
      case vantiq::kColor3dLight: return vantiq::Rgb(0xE0, 0xD8, 0xD0);
      case vantiq::kColorHighlight: return vantiq::Rgb(0x31, 0x6A, 0xC5);
      case vantiq::kColorHighlightText: return vantiq::Rgb(0xFF, 0xFF, 0xFF);
      default: return 0;
    }
  }
};
#endif

}  // namespace

vantiq::SystemColors& HostSystemColors() {
#ifdef _WIN32
  static RealSystemColors colors;
#else
  static FixedSystemColors colors;
#endif
  return colors;
}

namespace {

std::unique_ptr<vantiq::Surface> MakeSurface(int w, int h, vantiq::SystemColors& colors, bool bottomUp) {
#ifdef _WIN32
  if (MatchesSystemEdgeColors(colors)) {
    const auto rows = bottomUp ? vantiq::GdiSurface::Rows::kBottomUp : vantiq::GdiSurface::Rows::kTopDown;
    if (auto dib = vantiq::GdiSurface::CreateDibSection(w, h, rows)) return dib;
    ADD_FAILURE() << "CreateDibSection(" << w << ", " << h << ") failed";
  }
#else
  (void)bottomUp;
#endif
  return std::make_unique<vantiq::SoftSurface>(w, h, colors);
}

}  // namespace

std::unique_ptr<vantiq::Surface> MakeTestSurface(int w, int h, vantiq::SystemColors& colors) {
  return MakeSurface(w, h, colors, false);
}

std::unique_ptr<vantiq::Surface> MakeTestDibSection(int w, int h, vantiq::SystemColors& colors) {
  return MakeSurface(w, h, colors, true);
}

bool IsGdiSurface(const vantiq::Surface& surface) {
#ifdef _WIN32
  return dynamic_cast<const vantiq::GdiSurface*>(&surface) != nullptr;
#else
  (void)surface;
  return false;
#endif
}
