// Input from the display, queued for the thread that owns the window.
#include "core.h"

#include <platform/input.h>

namespace korvane::platform {

namespace {

// Keys go to the focus window when it lies inside the window the display names.
HWND KeyTarget(HWND hwnd) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) return nullptr;
  for (auto cur = w; cur; cur = cur->parent ? core.Find(cur->parent) : nullptr)
    if (cur->style & WS_DISABLED) return nullptr;
  auto q = core.QueueOf(w->threadId);
  if (q && q->focus) {
    for (auto f = core.Find(q->focus); f; f = f->parent ? core.Find(f->parent) : nullptr)
      if (f->hwnd == hwnd) return q->focus;
  }
  return hwnd;
}

// Work for the owner thread that nobody waits for.
void RunOnWindowThreadLater(HWND hwnd, std::function<LRESULT()> work) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) return;
  auto q = core.QueueOf(w->threadId);
  if (!q) return;
  auto item = std::make_shared<SentItem>();
  item->work = std::move(work);
  q->sent.push_back(item);
  q->Wake();
}

MSG InputMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = TickCount();
  return m;
}

}  // namespace

void PostMouseInput(HWND hwnd, UINT message, POINT clientPoint, WPARAM keyState, short wheelDelta) {
  QueuedMessage entry;
  entry.kind = QueuedKind::kMouse;
  WPARAM wParam = message == WM_MOUSEWHEEL ? MAKEWPARAM(keyState, static_cast<WORD>(wheelDelta)) : keyState;
  entry.msg = InputMsg(hwnd, message, wParam, MAKELPARAM(clientPoint.x, clientPoint.y));
  entry.clientPoint = clientPoint;
  PostQueued(hwnd, entry);
}

void PostKeyInput(HWND hwnd, bool down, UINT vk, bool alt, std::u16string text) {
  HWND target = KeyTarget(hwnd);
  if (!target) return;
  UINT message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  LPARAM lParam = 1;  // repeat count
  if (alt) lParam |= 1 << 29;
  if (!down) lParam |= (1u << 30) | (1u << 31);
  QueuedMessage entry;
  entry.kind = QueuedKind::kKey;
  entry.msg = InputMsg(target, message, vk, static_cast<LPARAM>(static_cast<DWORD>(lParam)));
  if (down) entry.text = std::move(text);
  PostQueued(target, entry);
}

void PostTextInput(HWND hwnd, const std::u16string& text) {
  HWND target = KeyTarget(hwnd);
  if (!target) return;
  for (char16_t c : text) {
    QueuedMessage entry;
    entry.msg = InputMsg(target, WM_CHAR, c, 1);
    PostQueued(target, entry);
  }
}

void PostActivation(HWND hwnd, bool active) {
  RunOnWindowThreadLater(hwnd, [hwnd, active] {
    return SendMessageW(hwnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
  });
}

void PostCloseRequest(HWND hwnd) { PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PostWindowRectBySystem(HWND hwnd, RECT r) {
  RunOnWindowThreadLater(hwnd, [hwnd, r] {
    return static_cast<LRESULT>(
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE));
  });
}

}  // namespace korvane::platform
