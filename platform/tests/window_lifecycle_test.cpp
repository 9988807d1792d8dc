// Window creation and destruction: the messages, their order, owners and parents, threads.
#include "test_support.h"

namespace korvane::platform::testing {
namespace {

using Log = std::vector<std::string>;

class WindowLifecycleTest : public PlatformTest {};

TEST_F(WindowLifecycleTest, CreationSendsNcCreateCalcSizeCreateSizeMove) {
  HWND hwnd = CreateTestWindow({.style = WS_POPUP, .x = 10, .y = 20, .width = 100, .height = 50, .log = &log});
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(log.Take(), (Log{"WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE SIZE_RESTORED 100x50",
                             "WM_MOVE 10,20"}));
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(WindowLifecycleTest, ResizableWindowIsCreatedAtLeastAtItsMinimumTrackSize) {
  HWND hwnd = CreateTestWindow({.style = WS_OVERLAPPEDWINDOW, .width = 10, .height = 10});
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK));
  HWND popup = CreateTestWindow({.style = WS_POPUP, .width = 10, .height = 10});
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.right - r.left, 10);
}

TEST_F(WindowLifecycleTest, VisibleStyleShowsTheWindowAfterCreation) {
  HWND hwnd = CreateTestWindow({.style = WS_POPUP | WS_VISIBLE, .log = &log});
  EXPECT_EQ(log.Take(), (Log{"WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE SIZE_RESTORED 100x100",
                             "WM_MOVE 0,0", "WM_SHOWWINDOW 1", "WM_WINDOWPOSCHANGING show",
                             "WM_WINDOWPOSCHANGED show"}));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowLifecycleTest, CreateStructCarriesTheCreationArguments) {
  CREATESTRUCTW seen{};
  std::u16string seenName;
  int marker = 0;
  HWND hwnd = CreateTestWindow({.style = WS_POPUP,
                                .exStyle = WS_EX_TOOLWINDOW,
                                .x = 1,
                                .y = 2,
                                .width = 3,
                                .height = 4,
                                .title = u"Korvane",
                                .handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
                                  if (msg == WM_CREATE) {
                                    seen = *reinterpret_cast<CREATESTRUCTW*>(lParam);
                                    seenName = seen.lpszName;
                                    marker = 1;
                                  }
                                  return std::nullopt;
                                }});
  ASSERT_TRUE(hwnd);
  ASSERT_EQ(marker, 1);
  EXPECT_EQ(seen.x, 1);
  EXPECT_EQ(seen.y, 2);
  EXPECT_EQ(seen.cx, 3);
  EXPECT_EQ(seen.cy, 4);
  EXPECT_EQ(static_cast<DWORD>(seen.style), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(seen.dwExStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(seenName, u"Korvane");
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
}

TEST_F(WindowLifecycleTest, DefaultPositionAndSizeDependOnTheKindOfWindow) {
  struct Case {
    DWORD style;
    RECT expected;
  } cases[] = {
      // Overlapped windows get a place and three quarters of the work area; popups get zeros.
      {WS_OVERLAPPED | WS_CAPTION, {26, 26, 26 + 1440, 26 + 780}},
      {WS_POPUP, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    HWND hwnd = CreateTestWindow({.style = c.style, .x = CW_USEDEFAULT, .y = 99, .width = CW_USEDEFAULT, .height = 5});
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << std::hex << c.style << ": " << std::dec << r.left << "," << r.top
                                            << " " << r.right << "," << r.bottom;
    DestroyWindow(hwnd);
  }
}

TEST_F(WindowLifecycleTest, ParentArgumentIsTheParentOfChildrenAndTheOwnerOfPopups) {
  HWND top = CreateTestWindow({.style = WS_POPUP, .x = 100, .y = 50, .width = 400, .height = 300});
  HWND child = CreateTestWindow({.style = WS_CHILD, .x = 10, .y = 5, .width = 20, .height = 20, .parent = top});
  HWND popup = CreateTestWindow({.style = WS_POPUP, .parent = child});

  EXPECT_EQ(GetAncestor(child, GA_PARENT), top);
  EXPECT_EQ(GetWindow(child, GW_OWNER), nullptr);
  EXPECT_TRUE(IsChild(top, child));
  // An owned window's owner is the top-level window of the one named at creation.
  EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
  EXPECT_EQ(GetAncestor(popup, GA_PARENT), nullptr);
  EXPECT_FALSE(IsChild(top, popup));

  RECT r{};
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 55);
  POINT pt{1, 1};
  ClientToScreen(child, &pt);
  EXPECT_EQ(pt.x, 111);
  EXPECT_EQ(pt.y, 56);
  ScreenToClient(top, &pt);
  EXPECT_EQ(pt.x, 11);
  EXPECT_EQ(pt.y, 6);
}

TEST_F(WindowLifecycleTest, ChildWithoutParentAndUnknownClassFail) {
  SetLastError(0);
  EXPECT_EQ(CreateTestWindow({.style = WS_CHILD}), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"korvanetestwnd";  // class names ignore case
  RegisterClassExW(&wc);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

TEST_F(WindowLifecycleTest, CreateReturningMinusOneDestroysTheWindow) {
  HWND hwnd = CreateTestWindow({.log = &log, .handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg == WM_CREATE) return -1;
                                  return std::nullopt;
                                }});
  EXPECT_EQ(hwnd, nullptr);
  EXPECT_EQ(log.Take(), (Log{"WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_DESTROY", "WM_NCDESTROY"}));
}

TEST_F(WindowLifecycleTest, NcCreateReturningFalseSendsOnlyNcDestroy) {
  HWND hwnd = CreateTestWindow({.log = &log, .handler = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg == WM_NCCREATE) return FALSE;
                                  return std::nullopt;
                                }});
  EXPECT_EQ(hwnd, nullptr);
  EXPECT_EQ(log.Take(), (Log{"WM_NCCREATE", "WM_NCDESTROY"}));
}

TEST_F(WindowLifecycleTest, DestroyGoesOwnedFirstThenDestroyDownAndNcDestroyUp) {
  std::vector<UINT> ignore = {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW, WM_NCCREATE,
                              WM_NCCALCSIZE,        WM_CREATE,           WM_SIZE,       WM_MOVE};
  HWND owner = CreateTestWindow({.name = "owner", .log = &log, .ignore = ignore});
  HWND a = CreateTestWindow({.name = "a", .style = WS_CHILD, .parent = owner, .log = &log, .ignore = ignore});
  CreateTestWindow({.name = "a1", .style = WS_CHILD, .parent = a, .log = &log, .ignore = ignore});
  CreateTestWindow({.name = "b", .style = WS_CHILD, .parent = owner, .log = &log, .ignore = ignore});
  CreateTestWindow({.name = "owned", .style = WS_POPUP, .parent = owner, .log = &log, .ignore = ignore});

  ASSERT_TRUE(DestroyWindow(owner));
  EXPECT_EQ(log.Take(), (Log{"owned: WM_DESTROY", "owned: WM_NCDESTROY", "owner: WM_DESTROY", "a: WM_DESTROY",
                             "a1: WM_DESTROY", "b: WM_DESTROY", "a1: WM_NCDESTROY", "a: WM_NCDESTROY",
                             "b: WM_NCDESTROY", "owner: WM_NCDESTROY"}));
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(IsWindow(a));
}

TEST_F(WindowLifecycleTest, ChildrenStillExistDuringTheParentsDestroy) {
  HWND child = nullptr;
  bool childAlive = false;
  HWND parent = CreateTestWindow({.handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_DESTROY) childAlive = IsWindow(child);
    return std::nullopt;
  }});
  child = CreateTestWindow({.style = WS_CHILD, .parent = parent});
  DestroyWindow(parent);
  EXPECT_TRUE(childAlive);
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLifecycleTest, DestroyingAVisibleWindowHidesItFirst) {
  HWND hwnd = CreateTestWindow({.style = WS_POPUP | WS_VISIBLE, .log = &log});
  log.Clear();
  DestroyWindow(hwnd);
  EXPECT_EQ(log.Take(),
            (Log{"WM_WINDOWPOSCHANGING hide", "WM_WINDOWPOSCHANGED hide", "WM_DESTROY", "WM_NCDESTROY"}));
}

TEST_F(WindowLifecycleTest, DestroyWindowOfAnotherThreadsWindowFails) {
  WindowThread other;
  HWND hwnd = other.Call<HWND>([] { return CreateTestWindow({}); });
  SetLastError(0);
  EXPECT_FALSE(DestroyWindow(hwnd));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(other.Call<BOOL>([&] { return DestroyWindow(hwnd); }));
}

TEST_F(WindowLifecycleTest, DestroyReachesOwnedAndChildWindowsOfOtherThreads) {
  std::vector<UINT> only = {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW, WM_NCCREATE,
                            WM_NCCALCSIZE,        WM_CREATE,           WM_SIZE,       WM_MOVE};
  HWND owner = CreateTestWindow({.name = "owner", .log = &log, .ignore = only});
  WindowThread other;
  DWORD otherId = other.Id();
  DWORD destroyedOn[2] = {};
  HWND owned = other.Call<HWND>([&] {
    return CreateTestWindow({.name = "owned",
                             .parent = owner,
                             .log = &log,
                             .handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (msg == WM_DESTROY) destroyedOn[0] = GetCurrentThreadId();
                               return std::nullopt;
                             },
                             .ignore = only});
  });
  HWND child = other.Call<HWND>([&] {
    return CreateTestWindow({.name = "child",
                             .style = WS_CHILD,
                             .parent = owner,
                             .log = &log,
                             .handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (msg == WM_DESTROY) destroyedOn[1] = GetCurrentThreadId();
                               return std::nullopt;
                             },
                             .ignore = only});
  });
  ASSERT_TRUE(owned && child);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);

  ASSERT_TRUE(DestroyWindow(owner));
  EXPECT_EQ(log.Take(), (Log{"owned: WM_DESTROY", "owned: WM_NCDESTROY", "owner: WM_DESTROY", "child: WM_DESTROY",
                             "child: WM_NCDESTROY", "owner: WM_NCDESTROY"}));
  // Each window hears of its end on the thread that owns it.
  EXPECT_EQ(destroyedOn[0], otherId);
  EXPECT_EQ(destroyedOn[1], otherId);
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLifecycleTest, ThreadThatEndsDestroysItsWindows) {
  HWND hwnd = nullptr;
  {
    WindowThread other;
    hwnd = other.Call<HWND>([&] {
      return CreateTestWindow(
          {.log = &log, .ignore = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}});
    });
    ASSERT_TRUE(IsWindow(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(log.Take(), (Log{"WM_DESTROY", "WM_NCDESTROY"}));
  // Messages for the gone thread's window fail as for any dead window.
  EXPECT_FALSE(PostMessageW(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 0);
}

TEST_F(WindowLifecycleTest, WindowLongValuesAndText) {
  HWND hwnd = CreateTestWindow({.style = WS_POPUP, .exStyle = WS_EX_TOOLWINDOW, .title = u"one"});
  LONG_PTR own = SetWindowLongPtrW(hwnd, GWLP_USERDATA, 1234);  // the test class keeps its pointer here
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 1234);
  EXPECT_EQ(SetWindowLongPtrW(hwnd, GWLP_USERDATA, own), 1234);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(SetWindowLongW(hwnd, GWL_EXSTYLE, WS_EX_LAYERED), WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE), WS_EX_LAYERED);

  EXPECT_TRUE(SetWindowTextW(hwnd, u"Korvane-登录"));
  WCHAR buf[32];
  EXPECT_EQ(GetWindowTextW(hwnd, buf, 32), 10);
  EXPECT_EQ(std::u16string(buf), u"Korvane-登录");
  EXPECT_EQ(GetWindowTextW(hwnd, buf, 4), 3);  // cut to fit, terminated
  EXPECT_EQ(std::u16string(buf), u"Kor");
  EXPECT_EQ(display().Window(hwnd)->title, u"Korvane-登录");
  WCHAR cls[64];
  EXPECT_EQ(GetClassNameW(hwnd, cls, 64), 14);
  EXPECT_EQ(std::u16string(cls), u"KorvaneTestWnd");
}

TEST_F(WindowLifecycleTest, InvalidHandlesGiveTheFailureResult) {
  HWND dead = CreateTestWindow({});
  DestroyWindow(dead);
  HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
  for (HWND h : {dead, bogus, static_cast<HWND>(nullptr)}) {
    RECT r{};
    POINT pt{};
    SetLastError(0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(GetWindowRect(h, &r));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(GetClientRect(h, &r));
    EXPECT_FALSE(ClientToScreen(h, &pt));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(IsIconic(h));
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_EQ(GetWindowLongW(h, GWL_STYLE), 0);
    EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 0);
    if (h) {
      EXPECT_FALSE(PostMessageW(h, WM_USER, 0, 0));  // null posts to the thread, as on Windows
    }
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_FALSE(SetWindowTextW(h, u"x"));
    EXPECT_EQ(GetParent(h), nullptr);
  }
  HWND hwnd = CreateTestWindow({});
  EXPECT_FALSE(GetWindowRect(hwnd, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace korvane::platform::testing
