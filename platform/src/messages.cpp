// Message queues: sent, posted and synthesised messages, timers and modal loops.
#include "core.h"

#include <algorithm>

namespace korvane::platform {

namespace {

constexpr UINT kMinTimerElapse = 10;  // USER_TIMER_MINIMUM

// GetMessage's window filter: null takes every message of the thread, (HWND)-1 only thread
// messages, a window that window and its descendants.
bool MatchesWindow(const Core& core, HWND filter, HWND hwnd) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
  for (HWND h = hwnd; h;) {
    if (h == filter) return true;
    auto w = core.Find(h);
    h = w ? w->parent : nullptr;
  }
  return false;
}

bool MatchesRange(UINT message, UINT min, UINT max) {
  if (min == 0 && max == 0) return true;
  return message >= min && message <= max;
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = TickCount();
  POINT pt{};
  GetCursorPos(&pt);
  m.pt = pt;
  return m;
}

// Turns queued mouse input into the message the window gets: hit-test on this (the
// owner) thread, then a client message in client coordinates or a non-client message
// with the hit code and screen coordinates. False when the input is dropped.
bool TranslateMouseInput(const QueuedMessage& in, MSG* out) {
  Core& core = Core::Get();
  HWND hwnd = in.msg.hwnd;
  POINT client = in.clientPoint;
  POINT screen{};
  bool captured = false;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return false;
    RECT r = core.ScreenRectLocked(*w);
    screen = POINT{r.left + client.x, r.top + client.y};
    auto q = core.QueueOf(w->threadId);
    if (q && q->capture && q->capture != hwnd) {
      if (auto c = core.Find(q->capture)) {
        RECT cr = core.ScreenRectLocked(*c);
        hwnd = q->capture;
        client = POINT{screen.x - cr.left, screen.y - cr.top};
        captured = true;
      }
    } else if (q && q->capture == hwnd) {
      captured = true;
    }
    if (!captured) {
      // Input to a disabled window (or one under a disabled ancestor) goes nowhere.
      for (auto cur = w; cur; cur = cur->parent ? core.Find(cur->parent) : nullptr)
        if (cur->style & WS_DISABLED) return false;
    }
  }
  UINT message = in.msg.message;
  LRESULT hit = HTCLIENT;
  if (!captured) hit = CallProc(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (!IsWindow(hwnd)) return false;

  *out = in.msg;
  out->hwnd = hwnd;
  out->pt = screen;
  if (message == WM_MOUSEWHEEL) {
    out->lParam = MAKELPARAM(screen.x, screen.y);
    return hit != HTNOWHERE && hit != HTERROR && hit != HTTRANSPARENT;
  }
  if (hit == HTCLIENT) {
    out->lParam = MAKELPARAM(client.x, client.y);
    return true;
  }
  if (hit == HTNOWHERE || hit == HTERROR || hit == HTTRANSPARENT) return false;
  out->message = message - (WM_MOUSEMOVE - WM_NCMOUSEMOVE);
  out->wParam = static_cast<WPARAM>(hit);
  out->lParam = MAKELPARAM(screen.x, screen.y);
  return true;
}

// One look at the queue, in Windows' order: sent, posted (and input), quit, paint, timer.
// Lock held on entry and exit; released while sent messages run and input is hit-tested.
bool FetchMessage(ThreadQueue& q, std::unique_lock<std::mutex>& lock, MSG* out, HWND filter, UINT min, UINT max,
                  bool remove, std::optional<Clock::time_point>* nextDue) {
  Core& core = Core::Get();
  for (;;) {
    ServeSentMessages(q, lock);

    auto it = q.posted.begin();
    for (; it != q.posted.end(); ++it)
      if (MatchesWindow(core, filter, it->msg.hwnd) && MatchesRange(it->msg.message, min, max)) break;
    if (it != q.posted.end()) {
      size_t index = static_cast<size_t>(it - q.posted.begin());
      QueuedMessage entry = *it;
      if (entry.msg.hwnd && !core.Find(entry.msg.hwnd)) {
        q.posted.erase(it);  // the window went away meanwhile
        continue;
      }
      if (entry.kind == QueuedKind::kMouse) {
        q.posted.erase(it);
        lock.unlock();
        MSG translated{};
        bool keep = TranslateMouseInput(entry, &translated);
        lock.lock();
        if (!keep) continue;
        if (!remove) {
          QueuedMessage done;
          done.msg = translated;
          q.posted.insert(q.posted.begin() + static_cast<long>(std::min(index, q.posted.size())), done);
        }
        *out = translated;
        return true;
      }
      if (remove) q.posted.erase(it);
      if (entry.kind == QueuedKind::kKey) {
        q.lastKey = entry.msg;
        q.lastKeyText = entry.text;
      }
      *out = entry.msg;
      return true;
    }

    if (q.quitPosted) {
      if (remove) q.quitPosted = false;
      *out = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
      return true;
    }

    if (MatchesRange(WM_PAINT, min, max)) {
      for (auto& [hwnd, w] : core.windows) {
        if (w->threadId != q.threadId || w->dead || !w->needsPaint) continue;
        if (!core.IsVisibleLocked(*w) || !MatchesWindow(core, filter, hwnd)) continue;
        *out = MakeMsg(hwnd, WM_PAINT, 0, 0);
        return true;
      }
    }

    auto now = Clock::now();
    std::optional<Clock::time_point> due;
    if (MatchesRange(WM_TIMER, min, max)) {
      for (auto& t : q.timers) {
        if (!MatchesWindow(core, filter, t.hwnd)) continue;
        if (t.due <= now) {
          *out = MakeMsg(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
          if (remove) t.due = now + std::chrono::milliseconds(t.elapse);
          return true;
        }
        if (!due || t.due < *due) due = t.due;
      }
    }
    if (nextDue) *nextDue = due;
    return false;
  }
}

bool AnythingWaiting(ThreadQueue& q, const Core& core) {
  if (!q.sent.empty() || !q.posted.empty() || q.quitPosted) return true;
  for (auto& [hwnd, w] : core.windows)
    if (w->threadId == q.threadId && !w->dead && w->needsPaint && core.IsVisibleLocked(*w)) return true;
  auto now = Clock::now();
  for (auto& t : q.timers)
    if (t.due <= now) return true;
  return false;
}

std::optional<Clock::time_point> NextTimer(const ThreadQueue& q) {
  std::optional<Clock::time_point> due;
  for (auto& t : q.timers)
    if (!due || t.due < *due) due = t.due;
  return due;
}

bool PostToQueue(HWND hwnd, const QueuedMessage& entry) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  auto q = core.QueueOf(w->threadId);
  if (!q) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return false;
  }
  q->posted.push_back(entry);
  q->Wake();
  return true;
}

}  // namespace

bool PostQueued(HWND hwnd, const QueuedMessage& entry) { return PostToQueue(hwnd, entry); }

QueueStatus CurrentQueueStatus() {
  auto q = CurrentQueue();
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  return QueueStatus{AnythingWaiting(*q, core), NextTimer(*q)};
}

bool ServeSentMessages(ThreadQueue& q, std::unique_lock<std::mutex>& lock) {
  bool served = false;
  while (!q.sent.empty()) {
    auto item = q.sent.front();
    q.sent.pop_front();
    ++q.sendDepth;
    lock.unlock();
    LRESULT r = item->work();
    lock.lock();
    --q.sendDepth;
    item->result = r;
    item->done = true;
    if (item->sender) item->sender->Wake();
    served = true;
  }
  return served;
}

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return 0;
    proc = w->proc;
  }
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT RunOnWindowThread(HWND hwnd, std::function<LRESULT()> work, LRESULT failResult) {
  auto me = CurrentQueue();
  Core& core = Core::Get();
  std::unique_lock<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return failResult;
  }
  if (w->threadId == me->threadId) {
    lock.unlock();
    return work();
  }
  auto target = core.QueueOf(w->threadId);
  if (!target) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return failResult;
  }
  auto item = std::make_shared<SentItem>();
  item->work = std::move(work);
  item->sender = me;
  target->sent.push_back(item);
  target->Wake();
  // While blocked, this thread still serves what other threads send to it, so that two
  // threads sending to each other do not deadlock.
  while (!item->done) {
    if (ServeSentMessages(*me, lock)) continue;
    if (item->done) break;
    me->Wait(lock, std::nullopt);
  }
  return item->result;
}

bool RunModalLoop(const std::function<bool()>& done) {
  auto q = CurrentQueue();
  Core& core = Core::Get();
  for (;;) {
    MSG m{};
    {
      std::unique_lock<std::mutex> lock(core.mu);
      if (done()) return true;
      std::optional<Clock::time_point> due;
      if (!FetchMessage(*q, lock, &m, nullptr, 0, 0, true, &due)) {
        if (done()) return true;
        q->Wait(lock, due);
        continue;
      }
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return false;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace korvane::platform

using namespace korvane::platform;

LRESULT WINAPI SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  bool sameThread = false;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    sameThread = w->threadId == CurrentThreadId();
  }
  if (sameThread) return CallProc(hwnd, msg, wParam, lParam);
  return RunOnWindowThread(
      hwnd, [=] { return CallProc(hwnd, msg, wParam, lParam); }, 0);
}

BOOL WINAPI InSendMessage() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  return q->sendDepth > 0;
}

BOOL WINAPI PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return PostThreadMessageW(GetCurrentThreadId(), msg, wParam, lParam);
  QueuedMessage entry;
  entry.msg = MakeMsg(hwnd, msg, wParam, lParam);
  return PostToQueue(hwnd, entry);
}

BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (threadId == GetCurrentThreadId()) CurrentQueue();
  QueuedMessage entry;
  entry.msg = MakeMsg(nullptr, msg, wParam, lParam);
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto q = core.QueueOf(threadId);
  if (!q) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  q->posted.push_back(entry);
  q->Wake();
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  q->quitPosted = true;
  q->quitCode = exitCode;
  q->Wake();
}

namespace {
bool ValidFilter(HWND filter) {
  if (!filter || filter == reinterpret_cast<HWND>(-1)) return true;
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(filter);
  if (!w || w->threadId != CurrentThreadId()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  return true;
}
}  // namespace

BOOL WINAPI GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!ValidFilter(hwnd)) return -1;
  auto q = CurrentQueue();
  Core& core = Core::Get();
  std::unique_lock<std::mutex> lock(core.mu);
  for (;;) {
    std::optional<Clock::time_point> due;
    if (FetchMessage(*q, lock, msg, hwnd, filterMin, filterMax, true, &due)) return msg->message != WM_QUIT;
    q->Wait(lock, due);
  }
}

BOOL WINAPI PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!ValidFilter(hwnd)) return FALSE;
  auto q = CurrentQueue();
  std::unique_lock<std::mutex> lock(Core::Get().mu);
  return FetchMessage(*q, lock, msg, hwnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0, nullptr);
}

BOOL WINAPI WaitMessage() {
  auto q = CurrentQueue();
  Core& core = Core::Get();
  std::unique_lock<std::mutex> lock(core.mu);
  for (;;) {
    ServeSentMessages(*q, lock);
    if (AnythingWaiting(*q, core)) return TRUE;
    q->Wait(lock, NextTimer(*q));
  }
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  if (q->lastKeyText.empty() || q->lastKey.hwnd != msg->hwnd || q->lastKey.message != msg->message ||
      q->lastKey.wParam != msg->wParam || q->lastKey.time != msg->time)
    return FALSE;
  UINT charMsg = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  // The characters come next, before anything queued after the key.
  const std::u16string& text = q->lastKeyText;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    QueuedMessage entry;
    entry.msg = *msg;
    entry.msg.message = charMsg;
    entry.msg.wParam = *it;
    q->posted.push_front(entry);
  }
  q->lastKeyText.clear();
  return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto q = CurrentQueue();
    TIMERPROC proc = nullptr;
    {
      std::lock_guard<std::mutex> lock(Core::Get().mu);
      for (auto& t : q->timers)
        if (t.hwnd == msg->hwnd && t.id == msg->wParam) proc = t.proc;
    }
    if (proc) proc(msg->hwnd, WM_TIMER, msg->wParam, TickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(msg->hwnd);
    if (!w || w->threadId != CurrentThreadId()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
  }
  return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  auto q = CurrentQueue();
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  if (hwnd) {
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (w->threadId != q->threadId) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  } else {
    id = q->nextTimerId++;
  }
  elapse = std::max(elapse, kMinTimerElapse);
  Timer timer{hwnd, id, elapse, proc, Clock::now() + std::chrono::milliseconds(elapse)};
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it != q->timers.end())
    *it = timer;
  else
    q->timers.push_back(timer);
  q->Wake();
  return hwnd ? (id ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == q->timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  q->timers.erase(it);
  // A WM_TIMER already retrieved is not recalled; none is synthesised after this.
  return TRUE;
}
