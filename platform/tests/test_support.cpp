#include "test_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

namespace korvane::platform::testing {

namespace {

constexpr UINT kRunTask = WM_APP + 0x100;
constexpr UINT kQuitLoop = WM_APP + 0x101;
const char16_t kClassName[] = u"KorvaneTestWnd";

const char* Name(UINT msg) {
  switch (msg) {
#define NAME(m) \
  case m:       \
    return #m;
    NAME(WM_CREATE) NAME(WM_DESTROY) NAME(WM_MOVE) NAME(WM_SIZE) NAME(WM_SETFOCUS) NAME(WM_KILLFOCUS)
    NAME(WM_ENABLE) NAME(WM_SETTEXT) NAME(WM_PAINT) NAME(WM_CLOSE) NAME(WM_SHOWWINDOW)
    NAME(WM_GETMINMAXINFO) NAME(WM_WINDOWPOSCHANGING) NAME(WM_WINDOWPOSCHANGED) NAME(WM_NCCREATE)
    NAME(WM_NCDESTROY) NAME(WM_NCCALCSIZE) NAME(WM_NCHITTEST) NAME(WM_NCMOUSEMOVE) NAME(WM_NCLBUTTONDOWN)
    NAME(WM_NCLBUTTONUP) NAME(WM_KEYDOWN) NAME(WM_KEYUP) NAME(WM_CHAR) NAME(WM_SYSKEYDOWN) NAME(WM_SYSKEYUP)
    NAME(WM_SYSCHAR) NAME(WM_COMMAND) NAME(WM_SYSCOMMAND) NAME(WM_TIMER) NAME(WM_MOUSEMOVE)
    NAME(WM_LBUTTONDOWN) NAME(WM_LBUTTONUP) NAME(WM_RBUTTONDOWN) NAME(WM_RBUTTONUP) NAME(WM_MOUSEWHEEL)
    NAME(WM_CAPTURECHANGED) NAME(WM_HOTKEY) NAME(WM_USER)
#undef NAME
    default:
      return nullptr;
  }
}

std::string SizeType(WPARAM w) {
  switch (w) {
    case SIZE_RESTORED:
      return "SIZE_RESTORED";
    case SIZE_MINIMIZED:
      return "SIZE_MINIMIZED";
    case SIZE_MAXIMIZED:
      return "SIZE_MAXIMIZED";
    default:
      return std::to_string(w);
  }
}

struct Instance {
  WindowSpec options;
};

// The instance a WM_NCCREATE took over; from then on WM_NCDESTROY frees it.
thread_local Instance* t_attached = nullptr;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    t_attached = static_cast<Instance*>(cs->lpCreateParams);
  }
  auto* instance = reinterpret_cast<Instance*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (instance) {
    const WindowSpec& options = instance->options;
    if (options.log && std::find(options.ignore.begin(), options.ignore.end(), msg) == options.ignore.end()) {
      std::string d = Describe(msg, wParam, lParam);
      options.log->Add(options.name.empty() ? d : options.name + ": " + d);
    }
    if (options.handler) {
      if (auto r = options.handler(hwnd, msg, wParam, lParam)) {
        if (msg == WM_NCDESTROY) delete instance;
        return *r;
      }
    }
  }
  LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) delete instance;
  return r;
}

void RegisterTestClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
}

}  // namespace

std::string Describe(UINT msg, WPARAM wParam, LPARAM lParam) {
  const char* name = Name(msg);
  char buf[96];
  if (!name) {
    std::snprintf(buf, sizeof(buf), "0x%04X", msg);
    return buf;
  }
  std::string s = name;
  switch (msg) {
    case WM_SHOWWINDOW:
      return s + " " + std::to_string(wParam);
    case WM_SIZE:
      return s + " " + SizeType(wParam) + " " + std::to_string(LOWORD(lParam)) + "x" + std::to_string(HIWORD(lParam));
    case WM_MOVE:
      return s + " " + std::to_string(static_cast<short>(LOWORD(lParam))) + "," +
             std::to_string(static_cast<short>(HIWORD(lParam)));
    case WM_SYSCOMMAND:
      std::snprintf(buf, sizeof(buf), "%s 0x%04lX", name, static_cast<unsigned long>(wParam));
      return buf;
    case WM_COMMAND:
    case WM_HOTKEY:
    case WM_TIMER:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_ENABLE:
      return s + " " + std::to_string(wParam);
    case WM_CHAR:
    case WM_SYSCHAR:
      return s + " " + std::to_string(wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      return s + " " + std::to_string(static_cast<short>(LOWORD(lParam))) + "," +
             std::to_string(static_cast<short>(HIWORD(lParam)));
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
      return s + " hit=" + std::to_string(wParam);
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (wp->flags & SWP_SHOWWINDOW) s += " show";
      if (wp->flags & SWP_HIDEWINDOW) s += " hide";
      return s;
    }
    default:
      return s;
  }
}

void MessageLog::Add(std::string entry) {
  std::lock_guard<std::mutex> lock(mu_);
  entries_.push_back(std::move(entry));
}

std::vector<std::string> MessageLog::Take() {
  std::lock_guard<std::mutex> lock(mu_);
  return std::exchange(entries_, {});
}

std::vector<std::string> MessageLog::Peek() const {
  std::lock_guard<std::mutex> lock(mu_);
  return entries_;
}

void MessageLog::Clear() { Take(); }

HWND CreateTestWindow(const WindowSpec& options) {
  RegisterTestClass();
  auto* instance = new Instance{options};
  t_attached = nullptr;
  HWND hwnd = CreateWindowExW(options.exStyle, kClassName, options.title.c_str(), options.style, options.x, options.y, options.width,
                              options.height, options.parent, nullptr, GetModuleHandleW(nullptr), instance);
  // A creation refused before WM_NCCREATE never took the instance over.
  if (!hwnd && t_attached != instance) delete instance;
  return hwnd;
}

bool Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

WindowThread::WindowThread() {
  std::promise<DWORD> started;
  auto id = started.get_future();
  thread_ = std::thread([&started] {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
    started.set_value(GetCurrentThreadId());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (!msg.hwnd && msg.message == kRunTask) {
        std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(msg.lParam));
        (*task)();
        continue;
      }
      if (!msg.hwnd && msg.message == kQuitLoop) {
        PostQuitMessage(0);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  });
  id_ = id.get();
}

WindowThread::~WindowThread() { Join(); }

void WindowThread::Post(std::function<void()> fn) {
  auto* task = new std::function<void()>(std::move(fn));
  if (!PostThreadMessageW(id_, kRunTask, 0, reinterpret_cast<LPARAM>(task))) delete task;
}

void WindowThread::Quit() { PostThreadMessageW(id_, kQuitLoop, 0, 0); }

void WindowThread::Join() {
  if (joined_) return;
  joined_ = true;
  Quit();
  thread_.join();
}

void PlatformTest::SetUp() {
  display().Reset();
  display().SetScreen(ScreenInfo{});
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

void PlatformTest::TearDown() {
  for (HWND hwnd : display().Windows()) {
    DWORD tid = GetWindowThreadProcessId(hwnd, nullptr);
    if (tid == GetCurrentThreadId() && !GetParent(hwnd)) DestroyWindow(hwnd);
  }
  for (HWND hwnd : display().Windows())
    if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) DestroyWindow(hwnd);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace korvane::platform::testing
