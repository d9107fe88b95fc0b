#include "common/label_font.h"

#include <cctype>
#include <cstdint>

namespace vantiq::tools {
namespace {

// Five rows of three bits each, the top row first, the high bit on the left.
struct Glyph {
  char c;
  std::uint8_t rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}}, {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},
    {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}},
    {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}}, {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}},
    {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}}, {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}},
    {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}},
    {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}}, {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}},
    {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}}, {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}},
    {'2', {6, 1, 2, 4, 7}}, {'3', {6, 1, 2, 1, 6}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 6, 1, 6}},
    {'6', {3, 4, 7, 5, 7}}, {'7', {7, 1, 2, 2, 2}}, {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 6}},
    {'.', {0, 0, 0, 0, 2}}, {'%', {5, 1, 2, 4, 5}}, {'-', {0, 0, 7, 0, 0}}, {'/', {1, 1, 2, 4, 4}},
    {':', {0, 2, 0, 2, 0}}, {'=', {0, 7, 0, 7, 0}}, {'+', {0, 2, 7, 2, 0}}, {'(', {1, 2, 2, 2, 1}},
    {')', {4, 2, 2, 2, 4}}, {',', {0, 0, 0, 2, 4}},
};

const Glyph* Find(char c) {
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

}  // namespace

int LabelWidth(const std::string& text, int scale) { return static_cast<int>(text.size()) * 4 * scale; }

void DrawLabel(Image& image, int x, int y, const std::string& text, ColorRef color, int scale) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph* g = Find(text[i]);
    if (!g) continue;
    const int left = x + static_cast<int>(i) * 4 * scale;
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col) {
        if (!(g->rows[row] & (4 >> col))) continue;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx) {
            const int px = left + col * scale + dx, py = y + row * scale + dy;
            if (px >= 0 && py >= 0 && px < image.width && py < image.height) image.Set(px, py, color);
          }
      }
  }
}

}  // namespace vantiq::tools
