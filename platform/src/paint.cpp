// Update regions, WM_PAINT and the window surfaces behind device contexts.
#include "core.h"

#include <platform/surface.h>

#include <algorithm>
#include <atomic>

namespace korvane::platform {

namespace {

struct DeviceContext {
  HWND hwnd = nullptr;
  RECT dirty{};  // what the holder may paint: the update rectangle, or the whole client area
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
    for (auto& snapshot : w.snapshots) snapshot = Window::Snapshot{};
  }
}

HDC OpenContext(HWND hwnd, const RECT* dirty) {
  Core& core = Core::Get();
  auto w = core.Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  EnsureSurface(*w);
  g_nextDc += 4;
  HDC dc = reinterpret_cast<HDC>(g_nextDc);
  RECT client{0, 0, w->surfaceWidth, w->surfaceHeight};
  // Painters are trusted to stay inside the update rectangle they were given; one that
  // was given none may paint anywhere.
  Contexts()[dc] = DeviceContext{hwnd, dirty && !IsRectEmpty(dirty) ? *dirty : client};
  return dc;
}

void CopyRows(const Window& w, SurfaceImage& image, const RECT& area) {
  RECT clipped{};
  RECT client{0, 0, w.surfaceWidth, w.surfaceHeight};
  if (!IntersectRect(&clipped, &area, &client)) return;
  size_t width = static_cast<size_t>(clipped.right - clipped.left);
  for (LONG y = clipped.top; y < clipped.bottom; ++y) {
    size_t offset = static_cast<size_t>(y) * static_cast<size_t>(w.surfaceWidth) + static_cast<size_t>(clipped.left);
    std::copy_n(w.surface.data() + offset, width, image.pixels.data() + offset);
  }
}

// Locked. A snapshot of the surface for the display. The display keeps what it is given
// for as long as it likes, so a snapshot is reused only once the display has let go of
// it, and then only the part painted since it was taken is copied again.
std::shared_ptr<const SurfaceImage> TakeSnapshot(Window& w, const RECT& dirty) {
  for (auto& snapshot : w.snapshots)
    if (snapshot.slot) UnionRect(&snapshot.stale, &snapshot.stale, &dirty);
  Window::Snapshot* chosen = nullptr;
  for (auto& snapshot : w.snapshots)
    if (snapshot.slot && !snapshot.slot->lent.load(std::memory_order_acquire)) chosen = &snapshot;
  if (chosen) {
    CopyRows(w, chosen->slot->image, chosen->stale);
  } else {
    chosen = !w.snapshots[0].slot ? &w.snapshots[0] : !w.snapshots[1].slot ? &w.snapshots[1] : &w.snapshots[0];
    chosen->slot = std::make_shared<Window::SnapshotSlot>();
    chosen->slot->image.width = w.surfaceWidth;
    chosen->slot->image.height = w.surfaceHeight;
    chosen->slot->image.pixels = w.surface;
  }
  chosen->stale = RECT{};
  auto slot = chosen->slot;
  slot->image.layered = (w.exStyle & WS_EX_LAYERED) != 0;
  slot->lent.store(true, std::memory_order_relaxed);
  // The last reference the display drops hands the slot back; it also keeps the slot
  // alive should the window go first.
  return std::shared_ptr<const SurfaceImage>(&slot->image, [slot](const SurfaceImage*) {
    slot->lent.store(false, std::memory_order_release);
  });
}

// Hands what the window painted to the display.
bool CloseContext(HDC dc) {
  Core& core = Core::Get();
  HWND hwnd = nullptr;
  std::shared_ptr<const SurfaceImage> image;
  {
    std::lock_guard<std::mutex> lock(core.mu);
    auto it = Contexts().find(dc);
    if (it == Contexts().end()) return false;
    hwnd = it->second.hwnd;
    RECT dirty = it->second.dirty;
    Contexts().erase(it);
    auto w = core.Find(hwnd);
    if (!w) return true;
    EnsureSurface(*w);
    image = TakeSnapshot(*w, dirty);
  }
  CurrentDisplay().SurfaceUpdated(hwnd, std::move(image));
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
  ps->hdc = OpenContext(hwnd, &ps->rcPaint);
  return ps->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps || !ps->hdc) return FALSE;
  return CloseContext(ps->hdc);
}

HDC WINAPI GetDC(HWND hwnd) {
  Core& core = Core::Get();
  std::lock_guard<std::mutex> lock(core.mu);
  return OpenContext(hwnd, nullptr);
}

int WINAPI ReleaseDC(HWND, HDC dc) { return CloseContext(dc) ? 1 : 0; }
