// A display without a screen: it keeps the core's windows, pixels and requests in memory
// and lets tests act as the user and the window system. It is the default display.
#pragma once

#include <platform/display.h>

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>

namespace korvane::platform {

class HeadlessDisplay : public Display {
 public:
  // The instance the core uses when no other display has been installed.
  static HeadlessDisplay& Default();

  // Forgets recorded requests and queued answers; keeps windows and the screen.
  void Reset();

  void SetScreen(const ScreenInfo& screen);

  // ---- What the core showed ---------------------------------------------------------
  std::optional<WindowState> Window(HWND hwnd) const;
  std::vector<HWND> Windows() const;  // live windows, creation order
  std::shared_ptr<const SurfaceImage> Surface(HWND hwnd) const;
  // The pixel at a client point of the last painted surface, 0 when outside or unpainted.
  uint32_t PixelAt(HWND hwnd, int x, int y) const;

  // ---- Acting as the user -----------------------------------------------------------
  void MoveMouse(HWND hwnd, POINT client);
  void PressButton(HWND hwnd, POINT client, UINT button = WM_LBUTTONDOWN);
  void ReleaseButton(HWND hwnd, POINT client, UINT button = WM_LBUTTONUP);
  void Click(HWND hwnd, POINT client);       // move, left press, left release
  void RightClick(HWND hwnd, POINT client);  // move, right press, right release
  void Wheel(HWND hwnd, POINT client, short delta);
  void PressKey(HWND hwnd, UINT vk, bool alt = false, std::u16string text = {});  // down and up
  void TypeText(HWND hwnd, const std::u16string& text);                            // input method
  bool PressHotKey(UINT modifiers, UINT vk);
  // A click on the notification-area icon: the button's down and up messages.
  bool ClickTray(HWND hwnd, UINT id, UINT upMessage = WM_LBUTTONUP);
  void RequestClose(HWND hwnd);

  // ---- Acting as the window system --------------------------------------------------
  struct Drag {
    HWND hwnd = nullptr;
    int hitCode = HTCAPTION;  // HTCAPTION for a move, a border code for a resize
    POINT start{};
  };
  std::optional<Drag> PendingDrag() const;
  // Ends the pending drag with the pointer at `screenPoint`; false when there is none.
  bool FinishDrag(POINT screenPoint);
  void MoveBySystem(HWND hwnd, RECT screenRect);

  // Another program holds this key combination: grabs of it fail.
  void SetHotKeyTakenElsewhere(UINT modifiers, UINT vk, bool taken);
  bool HotKeyGrabbed(UINT modifiers, UINT vk) const;

  // ---- Modal services ---------------------------------------------------------------
  // Answers queued in advance are given, in order, to the next boxes or menus that open;
  // without one a box or menu stays open until answered by id.
  void AnswerNextMessageBox(int result);
  void PickNextMenuItem(UINT_PTR id);  // 0 dismisses the menu
  std::vector<MessageBoxRequest> MessageBoxes() const;  // every box shown, in order
  std::vector<MessageBoxRequest> OpenMessageBoxes() const;
  bool AnswerMessageBox(int id, int result);
  std::vector<MenuRequest> Menus() const;  // every menu tracked, in order
  std::vector<MenuRequest> OpenMenus() const;
  bool PickMenuItem(int id, UINT_PTR itemId);

  // ---- Shell and tray -----------------------------------------------------------------
  std::vector<ShellRequest> ShellRequests() const;
  void SetShellOpenResult(bool succeeds);
  std::vector<TrayIconState> TrayIcons() const;

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

 private:
  POINT ToScreen(HWND hwnd, POINT client) const;

  mutable std::mutex mu_;
  ScreenInfo screen_;
  POINT cursor_{};
  std::map<HWND, WindowState> windows_;
  std::vector<HWND> order_;
  std::map<HWND, std::shared_ptr<const SurfaceImage>> surfaces_;
  std::optional<Drag> drag_;
  std::set<std::pair<UINT, UINT>> grabbed_;
  std::set<std::pair<UINT, UINT>> takenElsewhere_;
  std::deque<int> boxAnswers_;
  std::deque<UINT_PTR> menuAnswers_;
  std::vector<MessageBoxRequest> boxes_;
  std::set<int> openBoxes_;
  std::vector<MenuRequest> menus_;
  std::set<int> openMenus_;
  std::vector<ShellRequest> shell_;
  bool shellSucceeds_ = true;
  std::map<std::pair<HWND, UINT>, TrayIconState> tray_;
};

}  // namespace korvane::platform
