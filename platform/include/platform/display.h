// The boundary between the platform core and a display. The core decides every window
// result by itself; a display mirrors the windows and feeds input back (see input.h).
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvane::platform {

// A copy of a window's state as the core holds it, handed to the display after a change.
struct WindowState {
  HWND hwnd = nullptr;
  HWND parent = nullptr;  // WS_CHILD windows
  HWND owner = nullptr;   // owned top-level windows
  DWORD threadId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::u16string className;
  std::u16string title;
  RECT rect{};            // screen coordinates
  bool visible = false;   // IsWindowVisible: the window and its ancestors carry WS_VISIBLE
  bool minimized = false;
  bool maximized = false;
  bool enabled = true;
  HICON icon = nullptr;
};

// Pixels a window painted: premultiplied ARGB, 32 bits a pixel, rows of `width` pixels.
struct SurfaceImage {
  int width = 0;
  int height = 0;
  bool layered = false;  // WS_EX_LAYERED: shaped by the alpha channel
  std::vector<uint32_t> pixels;
};

struct MessageBoxRequest {
  int id = 0;
  HWND owner = nullptr;
  std::u16string text;
  std::u16string caption;
  UINT type = 0;
};

struct MenuItem {
  UINT_PTR id = 0;
  UINT flags = 0;
  std::u16string text;
};

struct MenuRequest {
  int id = 0;
  HWND owner = nullptr;
  POINT point{};  // screen coordinates
  UINT flags = 0;
  std::vector<MenuItem> items;
};

struct TrayIconState {
  HWND hwnd = nullptr;
  UINT id = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::u16string tip;
};

struct ShellRequest {
  HWND hwnd = nullptr;
  std::u16string verb;
  std::u16string file;
  std::u16string parameters;
  std::u16string directory;
  int show = 0;
};

struct ScreenInfo {
  RECT screen{0, 0, 1920, 1080};
  RECT workArea{0, 0, 1920, 1040};
};

class Display {
 public:
  virtual ~Display() = default;

  // Window mirror. Called on the thread that made the change, with no core lock held.
  virtual void WindowCreated(const WindowState& state) = 0;
  virtual void WindowChanged(const WindowState& state) = 0;
  virtual void WindowDestroyed(HWND hwnd) = 0;
  virtual void SurfaceUpdated(HWND hwnd, std::shared_ptr<const SurfaceImage> image) = 0;

  // The window system's own move or resize, asked for by a caption or border hit.
  virtual void BeginMoveDrag(HWND hwnd, POINT screenPoint) = 0;
  virtual void BeginResizeDrag(HWND hwnd, int hitCode, POINT screenPoint) = 0;

  // Modal services: the core waits, serving the caller's messages, until the display
  // answers with CompleteMessageBox / CompleteMenu (input.h), from any thread.
  virtual void ShowMessageBox(const MessageBoxRequest& request) = 0;
  virtual void CancelMessageBox(int id) = 0;
  virtual void TrackMenu(const MenuRequest& request) = 0;
  virtual void CancelMenu(int id) = 0;

  virtual void TrayIconAdded(const TrayIconState& icon) = 0;
  virtual void TrayIconModified(const TrayIconState& icon) = 0;
  virtual void TrayIconDeleted(HWND hwnd, UINT id) = 0;

  // System-wide hot keys; false when the combination cannot be had.
  virtual bool GrabHotKey(UINT modifiers, UINT vk) = 0;
  virtual void ReleaseHotKey(UINT modifiers, UINT vk) = 0;

  // Hands a document or address to the system; false when nothing could take it.
  virtual bool Open(const ShellRequest& request) = 0;

  virtual POINT CursorPos() = 0;
  virtual void SetCursorPos(POINT point) = 0;
  virtual ScreenInfo Screen() = 0;
};

// Installs the display (before the first window); null restores the default, a headless
// display. The caller keeps ownership.
void SetDisplay(Display* display);
Display& CurrentDisplay();

// How a thread waits for its queue. The default waits on a condition variable; a thread
// that runs another event loop (GLib) installs a waiter that runs that loop instead.
class QueueWaiter {
 public:
  virtual ~QueueWaiter() = default;
  // Called with `lock` (the core lock) held; may release it while waiting. Returns when
  // woken, at the deadline, or spuriously.
  virtual void Wait(std::unique_lock<std::mutex>& lock,
                    std::optional<std::chrono::steady_clock::time_point> deadline) = 0;
  // Called from any thread, with the core lock held.
  virtual void Wake() = 0;
};

// Installs a waiter for the calling thread's queue (null restores the default).
void SetThreadQueueWaiter(QueueWaiter* waiter);

// For a thread whose own event loop serves its queue: whether GetMessage would find
// something now, and when the next timer falls due.
struct QueueStatus {
  bool ready = false;
  std::optional<std::chrono::steady_clock::time_point> nextTimer;
};
QueueStatus CurrentQueueStatus();

}  // namespace korvane::platform
