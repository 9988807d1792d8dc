// An icon in the notification area whose mouse events reach a window as a message.
#pragma once

#include "DuiString.h"

#include <shellapi.h>

namespace DuiLib {

class CTrayIcon {
 public:
  CTrayIcon();
  ~CTrayIcon();  // removes the icon

  // `message` 0 selects WM_USER + 1; the mouse message arrives in lParam.
  void CreateTrayIcon(HWND hwnd, UINT iconId, LPCTSTR tooltip = nullptr, UINT message = 0);
  void DeleteTrayIcon();
  bool SetTooltipText(LPCTSTR tooltip);
  bool IsVisible() const { return m_bVisible; }
  UINT GetMessage() const { return m_uMessage; }

 private:
  bool m_bEnabled = false;
  bool m_bVisible = false;
  HWND m_hWnd = nullptr;
  UINT m_uMessage = 0;
  NOTIFYICONDATAW m_trayData{};
};

}  // namespace DuiLib
