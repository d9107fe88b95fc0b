// The GDI surface's own duties: handle ownership, restoring what it selects, the clip
// it leaves behind, and the back buffer.
#include "backends/gdi/gdi_surface.h"
#include "backends/gdi/gdi_handles.h"

#include <gtest/gtest.h>

namespace vantiq {
namespace {

TEST(GdiHandles, AnOwnerDeletesItsObjectAndAMoveHandsItOver) {
  HBRUSH raw = ::CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(raw, nullptr);
  {
    gdi::Brush first(raw);
    gdi::Brush second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), raw);
    EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH)) << "alive while owned";
    gdi::Brush third;
    third = std::move(second);
    EXPECT_EQ(third.Get(), raw);
  }
  EXPECT_EQ(::GetObjectType(raw), 0u) << "deleted with its last owner";

  HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  gdi::Pen owner(pen);
  EXPECT_EQ(owner.Release(), pen);
  EXPECT_FALSE(owner);
  EXPECT_EQ(::GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)) << "released, not deleted";
  ::DeleteObject(pen);
}

TEST(GdiHandles, ASelectGuardPutsThePreviousObjectBack) {
  gdi::Dc dc(::CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_PEN);
  gdi::Pen pen(::CreatePen(PS_SOLID, 1, RGB(9, 9, 9)));
  {
    gdi::SelectGuard guard(dc.Get(), pen.Get());
    EXPECT_TRUE(guard.Selected());
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
    gdi::SelectGuard moved(std::move(guard));
  }
  EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), original);
}

TEST(GdiSurface, DrawingLeavesTheContextsPenAndBrushAsTheyWere) {
  auto s = GdiSurface::CreateDibSection(8, 8);
  ASSERT_TRUE(s);
  const HGDIOBJ pen = ::GetCurrentObject(s->Hdc(), OBJ_PEN);
  const HGDIOBJ brush = ::GetCurrentObject(s->Hdc(), OBJ_BRUSH);
  s->Line(0, 0, 7, 5, RGB(255, 0, 0));
  EXPECT_EQ(s->GetPixel(6, 4), RGB(255, 0, 0)) << "the line was drawn";
  s->FillRect(Rect{1, 1, 4, 4}, RGB(0, 255, 0));
  s->FrameRect(Rect{0, 0, 8, 8}, RGB(0, 0, 255));
  s->SunkenEdge(Rect{2, 2, 8, 8}, EdgeKind::kSunken);
  EXPECT_EQ(::GetCurrentObject(s->Hdc(), OBJ_PEN), pen);
  EXPECT_EQ(::GetCurrentObject(s->Hdc(), OBJ_BRUSH), brush);
}

TEST(GdiSurface, TheClipAndBrushColourAreNotLeftOnABorrowedContext) {
  gdi::Dc dc(::CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 6, -6, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  gdi::Bitmap bitmap(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  gdi::SelectGuard selected(dc.Get(), bitmap.Get());
  gdi::Rgn probe(::CreateRectRgn(0, 0, 0, 0));
  ::SetDCBrushColor(dc.Get(), RGB(1, 2, 3));
  {
    GdiSurface borrowed(dc.Get(), 6, 6);
    borrowed.FillRect(Rect{0, 0, 6, 6}, RGB(200, 0, 0));
    borrowed.FrameRect(Rect{0, 0, 6, 6}, RGB(0, 200, 0));
    EXPECT_EQ(borrowed.GetPixel(0, 0), RGB(0, 200, 0));
    EXPECT_EQ(borrowed.GetPixel(2, 2), RGB(200, 0, 0));
    borrowed.SetClip(Rect{1, 1, 3, 3});
    EXPECT_EQ(::GetClipRgn(dc.Get(), probe.Get()), 1);
    RECT box{};
    ::GetRgnBox(probe.Get(), &box);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.bottom, 3);
    borrowed.SetClip(std::nullopt);
    EXPECT_EQ(::GetClipRgn(dc.Get(), probe.Get()), 0);
    borrowed.SetClip(Rect{0, 0, 2, 2});
  }
  EXPECT_EQ(::GetClipRgn(dc.Get(), probe.Get()), 0) << "the surface removed its clip";
  EXPECT_EQ(::GetDCBrushColor(dc.Get()), RGB(1, 2, 3)) << "the surface gave the brush colour back";
}

TEST(GdiSurface, TheBackBufferIsADisplayCompatibleBitmapThatDrawsAndReadsBack) {
  auto s = GdiSurface::CreateBackBuffer(20, 10);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Width(), 20);
  EXPECT_EQ(s->Height(), 10);
  EXPECT_EQ(s->DibBits(), nullptr);
  BITMAP bm{};
  ASSERT_EQ(::GetObject(::GetCurrentObject(s->Hdc(), OBJ_BITMAP), sizeof(bm), &bm),
            static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmWidth, 20);
  EXPECT_EQ(bm.bmHeight, 10);
  s->FillRect(Rect{0, 0, 20, 10}, RGB(10, 20, 30));
  s->GradientFill(Rect{0, 0, 4, 10}, RGB(0, 0, 0), RGB(255, 255, 255),
                  GradientDirection::kHorizontal);
  EXPECT_EQ(s->GetPixel(19, 9), RGB(10, 20, 30));
  EXPECT_EQ(s->GetPixel(2, 5), RGB(127, 127, 127));
  EXPECT_EQ(GdiSurface::CreateBackBuffer(0, 10), nullptr);
  EXPECT_EQ(GdiSurface::CreateBackBuffer(20, -1), nullptr);
  EXPECT_EQ(GdiSurface::CreateDibSection(5, -1), nullptr);
}

}  // namespace
}  // namespace vantiq
