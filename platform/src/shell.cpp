// Shell services: handing documents to the system and notification-area icons.
#include "core.h"

#include <platform/input.h>
#include <shellapi.h>

namespace korvane::platform {

namespace {

std::map<std::pair<HWND, UINT>, TrayIconState>& TrayIcons() {
  static std::map<std::pair<HWND, UINT>, TrayIconState> icons;
  return icons;
}

std::u16string Str(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

std::u16string Tip(const NOTIFYICONDATAW& data) {
  size_t n = 0;
  while (n < std::size(data.szTip) && data.szTip[n]) ++n;
  return std::u16string(data.szTip, n);
}

}  // namespace

void DeleteTrayIconsOf(HWND hwnd) {
  std::vector<UINT> ids;
  {
    std::lock_guard<std::mutex> lock(Core::Get().mu);
    auto& icons = TrayIcons();
    for (auto it = icons.begin(); it != icons.end();) {
      if (it->first.first == hwnd) {
        ids.push_back(it->first.second);
        it = icons.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (UINT id : ids) CurrentDisplay().TrayIconDeleted(hwnd, id);
}

bool PostTrayMouse(HWND hwnd, UINT id, UINT mouseMessage) {
  UINT callback = 0;
  {
    std::lock_guard<std::mutex> lock(Core::Get().mu);
    auto it = TrayIcons().find({hwnd, id});
    if (it == TrayIcons().end()) return false;
    callback = it->second.callbackMessage;
  }
  if (!callback) return false;
  return PostMessageW(hwnd, callback, id, static_cast<LPARAM>(mouseMessage));
}

}  // namespace korvane::platform

using namespace korvane::platform;

HINSTANCE WINAPI ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                               INT showCmd) {
  if (!file || !*file) return reinterpret_cast<HINSTANCE>(SE_ERR_FNF);
  ShellRequest request;
  request.hwnd = hwnd;
  request.verb = operation ? Str(operation) : u"open";
  request.file = Str(file);
  request.parameters = Str(parameters);
  request.directory = Str(directory);
  request.show = showCmd;
  // Windows' convention: a value above 32 is success.
  return reinterpret_cast<HINSTANCE>(CurrentDisplay().Open(request) ? 42 : SE_ERR_NOASSOC);
}

BOOL WINAPI Shell_NotifyIconW(DWORD message, PNOTIFYICONDATAW data) {
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TrayIconState state;
  enum { kNone, kAdded, kModified, kDeleted } change = kNone;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto key = std::make_pair(data->hWnd, data->uID);
    auto& icons = TrayIcons();
    auto it = icons.find(key);
    switch (message) {
      case NIM_ADD:
        if (it != icons.end() || !core.Find(data->hWnd)) return FALSE;
        state.hwnd = data->hWnd;
        state.id = data->uID;
        if (data->uFlags & NIF_MESSAGE) state.callbackMessage = data->uCallbackMessage;
        if (data->uFlags & NIF_ICON) state.icon = data->hIcon;
        if (data->uFlags & NIF_TIP) state.tip = Tip(*data);
        icons[key] = state;
        change = kAdded;
        break;
      case NIM_MODIFY:
        if (it == icons.end()) return FALSE;
        if (data->uFlags & NIF_MESSAGE) it->second.callbackMessage = data->uCallbackMessage;
        if (data->uFlags & NIF_ICON) it->second.icon = data->hIcon;
        if (data->uFlags & NIF_TIP) it->second.tip = Tip(*data);
        state = it->second;
        change = kModified;
        break;
      case NIM_DELETE:
        if (it == icons.end()) return FALSE;
        icons.erase(it);
        change = kDeleted;
        break;
      default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
  }
  Display& display = CurrentDisplay();
  if (change == kAdded) display.TrayIconAdded(state);
  if (change == kModified) display.TrayIconModified(state);
  if (change == kDeleted) display.TrayIconDeleted(data->hWnd, data->uID);
  return TRUE;
}
