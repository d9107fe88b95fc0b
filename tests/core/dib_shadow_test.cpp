// The shadow generator: the mask, the filter's exact bytes and placement, the
// composite, its errors, and the running sums against the plain box sum. Natively
// on the scriptable platform, under Wine on real GDI.
#include "caption/dib_shadow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "support/dib_bytes.h"
#include "support/raised_error.h"

namespace vantiq::testing {
namespace {

const Bgra kZero{0, 0, 0, 0}, kGrey{128, 128, 128, 255}, kFaint{1, 1, 1, 2};

// w x h zero pixels with `square` over columns x0..x1 and rows y0..y1.
Pixels Picture(int w, int h, Bgra square = {}, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
  Pixels out(static_cast<std::size_t>(w * h), kZero);
  for (int i = 0; i < w * h; ++i) {
    if (i % w >= x0 && i % w <= x1 && i / w >= y0 && i / w <= y1) out[i] = square;
  }
  return out;
}

class Shadow : public ::testing::Test {
 protected:
  std::shared_ptr<CDib32> Make(int w, int h, const Pixels& pixels) { return MakeDib(*platform, w, h, pixels); }
  // Shapes keyed on black at scale 1, with the filter's settings.
  CDibShadow& Of(std::shared_ptr<CDib32> source, int r, int ox, int oy, bool expand,
                 int intensity = 128, OleColor color = 0x808080) {
    shadow.SetSource(nullptr);
    shadow.SetScale(1);
    shadow.SetTransparentColor(0);
    shadow.SetSource(std::move(source));
    shadow.SetRadius(r);
    shadow.SetOffsetX(ox);
    shadow.SetOffsetY(oy);
    shadow.SetExpand(expand);
    shadow.SetIntensity(intensity);
    shadow.SetColor(color);
    return shadow;
  }

  std::unique_ptr<Platform> platform = DibPlatform();
  CDibShadow shadow{*platform};
};

TEST_F(Shadow, FilterGivesExactBytesPlacementAndComposite) {
  // A fully covered 7 x 7 box (memory row 6 is picture row 8): 255 \ 255 of the intensity.
  const auto block = Make(7, 7, Picture(7, 7, kGrey, 0, 0, 6, 6));
  Of(block, 3, 0, 0, true, 200, Rgb(255, 0, 0)).Render(false);
  EXPECT_EQ(ReadDib(*shadow.Result())[8 * 15 + 6], (Bgra{0, 0, 200, 200}));
  Of(block, 3, 0, 0, true).Render(false);
  EXPECT_EQ(ReadDib(*shadow.Result())[8 * 15 + 6], (Bgra{64, 64, 64, 128}));
  Of(block, 3, 0, 0, true, 0).Render(true);  // no shadow, only the mask on top
  EXPECT_EQ(ReadDib(*shadow.Result()), Picture(15, 15, kGrey, 0, 0, 6, 6));

  // One opaque pixel, default offsets: 128 x (255 \ 49) \ 255 = 2 over the square at
  // columns 0..6, rows 2..8; the composite puts the mask itself at (1, 1).
  Of(Make(1, 1, {kGrey}), 3, -1, -1, true).Render(true);
  Pixels want = Picture(10, 10, kFaint, 0, 2, 6, 8);
  want[11] = kGrey;
  EXPECT_EQ(ReadDib(*shadow.Result()), want);
  // Its top-left 3 x 3 drawn at (-1, -1), and nothing beyond that size.
  auto target = Make(3, 3, {});
  shadow.DrawTo(*target->DC(), -1, -1, 3, 3);
  EXPECT_EQ(ReadDib(*target), (Pixels{kGrey, kZero, kZero, kFaint, kFaint, kZero, kZero, kZero, kZero}));

  // Not expanded: pixel (x, y) averages the box around mask pixel (x - r, y + r + 1),
  // cut at the edges (the top-left pixel's square lies above the picture).
  Pixels source = Picture(6, 6);
  source[3 * 6 + 2] = source[0] = kGrey;
  Of(Make(6, 6, source), 1, -1, -1, false).Render(false);
  EXPECT_EQ(ReadDib(*shadow.Result()), Picture(6, 6, {7, 7, 7, 14}, 2, 0, 4, 2));
}

TEST_F(Shadow, MaskErrorsAndGuards) {
  shadow.Render(true);  // no Mask, no Result: nothing
  shadow.DrawTo(*Make(1, 1, {})->DC(), 0, 0, 1, 1);
  EXPECT_EQ(shadow.Result(), nullptr);
  EXPECT_EQ(shadow.TransparentColor(), 0xFFFFFFu);

  // Text over the top-left pixel makes its colour the background.
  const Bgra white{255, 255, 255, 0}, opaqueWhite{255, 255, 255, 255};
  shadow.SetSource(Make(4, 1, {kGrey, kZero, kGrey, white}));
  EXPECT_EQ(shadow.TransparentColor(), Rgb(128, 128, 128));
  EXPECT_EQ(ReadDib(*shadow.Mask()), (Pixels{kZero, {0, 0, 0, 255}, kZero, opaqueWhite}));
  shadow.SetTransparentColor(0);
  EXPECT_EQ(ReadDib(*shadow.Mask()), (Pixels{kGrey, kZero, kGrey, opaqueWhite}));
  shadow.SetScale(2);  // column pairs average, then premultiply again
  EXPECT_EQ(ReadDib(*shadow.Mask()), (Pixels{{63, 63, 63, 127}, {191, 191, 191, 255}}));

  const CDib32* mask = shadow.Mask();
  std::u16string description;
  for (int bad : {0, -3}) {
    EXPECT_EQ(ErrorNumber([&] { shadow.SetScale(bad); }, &description), kErrInvalidProcedureCall);
    EXPECT_EQ(description, u"Scale must be greater than 0");
  }
  EXPECT_EQ(shadow.Scale(), 2);
  // A width of 0, or one that Scale takes to 0, would divide by zero.
  EXPECT_EQ(ErrorNumber([&] { shadow.SetScale(5); }), kErrDivisionByZero);
  EXPECT_EQ(ErrorNumber([&] { shadow.SetSource(std::make_shared<CDib32>(*platform)); }),
            kErrDivisionByZero);
  EXPECT_EQ(shadow.Mask(), mask);

  Of(Make(1, 1, {kGrey}), 3, -1, -1, true).Render(false);
  const CDib32* result = shadow.Result();
  for (int radius : {-1, kMaxShadowRadius + 1, INT32_MAX}) {
    shadow.SetRadius(radius);
    EXPECT_EQ(ErrorNumber([&] { shadow.Render(false); }), kErrInvalidProcedureCall) << radius;
    EXPECT_EQ(ErrorNumber([&] { shadow.RenderDirect(false); }), kErrInvalidProcedureCall);
    EXPECT_EQ(shadow.Result(), result);
  }
  // A Result too large for a section stays empty.
  Of(Make(1, 1, {kGrey}), 3, INT32_MIN, -1, true).Render(true);
  EXPECT_EQ(shadow.Result()->Bits(), nullptr);
}

TEST_F(Shadow, RunningSumsMatchTheDirectBoxSum) {
  std::mt19937 random(20240611);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int round = 0; round < 300; ++round) {
    // Now and then a box beyond 255 x 255, over a mask small enough for the direct sum.
    const bool wide = pick(0, 14) == 0;
    const int w = wide ? pick(1, 6) : pick(1, 40), h = wide ? pick(1, 4) : pick(1, 24);
    Pixels source;
    for (int i = 0; i < w * h; ++i) {
      source.push_back(pick(0, 2) ? kZero : Bgra{pick(0, 255), pick(0, 255), pick(0, 255), 0});
    }
    Of(Make(w, h, source), wide ? pick(120, 135) : pick(0, 9) ? pick(0, 5) : pick(6, 14),
       pick(0, 9) ? pick(-6, 6) : pick(-60, 60), pick(0, 9) ? pick(-6, 6) : pick(-60, 60),
       pick(0, 1), pick(0, 9) ? pick(0, 255) : pick(-300, 600),
       Rgb(pick(0, 255), pick(0, 255), pick(0, 255)));
    shadow.SetScale(pick(1, std::min(3, w)));  // scaled masks carry alphas between 0 and 255
    const bool composite = pick(0, 1);
    shadow.RenderDirect(composite);
    const Pixels direct = ReadDib(*shadow.Result());
    shadow.Render(composite);
    ASSERT_EQ(ReadDib(*shadow.Result()), direct)
        << "round " << round << ": " << w << "x" << h << " scale " << shadow.Scale() << " radius "
        << shadow.Radius() << " offsets " << shadow.OffsetX() << "," << shadow.OffsetY();
  }
}

TEST_F(Shadow, LargestMaskAndRadiusDoNotOverflow) {
  // 4000 x 4000 opaque, radius 2047: a box holds up to 255 x 4000^2, beyond a signed
  // 32-bit sum. Pixel (x, m) sums 255 x (x + 1) x (m + 1), divided by 4095^2.
  const int n = 4000;
  auto source = std::make_shared<CDib32>(*platform);
  ASSERT_TRUE(source->Create(n, n));
  source->DC()->FillRect(Rect{0, 0, n, n}, Rgb(128, 128, 128));
  Of(source, kMaxShadowRadius, 0, 0, false, 255, 0xFFFFFF).Render(false);
  for (const auto& [x, m] : std::vector<std::pair<int, int>>{{n - 1, n - 1}, {0, 0}, {2000, n - 1}}) {
    const int q = static_cast<int>(255 * std::int64_t{x + 1} * (m + 1) / (4095 * 4095));
    const std::uint8_t* p = shadow.Result()->Bits() + m * shadow.Result()->RowBytes() + 4 * x;
    EXPECT_EQ((Bgra{p[0], p[1], p[2], p[3]}), (Bgra{q, q, q, q})) << x << "," << m;
  }
}

}  // namespace
}  // namespace vantiq::testing
