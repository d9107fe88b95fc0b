// A started control driven by any sequence of property writes, resizes, show and hide,
// paints and caption callbacks, drawing on the software surface: nothing it is given
// may make it fault or touch memory it does not own.
#include <cmath>
#include <memory>
#include <vector>

#include "backends/soft/bitmap_picture.h"
#include "common/runtime_error.h"
#include "fuzz_input.h"
#include "started_control.h"

namespace {

using vantiq::fuzz::FuzzInput;

double AnyDouble(FuzzInput& in) {
  switch (in.Byte() % 6) {
    case 0: return std::nan("");
    case 1: return INFINITY;
    case 2: return -INFINITY;
    case 3: return static_cast<double>(static_cast<std::int8_t>(in.Byte()));
    default: return in.Raw<double>();
  }
}

std::int32_t AnyInt(FuzzInput& in) {
  return (in.Byte() & 1) ? static_cast<std::int32_t>(in.Byte() % 8) - 2 : in.Raw<std::int32_t>();
}

void Step(vantiq::fuzz::StartedControl& run, FuzzInput& in) {
  vantiq::Vantiq& c = *run.control;
  vantiq::tools::PlainHost& host = run.host;
  switch (in.Byte() % 32) {
    case 0: c.SetValue(AnyDouble(in)); break;
    case 1: c.SetMin(AnyDouble(in)); break;
    case 2: c.SetMax(AnyDouble(in)); break;
    case 3: c.props().m_dValue = AnyDouble(in); break;  // as a callback handler may leave it
    case 4: c.SetStyle(AnyInt(in)); break;
    case 5: c.SetScrolling(AnyInt(in)); break;
    case 6: c.SetOrientation(AnyInt(in)); break;
    case 7: c.SetTextAlignment(AnyInt(in)); break;
    case 8: c.SetCaption(in.Text(512)); break;
    case 9: c.SetSearchCaption(in.ByteText(512)); break;
    case 10: c.SetPercentFormat(in.Text(256)); break;
    case 11: c.SetShadow(in.Byte() & 1); break;
    case 12: c.SetShadowIntensity(AnyInt(in)); break;
    case 13: c.SetRightToLeft(in.Byte() & 1); break;
    case 14: c.SetShowCaption(in.Byte() & 1); break;
    case 15: c.SetCaptionCallBack(in.Byte() & 1); break;
    case 16: c.SetSegmentBorders(in.Byte() & 1); break;
    case 17: c.SetForeColor(in.Raw<std::uint32_t>()); break;
    case 18: c.SetBackColor(in.Raw<std::uint32_t>()); break;
    case 19: c.SetProgressColor(in.Raw<std::uint32_t>()); break;
    case 20: c.SetAlternateForeColor(in.Raw<std::uint32_t>()); break;
    case 21: c.SetSegmentBorderColor(in.Raw<std::uint32_t>()); break;
    case 22: {
      const int w = in.Byte() % 9 + 1, h = in.Byte() % 9 + 1;
      auto picture = std::make_shared<vantiq::BitmapPicture>(run.Bitmap(w, h, in.Raw<std::uint32_t>() & 0xFFFFFF));
      (in.Byte() & 1) ? c.SetProgressPicture(picture) : c.SetBackgroundPicture(picture);
      break;
    }
    case 23: c.SetProgressPicture(nullptr); c.SetBackgroundPicture(nullptr); break;
    case 24: {
      const int w = static_cast<int>(in.Byte() % vantiq::fuzz::StartedControl::kMaxWidth), h = static_cast<int>(in.Byte() % vantiq::fuzz::StartedControl::kMaxHeight);
      run.platform.Window(run.hwnd)->client = {0, 0, w, h};
      host.Resize(w, h);
      c.Resize();
      break;
    }
    case 25: (in.Byte() & 1) ? c.Show() : c.Hide(); break;
    case 26: c.Font()->SetSize(AnyDouble(in)); break;
    case 27: c.Font()->SetBold(in.Byte() & 1); break;
    case 28: c.Font()->SetName(in.Text(64)); break;
    case 29: run.platform.visualStyles = in.Byte() & 1; c.RefreshThemeState(run.hwnd, 794, 0, 0); break;
    case 30: {
      const std::u16string text = in.Text(64);
      const double value = AnyDouble(in);
      host.onProgressText = [text, value](double& v, double&, double& max, std::u16string& t) {
        t = text;
        v = value;
        max = value;
      };
      break;
    }
    default: c.Paint(); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  vantiq::fuzz::StartedControl run;
  for (int steps = 0; steps < 64 && !in.Empty(); ++steps) {
    try {
      Step(run, in);
    } catch (const vantiq::RuntimeError&) {
      // Setters may refuse with a run-time error; the control must carry on.
    }
  }
  run.control->Paint();
  return 0;
}
