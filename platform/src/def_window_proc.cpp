// Default processing of window messages.
#include "core.h"

#include <algorithm>

using namespace korvane::platform;

namespace {

void ClampTrackSize(HWND hwnd, WINDOWPOS* wp) {
  if (wp->flags & SWP_NOSIZE) return;
  DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  if (!(style & WS_THICKFRAME) || (style & WS_CHILD) || (style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
  MINMAXINFO mmi = QueryMinMaxInfo(hwnd);
  wp->cx = std::clamp<int>(wp->cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
  wp->cy = std::clamp<int>(wp->cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
}

LRESULT SystemCommand(HWND hwnd, WPARAM command) {
  // The low four bits are the system's own; Windows ignores them here.
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      SendMessageW(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace

LRESULT WINAPI DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return SystemCommand(hwnd, wParam);
    case WM_NCHITTEST: {
      RECT r{};
      if (!GetWindowRect(hwnd, &r)) return HTNOWHERE;
      POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      return PtInRect(&r, pt) ? HTCLIENT : HTNOWHERE;
    }
    case WM_WINDOWPOSCHANGING:
      ClampTrackSize(hwnd, reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_STATECHANGED)) {
        WPARAM type = IsIconic(hwnd) ? SIZE_MINIMIZED : IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        RECT client{};
        GetClientRect(hwnd, &client);
        SendMessageW(hwnd, WM_SIZE, type, MAKELPARAM(client.right, client.bottom));
      }
      if (!(wp->flags & SWP_NOCLIENTMOVE)) {
        RECT r{};
        {
          Core& core = Core::Get();
          std::lock_guard<std::mutex> lock(core.mu);
          if (auto w = core.Find(hwnd)) r = w->rect;
        }
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
      }
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_ACTIVATE:
      // An activated window takes the keyboard focus, unless one of its children has it.
      if (LOWORD(wParam) != WA_INACTIVE) {
        HWND focus = GetFocus();
        if (!focus || (focus != hwnd && !IsChild(hwnd, focus))) SetFocus(hwnd);
      }
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the top-level window through the system command.
      if (wParam == VK_F4 && (lParam & (1 << 29)))
        SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_NCLBUTTONDOWN: {
      POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      HWND root = GetAncestor(hwnd, GA_ROOT);
      if (IsZoomed(root)) return 0;
      if (wParam == HTCAPTION)
        CurrentDisplay().BeginMoveDrag(root, pt);
      else if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT)
        CurrentDisplay().BeginResizeDrag(root, static_cast<int>(wParam), pt);
      return 0;
    }
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      {
        Core& core = Core::Get();
        std::lock_guard<std::mutex> lock(core.mu);
        auto w = core.Find(hwnd);
        if (!w) return FALSE;
        w->title = text ? std::u16string(text) : std::u16string();
      }
      NotifyChanged(hwnd);
      return TRUE;
    }
    case WM_GETTEXT:
      return GetWindowTextW(hwnd, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return GetWindowTextLengthW(hwnd);
    case WM_SETICON:
    case WM_GETICON: {
      HICON old = nullptr;
      {
        Core& core = Core::Get();
        std::lock_guard<std::mutex> lock(core.mu);
        auto w = core.Find(hwnd);
        if (!w) return 0;
        HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
        old = slot;
        if (msg == WM_SETICON) slot = reinterpret_cast<HICON>(lParam);
      }
      if (msg == WM_SETICON) NotifyChanged(hwnd);
      return reinterpret_cast<LRESULT>(old);
    }
    default:
      return 0;
  }
}
