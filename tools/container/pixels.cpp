// Pixels read back from windows and views, and memory streams and storages.
#include <cstring>

#include "container/container.h"

namespace vantiq::container {

namespace {

// A top-down 32-bit DIB section in a memory DC, selected for the object's life.
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryBitmap() {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Ok() const { return old_ != nullptr && bits_ != nullptr; }
  HDC Dc() const { return dc_; }

  Pixels Read() const {
    GdiFlush();
    Pixels pixels;
    pixels.width = width_;
    pixels.height = height_;
    pixels.data.resize(static_cast<std::size_t>(width_) * height_);
    const auto* source = static_cast<const std::uint32_t*>(bits_);
    for (std::size_t i = 0; i < pixels.data.size(); ++i) {
      const std::uint32_t p = source[i];  // 0xAARRGGBB
      pixels.data[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    return pixels;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

}  // namespace

Pixels Capture(HWND window) {
  RECT client{};
  if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return {};
  MemoryBitmap copy(client.right, client.bottom);
  if (!copy.Ok()) return {};
  // A DC of the cache, whatever the window's class says, and without the children cut
  // out: a frame's capture shows its controls.
  HDC source = GetDCEx(window, nullptr, DCX_CACHE);
  if (!source) return {};
  BitBlt(copy.Dc(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
  ReleaseDC(window, source);
  return copy.Read();
}

Pixels DrawView(IUnknown* control, int width, int height, COLORREF background) {
  return DrawView(control, width, height, background, RECTL{0, 0, width, height}, [](HDC) {}, false);
}

Pixels DrawView(IUnknown* control, int width, int height, COLORREF background, const RECTL& bounds,
                const std::function<void(HDC)>& prepare, bool metafile) {
  ComPtr<IViewObject> view;
  if (!control ||
      FAILED(control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(view.Put()))))
    return {};
  MemoryBitmap copy(width, height);
  if (!copy.Ok()) return {};
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(copy.Dc(), &all, brush);
  DeleteObject(brush);
  HDC target = copy.Dc();
  if (metafile) {
    // The picture frame (0.01 mm) of all w x h pixels of the memory DC.
    const RECT frame{0, 0,
                     MulDiv(width, GetDeviceCaps(target, HORZSIZE) * 100, GetDeviceCaps(target, HORZRES)),
                     MulDiv(height, GetDeviceCaps(target, VERTSIZE) * 100, GetDeviceCaps(target, VERTRES))};
    target = CreateEnhMetaFileW(copy.Dc(), nullptr, &frame, nullptr);
    if (!target) return {};
  }
  const int saved = SaveDC(target);
  prepare(target);
  const HRESULT hr = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, target, &bounds,
                                nullptr, nullptr, 0);
  RestoreDC(target, saved);
  if (metafile) {
    HENHMETAFILE recorded = CloseEnhMetaFile(target);
    if (!recorded) return {};
    const BOOL played = PlayEnhMetaFile(copy.Dc(), recorded, &all);
    DeleteEnhMetaFile(recorded);
    if (!played) return {};
  }
  if (FAILED(hr)) return {};
  return copy.Read();
}

ComPtr<IStream> NewStream(const std::vector<std::uint8_t>& bytes) {
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
  if (!bytes.empty()) {
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
  }
  return stream;
}

std::vector<std::uint8_t> StreamBytes(IStream* stream) {
  std::vector<std::uint8_t> bytes;
  STATSTG stat{};
  if (!stream || FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return bytes;
  LARGE_INTEGER start{};
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return bytes;
  bytes.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
  ULONG got = 0;
  if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got);
  bytes.resize(got);
  return bytes;
}

ComPtr<IStorage> NewStorage() {
  ComPtr<ILockBytes> bytes;
  ComPtr<IStorage> storage;
  if (SUCCEEDED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Put())))
    StgCreateDocfileOnILockBytes(bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                 storage.Put());
  return storage;
}

}  // namespace vantiq::container
