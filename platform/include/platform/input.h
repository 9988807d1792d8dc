// Input a display feeds to the core. Every call may be made from any thread; the input is
// queued for the thread that owns the window, where the core turns it into messages.
#pragma once

#include <windows.h>

#include <string>

namespace korvane::platform {

// A mouse event at a point in the window's client coordinates. `message` is one of
// WM_MOUSEMOVE, WM_[LRM]BUTTONDOWN/UP or WM_MOUSEWHEEL (with `wheelDelta`). On retrieval
// the core hit-tests it (WM_NCHITTEST) and delivers a client or non-client message.
void PostMouseInput(HWND hwnd, UINT message, POINT clientPoint, WPARAM keyState, short wheelDelta = 0);

// A key going down or up. `text` is what the key types (TranslateMessage turns it into
// WM_CHAR); `alt` makes it a system key (WM_SYSKEYDOWN/UP).
void PostKeyInput(HWND hwnd, bool down, UINT vk, bool alt, std::u16string text = {});

// Text committed by an input method, delivered as WM_CHAR messages.
void PostTextInput(HWND hwnd, const std::u16string& text);

// The window system activated or deactivated a top-level window (it took or lost the
// keyboard focus); the owning thread gets WM_ACTIVATE.
void PostActivation(HWND hwnd, bool active);

// The window system asks to close the window (its close button, a session manager).
void PostCloseRequest(HWND hwnd);

// The window system moved or resized the window (a drag, a resize, a configure); the
// owning thread applies it with SetWindowPos.
void PostWindowRectBySystem(HWND hwnd, RECT screenRect);

// A registered hot-key combination was pressed; false when none is registered.
bool PostHotKeyPress(UINT modifiers, UINT vk);

// The notification-area icon (hwnd, id) got a mouse message (WM_LBUTTONUP, ...).
bool PostTrayMouse(HWND hwnd, UINT id, UINT mouseMessage);

// Answers for the modal services.
void CompleteMessageBox(int id, int result);
void CompleteMenu(int id, UINT_PTR commandId);  // 0: dismissed

}  // namespace korvane::platform
