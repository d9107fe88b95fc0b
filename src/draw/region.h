// A window region as a set of disjoint rectangles (what GDI's regions hold).
#pragma once

#include <vector>

#include "common/types.h"

namespace vantiq {

// GetWindowRgn's answers.
enum class RegionType { kError = 0, kNull = 1, kSimple = 2, kComplex = 3 };

class Region {
 public:
  Region() = default;
  explicit Region(const Rect& rc);

  // RGN_DIFF with one rectangle.
  void Subtract(const Rect& rc);
  bool Contains(int x, int y) const;
  RegionType Type() const;
  const std::vector<Rect>& Rects() const { return rects_; }
  bool operator==(const Region& o) const;

 private:
  std::vector<Rect> rects_;
};

}  // namespace vantiq
