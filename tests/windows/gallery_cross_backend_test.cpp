// Every gallery cell without text drawn through GDI and through the software surface:
// the same pixels. (Windows builds' software surfaces have no glyph engine; text is
// held to GDI's pictures by the text tests.)
#include <gtest/gtest.h>

#include "gallery/gallery.h"

#include "backends/gdi/gdi_surface.h"
#include "backends/soft/soft_surface.h"
#include "support/pixel_diff.h"
#include "support/test_surface.h"

namespace vantiq::testing {
namespace {

TEST(GalleryOnBothBackends, EveryCellHasIdenticalPixels) {
  const tools::SurfaceMaker gdi = [](int w, int h, SystemColors&) -> std::unique_ptr<Surface> {
    return GdiSurface::CreateDibSection(w, h, GdiSurface::Rows::kBottomUp);
  };
  const tools::SurfaceMaker soft = [](int w, int h, SystemColors& c) -> std::unique_ptr<Surface> {
    return std::make_unique<SoftSurface>(w, h, c);
  };
  int cells = 0;
  for (const tools::GallerySection& section : tools::GallerySections()) {
    for (std::size_t i = 0; i < section.cells.size(); ++i) {
      if (section.cells[i].text) continue;
      const Image a = tools::RenderCell(section.cells[i], gdi, &HostSystemColors());
      const Image b = tools::RenderCell(section.cells[i], soft, &HostSystemColors());
      const std::size_t columns = section.columns.size();
      EXPECT_TRUE(SamePixels(a, b)) << section.title << " row " << section.rows[i / columns] << " column "
                                    << i % columns;
      ++cells;
    }
  }
  EXPECT_EQ(cells, 2 * 5 * 9 + 18);
}

}  // namespace
}  // namespace vantiq::testing
