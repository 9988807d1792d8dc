// The platform core: window classes, windows and per-thread message queues. Every field
// here is guarded by Core::mu. Window procedures and display calls run without the lock.
#pragma once

#include <windows.h>
#include <platform/display.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace korvane::platform {

using Clock = std::chrono::steady_clock;

struct WindowClass {
  std::u16string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  int windowCount = 0;
};

struct Window {
  HWND hwnd = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // WS_CHILD
  HWND owner = nullptr;   // top-level owner
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  std::vector<uint8_t> extra;
  std::u16string title;
  HICON iconBig = nullptr;
  HICON iconSmall = nullptr;
  DWORD threadId = 0;

  RECT rect{};        // parent client coordinates for children, screen for top-level
  RECT normalRect{};  // the restored rectangle while minimised or maximised
  bool restoreToMaximized = false;

  bool created = false;     // WM_NCCREATE has been sent
  bool destroying = false;  // DestroyWindow has begun
  bool dead = false;        // removed from the table

  bool needsPaint = false;
  RECT invalid{};
  std::vector<uint32_t> surface;
  int surfaceWidth = 0;
  int surfaceHeight = 0;
  // Snapshots handed to the display, reused once the display has let go of one; `stale` is
  // what has been painted since the snapshot last matched the surface.
  struct SnapshotSlot {
    SurfaceImage image;
    std::atomic<bool> lent{false};
  };
  struct Snapshot {
    std::shared_ptr<SnapshotSlot> slot;
    RECT stale{};
  };
  Snapshot snapshots[2];
};

// Work another thread asks this thread to do: a sent message or an internal call.
struct SentItem {
  std::function<LRESULT()> work;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<struct ThreadQueue> sender;
};

enum class QueuedKind { kMessage, kMouse, kKey };

struct QueuedMessage {
  QueuedKind kind = QueuedKind::kMessage;
  MSG msg{};
  POINT clientPoint{};   // kMouse
  std::u16string text;   // kKey: what TranslateMessage types
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
  Clock::time_point due;
};

struct ThreadQueue {
  DWORD threadId = 0;
  bool alive = true;
  std::deque<QueuedMessage> posted;
  std::deque<std::shared_ptr<SentItem>> sent;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  HWND focus = nullptr;
  HWND capture = nullptr;
  int sendDepth = 0;  // > 0 while a window procedure serves a message sent from another thread
  // The text of the key message most recently retrieved, for TranslateMessage.
  MSG lastKey{};
  std::u16string lastKeyText;

  std::condition_variable cv;
  std::atomic<uint64_t> wakes{0};  // counts Wake() calls, so a short spin can see them unlocked
  QueueWaiter* waiter = nullptr;

  void Wake();
  void Wait(std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> deadline);
};

class Core {
 public:
  static Core& Get();

  std::mutex mu;
  std::unordered_map<HWND, std::shared_ptr<Window>> windows;
  std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>> queues;
  std::map<std::u16string, std::shared_ptr<WindowClass>> classes;  // key: upper-case name

  // Locked helpers.
  std::shared_ptr<Window> Find(HWND hwnd) const;
  std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) const;
  HWND NewHandle();
  std::vector<HWND> ChildrenOf(HWND hwnd) const;  // direct WS_CHILD children, creation order
  std::vector<HWND> OwnedBy(HWND hwnd) const;     // owned top-level windows, creation order
  bool IsVisibleLocked(const Window& w) const;
  RECT ScreenRectLocked(const Window& w) const;
  WindowState StateLocked(const Window& w) const;

 private:
  uintptr_t nextHandle_ = 0x10010;
  std::vector<HWND> order_;  // creation order, for stable enumeration
  friend void ForgetWindowOrder(HWND);
  friend void RememberWindowOrder(HWND);
};

// The calling thread's queue, created on first use; destroyed with the thread, which
// destroys the thread's windows first.
std::shared_ptr<ThreadQueue> CurrentQueue();
DWORD CurrentThreadId();

// Calls the window procedure (no lock held). 0 for a window that is gone.
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs `work` on the thread that owns `hwnd` and waits for it, serving messages sent to
// the caller meanwhile. Runs inline on the owner thread. `failResult` when the window or
// its thread is gone.
LRESULT RunOnWindowThread(HWND hwnd, std::function<LRESULT()> work, LRESULT failResult);

// Queues input or a message for the thread that owns `hwnd`.
bool PostQueued(HWND hwnd, const QueuedMessage& entry);

// Serves every message other threads have sent to this thread. Lock held on entry and exit.
bool ServeSentMessages(ThreadQueue& q, std::unique_lock<std::mutex>& lock);

// Runs a modal loop on the calling thread until `done()` (checked with the lock held)
// becomes true, dispatching messages. Returns false when WM_QUIT ended it (the quit is
// posted again, as Windows' modal loops do).
bool RunModalLoop(const std::function<bool()>& done);

// Window-system notifications, made after the state changed (no lock held).
void NotifyChanged(HWND hwnd);
void RememberWindowOrder(HWND hwnd);
void ForgetWindowOrder(HWND hwnd);

// Cleanup hooks that DestroyWindow calls for services tied to a window.
void ReleaseHotKeysOf(HWND hwnd);
void DeleteTrayIconsOf(HWND hwnd);

// The window's default minimum/maximum information before WM_GETMINMAXINFO.
MINMAXINFO DefaultMinMaxInfo();
// Sends WM_GETMINMAXINFO and returns what the window answered.
MINMAXINFO QueryMinMaxInfo(HWND hwnd);

// Internal DestroyWindow on the owner thread.
BOOL DestroyWindowOnThread(HWND hwnd);

DWORD TickCount();

}  // namespace korvane::platform
