// A host that records what the control asks of it and answers from scripted state.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "caption/number_format.h"
#include "control/host.h"
#include "draw/surface.h"

namespace vantiq::testing {

class RecordingHost : public Host {
 public:
  // --- Scripted answers --------------------------------------------------------
  WindowHandle windowHandle = 0;
  std::shared_ptr<Surface> deviceContext;  // the window's own surface
  int width = 0;
  int height = 0;
  bool userMode = true;
  std::optional<bool> ambientRightToLeft = false;  // nullopt: cannot answer
  std::optional<std::u16string> toolTipText = std::u16string();  // nullopt: no extender
  bool propertyChangedFails = false;
  bool baseRefusesPointer = false;
  // Run inside ProgressTextCallBack and the mouse events with their by-reference arguments.
  std::function<void(double&, double&, double&, std::u16string&)> onProgressText;
  std::function<void(std::int16_t&, std::int16_t&, float&, float&)> onMouse;

  // --- What the control did ------------------------------------------------------
  std::vector<std::u16string> changes;  // PropertyChanged names, in order
  int scaleModeCalls = 0;
  FontRef baseFont;
  bool baseEnabled = true;
  std::int16_t baseMousePointer = 0;
  PictureRef baseMouseIcon;
  std::vector<std::u16string> events;
  int toolTipWrites = 0;  // SetExtenderToolTipText calls

  // The number of notifications with this name.
  int ChangeCount(const std::u16string& name) const;

  WindowHandle BaseWindowHandle() override { return windowHandle; }
  std::shared_ptr<Surface> BaseDeviceContext() override { return deviceContext; }
  void SetScaleModePixels() override { ++scaleModeCalls; }
  int ScaleWidth() override { return width; }
  int ScaleHeight() override { return height; }
  void SetBaseFont(const FontRef& font) override { baseFont = font; }
  FontRef BaseFont() override { return baseFont; }
  bool BaseEnabled() override { return baseEnabled; }
  void SetBaseEnabled(bool enabled) override { baseEnabled = enabled; }
  std::int16_t BaseMousePointer() override { return baseMousePointer; }
  void SetBaseMousePointer(std::int16_t pointer) override;
  PictureRef BaseMouseIcon() override { return baseMouseIcon; }
  void SetBaseMouseIcon(const PictureRef& icon) override { baseMouseIcon = icon; }
  // A fixed-pitch stand-in: 6 pixels a character, 13 pixels high.
  int TextWidth(const std::u16string& text) override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(const std::u16string&) override { return 13; }
  FontRef CreateStandardFont() override { return std::make_shared<StdFont>(); }
  bool AmbientUserMode() override { return userMode; }
  bool AmbientRightToLeft() override;
  std::u16string ExtenderToolTipText() override;
  void SetExtenderToolTipText(const std::u16string& text) override;
  void FormatNumber(double value, const std::u16string& pattern, std::u16string& out) override;
  void PropertyChanged(const std::u16string& name) override;
  void RaiseProgressTextCallBack(double& value, double& min, double& max,
                                 std::u16string& text) override;
  void RaiseClick() override { events.push_back(u"Click"); }
  void RaiseMouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    Mouse(u"MouseMove", b, s, x, y);
  }
  void RaiseMouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    Mouse(u"MouseDown", b, s, x, y);
  }
  void RaiseMouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    Mouse(u"MouseUp", b, s, x, y);
  }

 private:
  void Mouse(const char16_t* event, std::int16_t& b, std::int16_t& s, float& x, float& y) {
    events.push_back(event);
    if (onMouse) onMouse(b, s, x, y);
  }

  NumberFormatter numbers_;
};

}  // namespace vantiq::testing
