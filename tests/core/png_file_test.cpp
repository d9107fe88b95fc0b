#include "backends/soft/png_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/pixel_diff.h"

namespace vantiq {
namespace {

TEST(PngFile, PicturesSurviveAWriteAndReadExactly) {
  Image image(37, 5);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) image.Set(x, y, Rgb(x * 7, y * 50, (x * y) & 0xFF));
  const std::string path = "vantiq-png-test.png";
  ASSERT_TRUE(WritePng(path, image));
  const std::optional<Image> back = ReadPng(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_TRUE(testing::SamePixels(image, *back));

  // A damaged or truncated file is refused, not misread.
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  for (std::size_t cut : {std::size_t{7}, std::size_t{30}, bytes.size() - 20}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(cut));
    EXPECT_FALSE(ReadPng(path).has_value()) << cut;
  }
  std::string huge = bytes;
  huge[16] = '\x7F';  // width 0x7F000025: far beyond any picture we accept
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(huge.data(), static_cast<std::streamsize>(huge.size()));
  EXPECT_FALSE(ReadPng(path).has_value());
  std::remove(path.c_str());
  EXPECT_FALSE(WritePng(path, Image()));
}

TEST(PngFile, PasteCutsAtTheEdges) {
  Image canvas(4, 3, Rgb(1, 1, 1));
  Image stamp(3, 2, Rgb(9, 9, 9));
  canvas.Paste(stamp, 2, -1);
  EXPECT_EQ(canvas.At(2, 0), Rgb(9, 9, 9));
  EXPECT_EQ(canvas.At(3, 0), Rgb(9, 9, 9));
  EXPECT_EQ(canvas.At(1, 0), Rgb(1, 1, 1));
  EXPECT_EQ(canvas.At(2, 1), Rgb(1, 1, 1));
}

}  // namespace
}  // namespace vantiq
