// PNG files of whole pictures: the gallery and the demo write them, tests read them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/types.h"
#include "draw/surface.h"

namespace vantiq {

// A picture in memory: top-down rows of 0x00BBGGRR colours.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<ColorRef> pixels;

  Image() = default;
  Image(int w, int h, ColorRef fill = 0);
  ColorRef At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void Set(int x, int y, ColorRef c) { pixels[static_cast<std::size_t>(y) * width + x] = c; }
  // Copies `from` with its top-left corner at (x, y), cut at this image's edges.
  void Paste(const Image& from, int x, int y);
};

// Every pixel of a surface, read through GetPixel.
Image Capture(const Surface& surface);

// An 8-bit RGB PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const Image& image);
// Reads 8-bit RGB or RGBA PNGs without interlacing (what WritePng and common tools
// write); nullopt for anything else or a damaged file.
std::optional<Image> ReadPng(const std::string& path);

}  // namespace vantiq
