// IPersistStreamInit and IPersistStorage: the control's saved properties in the binary
// form of property_stream.h, in a stream of its own or in the stream "Contents" of a
// storage. A stream that is cut short or damaged is refused whole: the control keeps
// every property it had.
#include <olectl.h>

#include <string>

#include "activex/control_object.h"
#include "activex/error_info.h"
#include "activex/ole_picture_codec.h"
#include "control/property_stream.h"

namespace vantiq::activex {

namespace {

constexpr wchar_t kContentsStream[] = L"Contents";
constexpr int kErrInvalidFileFormat = 321;  // CTL_E_INVALIDFILEFORMAT
constexpr ULONG kReadChunk = 64 * 1024;

HRESULT Refuse(StreamError error) {
  const std::string text = Describe(error);
  return ReportError(RuntimeError(kErrInvalidFileFormat, std::u16string(text.begin(), text.end())),
                     IID_IPersistStreamInit);
}

// Reads up to `size` more bytes onto the end of `bytes`, in chunks, so that a damaged
// length costs no more memory than the stream really holds.
HRESULT ReadMore(IStream* stream, std::vector<std::uint8_t>& bytes, std::size_t size) {
  std::size_t wanted = size;
  while (wanted > 0) {
    const ULONG chunk = wanted < kReadChunk ? static_cast<ULONG>(wanted) : kReadChunk;
    const std::size_t at = bytes.size();
    bytes.resize(at + chunk);
    ULONG got = 0;
    const HRESULT hr = stream->Read(bytes.data() + at, chunk, &got);
    bytes.resize(at + got);
    if (FAILED(hr)) return hr;
    if (got == 0) break;
    wanted -= got;
  }
  return S_OK;
}

}  // namespace

STDMETHODIMP ControlObject::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  KeepAlive hold(outer_);  // the values loaded repaint, and painting raises events
  // Whatever the outcome, quickly connected sinks hear what follows the load.
  struct GoLive {
    bool& quiet;
    ~GoLive() { quiet = false; }
  } goLive{quietUntilState_};
  std::vector<std::uint8_t> bytes;
  HRESULT hr = ReadMore(stream, bytes, kPropertyStreamHeaderSize);
  if (FAILED(hr)) return hr;
  StreamError error = StreamError::kTruncated;
  const std::size_t total = bytes.size() == kPropertyStreamHeaderSize
                                ? PropertyStreamSize(bytes.data(), bytes.size(), error)
                                : 0;
  if (total == 0) return Refuse(error);
  hr = ReadMore(stream, bytes, total - bytes.size());
  if (FAILED(hr)) return hr;
  StreamLoadResult result;
  hr = Guarded(IID_IPersistStreamInit, [&] {
    OlePictureCodec codec;
    result = LoadPropertyStream(control_, bytes.data(), bytes.size(), codec);
  });
  if (FAILED(hr)) return hr;
  if (result.error != StreamError::kNone) return Refuse(result.error);
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP ControlObject::Save(LPSTREAM stream, BOOL clearDirty) {
  if (!stream) return E_POINTER;
  std::vector<std::uint8_t> bytes;
  HRESULT hr = Guarded(IID_IPersistStreamInit, [&] {
    OlePictureCodec codec;
    bytes = SavePropertyStream(control_, codec);
  });
  if (FAILED(hr)) return hr;
  ULONG written = 0;
  hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (FAILED(hr)) return hr;
  if (written != bytes.size()) return STG_E_MEDIUMFULL;
  if (clearDirty) dirty_ = false;
  return S_OK;
}

STDMETHODIMP ControlObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return Guarded(IID_IPersistStreamInit, [&] {
    OlePictureCodec codec;
    size->QuadPart = SavePropertyStream(control_, codec).size();
  });
}

STDMETHODIMP ControlObject::InitNew(IStorage* storage) {
  if (!storage) return E_POINTER;
  return InitNew();
}

STDMETHODIMP ControlObject::Load(IStorage* storage) {
  if (!storage) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                         0, stream.Put());
  if (FAILED(hr)) return hr;
  return Load(stream.Get());
}

STDMETHODIMP ControlObject::Save(IStorage* storage, BOOL sameAsLoad) {
  if (!storage) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT hr = storage->CreateStream(
      kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put());
  if (FAILED(hr)) return hr;
  // Saved into the storage it came from, the control is up to date with it.
  return Save(stream.Get(), sameAsLoad);
}

// The control keeps no storage open between calls: nothing to finish or let go.
STDMETHODIMP ControlObject::SaveCompleted(IStorage* /*storage*/) { return S_OK; }

STDMETHODIMP ControlObject::HandsOffStorage() { return S_OK; }

}  // namespace vantiq::activex
