// Mouse input: the host's mouse events passed on as the control's own, Click, and the
// hand-over of the host's tooltip text to the control's UTF-16 tooltip window.
#include "caption/mod_utf8.h"
#include "control/vantiq.h"
#include "window/unicode_tool_tip.h"

namespace vantiq {
namespace {

constexpr std::int16_t kLeftButton = 1;

}  // namespace

void Vantiq::MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  // A press gives the text back to the host's own property, so that the next move
  // takes it over again and shows it unchanged (without the trailing space each
  // press would otherwise add).
  if (!m_sToolTip.empty()) {
    IgnoreErrors([&] { host_.SetExtenderToolTipText(m_sToolTip); });
    m_sToolTip.clear();
  }
  if (button & kLeftButton) m_bLeftPressed = true;
  IgnoreErrors([&] { host_.RaiseMouseDown(button, shift, x, y); });
}

void Vantiq::MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  std::u16string text;
  IgnoreErrors([&] { text = host_.ExtenderToolTipText(); });
  WindowHandle hwnd = 0;
  IgnoreErrors([&] { hwnd = host_.BaseWindowHandle(); });
  // A container that activates the control again gives it a new window: the old tip
  // went with the old one, so the text taken over is shown in a tip of the new one.
  if (m_oToolTip && m_hToolTipWindow != hwnd) m_oToolTip.reset();
  const bool newText = !text.empty() && text != m_sToolTip;
  if (newText) {
    // With its own property empty the host shows no tip of its own.
    IgnoreErrors([&] { host_.SetExtenderToolTipText(std::u16string()); });
    m_sToolTip = text;
  }
  if (newText || (!m_oToolTip && !m_sToolTip.empty())) {
    if (!m_oToolTip) {
      IgnoreErrors([&] {
        m_oToolTip = std::make_unique<CUnicodeToolTip>(platform_);
        m_hToolTipWindow = hwnd;
        m_oToolTip->SetBalloon(false);
        m_oToolTip->Create(hwnd);
        m_oToolTip->AddTool(hwnd, hwnd, std::u16string());
      });
    }
    IgnoreErrors([&] {
      if (m_oToolTip)
        m_oToolTip->UpdateToolText(hwnd, modUTF8::DecodeIfUtf8(platform_, m_sToolTip));
    });
  }
  IgnoreErrors([&] { host_.RaiseMouseMove(button, shift, x, y); });
}

void Vantiq::MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  // Decided on the values the host gave: its handler may change them.
  const bool leftReleased = (button & kLeftButton) != 0;
  const float atX = x;
  const float atY = y;
  IgnoreErrors([&] { host_.RaiseMouseUp(button, shift, x, y); });
  if (!leftReleased || !m_bLeftPressed) return;
  m_bLeftPressed = false;
  bool inside = false;
  IgnoreErrors([&] {
    inside = atX >= 0 && atX < static_cast<float>(host_.ScaleWidth()) && atY >= 0 &&
             atY < static_cast<float>(host_.ScaleHeight());
  });
  if (inside) IgnoreErrors([&] { host_.RaiseClick(); });
}

}  // namespace vantiq
