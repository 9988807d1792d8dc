// Korvane platform demo: opens a window on the platform layer's headless display, paints
// it, drives it the way a user would (a click, the Alt+Q hot key, a tray click, a confirmed
// close) and prints each message the window receives. The painted window is written to
// korvane-demo.ppm. The real client and the on-screen display replace this demo.
#include <windows.h>
#include <platform/headless_display.h>
#include <platform/surface.h>
#include <shellapi.h>

#include <cstdio>

namespace {

using korvane::platform::HeadlessDisplay;

const char* NameOf(UINT msg) {
  switch (msg) {
    case WM_CREATE: return "WM_CREATE";
    case WM_SIZE: return "WM_SIZE";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_PAINT: return "WM_PAINT";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_HOTKEY: return "WM_HOTKEY";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_USER + 1: return "tray";
    default: return nullptr;
  }
}

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const char* name = NameOf(msg)) std::printf("  %-15s wParam=%lu lParam=0x%lx\n", name, (unsigned long)wParam,
                                                 (unsigned long)lParam);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      korvane::platform::SurfaceView view;
      if (korvane::platform::GetDCSurface(dc, &view)) {
        for (int y = 0; y < view.height; ++y)
          for (int x = 0; x < view.width; ++x) {
            uint32_t r = static_cast<uint32_t>(40 + 180 * x / std::max(1, view.width));
            uint32_t b = static_cast<uint32_t>(120 + 100 * y / std::max(1, view.height));
            view.pixels[y * view.width + x] = 0xFF000000u | (r << 16) | (0x30u << 8) | b;
          }
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_HOTKEY:
      ShowWindow(hwnd, IsWindowVisible(hwnd) ? SW_HIDE : SW_SHOW);
      return 0;
    case WM_CLOSE:
      if (MessageBoxW(hwnd, u"Quit the demo?", u"Korvane", MB_YESNO) != IDYES) return 0;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void WritePpm(HWND hwnd, const char* path) {
  auto surface = HeadlessDisplay::Default().Surface(hwnd);
  if (!surface) return;
  FILE* f = std::fopen(path, "wb");
  if (!f) return;
  std::fprintf(f, "P6\n%d %d\n255\n", surface->width, surface->height);
  for (uint32_t px : surface->pixels) {
    unsigned char rgb[3] = {static_cast<unsigned char>(px >> 16), static_cast<unsigned char>(px >> 8),
                            static_cast<unsigned char>(px)};
    std::fwrite(rgb, 1, 3, f);
  }
  std::fclose(f);
  std::printf("painted %dx%d window written to %s\n", surface->width, surface->height, path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DemoProc;
  wc.hInstance = instance;
  wc.lpszClassName = u"Korvane_DemoWnd";
  RegisterClassExW(&wc);

  HeadlessDisplay& display = HeadlessDisplay::Default();
  std::printf("creating the window\n");
  HWND hwnd = CreateWindowExW(0, u"Korvane_DemoWnd", u"Korvane", WS_POPUP | WS_VISIBLE, 100, 100, 320, 200, nullptr,
                              nullptr, instance, nullptr);
  RegisterHotKey(hwnd, 1, MOD_ALT, 'Q');
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = hwnd;
  nid.uID = 1;
  nid.uFlags = NIF_MESSAGE;
  nid.uCallbackMessage = WM_USER + 1;
  Shell_NotifyIconW(NIM_ADD, &nid);

  // Let the window paint before the input arrives.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  WritePpm(hwnd, "korvane-demo.ppm");

  std::printf("a click, Alt+Q twice, a tray click, a close that is confirmed\n");
  display.Click(hwnd, POINT{20, 20});
  display.PressHotKey(MOD_ALT, 'Q');
  display.PressHotKey(MOD_ALT, 'Q');
  display.ClickTray(hwnd, 1);
  display.AnswerNextMessageBox(IDYES);
  display.RequestClose(hwnd);

  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::printf("message loop ended with exit code %d\n", static_cast<int>(msg.wParam));
  return static_cast<int>(msg.wParam);
}
