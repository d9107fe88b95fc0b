// DIB sections a paint frees, kept for the next request of the same size: the caption's
// shadow makes and frees several in every paint it draws, and under GDI making them costs
// more than drawing into them. One pool for the process, since GDI objects are counted
// per process: a few sections at most, and all of them freed when the last platform
// holding the pool goes.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "backends/gdi/gdi_surface.h"

namespace vantiq {

class DibSectionPool : public std::enable_shared_from_this<DibSectionPool> {
 public:
  static constexpr std::size_t kMaxSections = 8;
  static constexpr std::size_t kMaxBytes = std::size_t{1} << 20;

  // The process's pool, made when first asked for while nobody holds one.
  static std::shared_ptr<DibSectionPool> Shared();

  DibSectionPool();
  ~DibSectionPool();
  DibSectionPool(const DibSectionPool&) = delete;
  DibSectionPool& operator=(const DibSectionPool&) = delete;

  // A bottom-up 32-bit section of width x height, all zero: one kept here, or a new one.
  // It comes back here when the surface goes. Null when a new one cannot be made.
  std::unique_ptr<GdiSurface> Take(int width, int height);
  // How many sections wait here.
  std::size_t Kept() const;

 private:
  friend class GdiSurface;
  struct Entry;
  // From a pooled surface as it goes; the oldest make room, and what is too large for
  // the pool is deleted.
  void Keep(std::unique_ptr<GdiSurface::Owned> owned, int width, int height);

  mutable std::mutex mutex_;
  std::vector<Entry> entries_;  // oldest first
  std::size_t bytes_ = 0;
};

}  // namespace vantiq
