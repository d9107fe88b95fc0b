// One report for every pixel comparison: how many pixels differ and where the first few
// are, with what was found and what was expected.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>

namespace vantiq::testing {

using PixelAt = std::function<std::uint32_t(int x, int y)>;

inline ::testing::AssertionResult ComparePixels(int expectedWidth, int expectedHeight, const PixelAt& expected,
                                                int width, int height, const PixelAt& actual) {
  if (width != expectedWidth || height != expectedHeight)
    return ::testing::AssertionFailure() << "size " << width << "x" << height << ", expected " << expectedWidth
                                         << "x" << expectedHeight;
  int differing = 0;
  std::ostringstream first;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (expected(x, y) != actual(x, y) && differing++ < 6)
        first << " (" << x << "," << y << ") 0x" << std::hex << actual(x, y) << " not 0x" << expected(x, y)
              << std::dec << ";";
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " of " << width * height << " pixels differ:" << first.str();
}

// For pictures with `width`, `height` and `At(x, y)`.
template <typename Picture>
::testing::AssertionResult SamePixels(const Picture& expected, const Picture& actual) {
  return ComparePixels(
      expected.width, expected.height, [&](int x, int y) { return static_cast<std::uint32_t>(expected.At(x, y)); },
      actual.width, actual.height, [&](int x, int y) { return static_cast<std::uint32_t>(actual.At(x, y)); });
}

}  // namespace vantiq::testing
