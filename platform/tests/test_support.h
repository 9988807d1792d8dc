// Shared pieces of the platform conformance tests: a logging window class, message
// pumps, a thread that owns windows, and the headless display fixture.
#pragma once

#include <windows.h>
#include <platform/headless_display.h>

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace korvane::platform::testing {

// A message as the tests compare it: its name and the parameters that matter for it,
// written when the window procedure received it ("WM_SIZE SIZE_MAXIMIZED 1920x1040").
std::string Describe(UINT msg, WPARAM wParam, LPARAM lParam);

// A thread-safe record of messages, "window-name: description" or just the description.
class MessageLog {
 public:
  void Add(std::string entry);
  std::vector<std::string> Take();  // returns and clears
  std::vector<std::string> Peek() const;
  void Clear();

 private:
  mutable std::mutex mu_;
  std::vector<std::string> entries_;
};

// Returns a result to handle the message, or nothing to let DefWindowProc have it.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

struct WindowSpec {
  std::string name;  // prefixes log entries when set
  DWORD style = WS_POPUP;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 100, height = 100;
  HWND parent = nullptr;
  std::u16string title = u"test";
  MessageLog* log = nullptr;
  Handler handler;
  // Messages left out of the log (noise for the behaviour under test).
  std::vector<UINT> ignore = {WM_NCHITTEST, WM_PAINT, WM_ERASEBKGND, WM_GETTEXT, WM_GETTEXTLENGTH, WM_SETICON,
                              WM_GETICON};
};

// Creates a window of the test class on the calling thread; it logs what its procedure
// receives and asks the handler first. The spec lives as long as the window.
HWND CreateTestWindow(const WindowSpec& spec);

// Dispatches everything queued for the calling thread; false when WM_QUIT was retrieved.
bool Pump();
// Pumps until `done` or the time runs out (for input that other threads deliver).
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// A thread with a message loop, for windows that live on another thread.
class WindowThread {
 public:
  WindowThread();
  ~WindowThread();  // quits the loop and joins
  DWORD Id() const { return id_; }
  // Runs `fn` on the thread and waits for it.
  template <typename T>
  T Call(std::function<T()> fn) {
    std::promise<T> done;
    auto future = done.get_future();
    Post([&] { done.set_value(fn()); });
    return future.get();
  }
  void Run(std::function<void()> fn) {
    Call<int>([&] {
      fn();
      return 0;
    });
  }
  // Runs `fn` on the thread without waiting.
  void Post(std::function<void()> fn);
  void Quit();
  void Join();

 private:
  std::thread thread_;
  DWORD id_ = 0;
  bool joined_ = false;
};

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HeadlessDisplay& display() { return HeadlessDisplay::Default(); }
  // Outlives the windows that TearDown destroys.
  MessageLog log;
};

}  // namespace korvane::platform::testing
