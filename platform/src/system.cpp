// Process-wide services: errors, threads, time, the command line, the temporary folder,
// screen metrics, COM initialisation and debugger output.
#include "core.h"

#include <objbase.h>
#include <ole2.h>
#include <platform/process.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace korvane::platform {

namespace {

thread_local DWORD t_lastError = 0;
thread_local int t_comCount = 0;
std::atomic<HRESULT> g_failNextCoInitialize{S_OK};

std::u16string& CommandLine() {
  static std::u16string line;
  return line;
}

std::u16string Widen(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, out.data(), n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// Quotes one argument so that CommandLineToArgvW reads it back unchanged.
std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') out.append(backslashes * 2 + 1, '\\');
    else out.append(backslashes, '\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, '\\');
  out.push_back('"');
  return out;
}

// A folder that only this user can write to, or empty.
std::string PrivateFolder(const std::string& base) {
  std::string dir = base;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  dir += "/korvane-" + std::to_string(getuid());
  if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & 077)) return {};
  return dir;
}

bool WritableByOthers(const std::string& dir) {
  struct stat st {};
  return stat(dir.c_str(), &st) == 0 && (st.st_mode & (S_IWGRP | S_IWOTH));
}

}  // namespace

void SetCommandLineFromArgs(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i) line.push_back(' ');
    line += QuoteArgument(argv[i] ? argv[i] : "");
  }
  CommandLine() = Widen(line);
}

void FailNextCoInitialize(HRESULT hr) { g_failNextCoInitialize.store(hr); }

}  // namespace korvane::platform

using namespace korvane::platform;

DWORD WINAPI GetLastError() { return t_lastError; }
void WINAPI SetLastError(DWORD error) { t_lastError = error; }

DWORD WINAPI GetCurrentThreadId() { return CurrentThreadId(); }
DWORD WINAPI GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }
void WINAPI Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
DWORD WINAPI GetTickCount() { return TickCount(); }

LPWSTR WINAPI GetCommandLineW() { return CommandLine().data(); }

DWORD WINAPI GetModuleFileNameW(HMODULE, LPWSTR filename, DWORD size) {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n < 0 || !filename || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  path[n] = 0;
  std::u16string wide = Widen(path);
  if (wide.size() >= size) {
    // Windows truncates, terminates and reports the buffer size.
    std::copy(wide.begin(), wide.begin() + size - 1, filename);
    filename[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::copy(wide.begin(), wide.end(), filename);
  filename[wide.size()] = 0;
  return static_cast<DWORD>(wide.size());
}

DWORD WINAPI GetTempPathW(DWORD bufferLength, LPWSTR buffer) {
  std::string dir;
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir && *tmpdir && !WritableByOthers(tmpdir)) {
    dir = tmpdir;
  } else {
    // A shared folder (such as /tmp) is never handed out itself: files there could be
    // planted or read by other users. A folder private to this user inside it is.
    dir = PrivateFolder(tmpdir && *tmpdir ? tmpdir : "/tmp");
    if (dir.empty()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  if (dir.back() != '/') dir.push_back('/');
  std::u16string wide = Widen(dir);
  if (wide.empty()) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  DWORD length = static_cast<DWORD>(wide.size());
  if (!buffer || bufferLength < length + 1) return length + 1;
  std::copy(wide.begin(), wide.end(), buffer);
  buffer[length] = 0;
  return length;
}

void WINAPI OutputDebugStringW(LPCWSTR text) {
  if (!text) return;
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), n, nullptr, nullptr);
  std::fputs(narrow.c_str(), stderr);
  std::fflush(stderr);
}

void WINAPI OutputDebugStringA(LPCSTR text) {
  if (!text) return;
  std::fputs(text, stderr);
  std::fflush(stderr);
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *point = CurrentDisplay().CursorPos();
  return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
  CurrentDisplay().SetCursorPos(POINT{x, y});
  return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
  ScreenInfo s = CurrentDisplay().Screen();
  int sw = s.screen.right - s.screen.left;
  int sh = s.screen.bottom - s.screen.top;
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
      return sw;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return sh;
    case SM_XVIRTUALSCREEN:
      return s.screen.left;
    case SM_YVIRTUALSCREEN:
      return s.screen.top;
    case SM_CXFULLSCREEN:
    case SM_CXMAXIMIZED:
      return s.workArea.right - s.workArea.left;
    case SM_CYFULLSCREEN:
    case SM_CYMAXIMIZED:
      return s.workArea.bottom - s.workArea.top;
    case SM_CXMINTRACK:
      return 136;
    case SM_CYMINTRACK:
      return 39;
    case SM_CXMAXTRACK:
      return sw + 26;
    case SM_CYMAXTRACK:
      return sh + 26;
    case SM_CXMINIMIZED:
      return 160;
    case SM_CYMINIMIZED:
      return 28;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CMONITORS:
      return 1;
    default:
      return 0;
  }
}

BOOL WINAPI SystemParametersInfoW(UINT action, UINT, PVOID pvParam, UINT) {
  if (action == SPI_GETWORKAREA && pvParam) {
    *static_cast<RECT*>(pvParam) = CurrentDisplay().Screen().workArea;
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

namespace {
HMONITOR PrimaryMonitor() { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(0x40001)); }
}  // namespace

HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : PrimaryMonitor();
  RECT screen = CurrentDisplay().Screen().screen;
  RECT overlap{};
  if (!IntersectRect(&overlap, &r, &screen) && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return PrimaryMonitor();
}

HMONITOR WINAPI MonitorFromPoint(POINT pt, DWORD flags) {
  RECT screen = CurrentDisplay().Screen().screen;
  if (!PtInRect(&screen, pt) && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return PrimaryMonitor();
}

BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info) {
  if (monitor != PrimaryMonitor() || !info || info->cbSize < sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ScreenInfo s = CurrentDisplay().Screen();
  info->rcMonitor = s.screen;
  info->rcWork = s.workArea;
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

HRESULT WINAPI CoInitializeEx(LPVOID, DWORD) {
  HRESULT failure = g_failNextCoInitialize.exchange(S_OK);
  if (FAILED(failure)) return failure;
  return t_comCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void WINAPI CoUninitialize() {
  if (t_comCount > 0) --t_comCount;
}

HRESULT WINAPI OleInitialize(LPVOID reserved) { return CoInitialize(reserved); }
void WINAPI OleUninitialize() { CoUninitialize(); }

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL WINAPI IsRectEmpty(const RECT* rect) {
  return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL WINAPI PtInRect(const RECT* rect, POINT pt) {
  return rect && pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top && pt.y < rect->bottom;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL WINAPI IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *dst = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL WINAPI UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (IsRectEmpty(a)) {
    *dst = IsRectEmpty(b) ? RECT{0, 0, 0, 0} : *b;
  } else if (IsRectEmpty(b)) {
    *dst = *a;
  } else {
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
  }
  return !IsRectEmpty(dst);
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
