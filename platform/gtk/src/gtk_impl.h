// What the GTK display's parts share. Members marked "GTK thread" are touched only there;
// the rest are guarded by `mu`.
#pragma once

#include <platform/gtk_display.h>

#include <gtk/gtk.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace korvane::platform {

// Key codes between GDK and Windows (gtk_keys.cpp).
UINT VirtualKeyFromKeyval(guint keyval);
guint KeyvalFromVirtualKey(UINT vk);

struct GtkWin {
  HWND hwnd = nullptr;
  GtkWidget* window = nullptr;  // top-level windows
  GtkWidget* fixed = nullptr;   // holds foreign children
  GtkWidget* foreign = nullptr; // child windows drawn by someone else
  WindowState applied;
  bool shown = false;
  RECT requested{};             // the rectangle last asked of the window system
  bool requestPending = false;
  bool layered = false;
};

struct GtkDisplay::Impl {
  std::thread thread;
  std::atomic<DWORD> threadId{0};
  GMainLoop* loop = nullptr;       // GTK thread
  GMainContext* context = nullptr;

  // ---- Shared with the core's threads ---------------------------------------------------
  std::mutex mu;
  std::map<HWND, WindowState> states;                           // live windows as the core has them
  std::map<HWND, std::shared_ptr<const SurfaceImage>> surfaces;
  std::set<HWND> syncPending;                                   // windows whose mirror is behind
  std::set<HWND> redrawPending;                                 // top-level windows to repaint
  POINT cursor{};
  ScreenInfo screen;

  // ---- GTK thread -------------------------------------------------------------------------
  std::map<HWND, GtkWin> wins;
  guint32 lastButtonTime = GDK_CURRENT_TIME;
  guint lastButton = 1;
  HWND dragging = nullptr;  // a window the window system is moving or sizing for us
  std::map<int, GtkWidget*> boxes;
  struct OpenMenu {
    GtkWidget* menu = nullptr;
    bool completed = false;
  };
  std::map<int, OpenMenu> menus;
  std::map<std::pair<HWND, UINT>, GObject*> trayIcons;
  std::map<std::pair<UINT, UINT>, std::pair<int, unsigned>> hotKeys;  // -> keycode, X modifiers
  bool rootFilterInstalled = false;
  std::map<HWND, GtkIMContext*> inputMethods;
  bool inKeyEvent = false;     // input-method commits during a key event type that key
  std::u16string keyText;

  // Threads and marshalling (gtk_thread.cpp).
  bool StartThread(std::string* error);
  void StopThread();
  void Post(std::function<void()> work);

  // Windows, pixels, input (gtk_display.cpp).
  void ScheduleSync(HWND hwnd);
  void Sync(HWND hwnd);
  void DestroyWin(GtkWin& win);
  void ApplyTopLevel(GtkWin& win, const WindowState& state);
  void ApplyChild(GtkWin& win, const WindowState& state);
  void Restack();
  GtkWin* TopLevelOf(HWND hwnd);
  // `mu` held. The top-level window a window belongs to, and how many parents up it is.
  HWND RootLocked(HWND hwnd, int* depth = nullptr) const;
  HWND TargetAt(HWND top, POINT client, POINT* targetPoint);
  void UpdateScreen();
  void Redraw(HWND top);
  void Connect(GtkWin& win);

  // Services (gtk_services.cpp).
  void ShowBox(const MessageBoxRequest& request);
  void ShowMenu(const MenuRequest& request);
  void SetTrayIcon(const TrayIconState& icon, bool create);
  void RemoveTrayIcon(HWND hwnd, UINT id);
  bool Grab(UINT modifiers, UINT vk);
  void Ungrab(UINT modifiers, UINT vk);
};

// Text between the platform's UTF-16 and GTK's UTF-8 (gtk_display.cpp).
std::string Utf8(const std::u16string& text);
std::u16string Utf16(const char* text);

// A GdkPixbuf of the icon's image nearest to `size` pixels; null when it has none.
GdkPixbuf* PixbufFromIcon(HICON icon, int size);

}  // namespace korvane::platform
