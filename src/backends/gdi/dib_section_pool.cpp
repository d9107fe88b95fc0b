#include "backends/gdi/dib_section_pool.h"

#include "backends/gdi/gdi_surface_owned.h"

namespace vantiq {

struct DibSectionPool::Entry {
  std::unique_ptr<GdiSurface::Owned> owned;
  int width;
  int height;
  std::size_t Bytes() const { return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4; }
};

std::shared_ptr<DibSectionPool> DibSectionPool::Shared() {
  static std::mutex mutex;
  static std::weak_ptr<DibSectionPool> shared;
  const std::lock_guard<std::mutex> lock(mutex);
  std::shared_ptr<DibSectionPool> pool = shared.lock();
  if (!pool) {
    pool = std::make_shared<DibSectionPool>();
    shared = pool;
  }
  return pool;
}

DibSectionPool::DibSectionPool() = default;
DibSectionPool::~DibSectionPool() = default;

std::unique_ptr<GdiSurface> DibSectionPool::Take(int width, int height) {
  std::unique_ptr<GdiSurface::Owned> found;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      if (it->width == width && it->height == height) {
        found = std::move(it->owned);
        bytes_ -= it->Bytes();
        entries_.erase(std::next(it).base());
        break;
      }
    }
  }
  std::unique_ptr<GdiSurface> surface =
      found ? GdiSurface::Reuse(std::move(found), width, height)
            : GdiSurface::CreateDibSection(width, height, GdiSurface::Rows::kBottomUp);
  if (surface) surface->ReturnTo(weak_from_this());
  return surface;
}

std::size_t DibSectionPool::Kept() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

void DibSectionPool::Keep(std::unique_ptr<GdiSurface::Owned> owned, int width, int height) {
  Entry entry{std::move(owned), width, height};
  if (entry.Bytes() > kMaxBytes) return;
  std::vector<Entry> evicted;  // deleted once the lock is let go
  const std::lock_guard<std::mutex> lock(mutex_);
  bytes_ += entry.Bytes();
  entries_.push_back(std::move(entry));
  while (entries_.size() > kMaxSections || bytes_ > kMaxBytes) {
    bytes_ -= entries_.front().Bytes();
    evicted.push_back(std::move(entries_.front()));
    entries_.erase(entries_.begin());
  }
}

}  // namespace vantiq
