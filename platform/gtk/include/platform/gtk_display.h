// The display on a real X server: GTK 3 on one thread of its own, which also serves the
// platform queue of the windows it owns (so an engine can make it its UI thread).
#pragma once

#include <platform/display.h>

#include <functional>
#include <memory>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace korvane::platform {

class GtkDisplay : public Display {
 public:
  // Connects to the X server named by DISPLAY from a new GTK thread. Null, with the
  // reason in `error`, when there is no server to connect to.
  static std::unique_ptr<GtkDisplay> Start(std::string* error = nullptr);
  // Ends the GTK thread; the windows that thread owns are destroyed with it.
  ~GtkDisplay() override;

  GtkDisplay(const GtkDisplay&) = delete;
  GtkDisplay& operator=(const GtkDisplay&) = delete;

  // The GTK thread. Post queues work for it and returns; Invoke waits until the work has
  // run (the work must not wait for the caller). On the GTK thread both run it at once.
  DWORD ThreadId() const;
  bool OnThread() const;
  void Post(std::function<void()> work);
  void Invoke(const std::function<void()>& work);

  // GTK thread only. A child window whose content someone else draws: `widget` is placed
  // in its top-level window at the child's rectangle and follows every move, resize,
  // show and hide; null gives the child back to the platform's painting.
  void SetForeignContent(HWND child, GtkWidget* widget);
  // GTK thread only. The GtkWindow that shows a top-level window, null when none does.
  GtkWidget* TopLevelWidget(HWND hwnd) const;

  // What the display was last handed to show for a window (null when nothing yet).
  std::shared_ptr<const SurfaceImage> Surface(HWND hwnd) const;
  // Where the system tray shows the icon (hwnd, id), in screen coordinates; false while it
  // has no place (no tray, or not embedded yet).
  bool TrayIconRect(HWND hwnd, UINT id, RECT* rect);

  // ---- Display ------------------------------------------------------------------------
  void WindowCreated(const WindowState& state) override;
  void WindowChanged(const WindowState& state) override;
  void WindowDestroyed(HWND hwnd) override;
  void SurfaceUpdated(HWND hwnd, std::shared_ptr<const SurfaceImage> image) override;
  void BeginMoveDrag(HWND hwnd, POINT screenPoint) override;
  void BeginResizeDrag(HWND hwnd, int hitCode, POINT screenPoint) override;
  void ShowMessageBox(const MessageBoxRequest& request) override;
  void CancelMessageBox(int id) override;
  void TrackMenu(const MenuRequest& request) override;
  void CancelMenu(int id) override;
  void TrayIconAdded(const TrayIconState& icon) override;
  void TrayIconModified(const TrayIconState& icon) override;
  void TrayIconDeleted(HWND hwnd, UINT id) override;
  bool GrabHotKey(UINT modifiers, UINT vk) override;
  void ReleaseHotKey(UINT modifiers, UINT vk) override;
  bool Open(const ShellRequest& request) override;
  POINT CursorPos() override;
  void SetCursorPos(POINT point) override;
  ScreenInfo Screen() override;

  struct Impl;

 private:
  GtkDisplay();
  std::unique_ptr<Impl> impl_;
};

}  // namespace korvane::platform
