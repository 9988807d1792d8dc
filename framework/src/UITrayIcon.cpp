#include "duilib/UITrayIcon.h"

#include <algorithm>

namespace DuiLib {

CTrayIcon::CTrayIcon() = default;
CTrayIcon::~CTrayIcon() { DeleteTrayIcon(); }

void CTrayIcon::CreateTrayIcon(HWND hwnd, UINT iconId, LPCTSTR tooltip, UINT message) {
  if (!hwnd) return;
  if (message == 0) message = WM_USER + 1;
  m_hWnd = hwnd;
  m_uMessage = message;
  m_trayData = NOTIFYICONDATAW{};
  m_trayData.cbSize = sizeof(m_trayData);
  m_trayData.hWnd = hwnd;
  m_trayData.uID = iconId;
  m_trayData.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  m_trayData.uCallbackMessage = message;
  m_trayData.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId));
  if (tooltip) lstrcpynW(m_trayData.szTip, tooltip, static_cast<int>(std::size(m_trayData.szTip)));
  m_bEnabled = ::Shell_NotifyIconW(NIM_ADD, &m_trayData) != FALSE;
  m_bVisible = m_bEnabled;
}

void CTrayIcon::DeleteTrayIcon() {
  if (m_bEnabled) ::Shell_NotifyIconW(NIM_DELETE, &m_trayData);
  m_bEnabled = m_bVisible = false;
  m_hWnd = nullptr;
}

bool CTrayIcon::SetTooltipText(LPCTSTR tooltip) {
  if (!m_bEnabled || !tooltip) return false;
  lstrcpynW(m_trayData.szTip, tooltip, static_cast<int>(std::size(m_trayData.szTip)));
  m_trayData.uFlags = NIF_TIP;
  return ::Shell_NotifyIconW(NIM_MODIFY, &m_trayData) != FALSE;
}

}  // namespace DuiLib
