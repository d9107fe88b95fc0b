// CUnicodeToolTip: one common-controls tooltip window for the control, fed with UTF-16
// text, so a tip can show characters outside the system code page even though the
// window itself is made with the ANSI CreateWindowExA.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/tip_window.h"

namespace vantiq {

class CUnicodeToolTip {
 public:
  // `platform` must outlive the object; it supplies the tooltip window and answers the
  // version test of the drop shadow.
  explicit CUnicodeToolTip(Platform& platform);
  // Destroys the tooltip window if there is one.
  ~CUnicodeToolTip();
  CUnicodeToolTip(const CUnicodeToolTip&) = delete;
  CUnicodeToolTip& operator=(const CUnicodeToolTip&) = delete;

  // True after construction. Writing it restyles an existing window at once and
  // decides the style of one made later.
  bool Balloon() const { return m_bBalloon; }
  void SetBalloon(bool bBalloon);

  // Makes the tooltip window, owned by `lParentHwnd`, unless there is one already;
  // true when there is one afterwards.
  bool Create(WindowHandle lParentHwnd);
  // Registers the window `lToolHwnd` as a tool owned by `lOwnerHwnd`, showing `sText`.
  // False without a window, for a tool already registered (which is left as it is) and
  // when the window refuses it.
  bool AddTool(WindowHandle lToolHwnd, WindowHandle lOwnerHwnd, const std::u16string& sText);
  // Replaces the text of the tool `lToolHwnd`, and puts the tip on top again.
  void UpdateToolText(WindowHandle lToolHwnd, const std::u16string& sText);

  // True when a tool with identifier `uId` is registered; Tool() then holds its record.
  bool FindTool(std::uintptr_t uId);
  // The number of registered tools; 0 without a window.
  int ToolCount();
  // Gives the tooltip class a drop shadow, on systems that draw one.
  void EnableDropShadow();
  // Relays the stored message record to the tooltip window.
  void RelayEvent();

  // The tooltip window; 0 until Create succeeds.
  WindowHandle Hwnd() const { return m_hWnd; }
  // The text last handed to the tooltip window.
  const std::u16string& ToolText() const { return m_sText; }
  // The tool record of the last FindTool, AddTool or UpdateToolText.
  const ToolInfo& Tool() const { return m_ti; }

 private:
  Platform& platform_;
  std::unique_ptr<TipWindow> window_;  // null where the platform has no tooltips
  WindowHandle m_hWnd = 0;
  std::u16string m_sText;
  bool m_bBalloon = true;
  RelayMessage m_msg;
  ToolInfo m_ti;
};

}  // namespace vantiq
