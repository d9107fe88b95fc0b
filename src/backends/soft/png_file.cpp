#include "backends/soft/png_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace vantiq {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kMaxPixels = 64u << 20;  // refuse absurd headers before allocating

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

std::uint32_t Get32(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void Chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32(out, static_cast<std::uint32_t>(crc));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

Image::Image(int w, int h, ColorRef fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

void Image::Paste(const Image& from, int x, int y) {
  for (int row = 0; row < from.height; ++row)
    for (int col = 0; col < from.width; ++col) {
      const int tx = x + col, ty = y + row;
      if (tx >= 0 && ty >= 0 && tx < width && ty < height) Set(tx, ty, from.At(col, row));
    }
}

Image Capture(const Surface& surface) {
  Image image(surface.Width(), surface.Height());
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) image.Set(x, y, surface.GetPixel(x, y) & 0xFFFFFFu);
  return image;
}

bool WritePng(const std::string& path, const Image& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  // Each row: filter byte 0, then R, G, B.
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<std::size_t>(image.height) * (1 + 3 * static_cast<std::size_t>(image.width)));
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < image.width; ++x) {
      const ColorRef c = image.At(x, y);
      raw.push_back(static_cast<unsigned char>(RedOf(c)));
      raw.push_back(static_cast<unsigned char>(GreenOf(c)));
      raw.push_back(static_cast<unsigned char>(BlueOf(c)));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
  packed.resize(packedSize);

  std::vector<unsigned char> file(kSignature, kSignature + 8);
  std::vector<unsigned char> header;
  Put32(header, static_cast<std::uint32_t>(image.width));
  Put32(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
  Chunk(file, "IHDR", header);
  Chunk(file, "IDAT", packed);
  Chunk(file, "IEND", {});

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
  return f && std::fwrite(file.data(), 1, file.size(), f.get()) == file.size();
}

std::optional<Image> ReadPng(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) return std::nullopt;
  std::vector<unsigned char> file;
  unsigned char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0;) file.insert(file.end(), buffer, buffer + n);
  if (file.size() < 8 || !std::equal(kSignature, kSignature + 8, file.begin())) return std::nullopt;

  std::uint32_t width = 0, height = 0;
  int channels = 0;
  std::vector<unsigned char> packed;
  for (std::size_t pos = 8; pos + 12 <= file.size();) {
    const std::uint32_t length = Get32(&file[pos]);
    if (length > file.size() - pos - 12) return std::nullopt;
    const unsigned char* type = &file[pos + 4];
    const unsigned char* data = &file[pos + 8];
    if (std::equal(type, type + 4, "IHDR")) {
      if (length < 13 || data[8] != 8 || data[10] != 0 || data[11] != 0 || data[12] != 0) return std::nullopt;
      width = Get32(data);
      height = Get32(data + 4);
      channels = data[9] == 2 ? 3 : data[9] == 6 ? 4 : 0;
      if (!channels || !width || !height || std::uint64_t{width} * height > kMaxPixels) return std::nullopt;
    } else if (std::equal(type, type + 4, "IDAT")) {
      packed.insert(packed.end(), data, data + length);
    } else if (std::equal(type, type + 4, "IEND")) {
      break;
    }
    pos += 12 + length;
  }
  if (!channels) return std::nullopt;

  const std::size_t stride = static_cast<std::size_t>(width) * channels;
  std::vector<unsigned char> raw(static_cast<std::size_t>(height) * (stride + 1));
  uLongf rawSize = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
      rawSize != raw.size())
    return std::nullopt;

  Image image(static_cast<int>(width), static_cast<int>(height));
  std::vector<unsigned char> previous(stride, 0), row(stride);
  for (std::uint32_t y = 0; y < height; ++y) {
    const unsigned char* line = &raw[y * (stride + 1)];
    const int filter = line[0];
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<std::size_t>(channels) ? row[i - channels] : 0;
      const int b = previous[i];
      const int c = i >= static_cast<std::size_t>(channels) ? previous[i - channels] : 0;
      int predictor = 0;
      switch (filter) {
        case 0: predictor = 0; break;
        case 1: predictor = a; break;
        case 2: predictor = b; break;
        case 3: predictor = (a + b) / 2; break;
        case 4: predictor = Paeth(a, b, c); break;
        default: return std::nullopt;
      }
      row[i] = static_cast<unsigned char>(line[1 + i] + predictor);
    }
    for (std::uint32_t x = 0; x < width; ++x)
      image.Set(static_cast<int>(x), static_cast<int>(y),
                Rgb(row[x * channels], row[x * channels + 1], row[x * channels + 2]));
    previous.swap(row);
  }
  return image;
}

}  // namespace vantiq
