#include "duilib/WindowImplBase.h"

#include "duilib/UIControl.h"

namespace DuiLib {

DUI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
DUI_ON_MSGTYPE(DUI_MSGTYPE_CLICK, OnClick)
DUI_END_MESSAGE_MAP()

WindowImplBase::WindowImplBase() = default;
WindowImplBase::~WindowImplBase() = default;

void WindowImplBase::OnFinalMessage(HWND) {
  m_PaintManager.RemovePreMessageFilter(this);
  m_PaintManager.RemoveNotifier(this);
  m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

void WindowImplBase::Notify(TNotifyUI& msg) { NotifyPump(msg); }
void WindowImplBase::OnClick(TNotifyUI&) {}

UINT WindowImplBase::GetClassStyle() const { return CS_DBLCLKS; }

CControlUI* WindowImplBase::CreateControl(LPCTSTR) { return nullptr; }

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) {
  // Return and Escape are the window's own keys; nothing is done with them here.
  if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (::IsIconic(m_hWnd)) bHandled = FALSE;
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ScreenToClient(m_hWnd, &pt);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  if (!::IsZoomed(m_hWnd)) {
    RECT box = m_PaintManager.GetSizeBox();
    if (pt.y < client.top + box.top) {
      if (pt.x < client.left + box.left) return HTTOPLEFT;
      if (pt.x > client.right - box.right) return HTTOPRIGHT;
      return HTTOP;
    }
    if (pt.y > client.bottom - box.bottom) {
      if (pt.x < client.left + box.left) return HTBOTTOMLEFT;
      if (pt.x > client.right - box.right) return HTBOTTOMRIGHT;
      return HTBOTTOM;
    }
    if (pt.x < client.left + box.left) return HTLEFT;
    if (pt.x > client.right - box.right) return HTRIGHT;
  }
  RECT caption = m_PaintManager.GetCaptionRect();
  if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
      pt.y < caption.bottom) {
    // Buttons in the caption band stay buttons; the rest of the band drags the window.
    m_PaintManager.UpdateLayout();
    CControlUI* control = m_PaintManager.FindControl(pt);
    if (control && lstrcmpW(control->GetClass(), _T("ButtonUI")) != 0 &&
        lstrcmpW(control->GetClass(), _T("OptionUI")) != 0 && lstrcmpW(control->GetClass(), _T("TextUI")) != 0)
      return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  auto* mmi = reinterpret_cast<LPMINMAXINFO>(lParam);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
  RECT work = mi.rcWork;
  // Maximised windows fill the work area.
  mmi->ptMaxPosition.x = work.left - mi.rcMonitor.left;
  mmi->ptMaxPosition.y = work.top - mi.rcMonitor.top;
  mmi->ptMaxSize.x = work.right - work.left;
  mmi->ptMaxSize.y = work.bottom - work.top;
  mmi->ptMaxTrackSize.x = work.right - work.left;
  mmi->ptMaxTrackSize.y = work.bottom - work.top;
  SIZE minInfo = m_PaintManager.GetMinInfo();
  SIZE maxInfo = m_PaintManager.GetMaxInfo();
  mmi->ptMinTrackSize.x = minInfo.cx;
  mmi->ptMinTrackSize.y = minInfo.cy;
  if (maxInfo.cx > 0) mmi->ptMaxTrackSize.x = maxInfo.cx;
  if (maxInfo.cy > 0) mmi->ptMaxTrackSize.y = maxInfo.cy;
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if (wParam == SC_CLOSE) {
    bHandled = TRUE;
    SendMessage(WM_CLOSE);
    return 0;
  }
  bool wasZoomed = ::IsZoomed(m_hWnd) != FALSE;
  LRESULT r = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  if (wasZoomed != (::IsZoomed(m_hWnd) != FALSE)) {
    // The layout's own maximise and restore buttons follow the state.
    if (CControlUI* max = m_PaintManager.FindControl(_T("maxbtn"))) max->SetVisible(wasZoomed);
    if (CControlUI* restore = m_PaintManager.FindControl(_T("restorebtn"))) restore->SetVisible(!wasZoomed);
  }
  return r;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  // The skin draws the frame: no system caption, and children clipped.
  LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
  style &= ~static_cast<LONG>(WS_CAPTION);
  ::SetWindowLongW(m_hWnd, GWL_STYLE, style | static_cast<LONG>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  m_PaintManager.Init(m_hWnd);
  m_PaintManager.AddPreMessageFilter(this);
  CDialogBuilder builder;
  CDuiString skin = GetSkinFolder() + GetSkinFile();
  CControlUI* root = builder.Create(skin.GetData(), nullptr, this, &m_PaintManager);
  if (root) {
    m_PaintManager.AttachDialog(root);
  } else {
    // A layout that is missing or broken leaves an empty window; the reason goes to the
    // debugger output.
    CDuiString message = CDuiString(_T("skin: ")) + builder.GetLastErrorMessage() + _T("\n");
    ::OutputDebugStringW(message);
  }
  m_PaintManager.AddNotifier(this);
  SIZE init = m_PaintManager.GetInitSize();
  if (init.cx > 0 && init.cy > 0)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, init.cx, init.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  InitWindow();
  return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  LRESULT lRes = 0;
  // Message filters of the window's controls see each message first.
  if (m_PaintManager.PreMessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
  BOOL bHandled = TRUE;
  switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEHOVER: lRes = OnMouseHover(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = FALSE; break;
  }
  if (bHandled) return lRes;
  lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
  if (bHandled) return lRes;
  if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace DuiLib
