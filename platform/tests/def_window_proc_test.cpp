// Default processing: close, system commands, hit testing, track sizes, Alt+F4.
#include "test_support.h"

namespace korvane::platform::testing {
namespace {

using Log = std::vector<std::string>;

class DefWindowProcTest : public PlatformTest {};

TEST_F(DefWindowProcTest, CloseDestroysTheWindow) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}});
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(log.Take(), (Log{"WM_CLOSE", "WM_DESTROY", "WM_NCDESTROY"}));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(DefWindowProcTest, SystemCommandsIgnoreTheLowFourBits) {
  struct Case {
    WPARAM command;
    bool closed, minimized, maximized;
  } cases[] = {
      {SC_CLOSE, true, false, false},     {SC_CLOSE | 0x1, true, false, false}, {SC_CLOSE | 0xF, true, false, false},
      {SC_MINIMIZE, false, true, false},  {SC_MINIMIZE | 2, false, true, false},
      {SC_MAXIMIZE, false, false, true},  {SC_MAXIMIZE | 2, false, false, true},
      {SC_KEYMENU, false, false, false},
  };
  for (const auto& c : cases) {
    HWND hwnd = CreateTestWindow({.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE});
    SendMessageW(hwnd, WM_SYSCOMMAND, c.command, 0);
    EXPECT_EQ(!IsWindow(hwnd), c.closed) << std::hex << c.command;
    EXPECT_EQ(static_cast<bool>(IsIconic(hwnd)), c.minimized) << std::hex << c.command;
    EXPECT_EQ(static_cast<bool>(IsZoomed(hwnd)), c.maximized) << std::hex << c.command;
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
}

TEST_F(DefWindowProcTest, RestoreCommandUndoesMaximise) {
  HWND hwnd = CreateTestWindow({.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, .x = 5, .y = 6, .width = 300, .height = 200});
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_FALSE(IsZoomed(hwnd));
}

TEST_F(DefWindowProcTest, CloseCommandCanBeRefusedByTheWindow) {
  HWND hwnd = CreateTestWindow({.log = &log,
                                .handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg == WM_CLOSE) return 0;  // asked, and said no
                                  return std::nullopt;
                                },
                                .ignore = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}});
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(log.Take(), (Log{"WM_SYSCOMMAND 0xF060", "WM_CLOSE"}));
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(DefWindowProcTest, HitTestAnswersClientInsideTheWindow) {
  HWND hwnd = CreateTestWindow({.x = 100, .y = 100, .width = 50, .height = 50});
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(120, 120)), HTCLIENT);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(100, 149)), HTCLIENT);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(150, 120)), HTNOWHERE);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(20, 20)), HTNOWHERE);
}

TEST_F(DefWindowProcTest, MinimumTrackSizeFromTheWindowLimitsResizing) {
  HWND hwnd = CreateTestWindow({.style = WS_OVERLAPPEDWINDOW,
                                .width = 900,
                                .height = 700,
                                .handler = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
                                  if (msg == WM_GETMINMAXINFO) {
                                    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{800, 572};
                                    return 0;
                                  }
                                  return std::nullopt;
                                }});
  SetWindowPos(hwnd, nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOMOVE);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 800);
  EXPECT_EQ(r.bottom - r.top, 572);
  // A window without a sizing border is placed as asked.
  HWND popup = CreateTestWindow({.style = WS_POPUP});
  SetWindowPos(popup, nullptr, 0, 0, 3, 3, SWP_NOZORDER | SWP_NOMOVE);
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.right - r.left, 3);
}

TEST_F(DefWindowProcTest, DefaultMinMaxInfoDescribesTheWorkArea) {
  display().SetScreen(ScreenInfo{{0, 0, 1280, 800}, {0, 30, 1280, 800}});
  MINMAXINFO mmi{};
  HWND hwnd = CreateTestWindow({.handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg == WM_GETMINMAXINFO) mmi = *reinterpret_cast<MINMAXINFO*>(lParam);
    return std::nullopt;
  }});
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(mmi.ptMaxSize.x, 1280);
  EXPECT_EQ(mmi.ptMaxSize.y, 770);
  EXPECT_EQ(mmi.ptMaxPosition.y, 30);
  EXPECT_EQ(mmi.ptMinTrackSize.x, GetSystemMetrics(SM_CXMINTRACK));
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom, 800);
}

TEST_F(DefWindowProcTest, AltF4BecomesTheCloseCommand) {
  HWND hwnd = CreateTestWindow({.log = &log,
                                .handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg == WM_CLOSE) return 0;
                                  return std::nullopt;
                                },
                                .ignore = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}});
  display().PressKey(hwnd, VK_F4, /*alt=*/true);
  display().PressKey(hwnd, VK_F4, /*alt=*/false);  // F4 alone does nothing
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_SYSKEYDOWN 115", "WM_SYSCOMMAND 0xF060", "WM_CLOSE", "WM_SYSKEYUP 115",
                             "WM_KEYDOWN 115", "WM_KEYUP 115"}));
}

TEST_F(DefWindowProcTest, SetTextAndIconsAreKept) {
  HWND hwnd = CreateTestWindow({});
  EXPECT_TRUE(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"abc")));
  EXPECT_EQ(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 3);
  HICON icon = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x99));
  EXPECT_EQ(SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(icon));
  EXPECT_EQ(display().Window(hwnd)->icon, icon);
}

}  // namespace
}  // namespace korvane::platform::testing
