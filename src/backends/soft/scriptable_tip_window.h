// Scripted tooltip windows: records of what the tooltip wrapper asked of them (style,
// class style, z-order, tools and texts, every tooltip message), with creation and
// tool registration that can be made to fail.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/platform.h"
#include "platform/tip_window.h"

namespace vantiq {

// One tooltip message as the window received it.
struct SoftTipMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  ToolInfo tool;       // TTM_ADDTOOLW, TTM_UPDATETIPTEXTW
  RelayMessage relay;  // TTM_RELAYEVENT
};

struct SoftTipWindow {
  WindowHandle parent = 0;
  std::uint32_t style = 0;  // GWL_STYLE
  bool alive = true;        // false once destroyed; the record stays
  bool topmost = false;
  int topmostCalls = 0;
  std::vector<ToolInfo> tools;  // in the order added, with their texts
  std::vector<SoftTipMessage> messages;
};

// Everything the platform's tooltip windows share.
struct SoftTooltips {
  bool creationFails = false;  // CreateTooltipWindow answers 0
  bool refusesTools = false;   // TTM_ADDTOOLW answers 0
  // The tooltip class's style (CS_GLOBALCLASS | CS_SAVEBITS | CS_DBLCLKS), one for the
  // whole process as on Windows.
  std::uint32_t classStyle = 0x4808;
  int commonControlsInits = 0;
  int failedCalls = 0;  // calls on a tooltip window that does not exist (or no longer)
  // Every tooltip window made; handles start at 0x40000 and never meet the platform's.
  std::map<WindowHandle, SoftTipWindow> windows;

  // The live tooltip window with this handle, or null.
  SoftTipWindow* Find(WindowHandle hwnd);
};

class ScriptableTipWindow : public TipWindow {
 public:
  // Both must outlive the object; `platform` knows the tools' own windows.
  ScriptableTipWindow(SoftTooltips& tooltips, Platform& platform)
      : tooltips_(tooltips), platform_(platform) {}

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

 private:
  // The live tooltip window, or null after counting a failed call.
  SoftTipWindow* Live(WindowHandle hwnd);
  // The live tooltip window with the message recorded on it, or null.
  SoftTipWindow* Receive(WindowHandle tip, std::uint32_t message, std::uintptr_t wParam = 0,
                         const ToolInfo& tool = {}, const RelayMessage& relay = {});

  SoftTooltips& tooltips_;
  Platform& platform_;
};

}  // namespace vantiq
