#include "core.h"

#include <platform/headless_display.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace korvane::platform {

namespace {

std::atomic<Display*> g_display{nullptr};

struct ThreadRegistration {
  std::shared_ptr<ThreadQueue> queue;
  ~ThreadRegistration();
};

thread_local ThreadRegistration t_registration;

ThreadRegistration::~ThreadRegistration() {
  if (!queue) return;
  Core& core = Core::Get();
  DWORD me = queue->threadId;
  // A thread that ends destroys its windows: the roots of this thread's trees first, so
  // that owned and child windows go in the order DestroyWindow gives them.
  for (;;) {
    HWND root = nullptr;
    {
      std::lock_guard<std::mutex> lock(core.mu);
      for (auto& [hwnd, w] : core.windows) {
        if (w->threadId != me || w->destroying) continue;
        auto parent = w->parent ? core.Find(w->parent) : nullptr;
        if (!parent || parent->threadId != me) {
          root = hwnd;
          break;
        }
      }
    }
    if (!root) break;
    DestroyWindowOnThread(root);
  }
  std::unique_lock<std::mutex> lock(core.mu);
  queue->alive = false;
  for (auto& item : queue->sent) {
    item->done = true;
    item->result = 0;
    if (item->sender) item->sender->Wake();
  }
  queue->sent.clear();
  queue->posted.clear();
  core.queues.erase(me);
}

}  // namespace

Core& Core::Get() {
  static Core* core = new Core();  // never destroyed: threads may outlive static teardown
  return *core;
}

std::shared_ptr<Window> Core::Find(HWND hwnd) const {
  auto it = windows.find(hwnd);
  if (it == windows.end() || it->second->dead) return nullptr;
  return it->second;
}

std::shared_ptr<ThreadQueue> Core::QueueOf(DWORD threadId) const {
  auto it = queues.find(threadId);
  if (it == queues.end() || !it->second->alive) return nullptr;
  return it->second;
}

HWND Core::NewHandle() {
  // Handles are never reused, so a stale handle can never name a newer window.
  nextHandle_ += 4;
  return reinterpret_cast<HWND>(nextHandle_);
}

std::vector<HWND> Core::ChildrenOf(HWND hwnd) const {
  std::vector<HWND> out;
  for (HWND h : order_) {
    auto w = Find(h);
    if (w && w->parent == hwnd) out.push_back(h);
  }
  return out;
}

std::vector<HWND> Core::OwnedBy(HWND hwnd) const {
  std::vector<HWND> out;
  for (HWND h : order_) {
    auto w = Find(h);
    if (w && !w->parent && w->owner == hwnd) out.push_back(h);
  }
  return out;
}

void RememberWindowOrder(HWND hwnd) { Core::Get().order_.push_back(hwnd); }

void ForgetWindowOrder(HWND hwnd) {
  auto& order = Core::Get().order_;
  order.erase(std::remove(order.begin(), order.end(), hwnd), order.end());
}

bool Core::IsVisibleLocked(const Window& w) const {
  const Window* cur = &w;
  for (;;) {
    if (!(cur->style & WS_VISIBLE)) return false;
    if (!cur->parent) return true;
    auto parent = Find(cur->parent);
    if (!parent) return false;
    cur = parent.get();
  }
}

RECT Core::ScreenRectLocked(const Window& w) const {
  RECT r = w.rect;
  HWND p = w.parent;
  while (p) {
    auto parent = Find(p);
    if (!parent) break;
    OffsetRect(&r, parent->rect.left, parent->rect.top);
    p = parent->parent;
  }
  return r;
}

WindowState Core::StateLocked(const Window& w) const {
  WindowState s;
  s.hwnd = w.hwnd;
  s.parent = w.parent;
  s.owner = w.owner;
  s.threadId = w.threadId;
  s.style = w.style;
  s.exStyle = w.exStyle;
  s.className = w.cls ? w.cls->name : std::u16string();
  s.title = w.title;
  s.rect = ScreenRectLocked(w);
  s.visible = IsVisibleLocked(w);
  s.minimized = (w.style & WS_MINIMIZE) != 0;
  s.maximized = (w.style & WS_MAXIMIZE) != 0;
  s.enabled = (w.style & WS_DISABLED) == 0;
  s.icon = w.iconSmall ? w.iconSmall : w.iconBig;
  return s;
}

DWORD CurrentThreadId() {
  static thread_local DWORD tid = static_cast<DWORD>(syscall(SYS_gettid));
  return tid;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (t_registration.queue) return t_registration.queue;
  auto q = std::make_shared<ThreadQueue>();
  q->threadId = CurrentThreadId();
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    core.queues[q->threadId] = q;
  }
  t_registration.queue = q;
  return q;
}

void ThreadQueue::Wake() {
  if (waiter) {
    waiter->Wake();
    return;
  }
  wakes.fetch_add(1, std::memory_order_release);
  cv.notify_all();
}

void ThreadQueue::Wait(std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> deadline) {
  if (waiter) {
    waiter->Wait(lock, deadline);
    return;
  }
  // A reply or a message often follows within microseconds (a SendMessage round trip): a
  // brief spin before sleeping saves two scheduler wake-ups on each exchange.
  constexpr auto kSpin = std::chrono::microseconds(30);
  uint64_t seen = wakes.load(std::memory_order_acquire);
  lock.unlock();
  auto spinUntil = Clock::now() + kSpin;
  if (deadline && *deadline < spinUntil) spinUntil = *deadline;
  while (wakes.load(std::memory_order_acquire) == seen && Clock::now() < spinUntil) {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
  }
  lock.lock();
  if (wakes.load(std::memory_order_acquire) != seen) return;
  if (deadline)
    cv.wait_until(lock, *deadline);
  else
    cv.wait(lock);
}

void SetThreadQueueWaiter(QueueWaiter* waiter) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  q->waiter = waiter;
}

void SetDisplay(Display* display) { g_display.store(display); }

Display& CurrentDisplay() {
  Display* d = g_display.load();
  return d ? *d : HeadlessDisplay::Default();
}

void NotifyChanged(HWND hwnd) {
  Core& core = Core::Get();
  std::vector<WindowState> states;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w || !w->created) return;
    states.push_back(core.StateLocked(*w));
    // Children follow their parent's place and visibility.
    std::vector<HWND> pending = core.ChildrenOf(hwnd);
    while (!pending.empty()) {
      HWND h = pending.back();
      pending.pop_back();
      if (auto c = core.Find(h)) {
        states.push_back(core.StateLocked(*c));
        auto more = core.ChildrenOf(h);
        pending.insert(pending.end(), more.begin(), more.end());
      }
    }
  }
  Display& display = CurrentDisplay();
  for (const auto& s : states) display.WindowChanged(s);
}

DWORD TickCount() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(Clock::now().time_since_epoch()).count());
}

}  // namespace korvane::platform
