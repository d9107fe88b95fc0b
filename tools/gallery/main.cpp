// vantiq-gallery OUT.png [SECTION]: the control in every look, orientation, scrolling
// mode and option, drawn through this build's backend (software natively, GDI on
// Windows). With SECTION (1, 2 or 3) only that part of the grid.
#include <cstdio>
#include <cstdlib>

#include "gallery/gallery.h"

#ifdef _WIN32
#include "backends/gdi/gdi_surface.h"
#else
#include "backends/soft/soft_surface.h"
#endif

int main(int argc, char** argv) {
  using namespace vantiq;
  std::vector<tools::GallerySection> sections = tools::GallerySections();
  const int section = argc == 3 ? std::atoi(argv[2]) : 0;
  if (argc < 2 || argc > 3 || section < 0 || section > static_cast<int>(sections.size())) {
    std::fprintf(stderr, "usage: vantiq-gallery OUT.png [SECTION 1-%zu]\n", sections.size());
    return 2;
  }
  if (section > 0) sections = {sections[static_cast<std::size_t>(section - 1)]};
#ifdef _WIN32
  // GDI draws edges in the system's own colours; the scripted platform reports them too.
  class RealColors : public SystemColors {
   public:
    ColorRef GetSysColor(int index) override { return ::GetSysColor(index); }
  } real;
  SystemColors* colors = &real;
  tools::SurfaceMaker make = [](int w, int h, SystemColors&) -> std::unique_ptr<Surface> {
    return GdiSurface::CreateDibSection(w, h, GdiSurface::Rows::kBottomUp);
  };
#else
  SystemColors* colors = nullptr;
  tools::SurfaceMaker make = [](int w, int h, SystemColors& c) -> std::unique_ptr<Surface> {
    return std::make_unique<SoftSurface>(w, h, c);
  };
#endif
  const Image page = tools::RenderGallery(sections, make, colors);
  if (!WritePng(argv[1], page)) {
    std::fprintf(stderr, "vantiq-gallery: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %d x %d\n", argv[1], page.width, page.height);
  return 0;
}
