#include "duilib/UIBase.h"

#include "duilib/UIControl.h"

#include <algorithm>

namespace DuiLib {

// ---- Notification map ------------------------------------------------------------------

const DUI_MSGMAP* CNotifyPump::GetThisMessageMap() {
  static const DUI_MSGMAP_ENTRY entries[] = {{nullptr, nullptr, nullptr}};
  static const DUI_MSGMAP map = {nullptr, entries};
  return &map;
}

const DUI_MSGMAP* CNotifyPump::GetMessageMap() const { return GetThisMessageMap(); }

bool CNotifyPump::NotifyPump(TNotifyUI& msg) {
  for (const DUI_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const DUI_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e) {
      if (msg.sType != e->sMsgType) continue;
      if (e->sCtrlName && (!msg.pSender || msg.pSender->GetName() != e->sCtrlName)) continue;
      e->pfn(this, msg);
      return true;
    }
    if (map->pfnGetBaseMap == &CNotifyPump::GetThisMessageMap && map == CNotifyPump::GetThisMessageMap()) break;
  }
  return false;
}

// ---- CWindowWnd ------------------------------------------------------------------------

CWindowWnd::CWindowWnd() = default;
CWindowWnd::~CWindowWnd() = default;

UINT CWindowWnd::GetClassStyle() const { return 0; }

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = GetClassStyle();
  wc.lpfnWndProc = CWindowWnd::__WndProc;
  wc.hInstance = CPaintManagerUI::GetInstance();
  wc.lpszClassName = GetWindowClassName();
  ATOM atom = ::RegisterClassExW(&wc);
  return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT rc,
                        HMENU hMenu) {
  return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
                        int cy, HMENU hMenu) {
  if (!RegisterWindowClass()) return nullptr;
  m_hWnd = ::CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                             CPaintManagerUI::GetInstance(), this);
  return m_hWnd;
}

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (uMsg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
    self = static_cast<CWindowWnd*>(cs->lpCreateParams);
    self->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCDESTROY && self) {
      LRESULT r = ::CallWindowProcW(::DefWindowProcW, hWnd, uMsg, wParam, lParam);
      ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
      self->m_hWnd = nullptr;
      self->OnFinalMessage(hWnd);
      return r;
    }
  }
  if (self) return self->HandleMessage(uMsg, wParam, lParam);
  return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
  if (!::IsWindow(m_hWnd)) return;
  ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::Close(UINT nRet) {
  if (!::IsWindow(m_hWnd)) return;
  PostMessage(WM_CLOSE, static_cast<WPARAM>(nRet), 0L);
}

void CWindowWnd::CenterWindow() {
  if (!::IsWindow(m_hWnd)) return;
  RECT dlg{};
  ::GetWindowRect(m_hWnd, &dlg);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
  RECT area = mi.rcWork;
  RECT center = area;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &center);
  int w = dlg.right - dlg.left, h = dlg.bottom - dlg.top;
  int x = (center.left + center.right) / 2 - w / 2;
  int y = (center.top + center.bottom) / 2 - h / 2;
  // Keep it on the work area.
  x = std::max<int>(area.left, std::min<int>(x, area.right - w));
  y = std::max<int>(area.top, std::min<int>(y, area.bottom - h));
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
  HICON big = static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                              LR_DEFAULTCOLOR));
  if (big) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  HICON small = static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                LR_DEFAULTCOLOR));
  if (small) ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  RECT rc{};
  if (!::GetClientRect(m_hWnd, &rc)) return;
  if (cx != -1) rc.right = cx;
  if (cy != -1) rc.bottom = cy;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace DuiLib
