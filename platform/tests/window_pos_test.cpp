// ShowWindow and SetWindowPos: the messages each sends, in order, and the states that result.
#include "test_support.h"

namespace korvane::platform::testing {
namespace {

using Log = std::vector<std::string>;

class WindowPosTest : public PlatformTest {
 protected:
  // A resizable window 800x572 at (560,254), hidden or visible, with a clean log.
  HWND Frame(bool visible) {
    HWND hwnd = CreateTestWindow({.style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                                  .x = 560,
                                  .y = 254,
                                  .width = 800,
                                  .height = 572,
                                  .log = &log});
    log.Clear();
    return hwnd;
  }
  static RECT Rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
};

TEST_F(WindowPosTest, ShowWindowSequences) {
  struct Case {
    const char* what;
    bool visible;
    int cmd;
    BOOL result;
    Log messages;
  } cases[] = {
      {"show a hidden window", false, SW_SHOW, FALSE,
       {"WM_SHOWWINDOW 1", "WM_WINDOWPOSCHANGING show", "WM_WINDOWPOSCHANGED show"}},
      {"show a shown window", true, SW_SHOW, TRUE, {}},
      {"hide a shown window", true, SW_HIDE, TRUE,
       {"WM_SHOWWINDOW 0", "WM_WINDOWPOSCHANGING hide", "WM_WINDOWPOSCHANGED hide"}},
      {"hide a hidden window", false, SW_HIDE, FALSE, {}},
      {"show normal a hidden window", false, SW_SHOWNORMAL, FALSE,
       {"WM_SHOWWINDOW 1", "WM_WINDOWPOSCHANGING show", "WM_WINDOWPOSCHANGED show"}},
      {"show without activation", false, SW_SHOWNOACTIVATE, FALSE,
       {"WM_SHOWWINDOW 1", "WM_WINDOWPOSCHANGING show", "WM_WINDOWPOSCHANGED show"}},
      {"maximise a hidden window", false, SW_SHOWMAXIMIZED, FALSE,
       {"WM_SHOWWINDOW 1", "WM_GETMINMAXINFO", "WM_WINDOWPOSCHANGING show", "WM_NCCALCSIZE",
        "WM_WINDOWPOSCHANGED show", "WM_SIZE SIZE_MAXIMIZED 1920x1040", "WM_MOVE 0,0"}},
      {"maximise a shown window", true, SW_SHOWMAXIMIZED, TRUE,
       {"WM_GETMINMAXINFO", "WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED",
        "WM_SIZE SIZE_MAXIMIZED 1920x1040", "WM_MOVE 0,0"}},
      {"minimise a shown window", true, SW_MINIMIZE, TRUE,
       {"WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED", "WM_SIZE SIZE_MINIMIZED 0x0",
        "WM_MOVE -32000,-32000"}},
      {"restore a normal shown window", true, SW_RESTORE, TRUE, {}},
  };
  for (const auto& c : cases) {
    HWND hwnd = Frame(c.visible);
    EXPECT_EQ(ShowWindow(hwnd, c.cmd), c.result) << c.what;
    EXPECT_EQ(log.Take(), c.messages) << c.what;
    DestroyWindow(hwnd);
  }
}

TEST_F(WindowPosTest, MaximiseFillsTheWorkAreaAndRestoreReturnsToTheNormalRect) {
  HWND hwnd = Frame(true);
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(hwnd));
  RECT r = Rect(hwnd), work{0, 0, 1920, 1040};
  EXPECT_TRUE(EqualRect(&r, &work));
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 1920);
  EXPECT_EQ(client.bottom, 1040);
  log.Clear();

  EXPECT_TRUE(ShowWindow(hwnd, SW_RESTORE));
  EXPECT_EQ(log.Take(), (Log{"WM_WINDOWPOSCHANGING", "WM_GETMINMAXINFO", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED",
                             "WM_SIZE SIZE_RESTORED 800x572", "WM_MOVE 560,254"}));
  EXPECT_FALSE(IsZoomed(hwnd));
  r = Rect(hwnd);
  RECT normal{560, 254, 1360, 826};
  EXPECT_TRUE(EqualRect(&r, &normal));
}

TEST_F(WindowPosTest, RestoringAMinimisedWindowReturnsToWhatItWasBefore) {
  HWND hwnd = Frame(true);
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));  // minimised is still visible
  log.Clear();
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_EQ(log.Take(), (Log{"WM_GETMINMAXINFO", "WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED",
                             "WM_SIZE SIZE_MAXIMIZED 1920x1040", "WM_MOVE 0,0"}));
  EXPECT_TRUE(IsZoomed(hwnd));
  EXPECT_FALSE(IsIconic(hwnd));

  // From a normal window, minimise and restore give the normal rectangle back.
  ShowWindow(hwnd, SW_RESTORE);
  ShowWindow(hwnd, SW_MINIMIZE);
  ShowWindow(hwnd, SW_RESTORE);
  RECT r = Rect(hwnd), normal{560, 254, 1360, 826};
  EXPECT_TRUE(EqualRect(&r, &normal));
}

TEST_F(WindowPosTest, MinimisingAHiddenWindowShowsIt) {
  HWND hwnd = Frame(false);
  EXPECT_FALSE(ShowWindow(hwnd, SW_MINIMIZE));
  EXPECT_EQ(log.Take(), (Log{"WM_SHOWWINDOW 1", "WM_WINDOWPOSCHANGING show", "WM_NCCALCSIZE",
                             "WM_WINDOWPOSCHANGED show", "WM_SIZE SIZE_MINIMIZED 0x0", "WM_MOVE -32000,-32000"}));
  EXPECT_TRUE(IsIconic(hwnd));
}

TEST_F(WindowPosTest, MaximisedSizeFollowsTheWindowsMinMaxAnswer) {
  HWND hwnd = CreateTestWindow({.style = WS_OVERLAPPEDWINDOW,
                                .width = 800,
                                .height = 600,
                                .handler = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
                                  if (msg == WM_GETMINMAXINFO) {
                                    auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
                                    mmi->ptMaxPosition = POINT{10, 20};
                                    mmi->ptMaxSize = POINT{1000, 700};
                                    return 0;
                                  }
                                  return std::nullopt;
                                }});
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  RECT r = Rect(hwnd), expected{10, 20, 1010, 720};
  EXPECT_TRUE(EqualRect(&r, &expected));
}

TEST_F(WindowPosTest, SetWindowPosSequencesAndFlags) {
  struct Case {
    const char* what;
    int x, y, cx, cy;
    UINT flags;
    Log messages;
    RECT rect;
    bool visible;
  } cases[] = {
      {"move and size", 10, 20, 900, 600, SWP_NOZORDER,
       {"WM_WINDOWPOSCHANGING", "WM_GETMINMAXINFO", "WM_WINDOWPOSCHANGED", "WM_SIZE SIZE_RESTORED 900x600",
        "WM_MOVE 10,20"},
       {10, 20, 910, 620},
       false},
      {"move only", 10, 20, 0, 0, SWP_NOZORDER | SWP_NOSIZE,
       {"WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_MOVE 10,20"},
       {10, 20, 810, 592},
       false},
      {"size only", 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE,
       {"WM_WINDOWPOSCHANGING", "WM_GETMINMAXINFO", "WM_WINDOWPOSCHANGED", "WM_SIZE SIZE_RESTORED 900x600"},
       {560, 254, 1460, 854},
       false},
      {"same place and size", 560, 254, 800, 572, SWP_NOZORDER,
       {"WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED"},
       {560, 254, 1360, 826},
       false},
      {"show sends no WM_SHOWWINDOW", 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW,
       {"WM_WINDOWPOSCHANGING show", "WM_WINDOWPOSCHANGED show"},
       {560, 254, 1360, 826},
       true},
      {"the frame changed", 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED,
       {"WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED"},
       {560, 254, 1360, 826},
       false},
      {"below the minimum track size", 0, 0, 50, 10, SWP_NOZORDER | SWP_NOMOVE,
       {"WM_WINDOWPOSCHANGING", "WM_GETMINMAXINFO", "WM_WINDOWPOSCHANGED", "WM_SIZE SIZE_RESTORED 136x39"},
       {560, 254, 696, 293},
       false},
  };
  for (const auto& c : cases) {
    HWND hwnd = Frame(false);
    EXPECT_TRUE(SetWindowPos(hwnd, nullptr, c.x, c.y, c.cx, c.cy, c.flags)) << c.what;
    EXPECT_EQ(log.Take(), c.messages) << c.what;
    RECT r = Rect(hwnd);
    EXPECT_TRUE(EqualRect(&r, &c.rect)) << c.what << ": " << r.left << "," << r.top << "," << r.right << ","
                                        << r.bottom;
    EXPECT_EQ(static_cast<bool>(IsWindowVisible(hwnd)), c.visible) << c.what;
    DestroyWindow(hwnd);
  }
}

TEST_F(WindowPosTest, HideFlagHidesWithoutShowWindowMessage) {
  HWND hwnd = Frame(true);
  EXPECT_TRUE(SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW));
  EXPECT_EQ(log.Take(), (Log{"WM_WINDOWPOSCHANGING hide", "WM_WINDOWPOSCHANGED hide"}));
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(WindowPosTest, HandlingWindowPosChangedYourselfSuppressesSizeAndMove) {
  MessageLog own;
  HWND hwnd = CreateTestWindow({.log = &own, .handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg == WM_WINDOWPOSCHANGED) return 0;
                                  return std::nullopt;
                                }});
  own.Clear();
  SetWindowPos(hwnd, nullptr, 5, 5, 50, 50, SWP_NOZORDER);
  EXPECT_EQ(own.Take(), (Log{"WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED"}));
  DestroyWindow(hwnd);
}

TEST_F(WindowPosTest, AChildIsVisibleOnlyUnderVisibleAncestors) {
  HWND top = CreateTestWindow({.style = WS_POPUP});
  HWND child = CreateTestWindow({.style = WS_CHILD | WS_VISIBLE, .parent = top});
  HWND grandchild = CreateTestWindow({.style = WS_CHILD | WS_VISIBLE, .parent = child});
  EXPECT_FALSE(IsWindowVisible(grandchild));
  EXPECT_TRUE(GetWindowLongW(grandchild, GWL_STYLE) & WS_VISIBLE);
  ShowWindow(top, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(grandchild));
  ShowWindow(child, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(grandchild));
  EXPECT_FALSE(display().Window(grandchild)->visible);
}

TEST_F(WindowPosTest, AnotherThreadsWindowIsPlacedOnItsOwnThread) {
  WindowThread other;
  DWORD placedOn = 0;
  HWND hwnd = other.Call<HWND>([&] {
    return CreateTestWindow({.handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg == WM_WINDOWPOSCHANGED) placedOn = GetCurrentThreadId();
      return std::nullopt;
    }});
  });
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
  EXPECT_EQ(placedOn, other.Id());
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(SetWindowPos(hwnd, nullptr, 7, 8, 9, 10, SWP_NOZORDER));
  RECT r = Rect(hwnd), expected{7, 8, 16, 18};
  EXPECT_TRUE(EqualRect(&r, &expected));
  other.Run([&] { DestroyWindow(hwnd); });
}

TEST_F(WindowPosTest, TheDisplayMirrorsTheCore) {
  HWND hwnd = Frame(false);
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  auto state = display().Window(hwnd);
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->visible);
  EXPECT_TRUE(state->maximized);
  EXPECT_EQ(state->rect.right, 1920);
  EXPECT_EQ(state->className, u"KorvaneTestWnd");
  DestroyWindow(hwnd);
  EXPECT_FALSE(display().Window(hwnd));
}

}  // namespace
}  // namespace korvane::platform::testing
