// Window classes, creation and destruction, and the window's own state.
#include "core.h"

#include <algorithm>
#include <cstring>

namespace korvane::platform {

namespace {

std::u16string ToUpper(std::u16string s) {
  for (auto& c : s)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return s;
}

std::u16string Str(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

// Class atoms are handed out in the range Windows uses for registered classes.
std::map<ATOM, std::u16string>& Atoms() {
  static std::map<ATOM, std::u16string> atoms;
  return atoms;
}
ATOM g_nextAtom = 0xC000;

std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name) {
  Core& core = Core::Get();
  std::u16string key;
  if (IS_INTRESOURCE(name)) {
    auto it = Atoms().find(static_cast<ATOM>(reinterpret_cast<uintptr_t>(name)));
    if (it == Atoms().end()) return nullptr;
    key = it->second;
  } else {
    key = ToUpper(name);
  }
  auto it = core.classes.find(key);
  return it == core.classes.end() ? nullptr : it->second;
}

HWND RootOf(const Core& core, HWND hwnd) {
  for (;;) {
    auto w = core.Find(hwnd);
    if (!w || !w->parent) return hwnd;
    hwnd = w->parent;
  }
}

void SendDestroy(HWND hwnd);
void SendNcDestroy(HWND hwnd);

// Removes a window whose WM_NCDESTROY has been sent, with everything tied to it.
void Remove(HWND hwnd) {
  Core& core = Core::Get();
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return;
    w->dead = true;
    if (w->cls) --w->cls->windowCount;
    if (auto q = core.QueueOf(w->threadId)) {
      auto& posted = q->posted;
      posted.erase(std::remove_if(posted.begin(), posted.end(),
                                  [&](const QueuedMessage& m) { return m.msg.hwnd == hwnd; }),
                   posted.end());
      auto& timers = q->timers;
      timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                   timers.end());
      if (q->focus == hwnd) q->focus = nullptr;
      if (q->capture == hwnd) q->capture = nullptr;
    }
    core.windows.erase(hwnd);
    ForgetWindowOrder(hwnd);
  }
  ReleaseHotKeysOf(hwnd);
  DeleteTrayIconsOf(hwnd);
  CurrentDisplay().WindowDestroyed(hwnd);
}

bool OnThisThread(HWND hwnd) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  return w && w->threadId == CurrentThreadId();
}

void DestroyElsewhere(HWND hwnd) {
  RunOnWindowThread(hwnd, [hwnd] { return static_cast<LRESULT>(DestroyWindowOnThread(hwnd)); }, 0);
}

// WM_DESTROY goes to the window first, then to its children, while they all still exist.
// A child that another thread owns is destroyed whole on that thread.
void SendDestroy(HWND hwnd) {
  CallProc(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    children = core.ChildrenOf(hwnd);
    for (HWND c : children)
      if (auto w = core.Find(c); w && w->threadId == CurrentThreadId()) w->destroying = true;
  }
  for (HWND c : children) {
    if (!IsWindow(c)) continue;
    if (OnThisThread(c))
      SendDestroy(c);
    else
      DestroyElsewhere(c);
  }
}

// WM_NCDESTROY comes last, after the children are gone.
void SendNcDestroy(HWND hwnd) {
  std::vector<HWND> children;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    children = core.ChildrenOf(hwnd);
  }
  for (HWND c : children)
    if (IsWindow(c) && OnThisThread(c)) SendNcDestroy(c);
  CallProc(hwnd, WM_NCDESTROY, 0, 0);
  Remove(hwnd);
}

}  // namespace

BOOL DestroyWindowOnThread(HWND hwnd) {
  Core& core = Core::Get();
  bool visible = false;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (w->destroying) return TRUE;
    w->destroying = true;
    visible = (w->style & WS_VISIBLE) != 0;
  }
  if (visible)
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  // Owned windows go first, each completely, on the thread that owns it.
  std::vector<HWND> owned;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    owned = core.OwnedBy(hwnd);
  }
  for (HWND o : owned) {
    if (!IsWindow(o)) continue;
    if (OnThisThread(o))
      DestroyWindowOnThread(o);
    else
      DestroyElsewhere(o);
  }
  SendDestroy(hwnd);
  SendNcDestroy(hwnd);
  return TRUE;
}

}  // namespace korvane::platform

using namespace korvane::platform;

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || !wc->lpszClassName || wc->cbSize != sizeof(WNDCLASSEXW) || wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  std::u16string key = IS_INTRESOURCE(wc->lpszClassName) ? std::u16string() : ToUpper(wc->lpszClassName);
  if (key.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (core.classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->wndExtra = wc->cbWndExtra;
  cls->instance = wc->hInstance;
  cls->icon = wc->hIcon;
  cls->iconSmall = wc->hIconSm;
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  core.classes[key] = cls;
  ATOM atom = g_nextAtom++;
  Atoms()[atom] = key;
  return atom;
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW ex{};
  ex.cbSize = sizeof(ex);
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return RegisterClassExW(&ex);
}

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto cls = className ? FindClassLocked(className) : nullptr;
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (cls->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  core.classes.erase(ToUpper(cls->name));
  return TRUE;
}

BOOL WINAPI GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wc) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto cls = className ? FindClassLocked(className) : nullptr;
  if (!cls || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = cls->style;
  wc->lpfnWndProc = cls->proc;
  wc->cbClsExtra = 0;
  wc->cbWndExtra = cls->wndExtra;
  wc->hInstance = cls->instance;
  wc->hIcon = cls->icon;
  wc->hIconSm = cls->iconSmall;
  wc->hCursor = cls->cursor;
  wc->hbrBackground = cls->background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = className;
  return TRUE;
}

int WINAPI GetClassNameW(HWND hwnd, LPWSTR className, int maxCount) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!className || maxCount <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::u16string name = w->cls->name.substr(0, static_cast<size_t>(maxCount - 1));
  std::copy(name.begin(), name.end(), className);
  className[name.size()] = 0;
  return static_cast<int>(name.size());
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parentArg, HMENU menu, HINSTANCE instance, LPVOID param) {
  CurrentQueue();
  Core& core = Core::Get();
  auto w = std::make_shared<Window>();
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto cls = className ? FindClassLocked(className) : nullptr;
    if (!cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    HWND parent = nullptr;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
      if (!parentArg || !core.Find(parentArg)) {
        SetLastError(parentArg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
        return nullptr;
      }
      parent = parentArg;
    } else if (parentArg) {
      if (!core.Find(parentArg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      owner = RootOf(core, parentArg);  // the owner of a top-level window is a top-level window
    }
    bool overlapped = !(style & (WS_CHILD | WS_POPUP));
    if (x == CW_USEDEFAULT) {
      x = overlapped ? 26 : 0;
      y = overlapped ? 26 : 0;
    }
    if (width == CW_USEDEFAULT) {
      ScreenInfo screen = CurrentDisplay().Screen();
      width = overlapped ? (screen.workArea.right - screen.workArea.left) * 3 / 4 : 0;
      height = overlapped ? (screen.workArea.bottom - screen.workArea.top) * 3 / 4 : 0;
    }
    w->hwnd = core.NewHandle();
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w->exStyle = exStyle;
    w->parent = parent;
    w->owner = owner;
    w->instance = instance;
    w->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
    w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
    w->title = Str(windowName);
    w->threadId = CurrentThreadId();
    w->iconBig = cls->icon;
    w->iconSmall = cls->iconSmall;
    w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    w->normalRect = w->rect;
    ++cls->windowCount;
    core.windows[w->hwnd] = w;
    RememberWindowOrder(w->hwnd);
  }
  HWND hwnd = w->hwnd;
  {
    WindowState state;
    {
      std::lock_guard<std::mutex> lock(core.mu);
      w->created = true;
      state = core.StateLocked(*w);
    }
    CurrentDisplay().WindowCreated(state);
  }

  if (!(style & WS_CHILD) && (style & (WS_THICKFRAME | WS_CAPTION))) {
    MINMAXINFO mmi = QueryMinMaxInfo(hwnd);
    std::lock_guard<std::mutex> lock(core.mu);
    LONG cx = std::clamp(w->rect.right - w->rect.left, mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x);
    LONG cy = std::clamp(w->rect.bottom - w->rect.top, mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y);
    w->rect.right = w->rect.left + cx;
    w->rect.bottom = w->rect.top + cy;
    w->normalRect = w->rect;
  }

  CREATESTRUCTW cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parentArg;
  cs.x = w->rect.left;
  cs.y = w->rect.top;
  cs.cx = w->rect.right - w->rect.left;
  cs.cy = w->rect.bottom - w->rect.top;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (!CallProc(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    // Windows sends WM_NCDESTROY alone when WM_NCCREATE refuses.
    {
      std::lock_guard<std::mutex> lock(core.mu);
      w->destroying = true;
    }
    CallProc(hwnd, WM_NCDESTROY, 0, 0);
    Remove(hwnd);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  RECT calc = w->rect;
  CallProc(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
  if (CallProc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindowOnThread(hwnd);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  RECT client{};
  GetClientRect(hwnd, &client);
  CallProc(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  RECT r{};
  {
    std::lock_guard<std::mutex> lock(core.mu);
    r = w->rect;
  }
  CallProc(hwnd, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (w->threadId != CurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  return DestroyWindowOnThread(hwnd);
}

namespace {
template <typename F>
auto WithWindow(HWND hwnd, F f, decltype(f(std::declval<Window&>())) failResult) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return failResult;
  }
  return f(*w);
}
}  // namespace

BOOL WINAPI IsWindow(HWND hwnd) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  return core.Find(hwnd) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
  return WithWindow(
      hwnd, [](Window& w) -> BOOL { return Core::Get().IsVisibleLocked(w); }, FALSE);
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  return WithWindow(
      hwnd, [](Window& w) -> BOOL { return !(w.style & WS_DISABLED); }, FALSE);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  bool wasDisabled = false;
  bool changed = false;
  if (!WithWindow(
          hwnd,
          [&](Window& w) -> BOOL {
            wasDisabled = (w.style & WS_DISABLED) != 0;
            changed = wasDisabled == static_cast<bool>(enable);
            if (enable)
              w.style &= ~WS_DISABLED;
            else
              w.style |= WS_DISABLED;
            return TRUE;
          },
          FALSE))
    return FALSE;
  if (changed) {
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    NotifyChanged(hwnd);
  }
  return wasDisabled;
}

BOOL WINAPI IsIconic(HWND hwnd) {
  return WithWindow(
      hwnd, [](Window& w) -> BOOL { return (w.style & WS_MINIMIZE) != 0; }, FALSE);
}

BOOL WINAPI IsZoomed(HWND hwnd) {
  return WithWindow(
      hwnd, [](Window& w) -> BOOL { return (w.style & WS_MAXIMIZE) != 0; }, FALSE);
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  while (w && w->parent) {
    if (w->parent == parent) return TRUE;
    w = core.Find(w->parent);
  }
  return FALSE;
}

HWND WINAPI GetParent(HWND hwnd) {
  // As in Windows: the parent of a child window, the owner of a top-level one.
  return WithWindow(
      hwnd, [](Window& w) -> HWND { return w.parent ? w.parent : w.owner; }, nullptr);
}

HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
  return WithWindow(
      hwnd,
      [cmd](Window& w) -> HWND {
        if (cmd == GW_OWNER) return w.parent ? nullptr : w.owner;
        if (cmd == GW_CHILD) {
          auto children = Core::Get().ChildrenOf(w.hwnd);
          return children.empty() ? nullptr : children.front();
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      },
      nullptr);
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  switch (flags) {
    case GA_PARENT:
      return w->parent;
    case GA_ROOT:
      return RootOf(core, hwnd);
    case GA_ROOTOWNER: {
      HWND h = RootOf(core, hwnd);
      for (auto cur = core.Find(h); cur && cur->owner; cur = core.Find(cur->owner)) h = cur->owner;
      return h;
    }
    default:
      return nullptr;
  }
}

HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  std::shared_ptr<WindowClass> cls;
  if (className) {
    cls = FindClassLocked(className);
    if (!cls) return nullptr;
  }
  for (auto& [hwnd, w] : core.windows) {
    if (w->dead || w->parent) continue;
    if (cls && w->cls != cls) continue;
    if (windowName && w->title != windowName) continue;
    return hwnd;
  }
  return nullptr;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  DWORD tid = WithWindow(
      hwnd, [](Window& w) -> DWORD { return w.threadId; }, 0);
  if (tid && processId) *processId = GetCurrentProcessId();
  return tid;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(
      hwnd,
      [rect](Window& w) -> BOOL {
        *rect = Core::Get().ScreenRectLocked(w);
        return TRUE;
      },
      FALSE);
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(
      hwnd,
      [rect](Window& w) -> BOOL {
        // The skin draws the frame: the client area is the whole window.
        if (w.style & WS_MINIMIZE)
          *rect = RECT{0, 0, 0, 0};
        else
          *rect = RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
        return TRUE;
      },
      FALSE);
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(
      hwnd,
      [point](Window& w) -> BOOL {
        RECT r = Core::Get().ScreenRectLocked(w);
        point->x += r.left;
        point->y += r.top;
        return TRUE;
      },
      FALSE);
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithWindow(
      hwnd,
      [point](Window& w) -> BOOL {
        RECT r = Core::Get().ScreenRectLocked(w);
        point->x -= r.left;
        point->y -= r.top;
        return TRUE;
      },
      FALSE);
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hwnd, int index) {
  return WithWindow(
      hwnd,
      [index](Window& w) -> LONG_PTR {
        switch (index) {
          case GWL_STYLE:
            return static_cast<LONG>(w.style);
          case GWL_EXSTYLE:
            return static_cast<LONG>(w.exStyle);
          case GWLP_USERDATA:
            return w.userData;
          case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w.proc);
          case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w.instance);
          case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w.parent ? w.parent : w.owner);
          case GWLP_ID:
            return w.id;
          default:
            if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w.extra.size()) {
              LONG_PTR v;
              std::memcpy(&v, w.extra.data() + index, sizeof(v));
              return v;
            }
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
      },
      0);
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  bool notify = false;
  LONG_PTR old = WithWindow(
      hwnd,
      [&](Window& w) -> LONG_PTR {
        LONG_PTR prev = 0;
        switch (index) {
          case GWL_STYLE:
            prev = static_cast<LONG>(w.style);
            w.style = static_cast<DWORD>(value);
            notify = true;
            return prev;
          case GWL_EXSTYLE:
            prev = static_cast<LONG>(w.exStyle);
            w.exStyle = static_cast<DWORD>(value);
            notify = true;
            return prev;
          case GWLP_USERDATA:
            prev = w.userData;
            w.userData = value;
            return prev;
          case GWLP_WNDPROC:
            prev = reinterpret_cast<LONG_PTR>(w.proc);
            w.proc = reinterpret_cast<WNDPROC>(value);
            return prev;
          case GWLP_HINSTANCE:
            prev = reinterpret_cast<LONG_PTR>(w.instance);
            w.instance = reinterpret_cast<HINSTANCE>(value);
            return prev;
          case GWLP_HWNDPARENT:
            if (w.parent) {
              SetLastError(ERROR_INVALID_PARAMETER);
              return 0;
            }
            prev = reinterpret_cast<LONG_PTR>(w.owner);
            w.owner = reinterpret_cast<HWND>(value);
            notify = true;
            return prev;
          case GWLP_ID:
            prev = w.id;
            w.id = value;
            return prev;
          default:
            if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w.extra.size()) {
              std::memcpy(&prev, w.extra.data() + index, sizeof(prev));
              std::memcpy(w.extra.data() + index, &value, sizeof(value));
              return prev;
            }
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
      },
      0);
  if (notify) NotifyChanged(hwnd);
  return old;
}

LONG WINAPI GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }

LONG WINAPI SetWindowLongW(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, value));
}

BOOL WINAPI SetWindowTextW(HWND hwnd, LPCWSTR text) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
  if (!text || maxCount <= 0) return 0;
  text[0] = 0;
  return WithWindow(
      hwnd,
      [&](Window& w) -> int {
        size_t n = std::min(w.title.size(), static_cast<size_t>(maxCount - 1));
        std::copy(w.title.begin(), w.title.begin() + static_cast<long>(n), text);
        text[n] = 0;
        return static_cast<int>(n);
      },
      0);
}

int WINAPI GetWindowTextLengthW(HWND hwnd) {
  return WithWindow(
      hwnd, [](Window& w) -> int { return static_cast<int>(w.title.size()); }, 0);
}

HWND WINAPI SetFocus(HWND hwnd) {
  auto q = CurrentQueue();
  HWND previous = nullptr;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    if (hwnd) {
      auto w = core.Find(hwnd);
      if (!w || w->threadId != q->threadId) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
    }
    previous = q->focus;
    if (previous == hwnd) return previous;
    q->focus = hwnd;
  }
  if (previous) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd) SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND WINAPI GetFocus() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  return q->focus;
}

HWND WINAPI SetCapture(HWND hwnd) {
  auto q = CurrentQueue();
  HWND previous = nullptr;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w || w->threadId != q->threadId) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    previous = q->capture;
    q->capture = hwnd;
  }
  if (previous && previous != hwnd) SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

BOOL WINAPI ReleaseCapture() {
  auto q = CurrentQueue();
  HWND previous = nullptr;
  {
    std::lock_guard<std::mutex> lock(Core::Get().mu);
    previous = q->capture;
    q->capture = nullptr;
  }
  if (previous) SendMessageW(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND WINAPI GetCapture() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  return q->capture;
}
