// Access to the pixels behind a device context: the window surface that BeginPaint or
// GetDC hands out. Premultiplied ARGB, 32 bits a pixel (cairo's ARGB32 layout).
#pragma once

#include <windows.h>

namespace korvane::platform {

struct SurfaceView {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes
};

// False for a handle that is not a live window device context.
bool GetDCSurface(HDC dc, SurfaceView* view);

}  // namespace korvane::platform
