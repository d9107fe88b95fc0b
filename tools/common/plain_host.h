// The smallest container for tools: one window and its surface, pixel scale, run
// time, no extender, notifications and events dropped.
#pragma once

#include <functional>
#include <memory>

#include "caption/number_format.h"
#include "control/host.h"
#include "draw/surface.h"

namespace vantiq::tools {

class PlainHost : public Host {
 public:
  PlainHost(WindowHandle hwnd, Surface& screen, int width, int height)
      : hwnd_(hwnd), screen_(screen), width_(width), height_(height) {}

  // The window was resized; the screen surface must cover the new size.
  void Resize(int width, int height) {
    width_ = width;
    height_ = height;
  }

  WindowHandle BaseWindowHandle() override { return hwnd_; }
  // The tool owns the screen and outlives every paint on it.
  std::shared_ptr<Surface> BaseDeviceContext() override {
    return std::shared_ptr<Surface>(std::shared_ptr<Surface>(), &screen_);
  }
  void SetScaleModePixels() override {}
  int ScaleWidth() override { return width_; }
  int ScaleHeight() override { return height_; }
  void SetBaseFont(const FontRef& font) override { font_ = font; }
  FontRef BaseFont() override { return font_; }
  bool BaseEnabled() override { return true; }
  void SetBaseEnabled(bool) override {}
  std::int16_t BaseMousePointer() override { return 0; }
  void SetBaseMousePointer(std::int16_t) override {}
  PictureRef BaseMouseIcon() override { return nullptr; }
  void SetBaseMouseIcon(const PictureRef&) override {}
  int TextWidth(const std::u16string& text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(const std::u16string&) override { return 13; }
  FontRef CreateStandardFont() override { return std::make_shared<StdFont>(); }
  bool AmbientUserMode() override { return true; }
  bool AmbientRightToLeft() override { return false; }
  std::u16string ExtenderToolTipText() override { return {}; }
  void SetExtenderToolTipText(const std::u16string&) override {}
  void FormatNumber(double value, const std::u16string& pattern, std::u16string& out) override;
  void PropertyChanged(const std::u16string&) override {}
  void RaiseProgressTextCallBack(double& value, double& min, double& max, std::u16string& text) override {
    if (onProgressText) onProgressText(value, min, max, text);
  }
  void RaiseClick() override {}
  void RaiseMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  void RaiseMouseDown(std::int16_t&, std::int16_t&, float&, float&) override {}
  void RaiseMouseUp(std::int16_t&, std::int16_t&, float&, float&) override {}

  // Answers ProgressTextCallBack, as a host's handler would.
  std::function<void(double&, double&, double&, std::u16string&)> onProgressText;

 private:
  WindowHandle hwnd_;
  Surface& screen_;
  int width_;
  int height_;
  FontRef font_;
  NumberLocale locale_;
  NumberFormatter numbers_;
};

}  // namespace vantiq::tools
