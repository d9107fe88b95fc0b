// Loading a saved state from a bag a hostile page or file filled: any names, any types,
// any values, known keys among them. The control must load what it can, skip the rest,
// and paint.
#include <cmath>
#include <memory>

#include "backends/soft/bitmap_picture.h"
#include "control/memory_property_bag.h"
#include "control/persistence.h"
#include "fuzz_input.h"
#include "started_control.h"

namespace {

using vantiq::fuzz::FuzzInput;

const char16_t* const kKeys[] = {
    u"BackColor", u"BackgroundPicture", u"Caption", u"CaptionCallBack", u"Font", u"ForeColor",
    u"AlternateForeColor", u"Max", u"Min", u"Orientation", u"ProgressColor", u"ProgressPicture",
    u"RightToLeft", u"Scrolling", u"SearchCaption", u"SegmentBorders", u"SegmentBorderColor",
    u"Shadow", u"ShadowColor", u"AlternateShadowColor", u"ShadowIntensity", u"ShowCaption",
    u"Style", u"TextAlignment", u"Value", u"PercentFormat"};

vantiq::Variant AnyValue(FuzzInput& in, vantiq::fuzz::StartedControl& run) {
  switch (in.Byte() % 10) {
    case 0: return std::monostate{};
    case 1: return in.Raw<std::int16_t>();
    case 2: return in.Raw<std::int32_t>();
    case 3: return in.Raw<double>();
    case 4: return (in.Byte() & 1) != 0;
    case 5: return in.Text(1024);
    case 6: return in.ByteText(32);  // numbers and "&H..." as text
    case 7: {
      auto font = std::make_shared<vantiq::StdFont>();
      font->SetName(in.Text(64));
      font->SetSize(in.Raw<double>());
      font->SetBold(in.Byte() & 1);
      return vantiq::FontRef(font);
    }
    case 8: return vantiq::PictureRef(std::make_shared<vantiq::BitmapPicture>(
        run.Bitmap(in.Byte() % 8 + 1, in.Byte() % 8 + 1, in.Raw<std::uint32_t>() & 0xFFFFFF)));
    default: return vantiq::PictureRef(std::make_shared<vantiq::BitmapPicture>(in.Raw<std::uint32_t>()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  vantiq::fuzz::StartedControl run;
  vantiq::MemoryPropertyBag bag;
  for (int i = 0; i < 40 && !in.Empty(); ++i) {
    const std::uint8_t pick = in.Byte();
    const std::u16string name = pick < 230 ? std::u16string(kKeys[pick % 26]) : in.Text(64);
    bag.Set(name, AnyValue(in, run));
  }
  vantiq::ReadProperties(*run.control, bag);
  run.control->Paint();
  // What was loaded saves again, and loads again.
  vantiq::MemoryPropertyBag saved;
  vantiq::WriteProperties(*run.control, saved);
  vantiq::ReadProperties(*run.control, saved);
  run.control->Paint();
  return 0;
}
