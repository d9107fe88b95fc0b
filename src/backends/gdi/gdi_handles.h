// Owners for GDI handles: one move-only type per handle kind, and a guard that puts
// back the object a device context had selected before.
#pragma once

#include <windows.h>

#include <utility>

namespace vantiq {
namespace gdi {

// A brush, pen, region or bitmap, released with DeleteObject.
template <typename Handle>
class Object {
 public:
  Object() = default;
  explicit Object(Handle handle) : handle_(handle) {}
  ~Object() { Reset(); }

  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Object& operator=(Object&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) ::DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Rgn = Object<HRGN>;
using Bitmap = Object<HBITMAP>;
using Font = Object<HFONT>;

// A device context made with CreateDC or CreateCompatibleDC, released with DeleteDC.
class Dc {
 public:
  Dc() = default;
  explicit Dc(HDC dc) : dc_(dc) {}
  ~Dc() { Reset(); }

  Dc(const Dc&) = delete;
  Dc& operator=(const Dc&) = delete;
  Dc(Dc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  Dc& operator=(Dc&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.dc_, nullptr));
    return *this;
  }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset(HDC dc = nullptr) {
    if (dc_) ::DeleteDC(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_ = nullptr;
};

// Selects an object into a device context and selects the previous one back when it
// goes out of scope, so the object can then be deleted.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
  }
  ~SelectGuard() {
    if (previous_) ::SelectObject(dc_, previous_);
  }

  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  SelectGuard(SelectGuard&& other) noexcept
      : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectGuard& operator=(SelectGuard&&) = delete;

  // False when SelectObject failed (nothing was selected, nothing will be restored).
  bool Selected() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace gdi
}  // namespace vantiq
