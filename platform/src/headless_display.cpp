#include <platform/headless_display.h>
#include <platform/input.h>

#include <algorithm>

namespace korvane::platform {

HeadlessDisplay& HeadlessDisplay::Default() {
  static HeadlessDisplay* display = new HeadlessDisplay();  // outlives every thread
  return *display;
}

void HeadlessDisplay::Reset() {
  std::lock_guard<std::mutex> lock(mu_);
  drag_.reset();
  takenElsewhere_.clear();
  boxAnswers_.clear();
  menuAnswers_.clear();
  boxes_.clear();
  openBoxes_.clear();
  menus_.clear();
  openMenus_.clear();
  shell_.clear();
  shellSucceeds_ = true;
}

void HeadlessDisplay::SetScreen(const ScreenInfo& screen) {
  std::lock_guard<std::mutex> lock(mu_);
  screen_ = screen;
}

std::optional<WindowState> HeadlessDisplay::Window(HWND hwnd) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return std::nullopt;
  return it->second;
}

std::vector<HWND> HeadlessDisplay::Windows() const {
  std::lock_guard<std::mutex> lock(mu_);
  return order_;
}

std::shared_ptr<const SurfaceImage> HeadlessDisplay::Surface(HWND hwnd) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? nullptr : it->second;
}

uint32_t HeadlessDisplay::PixelAt(HWND hwnd, int x, int y) const {
  auto image = Surface(hwnd);
  if (!image || x < 0 || y < 0 || x >= image->width || y >= image->height) return 0;
  return image->pixels[static_cast<size_t>(y) * static_cast<size_t>(image->width) + static_cast<size_t>(x)];
}

POINT HeadlessDisplay::ToScreen(HWND hwnd, POINT client) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return client;
  return POINT{it->second.rect.left + client.x, it->second.rect.top + client.y};
}

void HeadlessDisplay::MoveMouse(HWND hwnd, POINT client) {
  POINT screen = ToScreen(hwnd, client);
  {
    std::lock_guard<std::mutex> lock(mu_);
    cursor_ = screen;
  }
  PostMouseInput(hwnd, WM_MOUSEMOVE, client, 0);
}

void HeadlessDisplay::PressButton(HWND hwnd, POINT client, UINT button) {
  WPARAM keys = button == WM_RBUTTONDOWN ? MK_RBUTTON : button == WM_MBUTTONDOWN ? MK_MBUTTON : MK_LBUTTON;
  PostMouseInput(hwnd, button, client, keys);
}

void HeadlessDisplay::ReleaseButton(HWND hwnd, POINT client, UINT button) {
  PostMouseInput(hwnd, button, client, 0);
}

void HeadlessDisplay::Click(HWND hwnd, POINT client) {
  MoveMouse(hwnd, client);
  PressButton(hwnd, client, WM_LBUTTONDOWN);
  ReleaseButton(hwnd, client, WM_LBUTTONUP);
}

void HeadlessDisplay::RightClick(HWND hwnd, POINT client) {
  MoveMouse(hwnd, client);
  PressButton(hwnd, client, WM_RBUTTONDOWN);
  ReleaseButton(hwnd, client, WM_RBUTTONUP);
}

void HeadlessDisplay::Wheel(HWND hwnd, POINT client, short delta) {
  PostMouseInput(hwnd, WM_MOUSEWHEEL, client, 0, delta);
}

void HeadlessDisplay::PressKey(HWND hwnd, UINT vk, bool alt, std::u16string text) {
  PostKeyInput(hwnd, true, vk, alt, std::move(text));
  PostKeyInput(hwnd, false, vk, alt);
}

void HeadlessDisplay::TypeText(HWND hwnd, const std::u16string& text) { PostTextInput(hwnd, text); }

bool HeadlessDisplay::PressHotKey(UINT modifiers, UINT vk) { return PostHotKeyPress(modifiers, vk); }

bool HeadlessDisplay::ClickTray(HWND hwnd, UINT id, UINT upMessage) {
  UINT down = upMessage == WM_RBUTTONUP ? WM_RBUTTONDOWN : upMessage == WM_MBUTTONUP ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
  return PostTrayMouse(hwnd, id, down) && PostTrayMouse(hwnd, id, upMessage);
}

void HeadlessDisplay::RequestClose(HWND hwnd) { PostCloseRequest(hwnd); }

std::optional<HeadlessDisplay::Drag> HeadlessDisplay::PendingDrag() const {
  std::lock_guard<std::mutex> lock(mu_);
  return drag_;
}

bool HeadlessDisplay::FinishDrag(POINT to) {
  Drag drag;
  RECT r{};
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!drag_) return false;
    drag = *drag_;
    drag_.reset();
    auto it = windows_.find(drag.hwnd);
    if (it == windows_.end()) return false;
    r = it->second.rect;
    cursor_ = to;
  }
  LONG dx = to.x - drag.start.x, dy = to.y - drag.start.y;
  switch (drag.hitCode) {
    case HTCAPTION:
      OffsetRect(&r, dx, dy);
      break;
    default:
      if (drag.hitCode == HTLEFT || drag.hitCode == HTTOPLEFT || drag.hitCode == HTBOTTOMLEFT) r.left += dx;
      if (drag.hitCode == HTRIGHT || drag.hitCode == HTTOPRIGHT || drag.hitCode == HTBOTTOMRIGHT) r.right += dx;
      if (drag.hitCode == HTTOP || drag.hitCode == HTTOPLEFT || drag.hitCode == HTTOPRIGHT) r.top += dy;
      if (drag.hitCode == HTBOTTOM || drag.hitCode == HTBOTTOMLEFT || drag.hitCode == HTBOTTOMRIGHT) r.bottom += dy;
      break;
  }
  PostWindowRectBySystem(drag.hwnd, r);
  return true;
}

void HeadlessDisplay::MoveBySystem(HWND hwnd, RECT screenRect) { PostWindowRectBySystem(hwnd, screenRect); }

void HeadlessDisplay::SetHotKeyTakenElsewhere(UINT modifiers, UINT vk, bool taken) {
  std::lock_guard<std::mutex> lock(mu_);
  if (taken)
    takenElsewhere_.insert({modifiers, vk});
  else
    takenElsewhere_.erase({modifiers, vk});
}

bool HeadlessDisplay::HotKeyGrabbed(UINT modifiers, UINT vk) const {
  std::lock_guard<std::mutex> lock(mu_);
  return grabbed_.count({modifiers, vk}) != 0;
}

void HeadlessDisplay::AnswerNextMessageBox(int result) {
  std::lock_guard<std::mutex> lock(mu_);
  boxAnswers_.push_back(result);
}

void HeadlessDisplay::PickNextMenuItem(UINT_PTR id) {
  std::lock_guard<std::mutex> lock(mu_);
  menuAnswers_.push_back(id);
}

std::vector<MessageBoxRequest> HeadlessDisplay::MessageBoxes() const {
  std::lock_guard<std::mutex> lock(mu_);
  return boxes_;
}

std::vector<MessageBoxRequest> HeadlessDisplay::OpenMessageBoxes() const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<MessageBoxRequest> open;
  for (auto& b : boxes_)
    if (openBoxes_.count(b.id)) open.push_back(b);
  return open;
}

bool HeadlessDisplay::AnswerMessageBox(int id, int result) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!openBoxes_.erase(id)) return false;
  }
  CompleteMessageBox(id, result);
  return true;
}

std::vector<MenuRequest> HeadlessDisplay::Menus() const {
  std::lock_guard<std::mutex> lock(mu_);
  return menus_;
}

std::vector<MenuRequest> HeadlessDisplay::OpenMenus() const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<MenuRequest> open;
  for (auto& m : menus_)
    if (openMenus_.count(m.id)) open.push_back(m);
  return open;
}

bool HeadlessDisplay::PickMenuItem(int id, UINT_PTR itemId) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!openMenus_.erase(id)) return false;
  }
  CompleteMenu(id, itemId);
  return true;
}

std::vector<ShellRequest> HeadlessDisplay::ShellRequests() const {
  std::lock_guard<std::mutex> lock(mu_);
  return shell_;
}

void HeadlessDisplay::SetShellOpenResult(bool succeeds) {
  std::lock_guard<std::mutex> lock(mu_);
  shellSucceeds_ = succeeds;
}

std::vector<TrayIconState> HeadlessDisplay::TrayIcons() const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<TrayIconState> icons;
  for (auto& [key, icon] : tray_) icons.push_back(icon);
  return icons;
}

void HeadlessDisplay::WindowCreated(const WindowState& state) {
  std::lock_guard<std::mutex> lock(mu_);
  windows_[state.hwnd] = state;
  order_.push_back(state.hwnd);
}

void HeadlessDisplay::WindowChanged(const WindowState& state) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = windows_.find(state.hwnd);
  if (it != windows_.end()) it->second = state;
}

void HeadlessDisplay::WindowDestroyed(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mu_);
  windows_.erase(hwnd);
  surfaces_.erase(hwnd);
  order_.erase(std::remove(order_.begin(), order_.end(), hwnd), order_.end());
  if (drag_ && drag_->hwnd == hwnd) drag_.reset();
}

void HeadlessDisplay::SurfaceUpdated(HWND hwnd, std::shared_ptr<const SurfaceImage> image) {
  std::lock_guard<std::mutex> lock(mu_);
  surfaces_[hwnd] = std::move(image);
}

void HeadlessDisplay::BeginMoveDrag(HWND hwnd, POINT screenPoint) {
  std::lock_guard<std::mutex> lock(mu_);
  drag_ = Drag{hwnd, HTCAPTION, screenPoint};
}

void HeadlessDisplay::BeginResizeDrag(HWND hwnd, int hitCode, POINT screenPoint) {
  std::lock_guard<std::mutex> lock(mu_);
  drag_ = Drag{hwnd, hitCode, screenPoint};
}

void HeadlessDisplay::ShowMessageBox(const MessageBoxRequest& request) {
  std::optional<int> answer;
  {
    std::lock_guard<std::mutex> lock(mu_);
    boxes_.push_back(request);
    if (!boxAnswers_.empty()) {
      answer = boxAnswers_.front();
      boxAnswers_.pop_front();
    } else {
      openBoxes_.insert(request.id);
    }
  }
  if (answer) CompleteMessageBox(request.id, *answer);
}

void HeadlessDisplay::CancelMessageBox(int id) {
  std::lock_guard<std::mutex> lock(mu_);
  openBoxes_.erase(id);
}

void HeadlessDisplay::TrackMenu(const MenuRequest& request) {
  std::optional<UINT_PTR> answer;
  {
    std::lock_guard<std::mutex> lock(mu_);
    menus_.push_back(request);
    if (!menuAnswers_.empty()) {
      answer = menuAnswers_.front();
      menuAnswers_.pop_front();
    } else {
      openMenus_.insert(request.id);
    }
  }
  if (answer) CompleteMenu(request.id, *answer);
}

void HeadlessDisplay::CancelMenu(int id) {
  std::lock_guard<std::mutex> lock(mu_);
  openMenus_.erase(id);
}

void HeadlessDisplay::TrayIconAdded(const TrayIconState& icon) {
  std::lock_guard<std::mutex> lock(mu_);
  tray_[{icon.hwnd, icon.id}] = icon;
}

void HeadlessDisplay::TrayIconModified(const TrayIconState& icon) { TrayIconAdded(icon); }

void HeadlessDisplay::TrayIconDeleted(HWND hwnd, UINT id) {
  std::lock_guard<std::mutex> lock(mu_);
  tray_.erase({hwnd, id});
}

bool HeadlessDisplay::GrabHotKey(UINT modifiers, UINT vk) {
  std::lock_guard<std::mutex> lock(mu_);
  if (takenElsewhere_.count({modifiers, vk})) return false;
  grabbed_.insert({modifiers, vk});
  return true;
}

void HeadlessDisplay::ReleaseHotKey(UINT modifiers, UINT vk) {
  std::lock_guard<std::mutex> lock(mu_);
  grabbed_.erase({modifiers, vk});
}

bool HeadlessDisplay::Open(const ShellRequest& request) {
  std::lock_guard<std::mutex> lock(mu_);
  shell_.push_back(request);
  return shellSucceeds_;
}

POINT HeadlessDisplay::CursorPos() {
  std::lock_guard<std::mutex> lock(mu_);
  return cursor_;
}

void HeadlessDisplay::SetCursorPos(POINT point) {
  std::lock_guard<std::mutex> lock(mu_);
  cursor_ = point;
}

ScreenInfo HeadlessDisplay::Screen() {
  std::lock_guard<std::mutex> lock(mu_);
  return screen_;
}

}  // namespace korvane::platform
