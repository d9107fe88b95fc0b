// The host the control sees when it lives in a COM object. Until a container gives it a
// window, a client site or event connections, it answers as a control with none of
// them: no window (handle 0, no drawing surface), no ambient properties (run time,
// left-to-right), no extender; change notifications and events go nowhere.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "activex/com_ptr.h"
#include "caption/number_format.h"
#include "control/host.h"

namespace vantiq::activex {

// Where the container hears from the control: its IPropertyNotifySink connections and
// the connections of the event interface. The OLE embedding implements it.
class ContainerLink {
 public:
  virtual ~ContainerLink() = default;
  virtual void OnPropertyChanged(const std::u16string& name) = 0;
  // Calls every connected event sink; by-reference arguments come back changed.
  virtual void FireEvent(DISPID dispid, DISPPARAMS& params) = 0;
};

class ComHost final : public Host {
 public:
  ComHost() = default;
  ComHost(const ComHost&) = delete;
  ComHost& operator=(const ComHost&) = delete;

  // --- What the embedding supplies as the container appears (each may stay empty) ---
  // The control's window and the surface drawn on it; null for none.
  void SetWindow(HWND window, std::shared_ptr<Surface> surface) {
    window_ = window;
    surface_ = std::move(surface);
  }
  HWND Window() const { return window_; }
  // The client site's ambient properties (its IDispatch); null for none.
  void SetAmbientDispatch(IDispatch* ambient) {
    ambient_ = ComPtr<IDispatch>(ambient);
    userMode_.reset();
  }
  // UserMode as the container gave it beforehand (quick activation).
  void SetAmbientUserMode(bool userMode) { userMode_ = userMode; }
  // The container says an ambient property changed (DISPID_UNKNOWN: any of them): an
  // answer kept from before is asked again.
  void AmbientChanged(DISPID dispid);
  // The extender object that holds ToolTipText; null for none.
  void SetExtender(IDispatch* extender) { extender_ = ComPtr<IDispatch>(extender); }
  // Not owned; null drops notifications and events.
  void SetContainerLink(ContainerLink* link) { link_ = link; }

  // --- Host -----------------------------------------------------------------------
  WindowHandle BaseWindowHandle() override { return reinterpret_cast<WindowHandle>(window_); }
  std::shared_ptr<Surface> BaseDeviceContext() override { return surface_; }
  // Everything this host measures is in pixels already.
  void SetScaleModePixels() override {}
  int ScaleWidth() override;
  int ScaleHeight() override;

  void SetBaseFont(const FontRef& font) override { font_ = font; }
  FontRef BaseFont() override { return font_; }
  bool BaseEnabled() override { return enabled_; }
  void SetBaseEnabled(bool enabled) override;
  std::int16_t BaseMousePointer() override { return pointer_; }
  void SetBaseMousePointer(std::int16_t pointer) override { pointer_ = pointer; }
  PictureRef BaseMouseIcon() override { return icon_; }
  void SetBaseMouseIcon(const PictureRef& icon) override { icon_ = icon; }

  int TextWidth(const std::u16string& text) override;
  int TextHeight(const std::u16string& text) override;

  FontRef CreateStandardFont() override;

  // A container that cannot say is taken as one at run time. The answer is kept until
  // the container reports a change (AmbientChanged).
  bool AmbientUserMode() override;
  // Throws when the container cannot say, so start-up keeps left-to-right.
  bool AmbientRightToLeft() override;

  std::u16string ExtenderToolTipText() override;
  void SetExtenderToolTipText(const std::u16string& text) override;

  void FormatNumber(double value, const std::u16string& pattern, std::u16string& out) override;

  void PropertyChanged(const std::u16string& name) override;
  // Keeps the text and tells accessibility clients when it changed.
  void CaptionShown(const std::u16string& text) override;
  // What the last drawn paint's caption showed; empty before the first and without one.
  const std::u16string& ShownCaption() const { return shownCaption_; }

  void RaiseProgressTextCallBack(double& value, double& min, double& max,
                                 std::u16string& text) override;
  void RaiseClick() override;
  void RaiseMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void RaiseMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void RaiseMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;

 private:
  // The ambient property's value as a Boolean; nothing when the container cannot say.
  std::optional<bool> AmbientBool(DISPID dispid);
  SIZE MeasureText(const std::u16string& text);
  void RaiseMouse(DISPID dispid, std::int16_t& button, std::int16_t& shift, float& x, float& y);

  HWND window_ = nullptr;
  std::shared_ptr<Surface> surface_;
  ComPtr<IDispatch> ambient_;
  std::optional<bool> userMode_;
  ComPtr<IDispatch> extender_;
  ContainerLink* link_ = nullptr;
  std::u16string shownCaption_;
  NumberLocale locale_;  // read again for every number; kept for its storage
  NumberFormatter numbers_;

  FontRef font_;
  bool enabled_ = true;
  std::int16_t pointer_ = 0;
  PictureRef icon_;
};

}  // namespace vantiq::activex
