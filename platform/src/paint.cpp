// Update regions, WM_PAINT and the window surfaces behind device contexts.
#include "core.h"

#include <platform/surface.h>

#include <algorithm>

namespace korvane::platform {

namespace {

struct DeviceContext {
  HWND hwnd = nullptr;
};

std::unordered_map<HDC, DeviceContext>& Contexts() {
  static std::unordered_map<HDC, DeviceContext> contexts;
  return contexts;
}
uintptr_t g_nextDc = 0x20010;

// Locked. Sizes the surface to the client area; a new size starts transparent.
void EnsureSurface(Window& w) {
  int width = (w.style & WS_MINIMIZE) ? 0 : w.rect.right - w.rect.left;
  int height = (w.style & WS_MINIMIZE) ? 0 : w.rect.bottom - w.rect.top;
  if (width != w.surfaceWidth || height != w.surfaceHeight) {
    w.surfaceWidth = width;
    w.surfaceHeight = height;
    w.surface.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  }
}

HDC OpenContext(HWND hwnd) {
  Core& core = Core::Get();
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  EnsureSurface(*w);
  g_nextDc += 4;
  HDC dc = reinterpret_cast<HDC>(g_nextDc);
  Contexts()[dc] = DeviceContext{hwnd};
  return dc;
}

// Hands what the window painted to the display.
void Present(HWND hwnd) {
  Core& core = Core::Get();
  auto image = std::make_shared<SurfaceImage>();
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) return;
    image->width = w->surfaceWidth;
    image->height = w->surfaceHeight;
    image->layered = (w->exStyle & WS_EX_LAYERED) != 0;
    image->pixels = w->surface;
  }
  CurrentDisplay().SurfaceUpdated(hwnd, std::move(image));
}

bool CloseContext(HDC dc) {
  Core& core = Core::Get();
  HWND hwnd = nullptr;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto it = Contexts().find(dc);
    if (it == Contexts().end()) return false;
    hwnd = it->second.hwnd;
    Contexts().erase(it);
  }
  Present(hwnd);
  return true;
}

}  // namespace

bool GetDCSurface(HDC dc, SurfaceView* view) {
  if (!view) return false;
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto it = Contexts().find(dc);
  if (it == Contexts().end()) return false;
  auto w = core.Find(it->second.hwnd);
  if (!w) return false;
  EnsureSurface(*w);
  view->pixels = w->surface.data();
  view->width = w->surfaceWidth;
  view->height = w->surfaceHeight;
  view->stride = w->surfaceWidth * 4;
  return true;
}

}  // namespace korvane::platform

using namespace korvane::platform;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  RECT client{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  RECT area = client;
  if (rect && !IntersectRect(&area, rect, &client)) return TRUE;
  if (w->needsPaint)
    UnionRect(&w->invalid, &w->invalid, &area);
  else
    w->invalid = area;
  w->needsPaint = true;
  if (auto q = core.QueueOf(w->threadId)) q->Wake();
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // A partial validation keeps the bounding rectangle: the update region is one rectangle.
  RECT remaining{};
  if (!rect || (rect->left <= w->invalid.left && rect->top <= w->invalid.top && rect->right >= w->invalid.right &&
                rect->bottom >= w->invalid.bottom)) {
    w->needsPaint = false;
    w->invalid = remaining;
  }
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (rect) *rect = w->needsPaint ? w->invalid : RECT{0, 0, 0, 0};
  return w->needsPaint;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  bool paint = false;
  {
    Core& core = Core::Get();
    std::lock_guard<std::mutex> lock(core.mu);
    auto w = core.Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    paint = w->needsPaint && core.IsVisibleLocked(*w);
  }
  if (paint) SendMessageW(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  if (!ps) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  *ps = PAINTSTRUCT{};
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  ps->rcPaint = w->needsPaint ? w->invalid : RECT{0, 0, 0, 0};
  ps->fErase = FALSE;
  w->needsPaint = false;
  w->invalid = RECT{0, 0, 0, 0};
  ps->hdc = OpenContext(hwnd);
  return ps->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps || !ps->hdc) return FALSE;
  return CloseContext(ps->hdc);
}

HDC WINAPI GetDC(HWND hwnd) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  return OpenContext(hwnd);
}

int WINAPI ReleaseDC(HWND, HDC dc) { return CloseContext(dc) ? 1 : 0; }
