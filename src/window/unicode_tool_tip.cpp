#include "window/unicode_tool_tip.h"

#include "platform/mod_version_ex.h"

namespace vantiq {

CUnicodeToolTip::CUnicodeToolTip(Platform& platform)
    : platform_(platform), window_(platform.CreateTipWindow()) {}

CUnicodeToolTip::~CUnicodeToolTip() {
  if (window_ && m_hWnd != 0) window_->DestroyWindow(m_hWnd);
}

void CUnicodeToolTip::SetBalloon(bool bBalloon) {
  m_bBalloon = bBalloon;
  if (!window_ || m_hWnd == 0) return;
  const std::uint32_t style = window_->GetWindowStyle(m_hWnd);
  window_->SetWindowStyle(m_hWnd, bBalloon ? style | kTtsBalloon : style & ~kTtsBalloon);
}

bool CUnicodeToolTip::Create(WindowHandle lParentHwnd) {
  if (!window_) return false;
  if (m_hWnd == 0) {
    std::uint32_t style = kTtsAlwaysTip | kTtsNoPrefix;
    if (m_bBalloon) style |= kTtsBalloon;
    m_hWnd = window_->CreateTooltipWindow(style, lParentHwnd);
    window_->SetTopmost(m_hWnd);
  }
  if (window_->IsWindow(m_hWnd)) EnableDropShadow();
  return m_hWnd != 0;
}

void CUnicodeToolTip::EnableDropShadow() {
  if (!window_ || !window_->IsWindow(m_hWnd)) return;
  if (!modVersionEx::IsWinXPOrLater(platform_)) return;
  // The class is shared: every tooltip of the process gets the shadow from now on.
  window_->SetClassStyle(m_hWnd, window_->GetClassStyle(m_hWnd) | kCsDropShadow);
}

int CUnicodeToolTip::ToolCount() {
  if (!window_ || m_hWnd == 0) return 0;
  return window_->GetToolCount(m_hWnd);
}

bool CUnicodeToolTip::FindTool(std::uintptr_t uId) {
  const int n = ToolCount();
  for (int index = 0; index < n; ++index) {
    if (window_->EnumTools(m_hWnd, index, m_ti) && m_ti.uId == uId) return true;
  }
  return false;
}

bool CUnicodeToolTip::AddTool(WindowHandle lToolHwnd, WindowHandle lOwnerHwnd,
                              const std::u16string& sText) {
  m_sText = sText;
  if (!window_ || m_hWnd == 0) return false;
  if (FindTool(lToolHwnd)) return false;
  m_ti = ToolInfo{};
  m_ti.uFlags = kTtfIdIsHwnd | kTtfSubclass | kTtfTransparent;
  m_ti.hwnd = lOwnerHwnd;
  m_ti.uId = lToolHwnd;
  m_ti.rect = window_->GetClientRect(lToolHwnd);
  if (!m_sText.empty()) m_ti.lpszText = m_sText;
  const bool added = window_->AddTool(m_hWnd, m_ti);
  RelayEvent();
  return added;
}

void CUnicodeToolTip::RelayEvent() {
  if (!window_) return;
  m_msg.hwnd = m_hWnd;
  m_msg.message = kTtmRelayEvent;
  m_msg.wParam = 0;
  m_msg.lParam = kWmLButtonDown;
  window_->RelayEvent(m_hWnd, m_msg);
}

void CUnicodeToolTip::UpdateToolText(WindowHandle lToolHwnd, const std::u16string& sText) {
  if (!window_) return;
  if (m_hWnd != 0 && FindTool(lToolHwnd)) {
    m_sText = sText;
    m_ti.lpszText = m_sText;
    window_->UpdateTipText(m_hWnd, m_ti);
  }
  // Other topmost windows may have come above it since the last text.
  window_->SetTopmost(m_hWnd);
}

}  // namespace vantiq
