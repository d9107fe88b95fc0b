#include "backends/soft/scriptable_tip_window.h"

namespace vantiq {

SoftTipWindow* SoftTooltips::Find(WindowHandle hwnd) {
  auto it = windows.find(hwnd);
  return it != windows.end() && it->second.alive ? &it->second : nullptr;
}

SoftTipWindow* ScriptableTipWindow::Live(WindowHandle hwnd) {
  SoftTipWindow* w = tooltips_.Find(hwnd);
  if (!w) ++tooltips_.failedCalls;
  return w;
}

SoftTipWindow* ScriptableTipWindow::Receive(WindowHandle tip, std::uint32_t message,
                                            std::uintptr_t wParam, const ToolInfo& tool,
                                            const RelayMessage& relay) {
  SoftTipWindow* w = Live(tip);
  if (w) {
    SoftTipMessage received;
    received.message = message;
    received.wParam = wParam;
    received.tool = tool;
    received.relay = relay;
    w->messages.push_back(std::move(received));
  }
  return w;
}

WindowHandle ScriptableTipWindow::CreateTooltipWindow(std::uint32_t style, WindowHandle parent) {
  ++tooltips_.commonControlsInits;
  // An owner that is no window fails the creation, as CreateWindowEx does.
  if (tooltips_.creationFails || (parent != 0 && !IsWindow(parent))) return 0;
  const WindowHandle hwnd = 0x40000 + 4 * static_cast<WindowHandle>(tooltips_.windows.size());
  SoftTipWindow& w = tooltips_.windows[hwnd];
  w.parent = parent;
  w.style = style;
  return hwnd;
}

void ScriptableTipWindow::DestroyWindow(WindowHandle hwnd) {
  if (SoftTipWindow* w = Live(hwnd)) w->alive = false;
}

bool ScriptableTipWindow::IsWindow(WindowHandle hwnd) {
  return tooltips_.Find(hwnd) != nullptr || platform_.IsWindow(hwnd);
}

Rect ScriptableTipWindow::GetClientRect(WindowHandle hwnd) {
  // A tooltip window has no size until it shows a tip.
  return tooltips_.Find(hwnd) ? Rect{} : platform_.GetClientRect(hwnd);
}

std::uint32_t ScriptableTipWindow::GetWindowStyle(WindowHandle hwnd) {
  SoftTipWindow* w = Live(hwnd);
  return w ? w->style : 0;
}

void ScriptableTipWindow::SetWindowStyle(WindowHandle hwnd, std::uint32_t style) {
  if (SoftTipWindow* w = Live(hwnd)) w->style = style;
}

std::uint32_t ScriptableTipWindow::GetClassStyle(WindowHandle hwnd) {
  return Live(hwnd) ? tooltips_.classStyle : 0;
}

void ScriptableTipWindow::SetClassStyle(WindowHandle hwnd, std::uint32_t style) {
  if (Live(hwnd)) tooltips_.classStyle = style;
}

bool ScriptableTipWindow::SetTopmost(WindowHandle hwnd) {
  SoftTipWindow* w = Live(hwnd);
  if (!w) return false;
  w->topmost = true;
  ++w->topmostCalls;
  return true;
}

int ScriptableTipWindow::GetToolCount(WindowHandle tip) {
  SoftTipWindow* w = Receive(tip, kTtmGetToolCount);
  return w ? static_cast<int>(w->tools.size()) : 0;
}

bool ScriptableTipWindow::EnumTools(WindowHandle tip, int index, ToolInfo& tool) {
  SoftTipWindow* w = Receive(tip, kTtmEnumToolsW, static_cast<std::uintptr_t>(index));
  if (!w || index < 0 || index >= static_cast<int>(w->tools.size())) return false;
  tool = w->tools[static_cast<std::size_t>(index)];
  tool.lpszText.reset();
  return true;
}

bool ScriptableTipWindow::AddTool(WindowHandle tip, const ToolInfo& tool) {
  SoftTipWindow* w = Receive(tip, kTtmAddToolW, 0, tool);
  if (!w || tooltips_.refusesTools) return false;
  // Like the real control it takes a second record for the same tool as another tool.
  w->tools.push_back(tool);
  return true;
}

void ScriptableTipWindow::UpdateTipText(WindowHandle tip, const ToolInfo& tool) {
  SoftTipWindow* w = Receive(tip, kTtmUpdateTipTextW, 0, tool);
  if (!w) return;
  for (ToolInfo& t : w->tools) {
    const bool same = (t.uFlags & kTtfIdIsHwnd) ? t.uId == tool.uId
                                                : t.hwnd == tool.hwnd && t.uId == tool.uId;
    if (same) {
      t.lpszText = tool.lpszText;
      return;
    }
  }
}

void ScriptableTipWindow::RelayEvent(WindowHandle tip, const RelayMessage& message) {
  Receive(tip, kTtmRelayEvent, 0, {}, message);
}

}  // namespace vantiq
