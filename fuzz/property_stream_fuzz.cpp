// Loading the control's binary saved state from any bytes: a stream is either refused
// whole, leaving every property as it was, or loaded; either way the control paints.
#include <memory>
#include <vector>

#include "backends/soft/bitmap_picture.h"
#include "control/property_stream.h"
#include "fuzz_input.h"
#include "started_control.h"

namespace {

// Pictures as four bytes of a colour; anything else is refused.
class ColourCodec : public vantiq::PictureCodec {
 public:
  explicit ColourCodec(vantiq::fuzz::StartedControl& run) : run_(run) {}
  std::vector<std::uint8_t> Save(const vantiq::PictureObject& picture) override {
    const std::uint32_t handle = static_cast<std::uint32_t>(picture.Handle());
    return {static_cast<std::uint8_t>(handle), static_cast<std::uint8_t>(handle >> 8),
            static_cast<std::uint8_t>(handle >> 16), static_cast<std::uint8_t>(handle >> 24)};
  }
  vantiq::PictureRef Load(const std::uint8_t* data, std::size_t size) override {
    if (size != 4) throw vantiq::RuntimeError(481);  // not a picture
    const vantiq::ColorRef color = data[0] | data[1] << 8 | data[2] << 16;
    return std::make_shared<vantiq::BitmapPicture>(run_.Bitmap(2, 2, color));
  }

 private:
  vantiq::fuzz::StartedControl& run_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantiq::fuzz::StartedControl run;
  ColourCodec codec(run);
  const std::vector<std::uint8_t> before = vantiq::SavePropertyStream(*run.control, codec);
  const vantiq::StreamLoadResult result = vantiq::LoadPropertyStream(*run.control, data, size, codec);
  if (result.error != vantiq::StreamError::kNone) {
    if (result.consumed != 0) vantiq::fuzz::Fail("a refused stream consumed bytes");
    if (vantiq::SavePropertyStream(*run.control, codec) != before) vantiq::fuzz::Fail("refused but changed");
  } else if (result.consumed > size) {
    vantiq::fuzz::Fail("consumed more than it was given");
  }
  run.control->Paint();
  // The parser alone agrees with the loader, which refuses more only for its pictures.
  const vantiq::ParsedPropertyStream parsed = vantiq::ParsePropertyStream(data, size);
  if (result.error != vantiq::StreamError::kObjectRefused && parsed.error != result.error)
    vantiq::fuzz::Fail("the parser and the loader disagree");
  if (parsed.error == vantiq::StreamError::kNone && parsed.consumed > size) vantiq::fuzz::Fail("parsed past the end");
  return 0;
}
