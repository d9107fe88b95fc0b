// The bytes of CDib32 surfaces, pixel by pixel, for the tests that pin them exactly;
// and the platform those tests run on: scripted natively, real GDI on Windows.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "backends/soft/scriptable_platform.h"
#include "imaging/dib.h"
#ifdef _WIN32
#include "backends/gdi/gdi_platform.h"
#endif

namespace vantiq::testing {

using Bgra = std::array<int, 4>;   // bytes blue, green, red, alpha
using Pixels = std::vector<Bgra>;  // top row first

// Pixel i, counted from the top left.
inline std::uint8_t* DibPixel(const CDib32& dib, int i) {
  const int x = i % dib.Width(), y = i / dib.Width();
  return dib.Bits() + (dib.Height() - 1 - y) * dib.RowBytes() + 4 * x;
}

inline Pixels ReadDib(const CDib32& dib) {
  Pixels out(static_cast<std::size_t>(dib.Width() * dib.Height()));
  for (int i = 0; i < static_cast<int>(out.size()); ++i) {
    const std::uint8_t* p = DibPixel(dib, i);
    out[i] = {p[0], p[1], p[2], p[3]};
  }
  return out;
}

// A w x h DIB holding `pixels` from the top left (zero where they run out).
inline std::shared_ptr<CDib32> MakeDib(Platform& platform, int w, int h, const Pixels& pixels = {}) {
  auto dib = std::make_shared<CDib32>(platform);
  EXPECT_TRUE(dib->Create(w, h));
  for (int i = 0; i < static_cast<int>(pixels.size()); ++i) {
    for (int c = 0; c < 4; ++c) DibPixel(*dib, i)[c] = static_cast<std::uint8_t>(pixels[i][c]);
  }
  return dib;
}

inline std::unique_ptr<Platform> DibPlatform() {
#ifdef _WIN32
  return std::make_unique<GdiPlatform>();
#else
  return std::make_unique<ScriptablePlatform>();
#endif
}

}  // namespace vantiq::testing
