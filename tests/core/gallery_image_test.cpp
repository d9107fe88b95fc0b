// The README's gallery excerpt is what the gallery draws today. Run with
// VANTIQ_REFRESH_IMAGES=1 to write it anew after an intended change of the looks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "backends/soft/soft_surface.h"
#include "gallery/gallery.h"
#include "support/pixel_diff.h"

namespace vantiq::testing {
namespace {

TEST(GalleryImage, ReadmeExcerptMatchesTheSoftwareRendering) {
  const tools::SurfaceMaker soft = [](int w, int h, SystemColors& c) -> std::unique_ptr<Surface> {
    return std::make_unique<SoftSurface>(w, h, c);
  };
  const Image drawn = tools::RenderGallery({tools::GallerySections().front()}, soft, nullptr);
  const std::string path = std::string(VANTIQ_SOURCE_DIR) + "/docs/gallery-excerpt.png";
  if (const char* refresh = std::getenv("VANTIQ_REFRESH_IMAGES"); refresh && *refresh == '1') {
    ASSERT_TRUE(WritePng(path, drawn));
  }
  const std::optional<Image> committed = ReadPng(path);
  ASSERT_TRUE(committed.has_value()) << path;
  EXPECT_TRUE(SamePixels(*committed, drawn)) << "the looks changed: refresh the excerpt if that was meant";
}

}  // namespace
}  // namespace vantiq::testing
