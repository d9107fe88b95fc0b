// The pool of DIB sections behind GdiPlatform::CreateDibSection: what comes back is
// cleared and draws as a new section would, the pool stays within its bounds, and every
// GDI object it kept goes with it.
#include "backends/gdi/dib_section_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "backends/gdi/gdi_platform.h"
#include "common/gdi_objects.h"

namespace vantiq {
namespace {

std::vector<std::uint8_t> Bytes(GdiSurface& surface) {
  const std::uint8_t* bits = surface.Bits();
  return std::vector<std::uint8_t>(bits, bits + surface.Width() * surface.Height() * 4);
}

// What the shadow does with a section: a clipped fill, a line and text.
void Draw(GdiSurface& surface) {
  surface.SetClip(Rect{2, 1, 38, 13});
  surface.FillRect(Rect{0, 0, 40, 14}, 0x336699);
  surface.Line(0, 0, 40, 14, 0x00FF00);
  LogFont font;
  font.lfHeight = -11;
  font.SetFaceName(u"Tahoma");
  surface.DrawTextLine(u"Ab%", Rect{0, 0, 40, 14}, 0, font, 0xFFFFFF);
  surface.SetClip(std::nullopt);
}

TEST(DibSectionPool, AReturnedSectionComesBackClearedAndDrawsAsANewOne) {
  auto pool = std::make_shared<DibSectionPool>();
  std::unique_ptr<GdiSurface> first = pool->Take(40, 14);
  ASSERT_TRUE(first);
  const HDC dc = first->Hdc();
  Draw(*first);
  // State a drawing may leave behind in the context: mixing mode, colours, mapping.
  ::SetROP2(dc, R2_NOT);
  ::SetBkMode(dc, OPAQUE);
  ::SetTextColor(dc, RGB(255, 0, 0));
  ::SetBkColor(dc, RGB(0, 0, 255));
  ::SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
  ::SetViewportOrgEx(dc, 5, 3, nullptr);
  ::IntersectClipRect(dc, 0, 0, 3, 3);
  first.reset();
  EXPECT_EQ(pool->Kept(), 1u);

  std::unique_ptr<GdiSurface> reused = pool->Take(40, 14);
  ASSERT_TRUE(reused);
  EXPECT_EQ(reused->Hdc(), dc) << "the kept section serves the same size";
  EXPECT_EQ(pool->Kept(), 0u);
  EXPECT_EQ(Bytes(*reused), std::vector<std::uint8_t>(40 * 14 * 4, 0));

  const std::unique_ptr<GdiSurface> fresh = GdiSurface::CreateDibSection(40, 14, GdiSurface::Rows::kBottomUp);
  ASSERT_TRUE(fresh);
  Draw(*reused);
  Draw(*fresh);
  EXPECT_EQ(Bytes(*reused), Bytes(*fresh));

  const std::unique_ptr<GdiSurface> other = pool->Take(41, 14);
  ASSERT_TRUE(other);
  EXPECT_NE(other->Hdc(), dc) << "no other size takes it";
}

TEST(DibSectionPool, KeepsAFewSectionsAndFreesEveryObjectWithThePool) {
  const int before = tools::LiveGdiObjects();
  auto pool = std::make_shared<DibSectionPool>();
  for (int h = 1; h <= 20; ++h) pool->Take(10, h);  // each goes back at once
  EXPECT_EQ(pool->Kept(), DibSectionPool::kMaxSections);
  // A memory context and a bitmap each.
  EXPECT_EQ(tools::LiveGdiObjects() - before, 2 * static_cast<int>(DibSectionPool::kMaxSections));

  // Over the pool's bytes: deleted, not kept.
  ASSERT_TRUE(pool->Take(600, 600));
  EXPECT_EQ(pool->Kept(), DibSectionPool::kMaxSections);
  EXPECT_EQ(tools::LiveGdiObjects() - before, 2 * static_cast<int>(DibSectionPool::kMaxSections));

  // A surface that outlives its pool deletes its own section.
  std::unique_ptr<GdiSurface> survivor = pool->Take(10, 3);
  pool.reset();
  EXPECT_EQ(tools::LiveGdiObjects() - before, 2);
  survivor.reset();
  EXPECT_EQ(tools::LiveGdiObjects(), before);
}

TEST(DibSectionPool, ThePlatformsOfAProcessShareOnePoolThatGoesWithTheLast) {
  const int before = tools::LiveGdiObjects();
  {
    GdiPlatform one;
    HDC dc = nullptr;
    {
      std::unique_ptr<Surface> section = one.CreateDibSection(24, 9);
      ASSERT_TRUE(section);
      dc = static_cast<GdiSurface&>(*section).Hdc();
    }
    GdiPlatform two;
    std::unique_ptr<Surface> again = two.CreateDibSection(24, 9);
    ASSERT_TRUE(again);
    EXPECT_EQ(static_cast<GdiSurface&>(*again).Hdc(), dc);
  }
  EXPECT_EQ(tools::LiveGdiObjects(), before) << "the kept sections outlived every platform";
}

}  // namespace
}  // namespace vantiq
