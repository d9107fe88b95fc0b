// Pictures that are their own bytes, and a codec that saves and loads them as they are;
// either direction can be made to fail. Shared by the stream tests and the benchmarks.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/runtime_error.h"
#include "control/property_stream.h"
#include "draw/picture.h"

namespace vantiq::testing {

struct BytesPicture : PictureObject {
  explicit BytesPicture(std::vector<std::uint8_t> b) : bytes(std::move(b)) {}
  std::uintptr_t Handle() const override { return bytes.size(); }
  std::vector<std::uint8_t> bytes;
};

class BytesCodec : public PictureCodec {
 public:
  std::vector<std::uint8_t> Save(const PictureObject& picture) override {
    if (failSave) throw RuntimeError(5);
    return static_cast<const BytesPicture&>(picture).bytes;
  }
  PictureRef Load(const std::uint8_t* data, std::size_t size) override {
    if (failLoad) throw RuntimeError(481);
    return std::make_shared<BytesPicture>(std::vector<std::uint8_t>(data, data + size));
  }
  bool failSave = false, failLoad = false;
};

}  // namespace vantiq::testing
