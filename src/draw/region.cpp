#include "draw/region.h"

#include <algorithm>

namespace vantiq {

Region::Region(const Rect& rc) {
  if (!rc.IsEmpty()) rects_.push_back(rc);
}

void Region::Subtract(const Rect& cut) {
  std::vector<Rect> out;
  out.reserve(rects_.size() + 4);
  for (const Rect& r : rects_) {
    Rect i = Intersect(r, cut);
    if (i.IsEmpty()) {
      out.push_back(r);
      continue;
    }
    // Up to four pieces: the bands above and below, and the parts left and right.
    if (r.top < i.top) out.push_back({r.left, r.top, r.right, i.top});
    if (i.left > r.left) out.push_back({r.left, i.top, i.left, i.bottom});
    if (i.right < r.right) out.push_back({i.right, i.top, r.right, i.bottom});
    if (i.bottom < r.bottom) out.push_back({r.left, i.bottom, r.right, r.bottom});
  }
  rects_ = std::move(out);
}

bool Region::Contains(int x, int y) const {
  return std::any_of(rects_.begin(), rects_.end(), [&](const Rect& r) { return r.Contains(x, y); });
}

RegionType Region::Type() const {
  if (rects_.empty()) return RegionType::kNull;
  return rects_.size() == 1 ? RegionType::kSimple : RegionType::kComplex;
}

bool Region::operator==(const Region& o) const {
  // Equal when they cover the same pixels; compare through the bounding box.
  auto bounds = [](const Region& g) {
    Rect b{};
    bool first = true;
    for (const Rect& r : g.rects_) {
      if (first) {
        b = r;
        first = false;
      } else {
        b = {std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
             std::max(b.bottom, r.bottom)};
      }
    }
    return b;
  };
  Rect a = bounds(*this), b = bounds(o);
  if (a != b) return false;
  for (int y = a.top; y < a.bottom; ++y)
    for (int x = a.left; x < a.right; ++x)
      if (Contains(x, y) != o.Contains(x, y)) return false;
  return true;
}

}  // namespace vantiq
