// The shadow generator: the mask, the filter's exact bytes and placement, the
// composite, its errors, and the running-sum filter against the plain box sum.
// Natively on the scriptable platform, under Wine on real GDI.
#include "caption/dib_shadow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "common/runtime_error.h"
#ifdef _WIN32
#include "backends/gdi/gdi_platform.h"
#endif

namespace vantiq {
namespace {

using Bgra = std::array<int, 4>;   // bytes blue, green, red, alpha
using Pixels = std::vector<Bgra>;  // top row first

const Bgra kZero{0, 0, 0, 0};
const Bgra kGrey{128, 128, 128, 255};

std::uint8_t* At(const CDib32& dib, int x, int y) {
  return dib.Bits() + (dib.Height() - 1 - y) * dib.RowBytes() + 4 * x;
}

Pixels Read(const CDib32& dib) {
  Pixels out;
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      const std::uint8_t* p = At(dib, x, y);
      out.push_back({p[0], p[1], p[2], p[3]});
    }
  }
  return out;
}

// w x h of `fill`, with `square` over x0..x1, y0..y1 (inclusive).
Pixels Picture(int w, int h, Bgra fill, Bgra square = {}, int x0 = 0, int y0 = 0, int x1 = -1,
               int y1 = -1) {
  Pixels out(static_cast<std::size_t>(w * h), fill);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) out[static_cast<std::size_t>(y * w + x)] = square;
  }
  return out;
}

int ErrorOf(const std::function<void()>& call, std::u16string* description = nullptr) {
  try {
    call();
  } catch (const RuntimeError& e) {
    if (description) *description = e.Description();
    return e.Number();
  }
  return 0;
}

class Shadow : public ::testing::Test {
 protected:
  std::shared_ptr<CDib32> Make(int w, int h, const Pixels& pixels) {
    auto dib = std::make_shared<CDib32>(*platform);
    EXPECT_TRUE(dib->Create(w, h));
    for (int i = 0; i < static_cast<int>(pixels.size()); ++i) {
      for (int c = 0; c < 4; ++c) At(*dib, i % w, i / w)[c] = static_cast<std::uint8_t>(pixels[i][c]);
    }
    return dib;
  }
  // A shadow of grey shapes on black, keyed on black.
  CDibShadow& Of(int w, int h, const Pixels& pixels) {
    shadow.SetTransparentColor(0);
    shadow.SetSource(Make(w, h, pixels));
    return shadow;
  }

#ifdef _WIN32
  std::unique_ptr<Platform> platform = std::make_unique<GdiPlatform>();
#else
  std::unique_ptr<Platform> platform = std::make_unique<ScriptablePlatform>();
#endif
  CDibShadow shadow{*platform};
};

TEST_F(Shadow, FilterGivesExactBytesAndPlacement) {
  // A fully covered 7 x 7 box: 255 \ 255 of the intensity, colours scaled by it.
  Of(7, 7, Picture(7, 7, kGrey)).SetExpand(true);
  shadow.SetOffsetX(0);
  shadow.SetOffsetY(0);
  shadow.SetIntensity(200);
  shadow.SetColor(Rgb(255, 0, 0));
  shadow.Render(false);
  ASSERT_EQ(shadow.Result()->Width(), 15);
  EXPECT_EQ(Read(*shadow.Result())[8 * 15 + 6], (Bgra{0, 0, 200, 200}));  // memory row 6
  shadow.SetIntensity(128);
  shadow.SetColor(0x808080);
  shadow.Render(false);
  EXPECT_EQ(Read(*shadow.Result())[8 * 15 + 6], (Bgra{64, 64, 64, 128}));
  shadow.SetIntensity(0);
  shadow.Render(true);  // the mask alone on top of a transparent shadow
  EXPECT_EQ(Read(*shadow.Result()), Picture(15, 15, kZero, kGrey, 0, 0, 6, 6));

  // One opaque pixel, expanded with the default offsets: 255 \ 49 = 5, 128 x 5 \ 255
  // = 2 over the 7 x 7 square at columns 0..6, rows 2..8; the composite puts the mask
  // itself at (1, 1).
  Of(1, 1, {kGrey}).SetExpand(true);
  shadow.SetOffsetX(-1);
  shadow.SetOffsetY(-1);
  shadow.SetIntensity(128);
  shadow.Render(true);
  Pixels want = Picture(10, 10, kZero, {1, 1, 1, 2}, 0, 2, 6, 8);
  want[11] = kGrey;
  EXPECT_EQ(Read(*shadow.Result()), want);

  // Not expanded: Result has the mask's size and pixel (x, y) averages the 3 x 3 box
  // around mask pixel (x - 1, y + 2), cut at the edges.
  Pixels source = Picture(6, 6, kZero);
  source[3 * 6 + 2] = kGrey;
  source[0] = kGrey;  // its square lies beyond the top edge
  Of(6, 6, source).SetRadius(1);
  shadow.SetExpand(false);
  shadow.Render(false);
  EXPECT_EQ(Read(*shadow.Result()), Picture(6, 6, kZero, {7, 7, 7, 14}, 2, 0, 4, 2));
}

TEST_F(Shadow, MaskFollowsTheTransparentColourAndScale) {
  EXPECT_EQ(shadow.TransparentColor(), 0xFFFFFFu);  // no Source yet
  const Bgra white{255, 255, 255, 0};
  // Text over the top-left pixel makes its colour the background.
  shadow.SetSource(Make(4, 1, {kGrey, kZero, kGrey, white}));
  EXPECT_EQ(shadow.TransparentColor(), Rgb(128, 128, 128));
  EXPECT_EQ(Read(*shadow.Mask()), (Pixels{kZero, {0, 0, 0, 255}, kZero, {255, 255, 255, 255}}));
  shadow.SetTransparentColor(0);
  EXPECT_EQ(shadow.TransparentColor(), 0u);
  EXPECT_EQ(Read(*shadow.Mask()), (Pixels{kGrey, kZero, kGrey, {255, 255, 255, 255}}));
  // Half width: pairs of columns average (colours of the shown pixels only), and the
  // result is premultiplied again.
  shadow.SetScale(2);
  EXPECT_EQ(Read(*shadow.Mask()), (Pixels{{63, 63, 63, 127}, {191, 191, 191, 255}}));

  std::u16string description;
  const CDib32* mask = shadow.Mask();
  for (int bad : {0, -3}) {
    EXPECT_EQ(ErrorOf([&] { shadow.SetScale(bad); }, &description), kErrInvalidProcedureCall);
    EXPECT_EQ(description, u"Scale must be greater than 0");
  }
  EXPECT_EQ(shadow.Scale(), 2);
  EXPECT_EQ(shadow.Mask(), mask);
  // Width 0, or a width that Scale reduces to 0, would divide by zero; the mask stays.
  EXPECT_EQ(ErrorOf([&] { shadow.SetScale(5); }), kErrDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { shadow.SetSource(std::make_shared<CDib32>(*platform)); }),
            kErrDivisionByZero);
  EXPECT_EQ(shadow.Mask(), mask);
}

TEST_F(Shadow, GuardsMissingPicturesAndRefusesRadiiOutOfRange) {
  auto target = Make(3, 3, Picture(3, 3, kZero));
  shadow.Render(true);  // no Mask
  shadow.RenderDirect(true);
  shadow.DrawTo(*target->DC(), 0, 0, 2, 2);  // no Result
  EXPECT_EQ(shadow.Result(), nullptr);

  Of(1, 1, {kGrey}).SetExpand(true);
  shadow.Render(true);
  const CDib32* result = shadow.Result();
  for (int radius : {-1, kMaxShadowRadius + 1, INT32_MAX}) {
    shadow.SetRadius(radius);
    EXPECT_EQ(ErrorOf([&] { shadow.Render(false); }), kErrInvalidProcedureCall) << radius;
    EXPECT_EQ(ErrorOf([&] { shadow.RenderDirect(false); }), kErrInvalidProcedureCall);
    EXPECT_EQ(shadow.Result(), result);
  }
  // The top-left 3 x 3 of Result lands at (-1, -1): the composited mask at (1, 1) and
  // the shadow from row 2 show, and nothing beyond that size is drawn.
  shadow.DrawTo(*target->DC(), -1, -1, 3, 3);
  const Bgra faint{1, 1, 1, 2};
  EXPECT_EQ(Read(*target), (Pixels{kGrey, kZero, kZero, faint, faint, kZero, kZero, kZero, kZero}));

  // A huge offset asks for a Result no section can hold: it stays empty.
  shadow.SetRadius(3);
  shadow.SetOffsetX(INT32_MIN);
  shadow.Render(true);
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
    shadow.SetScale(1);
    Of(w, h, source);
    shadow.SetScale(pick(1, std::min(3, w)));  // scaled masks carry alphas between 0 and 255
    shadow.SetRadius(wide ? pick(120, 135) : pick(0, 9) ? pick(0, 5) : pick(6, 14));
    shadow.SetOffsetX(pick(0, 9) ? pick(-6, 6) : pick(-60, 60));
    shadow.SetOffsetY(pick(0, 9) ? pick(-6, 6) : pick(-60, 60));
    shadow.SetExpand(pick(0, 1));
    shadow.SetIntensity(pick(0, 9) ? pick(0, 255) : pick(-300, 600));
    shadow.SetColor(Rgb(pick(0, 255), pick(0, 255), pick(0, 255)));
    const bool composite = pick(0, 1);
    shadow.RenderDirect(composite);
    const Pixels direct = Read(*shadow.Result());
    shadow.Render(composite);
    ASSERT_EQ(Read(*shadow.Result()), direct)
        << "round " << round << ": " << w << "x" << h << " scale " << shadow.Scale()
        << " radius " << shadow.Radius() << " offsets " << shadow.OffsetX() << ","
        << shadow.OffsetY() << " expand " << shadow.Expand();
  }
}

TEST_F(Shadow, LargestMaskAndRadiusDoNotOverflow) {
  // 4000 x 4000 opaque with the largest radius: a box holds up to 255 x 4000^2 alpha,
  // beyond a signed 32-bit sum. The pixel's value is 255 x columns x rows \ 4095^2.
  const int n = 4000, r = kMaxShadowRadius;
  auto source = std::make_shared<CDib32>(*platform);
  ASSERT_TRUE(source->Create(n, n));
  source->DC()->FillRect(Rect{0, 0, n, n}, Rgb(128, 128, 128));
  shadow.SetTransparentColor(0);
  shadow.SetSource(source);
  shadow.SetRadius(r);
  shadow.SetOffsetX(0);
  shadow.SetOffsetY(0);
  shadow.SetIntensity(255);
  shadow.SetColor(0xFFFFFF);
  shadow.Render(false);
  const std::int64_t area = std::int64_t{2 * r + 1} * (2 * r + 1);
  for (const auto& [x, m] : std::vector<std::pair<int, int>>{{n - 1, n - 1}, {0, 0}, {2000, 3999}}) {
    const std::int64_t q = 255 * std::int64_t{x + 1} * (m + 1) / area;
    const std::uint8_t* p = shadow.Result()->Bits() + m * shadow.Result()->RowBytes() + 4 * x;
    EXPECT_EQ((Bgra{p[0], p[1], p[2], p[3]}), (Bgra{int(q), int(q), int(q), int(q)})) << x << "," << m;
  }
}

}  // namespace
}  // namespace vantiq
