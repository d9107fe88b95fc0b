#include "activex/ole_picture_codec.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "activex/com_picture.h"
#include "activex/control_identity.h"
#include "activex/error_info.h"
#include "activex/saved_picture.h"

namespace vantiq::activex {

std::vector<std::uint8_t> OlePictureCodec::Save(const PictureObject& picture) {
  const auto* com = dynamic_cast<const ComPicture*>(&picture);
  if (!com) throw RuntimeError(kErrInvalidPropertyValue);
  // A bitmap in the picture's own saved form, written here (saved_picture.h).
  if (auto ipicture = com->Disp().As<IPicture>(IID_IPicture)) {
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(ipicture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(ipicture->get_Handle(&handle))) {
      std::vector<std::uint8_t> bytes =
          SaveBitmapPicture(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
      if (bytes.empty()) throw RuntimeError(kErrInvalidPropertyValue);
      return bytes;
    }
  }
  // Icons and metafiles save themselves.
  auto persist = com->Disp().As<IPersistStream>(IID_IPersistStream);
  if (!persist) throw RuntimeError(kErrInvalidPropertyValue);
  ComPtr<IStream> stream;
  ThrowIfFailed(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
  ThrowIfFailed(persist->Save(stream.Get(), FALSE));
  STATSTG stat{};
  ThrowIfFailed(stream->Stat(&stat, STATFLAG_NONAME));
  HGLOBAL memory = nullptr;
  ThrowIfFailed(GetHGlobalFromStream(stream.Get(), &memory));
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
  if (!bytes.empty()) {
    const void* data = GlobalLock(memory);
    if (!data) throw RuntimeError::FromHResult(E_OUTOFMEMORY);
    std::memcpy(bytes.data(), data, bytes.size());
    GlobalUnlock(memory);
  }
  return bytes;
}

PictureRef OlePictureCodec::Load(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 0x7FFFFFFF) throw RuntimeError(kErrInvalidPropertyValue);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) throw RuntimeError::FromHResult(E_OUTOFMEMORY);
  void* target = GlobalLock(memory);
  std::memcpy(target, data, size);
  GlobalUnlock(memory);
  ComPtr<IStream> stream;
  const HRESULT hr = CreateStreamOnHGlobal(memory, TRUE, stream.Put());
  if (FAILED(hr)) {
    GlobalFree(memory);
    ThrowIfFailed(hr);
  }
  ComPtr<IPictureDisp> picture;
  ThrowIfFailed(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPictureDisp,
                               reinterpret_cast<void**>(picture.Put())));
  if (!picture) throw RuntimeError(kErrInvalidPropertyValue);
  return std::make_shared<ComPicture>(std::move(picture));
}

}  // namespace vantiq::activex
