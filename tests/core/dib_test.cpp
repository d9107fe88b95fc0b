// The DIB surfaces: layout, failures, the pixel operations' exact bytes, picture copies
// and alpha drawing. Natively on the scriptable platform, under Wine on real GDI.
#include "imaging/dib.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "backends/soft/bitmap_picture.h"
#include "common/runtime_error.h"
#include "support/dib_bytes.h"
#include "support/raised_error.h"

namespace vantiq::testing {
namespace {

bool Empty(const CDib32& d) { return !d.Width() && !d.Height() && !d.DC() && !d.Bits(); }

class Dib : public ::testing::Test {
 protected:
  std::shared_ptr<CDib32> Make(int w, int h, const Pixels& pixels = {}) {
    return MakeDib(*platform, w, h, pixels);
  }
  // A bitmap the platform knows: scripted natively, a real 32-bit HBITMAP on Windows.
#ifdef _WIN32
  std::uintptr_t MakeBitmap(int w, int h, std::vector<ColorRef> colors) {
    for (ColorRef& c : colors) c = RGB(GetBValue(c), GetGValue(c), GetRValue(c));  // 0x00RRGGBB
    return reinterpret_cast<std::uintptr_t>(::CreateBitmap(w, h, 1, 32, colors.data()));
  }
  void DeleteBitmap(std::uintptr_t b) { ::DeleteObject(reinterpret_cast<HBITMAP>(b)); }
#else
  std::uintptr_t MakeBitmap(int w, int h, std::vector<ColorRef> colors) {
    return scripted().CreateBitmap(w, h, std::move(colors));
  }
  void DeleteBitmap(std::uintptr_t b) { scripted().DeleteBitmap(b); }
  ScriptablePlatform& scripted() { return static_cast<ScriptablePlatform&>(*platform); }
#endif
  std::unique_ptr<Platform> platform = DibPlatform();
};

TEST_F(Dib, CreateLaysOutAZeroedBottomUpSurfaceOrFailsLeavingItEmpty) {
  auto dib = Make(3, 2);
  EXPECT_EQ(dib->RowBytes(), 12);
  dib->DC()->SetPixel(0, 1, Rgb(1, 2, 3));  // bottom left: the first bytes of memory
  dib->DC()->SetPixel(2, 0, Rgb(4, 5, 6));  // top right: the last
  std::vector<int> want(24);
  want[0] = 3, want[1] = 2, want[2] = 1, want[20] = 6, want[21] = 5, want[22] = 4;
  EXPECT_EQ(std::vector<int>(dib->Bits(), dib->Bits() + 24), want);
  EXPECT_TRUE(dib->Create(4000, 4000));
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{
           {0, 10}, {10, 0}, {-1, 5}, {100000, 100000}, {INT_MAX, 1}, {1, INT_MAX}}) {
    ASSERT_TRUE(dib->Create(2, 2));
    EXPECT_FALSE(dib->Create(w, h) || !Empty(*dib)) << w << "x" << h;
  }
#ifndef _WIN32
  scripted().dibSectionFails = true;
  EXPECT_FALSE(dib->Create(2, 2));
#endif
}

TEST_F(Dib, RecreateZeroesASurfaceOfTheSameSizeInPlace) {
  auto dib = Make(3, 2);
  dib->DC()->SetPixel(1, 1, Rgb(9, 8, 7));
  const Surface* section = dib->DC();
  ASSERT_TRUE(dib->Recreate(3, 2));
  EXPECT_EQ(dib->DC(), section);
  EXPECT_EQ(std::vector<int>(dib->Bits(), dib->Bits() + 24), std::vector<int>(24));
  dib->DC()->SetPixel(0, 0, Rgb(9, 8, 7));
  ASSERT_TRUE(dib->Recreate(2, 3));
  EXPECT_EQ(dib->RowBytes(), 8);
  EXPECT_EQ(std::vector<int>(dib->Bits(), dib->Bits() + 24), std::vector<int>(24));
  EXPECT_FALSE(dib->Recreate(0, 3) || !Empty(*dib));
}

TEST_F(Dib, KeyToAlphaAndPremultiplyGiveExactBytes) {
  ColorRef face = 0;
  ASSERT_EQ(platform->OleTranslateColor(0x8000000Fu, face), kSOk);
  const auto key = [](OleColor k, int a, bool pre) {
    return [=](CDib32& d) { d.KeyToAlpha(k, a, pre); };
  };
  const struct {
    Pixels in;
    std::function<void(CDib32&)> op;
    Pixels want;
  } cases[] = {
      // Grey text on black; then alpha 0 changes only the key.
      {{{128, 128, 128, 0}, {0, 0, 0, 0}, {0, 0, 0, 77}}, key(0, 255, true),
       {{128, 128, 128, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
      {{{128, 128, 128, 9}, {0, 0, 0, 50}}, key(0, 0, true), {{128, 128, 128, 9}, {0, 0, 0, 0}}},
      // Rgb(1, 2, 3) is blue 3, green 2, red 1.
      {{{3, 2, 1, 200}, {1, 2, 3, 200}}, key(Rgb(1, 2, 3), 128, false),
       {{3, 2, 1, 0}, {1, 2, 3, 128}}},
      {{{200, 100, 1, 0}}, key(Rgb(1, 2, 3), 128, true), {{100, 50, 1, 128}}},  // 0.502 -> 1
      {{{255, 0, 0, 0}}, key(0, 300, true), {{44, 0, 0, 44}}},  // 300 counts as 44
      {{{BlueOf(face), GreenOf(face), RedOf(face), 90}}, key(0x8000000Fu, 255, true),
       {{0, 0, 0, 0}}},
      {{{200, 100, 50, 128}, {100, 200, 3, 254}, {9, 9, 9, 0}, {255, 255, 255, 1}},
       [](CDib32& d) { d.Premultiply(); },
       {{100, 50, 25, 128}, {99, 199, 2, 254}, {0, 0, 0, 0}, {1, 1, 1, 1}}},
  };
  for (const auto& c : cases) {
    auto dib = Make(static_cast<int>(c.in.size()), 1, c.in);
    c.op(*dib);
    EXPECT_EQ(ReadDib(*dib), c.want) << "first pixel " << c.in[0][0] << "," << c.in[0][1];
  }
}

TEST_F(Dib, ScaleToWidthAveragesBlocksOrWeightsByCoverage) {
  const Bgra solid{10, 20, 30, 255};
  const struct {
    int w, h;
    Pixels in;
    int newWidth, newHeight;
    Pixels want;
  } cases[] = {
      {1, 1, {{200, 100, 50, 128}}, 1, 1, {{100, 50, 25, 128}}},
      {1, 1, {{50, 60, 70, 0}}, 1, 1, {{0, 0, 0, 0}}},
      // 2 x 2 blocks; the colours average the three pixels that show.
      {4, 2,
       {{200, 100, 50, 128}, {0, 0, 0, 0}, solid, solid, {100, 100, 100, 255}, {255, 0, 0, 51},
        solid, solid},
       2, 1, {{83, 50, 41, 108}, solid}},
      // 3 to 2: shares 2:1 and 1:2; the hidden third pixel counts for alpha only.
      {3, 1, {{255, 0, 60, 255}, {0, 200, 0, 102}, {40, 40, 40, 0}}, 2, 1,
       {{170, 26, 40, 204}, {0, 80, 0, 34}}},
      {1, 1, {{200, 100, 50, 128}}, 3, 3, Pixels(9, Bgra{100, 50, 25, 128})},
  };
  for (const auto& c : cases) {
    auto scaled = Make(c.w, c.h, c.in)->ScaleToWidth(c.newWidth);
    EXPECT_EQ(scaled->Height(), c.newHeight);
    EXPECT_EQ(ReadDib(*scaled), c.want) << c.w << "x" << c.h << " to width " << c.newWidth;
  }
  EXPECT_TRUE(Empty(*Make(2, 2)->ScaleToWidth(-2)));
  CDib32 none(*platform);  // from or to width 0 would divide by it
  auto some = Make(2, 2);
  EXPECT_EQ(ErrorNumber([&] { none.ScaleToWidth(2); }), kErrDivisionByZero);
  EXPECT_EQ(ErrorNumber([&] { some->ScaleToWidth(0); }), kErrDivisionByZero);
}

TEST_F(Dib, CreateFromPictureCopiesABitmapAndAnythingElseLeavesItEmpty) {
  std::vector<ColorRef> colors;
  Pixels want;
  for (int i = 0; i < 16 * 8; ++i) {
    colors.push_back(Rgb(i % 16 * 16, i / 16 * 32, i));
    want.push_back({i, i / 16 * 32, i % 16 * 16, 0});
  }
  const std::uintptr_t bitmap = MakeBitmap(16, 8, colors);
  CDib24 dib(*platform);
  dib.CreateFromPicture(std::make_shared<BitmapPicture>(bitmap));
  EXPECT_EQ(dib.Width(), 16);
  EXPECT_EQ(ReadDib(dib), want);

  DeleteBitmap(bitmap);
  for (const PictureRef& other : {PictureRef{}, PictureRef{new BitmapPicture(bitmap)}}) {
    ASSERT_TRUE(dib.Create(2, 2));
    dib.CreateFromPicture(other);  // no picture, and a deleted bitmap
    EXPECT_TRUE(Empty(dib));
  }
}

TEST_F(Dib, AlphaDrawBlendsInsideTheTargetsClipOnly) {
  const Bgra back{0, 200, 40, 255};
  auto target = Make(4, 1, Pixels(4, back));
  auto source = Make(4, 1, Pixels(4, Bgra{100, 50, 25, 128}));
  target->DC()->SetClip(Rect{1, 0, 3, 1});
  source->AlphaDraw(*target->DC(), 0, 0);
  target->DC()->SetClip(std::nullopt);
  CDib32(*platform).AlphaDraw(*target->DC(), 0, 0);  // an empty surface draws nothing
  EXPECT_EQ(ReadDib(*target), (Pixels{back, {100, 150, 45, 255}, {100, 150, 45, 255}, back}));
  // Constant alpha 128 scales the source to 50, 25, 13, 64 first.
  source->AlphaDraw(*target->DC(), 3, 0, 1, -1, 2, 0, 128);
  EXPECT_EQ(ReadDib(*target)[3], (Bgra{50, 175, 43, 255}));
}

}  // namespace
}  // namespace vantiq::testing
