// The window operations and tooltip messages the tooltip wrapper drives, behind one
// interface: the real common-controls tooltip on Windows (backends/gdi) and a scripted
// one elsewhere (backends/soft). Every call takes the window it acts on, as the
// platform's own calls do, so the wrapper keeps its handle and its rules in the core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/types.h"

namespace vantiq {

// Tooltip window styles.
constexpr std::uint32_t kTtsAlwaysTip = 0x1;
constexpr std::uint32_t kTtsNoPrefix = 0x2;
constexpr std::uint32_t kTtsBalloon = 0x40;
// Tool flags: uId is a window handle; the tooltip watches that window's mouse messages
// itself; mouse messages over the tip pass through to the window below.
constexpr std::uint32_t kTtfIdIsHwnd = 0x1;
constexpr std::uint32_t kTtfSubclass = 0x10;
constexpr std::uint32_t kTtfTransparent = 0x100;
// Tooltip messages.
constexpr std::uint32_t kTtmRelayEvent = 0x407;
constexpr std::uint32_t kTtmGetToolCount = 0x40D;
constexpr std::uint32_t kTtmAddToolW = 0x432;
constexpr std::uint32_t kTtmUpdateTipTextW = 0x439;
constexpr std::uint32_t kTtmEnumToolsW = 0x43A;
// Class style: the window casts a drop shadow (NT 5.1 and later).
constexpr std::uint32_t kCsDropShadow = 0x20000;
constexpr std::uint32_t kWmLButtonDown = 0x201;

// One tool of a tooltip window: the fields of the platform's TOOLINFOW that the wrapper
// uses. The backend packs the real record of its architecture, with its size.
struct ToolInfo {
  std::uint32_t uFlags = 0;
  WindowHandle hwnd = 0;     // the window that owns the tool
  std::uintptr_t uId = 0;    // the tool's identifier; a window handle with kTtfIdIsHwnd
  Rect rect;
  std::uintptr_t hinst = 0;
  // NUL-terminated UTF-16 in the real record; nullopt is a null pointer.
  std::optional<std::u16string> lpszText;
  std::intptr_t lParam = 0;
};

// The platform's MSG record as TTM_RELAYEVENT reads it.
struct RelayMessage {
  WindowHandle hwnd = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::uint32_t time = 0;
  std::int32_t ptX = 0;
  std::int32_t ptY = 0;
};

class TipWindow {
 public:
  virtual ~TipWindow() = default;

  // InitCommonControls, then CreateWindowExA of a "tooltips_class32" window with
  // extended style 0, no name, `style`, position and size 0, `parent` as its owner and
  // the instance of the module that holds this code. 0 when it cannot be made.
  virtual WindowHandle CreateTooltipWindow(std::uint32_t style, WindowHandle parent) = 0;
  virtual void DestroyWindow(WindowHandle hwnd) = 0;
  virtual bool IsWindow(WindowHandle hwnd) = 0;
  // An empty rectangle for a window that does not exist.
  virtual Rect GetClientRect(WindowHandle hwnd) = 0;
  // GetWindowLongA / SetWindowLongA at GWL_STYLE.
  virtual std::uint32_t GetWindowStyle(WindowHandle hwnd) = 0;
  virtual void SetWindowStyle(WindowHandle hwnd, std::uint32_t style) = 0;
  // GetClassLongA / SetClassLongA at GCL_STYLE: the class is shared by every window of
  // it in the process.
  virtual std::uint32_t GetClassStyle(WindowHandle hwnd) = 0;
  virtual void SetClassStyle(WindowHandle hwnd, std::uint32_t style) = 0;
  // SetWindowPos to HWND_TOPMOST without moving, sizing or activating; false when it
  // fails (no such window).
  virtual bool SetTopmost(WindowHandle hwnd) = 0;

  // The tooltip messages, sent to the tooltip window `tip`.
  // TTM_GETTOOLCOUNT.
  virtual int GetToolCount(WindowHandle tip) = 0;
  // TTM_ENUMTOOLSW: true and the record of the tool at `index`, its text left out
  // (lpszText comes back as nullopt); false when there is no such tool.
  virtual bool EnumTools(WindowHandle tip, int index, ToolInfo& tool) = 0;
  // TTM_ADDTOOLW: true when the window took the tool.
  virtual bool AddTool(WindowHandle tip, const ToolInfo& tool) = 0;
  // TTM_UPDATETIPTEXTW: the text of the tool that `tool` identifies.
  virtual void UpdateTipText(WindowHandle tip, const ToolInfo& tool) = 0;
  // TTM_RELAYEVENT with wParam 0.
  virtual void RelayEvent(WindowHandle tip, const RelayMessage& message) = 0;
};

}  // namespace vantiq
