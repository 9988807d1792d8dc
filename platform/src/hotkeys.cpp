// System-wide hot keys: one owner per key combination.
#include "core.h"

#include <platform/input.h>

#include <algorithm>

namespace korvane::platform {

namespace {

struct HotKey {
  HWND hwnd = nullptr;  // null: posted to the registering thread
  DWORD threadId = 0;
  int id = 0;
  UINT modifiers = 0;
  UINT vk = 0;
};

std::vector<HotKey>& HotKeys() {
  static std::vector<HotKey> keys;
  return keys;
}

UINT Combination(UINT modifiers) { return modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN); }

}  // namespace

void ReleaseHotKeysOf(HWND hwnd) {
  std::vector<HotKey> released;
  {
    std::lock_guard<std::mutex> lock(Core::Get().mu);
    auto& keys = HotKeys();
    for (auto it = keys.begin(); it != keys.end();) {
      if (it->hwnd == hwnd) {
        released.push_back(*it);
        it = keys.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& k : released) CurrentDisplay().ReleaseHotKey(k.modifiers, k.vk);
}

bool PostHotKeyPress(UINT modifiers, UINT vk) {
  HotKey key;
  {
    std::lock_guard<std::mutex> lock(Core::Get().mu);
    auto& keys = HotKeys();
    auto it = std::find_if(keys.begin(), keys.end(),
                           [&](const HotKey& k) { return k.modifiers == Combination(modifiers) && k.vk == vk; });
    if (it == keys.end()) return false;
    key = *it;
  }
  LPARAM lParam = MAKELPARAM(key.modifiers, key.vk);
  if (key.hwnd) return PostMessageW(key.hwnd, WM_HOTKEY, static_cast<WPARAM>(key.id), lParam);
  return PostThreadMessageW(key.threadId, WM_HOTKEY, static_cast<WPARAM>(key.id), lParam);
}

}  // namespace korvane::platform

using namespace korvane::platform;

BOOL WINAPI RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
  HotKey key{hwnd, CurrentThreadId(), id, Combination(modifiers), vk};
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    if (hwnd) {
      auto w = core.Find(hwnd);
      if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
      }
      if (w->threadId != CurrentThreadId()) {
        SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
        return FALSE;
      }
    }
    auto& keys = HotKeys();
    bool taken = std::any_of(keys.begin(), keys.end(),
                             [&](const HotKey& k) { return k.modifiers == key.modifiers && k.vk == vk; });
    if (taken) {
      SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
      return FALSE;
    }
    keys.push_back(key);  // held while the display grabs it
  }
  if (!CurrentDisplay().GrabHotKey(key.modifiers, vk)) {
    std::lock_guard<std::mutex> lock(Core::Get().mu);
    auto& keys = HotKeys();
    keys.erase(std::remove_if(keys.begin(), keys.end(),
                              [&](const HotKey& k) { return k.modifiers == key.modifiers && k.vk == vk; }),
               keys.end());
    SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI UnregisterHotKey(HWND hwnd, int id) {
  HotKey key;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    if (hwnd && !core.Find(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    auto& keys = HotKeys();
    DWORD me = CurrentThreadId();
    auto it = std::find_if(keys.begin(), keys.end(), [&](const HotKey& k) {
      return k.hwnd == hwnd && k.id == id && (hwnd || k.threadId == me);
    });
    if (it == keys.end()) {
      SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
      return FALSE;
    }
    key = *it;
    keys.erase(it);
  }
  CurrentDisplay().ReleaseHotKey(key.modifiers, key.vk);
  return TRUE;
}
