// The GTK thread: GTK's main loop, which also serves the platform queue of the windows the
// thread owns, and the marshalling of work onto it.
#include "gtk_impl.h"

#include <gdk/gdkx.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace korvane::platform {

namespace {

// > 0 while a platform wait (GetMessage, a SendMessage reply, a modal loop) iterates the
// GLib loop: the queue is then served by that wait, not by the pump source.
thread_local int t_platformWaits = 0;

class GlibWaiter : public QueueWaiter {
 public:
  explicit GlibWaiter(GMainContext* context) : context_(context) {}

  void Wait(std::unique_lock<std::mutex>& lock,
            std::optional<std::chrono::steady_clock::time_point> deadline) override {
    GSource* timeout = nullptr;
    if (deadline) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return;
      timeout = g_timeout_source_new(static_cast<guint>(left.count()));
      g_source_set_callback(timeout, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
      g_source_attach(timeout, context_);
    }
    ++t_platformWaits;
    lock.unlock();
    // A wake-up before this point is not lost: it leaves the context's wake-up fd readable.
    g_main_context_iteration(context_, TRUE);
    lock.lock();
    --t_platformWaits;
    if (timeout) {
      g_source_destroy(timeout);
      g_source_unref(timeout);
    }
  }

  void Wake() override { g_main_context_wakeup(context_); }

 private:
  GMainContext* context_;
};

// Serves the GTK thread's platform queue whenever the loop is idle in g_main_loop_run.
struct PumpSource {
  GSource source;
};

gboolean PumpPrepare(GSource*, gint* timeout) {
  *timeout = -1;
  if (t_platformWaits > 0) return FALSE;
  QueueStatus status = CurrentQueueStatus();
  if (status.ready) return TRUE;
  if (status.nextTimer) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(*status.nextTimer - std::chrono::steady_clock::now());
    *timeout = static_cast<gint>(std::max<long long>(0, left.count()));
  }
  return FALSE;
}

gboolean PumpCheck(GSource*) { return t_platformWaits == 0 && CurrentQueueStatus().ready; }

gboolean PumpDispatch(GSource*, GSourceFunc, gpointer) {
  // A bounded batch, so GTK's own events interleave with a busy queue.
  MSG msg;
  for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) continue;  // the loop belongs to the display, not to a caller
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return G_SOURCE_CONTINUE;
}

GSourceFuncs g_pumpFuncs = {PumpPrepare, PumpCheck, PumpDispatch, nullptr, nullptr, nullptr};

// Without its server the program cannot go on; it ends at once rather than hanging on a
// connection that will never answer.
int OnXIOError(::Display*) {
  std::fputs("korvane: lost the connection to the X server\n", stderr);
  std::fflush(stderr);
  _exit(EXIT_FAILURE);
}

struct Work {
  std::function<void()> fn;
};

}  // namespace

bool GtkDisplay::Impl::StartThread(std::string* error) {
  std::mutex startMu;
  std::condition_variable started;
  bool done = false, ok = false;
  std::string why;
  thread = std::thread([&] {
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(nullptr, nullptr)) {
      std::lock_guard<std::mutex> lock(startMu);
      why = std::string("cannot open the X display ") + (getenv("DISPLAY") ? getenv("DISPLAY") : "(DISPLAY is not set)");
      done = true;
      started.notify_all();
      return;
    }
    XSetIOErrorHandler(OnXIOError);
    context = g_main_context_default();
    loop = g_main_loop_new(context, FALSE);
    GlibWaiter waiter(context);
    SetThreadQueueWaiter(&waiter);
    threadId = GetCurrentThreadId();
    GSource* pump = g_source_new(&g_pumpFuncs, sizeof(PumpSource));
    g_source_set_priority(pump, G_PRIORITY_DEFAULT);
    g_source_attach(pump, context);
    UpdateScreen();
    {
      std::lock_guard<std::mutex> lock(startMu);
      ok = done = true;
      started.notify_all();
    }
    g_main_loop_run(loop);
    // Closing down: the mirrors go first, then the thread's own platform windows.
    for (auto& [hwnd, win] : wins) DestroyWin(win);
    wins.clear();
    for (auto& [id, box] : boxes) gtk_widget_destroy(box);
    boxes.clear();
    for (auto& [key, icon] : trayIcons) g_object_unref(icon);
    trayIcons.clear();
    g_source_destroy(pump);
    g_source_unref(pump);
    SetThreadQueueWaiter(nullptr);
    g_main_loop_unref(loop);
    loop = nullptr;
  });
  std::unique_lock<std::mutex> lock(startMu);
  started.wait(lock, [&] { return done; });
  if (!ok) {
    lock.unlock();
    thread.join();
    if (error) *error = why;
  }
  return ok;
}

void GtkDisplay::Impl::StopThread() {
  if (!thread.joinable()) return;
  Post([this] { g_main_loop_quit(loop); });
  thread.join();
}

void GtkDisplay::Impl::Post(std::function<void()> work) {
  // A source attached to the GTK thread's context; sources of one priority run in the
  // order they were attached.
  GSource* source = g_idle_source_new();
  g_source_set_priority(source, G_PRIORITY_DEFAULT);
  g_source_set_callback(
      source,
      [](gpointer data) -> gboolean {
        static_cast<Work*>(data)->fn();
        return G_SOURCE_REMOVE;
      },
      new Work{std::move(work)}, [](gpointer data) { delete static_cast<Work*>(data); });
  g_source_attach(source, context);
  g_source_unref(source);
}

GtkDisplay::GtkDisplay() : impl_(std::make_unique<Impl>()) {}

std::unique_ptr<GtkDisplay> GtkDisplay::Start(std::string* error) {
  std::unique_ptr<GtkDisplay> display(new GtkDisplay());
  if (!display->impl_->StartThread(error)) return nullptr;
  return display;
}

GtkDisplay::~GtkDisplay() { impl_->StopThread(); }

DWORD GtkDisplay::ThreadId() const { return impl_->threadId; }

bool GtkDisplay::OnThread() const { return GetCurrentThreadId() == impl_->threadId; }

void GtkDisplay::Post(std::function<void()> work) {
  if (OnThread())
    work();
  else
    impl_->Post(std::move(work));
}

void GtkDisplay::Invoke(const std::function<void()>& work) {
  if (OnThread()) {
    work();
    return;
  }
  // The work only talks to GTK and X, never back to the caller, so a plain wait is safe.
  std::mutex doneMu;
  std::condition_variable doneCv;
  bool done = false;
  impl_->Post([&] {
    work();
    std::lock_guard<std::mutex> lock(doneMu);
    done = true;
    doneCv.notify_all();
  });
  std::unique_lock<std::mutex> lock(doneMu);
  doneCv.wait(lock, [&] { return done; });
}

}  // namespace korvane::platform
