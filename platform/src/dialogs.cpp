// Modal services: message boxes and popup menus.
#include "core.h"
#include "modal.h"

#include <platform/input.h>

#include <algorithm>

namespace korvane::platform {

namespace {

struct Menu {
  std::vector<MenuItem> items;
};

std::unordered_map<HMENU, Menu>& Menus() {
  static std::unordered_map<HMENU, Menu> menus;
  return menus;
}
uintptr_t g_nextMenu = 0x30010;

}  // namespace

void CompleteMessageBox(int id, int result) { CompleteModalRequest(id, result); }
void CompleteMenu(int id, UINT_PTR commandId) { CompleteModalRequest(id, static_cast<intptr_t>(commandId)); }

}  // namespace korvane::platform

using namespace korvane::platform;

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  // The box is modal to its owner's top-level window: that window takes no input while
  // the box is up, but the calling thread keeps serving every window it has.
  HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  bool disabled = root && IsWindowEnabled(root);
  if (disabled) EnableWindow(root, FALSE);

  MessageBoxRequest request;
  request.id = BeginModalRequest();
  request.owner = owner;
  request.text = text ? text : u"";
  request.caption = caption ? caption : u"Error";
  request.type = type;
  CurrentDisplay().ShowMessageBox(request);
  intptr_t result = 0;
  bool answered = WaitModalRequest(request.id, &result);
  if (!answered) CurrentDisplay().CancelMessageBox(request.id);
  if (disabled && IsWindow(root)) EnableWindow(root, TRUE);
  return answered ? static_cast<int>(result) : 0;
}

HMENU WINAPI CreatePopupMenu() {
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  g_nextMenu += 4;
  HMENU menu = reinterpret_cast<HMENU>(g_nextMenu);
  Menus()[menu] = Menu{};
  return menu;
}

BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  auto it = Menus().find(menu);
  if (it == Menus().end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  MenuItem item;
  item.id = idNewItem;
  item.flags = flags;
  if (!(flags & MF_SEPARATOR) && newItem) item.text = newItem;
  it->second.items.push_back(std::move(item));
  return TRUE;
}

BOOL WINAPI DestroyMenu(HMENU menu) {
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  if (!Menus().erase(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI IsMenu(HMENU menu) {
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  return Menus().count(menu) != 0;
}

int WINAPI GetMenuItemCount(HMENU menu) {
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  auto it = Menus().find(menu);
  if (it == Menus().end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return -1;
  }
  return static_cast<int>(it->second.items.size());
}

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  MenuRequest request;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto it = Menus().find(menu);
    if (it == Menus().end()) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return FALSE;
    }
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (w->threadId != CurrentThreadId()) {
      SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
      return FALSE;
    }
    request.items = it->second.items;
  }
  request.id = BeginModalRequest();
  request.owner = hwnd;
  request.point = POINT{x, y};
  request.flags = flags;
  CurrentDisplay().TrackMenu(request);
  intptr_t picked = 0;
  if (!WaitModalRequest(request.id, &picked)) {
    CurrentDisplay().CancelMenu(request.id);
    return FALSE;
  }
  // Only an enabled item of this menu can be chosen.
  auto item = std::find_if(request.items.begin(), request.items.end(), [&](const MenuItem& i) {
    return picked && i.id == static_cast<UINT_PTR>(picked) && !(i.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
  });
  UINT_PTR command = item == request.items.end() ? 0 : item->id;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (command && !(flags & TPM_NONOTIFY)) PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return TRUE;
}
