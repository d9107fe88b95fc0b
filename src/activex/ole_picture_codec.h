// Pictures in the control's saved stream, as OLE saves and loads them: the picture
// object's own IPersistStream writes the bytes, OleLoadPicture makes a picture of them.
#pragma once

#include "control/property_stream.h"

namespace vantiq::activex {

class OlePictureCodec final : public PictureCodec {
 public:
  // Throws RuntimeError for a picture not held in an OLE picture object, or one that
  // cannot save itself.
  std::vector<std::uint8_t> Save(const PictureObject& picture) override;
  // Throws RuntimeError when the bytes are no picture OLE can load.
  PictureRef Load(const std::uint8_t* data, std::size_t size) override;
};

}  // namespace vantiq::activex
