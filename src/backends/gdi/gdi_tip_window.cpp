#include "backends/gdi/gdi_tip_window.h"

namespace vantiq {
namespace {

static_assert(kTtmRelayEvent == TTM_RELAYEVENT && kTtmGetToolCount == TTM_GETTOOLCOUNT &&
                  kTtmAddToolW == TTM_ADDTOOLW && kTtmUpdateTipTextW == TTM_UPDATETIPTEXTW &&
                  kTtmEnumToolsW == TTM_ENUMTOOLSW,
              "the core's tooltip messages are the platform's");
static_assert(kTtsAlwaysTip == TTS_ALWAYSTIP && kTtsNoPrefix == TTS_NOPREFIX &&
                  kTtsBalloon == TTS_BALLOON && kTtfIdIsHwnd == TTF_IDISHWND &&
                  kTtfSubclass == TTF_SUBCLASS && kTtfTransparent == TTF_TRANSPARENT &&
                  kCsDropShadow == CS_DROPSHADOW,
              "the core's tooltip styles and flags are the platform's");
static_assert(GdiTipWindow::kToolRecordSize == (sizeof(void*) == 4 ? 44 : 64),
              "TOOLINFOW up to lParam");

HWND Hwnd(WindowHandle hwnd) { return reinterpret_cast<HWND>(hwnd); }

// The real record; its text points into `tool`, which must outlive the send.
TTTOOLINFOW Pack(const ToolInfo& tool) {
  TTTOOLINFOW ti{};
  ti.cbSize = GdiTipWindow::kToolRecordSize;
  ti.uFlags = tool.uFlags;
  ti.hwnd = Hwnd(tool.hwnd);
  ti.uId = tool.uId;
  ti.rect = RECT{tool.rect.left, tool.rect.top, tool.rect.right, tool.rect.bottom};
  ti.hinst = reinterpret_cast<HINSTANCE>(tool.hinst);
  ti.lpszText = tool.lpszText
                    ? const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(tool.lpszText->c_str()))
                    : nullptr;
  ti.lParam = tool.lParam;
  return ti;
}

}  // namespace

HINSTANCE GdiTipWindow::ModuleInstance() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&GdiTipWindow::ModuleInstance), &module);
  return module;
}

WindowHandle GdiTipWindow::CreateTooltipWindow(std::uint32_t style, WindowHandle parent) {
  ::InitCommonControls();
  HWND hwnd = ::CreateWindowExA(0, "tooltips_class32", nullptr, style, 0, 0, 0, 0, Hwnd(parent),
                                nullptr, ModuleInstance(), nullptr);
  return reinterpret_cast<WindowHandle>(hwnd);
}

void GdiTipWindow::DestroyWindow(WindowHandle hwnd) { ::DestroyWindow(Hwnd(hwnd)); }

bool GdiTipWindow::IsWindow(WindowHandle hwnd) { return ::IsWindow(Hwnd(hwnd)) != FALSE; }

Rect GdiTipWindow::GetClientRect(WindowHandle hwnd) {
  RECT rc{};
  if (!::GetClientRect(Hwnd(hwnd), &rc)) return {};
  return {rc.left, rc.top, rc.right, rc.bottom};
}

std::uint32_t GdiTipWindow::GetWindowStyle(WindowHandle hwnd) {
  return static_cast<std::uint32_t>(::GetWindowLongA(Hwnd(hwnd), GWL_STYLE));
}

void GdiTipWindow::SetWindowStyle(WindowHandle hwnd, std::uint32_t style) {
  ::SetWindowLongA(Hwnd(hwnd), GWL_STYLE, static_cast<LONG>(style));
}

std::uint32_t GdiTipWindow::GetClassStyle(WindowHandle hwnd) {
  return static_cast<std::uint32_t>(::GetClassLongA(Hwnd(hwnd), GCL_STYLE));
}

void GdiTipWindow::SetClassStyle(WindowHandle hwnd, std::uint32_t style) {
  ::SetClassLongA(Hwnd(hwnd), GCL_STYLE, static_cast<LONG>(style));
}

bool GdiTipWindow::SetTopmost(WindowHandle hwnd) {
  return ::SetWindowPos(Hwnd(hwnd), HWND_TOPMOST, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE) != FALSE;
}

int GdiTipWindow::GetToolCount(WindowHandle tip) {
  return static_cast<int>(::SendMessageW(Hwnd(tip), TTM_GETTOOLCOUNT, 0, 0));
}

bool GdiTipWindow::EnumTools(WindowHandle tip, int index, ToolInfo& tool) {
  // A null text pointer: the control then copies no text into the record.
  TTTOOLINFOW ti{};
  ti.cbSize = kToolRecordSize;
  if (!::SendMessageW(Hwnd(tip), TTM_ENUMTOOLSW, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&ti)))
    return false;
  tool.uFlags = ti.uFlags;
  tool.hwnd = reinterpret_cast<WindowHandle>(ti.hwnd);
  tool.uId = ti.uId;
  tool.rect = {ti.rect.left, ti.rect.top, ti.rect.right, ti.rect.bottom};
  tool.hinst = reinterpret_cast<std::uintptr_t>(ti.hinst);
  tool.lpszText.reset();
  tool.lParam = ti.lParam;
  return true;
}

bool GdiTipWindow::AddTool(WindowHandle tip, const ToolInfo& tool) {
  TTTOOLINFOW ti = Pack(tool);
  return ::SendMessageW(Hwnd(tip), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void GdiTipWindow::UpdateTipText(WindowHandle tip, const ToolInfo& tool) {
  TTTOOLINFOW ti = Pack(tool);
  ::SendMessageW(Hwnd(tip), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void GdiTipWindow::RelayEvent(WindowHandle tip, const RelayMessage& message) {
  MSG msg{};
  msg.hwnd = Hwnd(message.hwnd);
  msg.message = message.message;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  msg.time = message.time;
  msg.pt = POINT{message.ptX, message.ptY};
  ::SendMessageW(Hwnd(tip), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace vantiq
