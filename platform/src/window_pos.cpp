// Placement: SetWindowPos, ShowWindow and the minimised/maximised/normal states.
#include "core.h"

#include <algorithm>

namespace korvane::platform {

namespace {

enum class Placement { kNormal, kMinimized, kMaximized };

constexpr LONG kMinimizedPos = -32000;

Placement PlacementOf(DWORD style) {
  if (style & WS_MINIMIZE) return Placement::kMinimized;
  if (style & WS_MAXIMIZE) return Placement::kMaximized;
  return Placement::kNormal;
}

bool SameSize(const RECT& a, const RECT& b) {
  return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

RECT ClientOf(const Window& w) {
  if (w.style & WS_MINIMIZE) return RECT{0, 0, 0, 0};
  return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

// SetWindowPos on the thread that owns the window.
BOOL SetWindowPosOnThread(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Core& core = Core::Get();
  WINDOWPOS wp{};
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    const RECT& r = w->rect;
    wp.hwnd = hwnd;
    wp.hwndInsertAfter = insertAfter;
    wp.flags = flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
    wp.x = (flags & SWP_NOMOVE) ? r.left : x;
    wp.y = (flags & SWP_NOMOVE) ? r.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? r.right - r.left : std::max(cx, 0);
    wp.cy = (flags & SWP_NOSIZE) ? r.bottom - r.top : std::max(cy, 0);
    // Requests that change nothing are marked so, as Windows does.
    if (wp.x == r.left && wp.y == r.top) wp.flags |= SWP_NOMOVE;
    if (wp.cx == r.right - r.left && wp.cy == r.bottom - r.top) wp.flags |= SWP_NOSIZE;
    if (w->style & WS_VISIBLE)
      wp.flags &= ~SWP_SHOWWINDOW;
    else
      wp.flags &= ~SWP_HIDEWINDOW;
  }
  if (!(wp.flags & SWP_NOSENDCHANGING)) CallProc(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (wp.flags & SWP_FRAMECHANGED) {
    NCCALCSIZE_PARAMS params{};
    {
      std::lock_guard<std::mutex> lock(core.mu);
      if (auto w = core.Find(hwnd)) params.rgrc[0] = params.rgrc[1] = params.rgrc[2] = w->rect;
    }
    params.lppos = &wp;
    CallProc(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  }
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return FALSE;
    RECT oldRect = w->rect;
    RECT oldClient = ClientOf(*w);
    bool wasVisible = core.IsVisibleLocked(*w);
    if (!(wp.flags & SWP_NOMOVE)) OffsetRect(&w->rect, wp.x - w->rect.left, wp.y - w->rect.top);
    if (!(wp.flags & SWP_NOSIZE)) {
      w->rect.right = w->rect.left + wp.cx;
      w->rect.bottom = w->rect.top + wp.cy;
    }
    if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    if (PlacementOf(w->style) == Placement::kNormal) w->normalRect = w->rect;
    RECT newClient = ClientOf(*w);
    if (SameSize(oldClient, newClient)) wp.flags |= SWP_NOCLIENTSIZE;
    if (oldRect.left == w->rect.left && oldRect.top == w->rect.top) wp.flags |= SWP_NOCLIENTMOVE;
    bool nowVisible = core.IsVisibleLocked(*w);
    if (nowVisible && (!wasVisible || !SameSize(oldClient, newClient))) {
      w->needsPaint = true;
      w->invalid = newClient;
      if (auto q = core.QueueOf(w->threadId)) q->Wake();
    }
  }
  CallProc(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  NotifyChanged(hwnd);
  return TRUE;
}

// Moves the window into a new placement, sending what Windows sends: WM_SHOWWINDOW when
// it appears, WM_GETMINMAXINFO for a maximised rectangle, then the position messages.
void ChangePlacement(HWND hwnd, Placement target, bool show, bool activate) {
  Core& core = Core::Get();
  bool wasVisible = false;
  RECT restoreRect{};
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return;
    wasVisible = (w->style & WS_VISIBLE) != 0;
    Placement from = PlacementOf(w->style);
    if (from == Placement::kNormal) w->normalRect = w->rect;
    if (target == Placement::kMinimized) w->restoreToMaximized = from == Placement::kMaximized;
    restoreRect = w->normalRect;
  }
  if (show && !wasVisible) CallProc(hwnd, WM_SHOWWINDOW, TRUE, 0);

  RECT target_rect = restoreRect;
  if (target == Placement::kMaximized) {
    MINMAXINFO mmi = QueryMinMaxInfo(hwnd);
    LONG cx = std::clamp(mmi.ptMaxSize.x, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
    LONG cy = std::clamp(mmi.ptMaxSize.y, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
    target_rect = RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + cx, mmi.ptMaxPosition.y + cy};
  } else if (target == Placement::kMinimized) {
    target_rect = RECT{kMinimizedPos, kMinimizedPos, kMinimizedPos + GetSystemMetrics(SM_CXMINIMIZED),
                       kMinimizedPos + GetSystemMetrics(SM_CYMINIMIZED)};
  }
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return;
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (target == Placement::kMinimized) w->style |= WS_MINIMIZE;
    if (target == Placement::kMaximized) w->style |= WS_MAXIMIZE;
  }
  UINT flags = SWP_NOZORDER | SWP_STATECHANGED | SWP_FRAMECHANGED;
  if (!activate) flags |= SWP_NOACTIVATE;
  if (show) flags |= SWP_SHOWWINDOW;
  SetWindowPosOnThread(hwnd, nullptr, target_rect.left, target_rect.top, target_rect.right - target_rect.left,
                       target_rect.bottom - target_rect.top, flags);
}

BOOL ShowWindowOnThread(HWND hwnd, int cmd) {
  Core& core = Core::Get();
  bool wasVisible = false;
  Placement placement = Placement::kNormal;
  bool restoreToMaximized = false;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    wasVisible = (w->style & WS_VISIBLE) != 0;
    placement = PlacementOf(w->style);
    restoreToMaximized = w->restoreToMaximized;
  }
  const UINT showFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      CallProc(hwnd, WM_SHOWWINDOW, FALSE, 0);
      SetWindowPosOnThread(hwnd, nullptr, 0, 0, 0, 0, showFlags | SWP_HIDEWINDOW | SWP_NOACTIVATE);
      return TRUE;
    case SW_SHOW:
    case SW_SHOWNA:
      if (wasVisible) return TRUE;
      CallProc(hwnd, WM_SHOWWINDOW, TRUE, 0);
      SetWindowPosOnThread(hwnd, nullptr, 0, 0, 0, 0,
                           showFlags | SWP_SHOWWINDOW | (cmd == SW_SHOWNA ? SWP_NOACTIVATE : 0));
      return FALSE;
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWDEFAULT:
    case SW_RESTORE:
      if (placement != Placement::kNormal) {
        Placement to = (cmd == SW_RESTORE && placement == Placement::kMinimized && restoreToMaximized)
                           ? Placement::kMaximized
                           : Placement::kNormal;
        ChangePlacement(hwnd, to, true, cmd != SW_SHOWNOACTIVATE);
      } else if (!wasVisible) {
        CallProc(hwnd, WM_SHOWWINDOW, TRUE, 0);
        SetWindowPosOnThread(hwnd, nullptr, 0, 0, 0, 0,
                             showFlags | SWP_SHOWWINDOW | (cmd == SW_SHOWNOACTIVATE ? SWP_NOACTIVATE : 0));
      }
      return wasVisible;
    case SW_SHOWMAXIMIZED:
      if (placement == Placement::kMaximized && wasVisible) return TRUE;
      ChangePlacement(hwnd, Placement::kMaximized, true, true);
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (placement == Placement::kMinimized && wasVisible) return TRUE;
      ChangePlacement(hwnd, Placement::kMinimized, true, cmd == SW_SHOWMINIMIZED);
      return wasVisible;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

}  // namespace

MINMAXINFO DefaultMinMaxInfo() {
  ScreenInfo screen = CurrentDisplay().Screen();
  MINMAXINFO mmi{};
  mmi.ptMaxSize = POINT{screen.workArea.right - screen.workArea.left, screen.workArea.bottom - screen.workArea.top};
  mmi.ptMaxPosition = POINT{screen.workArea.left, screen.workArea.top};
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  return mmi;
}

MINMAXINFO QueryMinMaxInfo(HWND hwnd) {
  MINMAXINFO mmi = DefaultMinMaxInfo();
  CallProc(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  return mmi;
}

}  // namespace korvane::platform

using namespace korvane::platform;

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return static_cast<BOOL>(RunOnWindowThread(
      hwnd, [=] { return static_cast<LRESULT>(SetWindowPosOnThread(hwnd, insertAfter, x, y, cx, cy, flags)); },
      FALSE));
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmdShow) {
  return static_cast<BOOL>(RunOnWindowThread(
      hwnd, [=] { return static_cast<LRESULT>(ShowWindowOnThread(hwnd, cmdShow)); }, FALSE));
}
