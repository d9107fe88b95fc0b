// The tooltip window operations over the real comctl32 tooltip and USER. Messages
// carry the TOOLINFOW record of this architecture in its second form (through
// lParam): 44 bytes on 32-bit, 64 on 64-bit, a size every comctl32 version takes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "platform/tip_window.h"

namespace vantiq {

class GdiTipWindow : public TipWindow {
 public:
  static constexpr UINT kToolRecordSize = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);

  // The instance of the module that holds this code: the control's DLL inside a host,
  // the program itself in a static build.
  static HINSTANCE ModuleInstance();

  WindowHandle CreateTooltipWindow(std::uint32_t style, WindowHandle parent) override;
  void DestroyWindow(WindowHandle hwnd) override;
  bool IsWindow(WindowHandle hwnd) override;
  Rect GetClientRect(WindowHandle hwnd) override;
  std::uint32_t GetWindowStyle(WindowHandle hwnd) override;
  void SetWindowStyle(WindowHandle hwnd, std::uint32_t style) override;
  std::uint32_t GetClassStyle(WindowHandle hwnd) override;
  void SetClassStyle(WindowHandle hwnd, std::uint32_t style) override;
  bool SetTopmost(WindowHandle hwnd) override;
  int GetToolCount(WindowHandle tip) override;
  bool EnumTools(WindowHandle tip, int index, ToolInfo& tool) override;
  bool AddTool(WindowHandle tip, const ToolInfo& tool) override;
  void UpdateTipText(WindowHandle tip, const ToolInfo& tool) override;
  void RelayEvent(WindowHandle tip, const RelayMessage& message) override;
};

}  // namespace vantiq
