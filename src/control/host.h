// What the control asks of its container: the control base, the ambient and extender
// properties, change notification and event raising. The COM shell implements it over
// OLE; tests implement it with a recording host. A failing service throws RuntimeError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/types.h"
#include "draw/font.h"
#include "draw/picture.h"

namespace vantiq {

class Surface;

class Host {
 public:
  virtual ~Host() = default;

  // The base's window and device context; the handle can change between resizes.
  virtual WindowHandle BaseWindowHandle() = 0;
  // The base's own drawing surface (its device context); null when there is none. The
  // control keeps it while it draws on it, so the host may replace it at any time.
  virtual std::shared_ptr<Surface> BaseDeviceContext() = 0;
  // Scale mode 3: from then on sizes and mouse coordinates are pixels.
  virtual void SetScaleModePixels() = 0;
  // The control's client size in pixels.
  virtual int ScaleWidth() = 0;
  virtual int ScaleHeight() = 0;

  // Properties the base keeps.
  virtual void SetBaseFont(const FontRef& font) = 0;
  virtual FontRef BaseFont() = 0;
  virtual bool BaseEnabled() = 0;
  virtual void SetBaseEnabled(bool enabled) = 0;
  virtual std::int16_t BaseMousePointer() = 0;
  virtual void SetBaseMousePointer(std::int16_t pointer) = 0;
  virtual PictureRef BaseMouseIcon() = 0;
  virtual void SetBaseMouseIcon(const PictureRef& icon) = 0;

  // The extent of a text in pixels, in the base's font.
  virtual int TextWidth(const std::u16string& text) = 0;
  virtual int TextHeight(const std::u16string& text) = 0;

  // A standard OLE font object, new and unshared.
  virtual FontRef CreateStandardFont() = 0;

  // Ambient properties; each throws when the container cannot answer.
  virtual bool AmbientUserMode() = 0;
  virtual bool AmbientRightToLeft() = 0;

  // The extender's late-bound ToolTipText.
  virtual std::u16string ExtenderToolTipText() = 0;
  virtual void SetExtenderToolTipText(const std::u16string& text) = 0;

  // The number rendered by OLE Automation's numeric format language, written into `out`
  // (its storage reused: the caption formats on every paint).
  virtual void FormatNumber(double value, const std::u16string& pattern, std::u16string& out) = 0;

  // Tells the container that the named property changed.
  virtual void PropertyChanged(const std::u16string& name) = 0;
  // The caption text a drawn paint showed, empty when it showed none: what accessibility
  // clients read as the bar's value. Hosts without such clients ignore it.
  virtual void CaptionShown(const std::u16string& /*text*/) {}

  // Events of the control, raised synchronously; handlers may change the arguments.
  virtual void RaiseProgressTextCallBack(double& value, double& min, double& max,
                                         std::u16string& text) = 0;
  virtual void RaiseClick() = 0;
  virtual void RaiseMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void RaiseMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
  virtual void RaiseMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
};

}  // namespace vantiq
