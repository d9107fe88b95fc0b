// Pictures of surfaces, drawn one character a pixel: surfaces painted from them, and
// comparisons with them.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_surface.h"

namespace vantiq::testing {

constexpr ColorRef kPictureBack = Rgb(1, 2, 3);  // what nothing draws by accident

// A w x h test surface over the host's system colours, filled with kPictureBack.
inline std::unique_ptr<Surface> BlankSurface(int w, int h) {
  auto s = MakeTestSurface(w, h, HostSystemColors());
  s->FillRect(Rect{0, 0, w, h}, kPictureBack);
  return s;
}

// True when every pixel has the legend's colour for its character; '.' is
// kPictureBack. On failure shows what the surface holds ('?' for a colour in no entry).
inline ::testing::AssertionResult Looks(const Surface& s, const std::vector<std::string>& rows,
                                        std::map<char, ColorRef> legend) {
  legend['.'] = kPictureBack;
  bool same = static_cast<int>(rows.size()) == s.Height();
  std::ostringstream shows;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const ColorRef got = s.GetPixel(x, y);
      const bool drawn = y < static_cast<int>(rows.size()) && x < static_cast<int>(rows[y].size());
      if (!drawn || legend.count(rows[y][x]) == 0 || legend[rows[y][x]] != got) same = false;
      char shown = '?';
      for (const auto& [c, color] : legend) {
        if (color == got) shown = c;
      }
      shows << shown;
    }
    shows << '\n';
  }
  for (const std::string& row : rows) same &= static_cast<int>(row.size()) == s.Width();
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the surface shows\n" << shows.str();
}

// A surface painted with a picture whose every character is in the legend ('.' is
// kPictureBack).
inline std::unique_ptr<Surface> PaintedSurface(const std::vector<std::string>& rows,
                                               std::map<char, ColorRef> legend) {
  legend['.'] = kPictureBack;
  auto s = BlankSurface(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < s->Height(); ++y) {
    for (int x = 0; x < s->Width(); ++x) s->SetPixel(x, y, legend.at(rows[y][x]));
  }
  return s;
}

}  // namespace vantiq::testing
