// The GTK display on an X server of the test's own: windows where the core puts them,
// their pixels, input from the X server, and the services, driven with xdotool.
#include "x_session.h"

#include <platform/gtk_display.h>
#include <platform/surface.h>
#include <shellapi.h>

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace korvane::platform::testing {
namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> g_received;

const UINT kTrayMessage = WM_USER + 1;

// Left half red, right half blue; a 30-pixel caption band at the top.
LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      SurfaceView view;
      if (GetDCSurface(dc, &view))
        for (int y = 0; y < view.height; ++y)
          for (int x = 0; x < view.width; ++x) view.pixels[y * view.width + x] = x < view.width / 2 ? 0xFFFF0000 : 0xFF0000FF;
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCHITTEST: {
      POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(hwnd, &pt);
      return pt.y < 30 ? HTCAPTION : HTCLIENT;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_CHAR:
    case WM_HOTKEY:
    case WM_COMMAND:
    case kTrayMessage:
      g_received.push_back({msg, wParam, lParam});
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool Got(UINT message) {
  for (const auto& r : g_received)
    if (r.message == message) return true;
  return false;
}

class GtkDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("LANG", "C", 1);  // English button labels and mnemonics in the message boxes
    ASSERT_TRUE(server.Start()) << "Xvfb did not start";
    std::string error;
    display = GtkDisplay::Start(&error).release();
    ASSERT_NE(display, nullptr) << error;
    SetDisplay(display);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = u"Korvane_ScreenTestWnd";
    RegisterClassExW(&wc);
    wc.lpszClassName = u"Korvane_OwnedTestWnd";
    RegisterClassExW(&wc);
  }
  static void TearDownTestSuite() {
    SetDisplay(nullptr);
    delete display;
    display = nullptr;
    server.Stop();
  }
  void SetUp() override { g_received.clear(); }
  void TearDown() override {
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    PumpUntil([] { return false; }, 50);
  }
  HWND Open(int x, int y, int w, int h, const char16_t* cls = u"Korvane_ScreenTestWnd", DWORD exStyle = 0,
            HWND owner = nullptr) {
    HWND hwnd = CreateWindowExW(exStyle, cls, u"Screen test", WS_POPUP | WS_VISIBLE, x, y, w, h, owner, nullptr,
                                nullptr, nullptr);
    windows.push_back(hwnd);
    return hwnd;
  }
  static std::string XWindowOf(const std::string& cls) {
    std::string id;
    PumpUntil([&] { return !(id = FindXWindow(cls)).empty(); });
    return id;
  }
  static bool Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    return RunProgram(args).status == 0;
  }

  static XServer server;
  static GtkDisplay* display;
  std::vector<HWND> windows;
};

XServer GtkDisplayTest::server;
GtkDisplay* GtkDisplayTest::display = nullptr;

TEST_F(GtkDisplayTest, WindowsShowWhereTheCoreHasThemWithTheirPixels) {
  HWND hwnd = Open(100, 120, 300, 200, u"Korvane_ScreenTestWnd", WS_EX_TOOLWINDOW);
  std::string id = XWindowOf("Korvane_ScreenTestWnd");
  ASSERT_FALSE(id.empty());
  XGeometry g;
  ASSERT_TRUE(PumpUntil([&] {
    g = Geometry(id);
    return g.viewable && g.x == 100 && g.y == 120 && g.width == 300 && g.height == 200;
  })) << g.x << "," << g.y << " " << g.width << "x" << g.height;
  EXPECT_NE(RunProgram({"xprop", "-id", id, "_NET_WM_STATE"}).out.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos);

  // What the server shows is what the window painted.
  auto painted = display->Surface(hwnd);
  ASSERT_TRUE(painted);
  int w = 0, h = 0;
  std::vector<uint32_t> shot;
  ASSERT_TRUE(PumpUntil([&] {
    shot = Screenshot(id, &w, &h);
    return shot.size() == 300u * 200u && shot[10] == 0xFF0000;
  }));
  for (auto [x, y] : {std::pair{10, 10}, {149, 100}, {150, 100}, {299, 199}})
    EXPECT_EQ(shot[static_cast<size_t>(y * 300 + x)], painted->pixels[static_cast<size_t>(y * 300 + x)] & 0xFFFFFF)
        << x << "," << y;

  // Moves, minimising, maximising to the work area.
  SetWindowPos(hwnd, nullptr, 400, 300, 320, 240, SWP_NOZORDER);
  EXPECT_TRUE(PumpUntil([&] {
    g = Geometry(id);
    return g.x == 400 && g.y == 300 && g.width == 320 && g.height == 240;
  }));
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_TRUE(PumpUntil([&] { return !Geometry(id).viewable; }));
  ShowWindow(hwnd, SW_MAXIMIZE);
  ScreenInfo screen = display->Screen();
  EXPECT_TRUE(PumpUntil([&] {
    g = Geometry(id);
    return g.viewable && g.x == screen.workArea.left && g.width == screen.workArea.right - screen.workArea.left;
  })) << g.viewable << " " << g.x << "," << g.y << " " << g.width << "x" << g.height << " work "
      << screen.workArea.right << "x" << screen.workArea.bottom;
}

TEST_F(GtkDisplayTest, OwnedWindowsStayAboveTheirOwners) {
  HWND owner = Open(100, 100, 400, 300);
  std::string ownerId = XWindowOf("Korvane_ScreenTestWnd");
  Open(150, 150, 200, 100, u"Korvane_OwnedTestWnd", 0, owner);
  std::string ownedId = XWindowOf("Korvane_OwnedTestWnd");
  ASSERT_FALSE(ownerId.empty());
  ASSERT_FALSE(ownedId.empty());
  // The owner shows again (it is raised as it maps); its owned window comes back above it.
  ShowWindow(owner, SW_HIDE);
  PumpUntil([&] { return !Geometry(ownerId).viewable; });
  ShowWindow(owner, SW_SHOW);
  auto above = [&] {
    auto order = StackingOrder();
    auto a = std::find(order.begin(), order.end(), ownerId), b = std::find(order.begin(), order.end(), ownedId);
    return a != order.end() && b != order.end() && b > a;
  };
  EXPECT_TRUE(PumpUntil([&] { return Geometry(ownerId).viewable && above(); }));
}

TEST_F(GtkDisplayTest, MouseKeysAndCaptionDragsComeFromTheServer) {
  HWND hwnd = Open(200, 200, 300, 200);
  std::string id = XWindowOf("Korvane_ScreenTestWnd");
  ASSERT_TRUE(PumpUntil([&] { return Geometry(id).viewable; }));
  ASSERT_TRUE(Xdotool({"mousemove", "--sync", "260", "290", "click", "1"}));
  ASSERT_TRUE(PumpUntil([] { return Got(WM_LBUTTONUP); }));
  ASSERT_GE(g_received.size(), 2u);
  EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(g_received[0].lParam, MAKELPARAM(60, 90));
  EXPECT_EQ(g_received[0].wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));

  g_received.clear();
  ASSERT_TRUE(Xdotool({"windowfocus", "--sync", id}));
  ASSERT_TRUE(Xdotool({"type", "--delay", "20", "ab"}));
  EXPECT_TRUE(PumpUntil([] {
    std::u16string typed;
    for (auto& r : g_received)
      if (r.message == WM_CHAR) typed += static_cast<char16_t>(r.wParam);
    return typed == u"ab";
  }));

  // A press in the caption band hands the move to the window system.
  ASSERT_TRUE(Xdotool({"mousemove", "--sync", "300", "210", "mousedown", "1"}));
  PumpUntil([] { return false; }, 200);
  ASSERT_TRUE(Xdotool({"mousemove", "--sync", "350", "240"}));
  ASSERT_TRUE(Xdotool({"mousemove", "--sync", "400", "310"}));
  ASSERT_TRUE(Xdotool({"mouseup", "1"}));
  RECT r{};
  EXPECT_TRUE(PumpUntil([&] {
    GetWindowRect(hwnd, &r);
    return r.left == 300 && r.top == 300;
  })) << r.left << "," << r.top;
  EXPECT_EQ(r.right - r.left, 300);
  XGeometry g = Geometry(id);
  EXPECT_EQ(g.x, r.left);
  EXPECT_EQ(g.y, r.top);
}

TEST_F(GtkDisplayTest, HotKeysAreGrabbedOnTheRootWindow) {
  HWND hwnd = Open(0, 0, 100, 100);
  ASSERT_TRUE(RegisterHotKey(hwnd, 7, MOD_ALT, 'Q'));
  ASSERT_TRUE(Xdotool({"key", "alt+q"}));
  ASSERT_TRUE(PumpUntil([] { return Got(WM_HOTKEY); }));
  EXPECT_EQ(g_received.back().wParam, 7u);
  g_received.clear();
  ASSERT_TRUE(Xdotool({"key", "q"}));  // without Alt it is not the hot key
  PumpUntil([] { return false; }, 300);
  EXPECT_FALSE(Got(WM_HOTKEY));
  EXPECT_TRUE(UnregisterHotKey(hwnd, 7));

  // Another client holds Alt+W: the grab fails and says so.
  {
    OtherClient other;
    ASSERT_TRUE(other.GrabAltKey("w"));
    EXPECT_FALSE(RegisterHotKey(hwnd, 8, MOD_ALT, 'W'));
  }
  EXPECT_TRUE(RegisterHotKey(hwnd, 8, MOD_ALT, 'W'));
}

TEST_F(GtkDisplayTest, MessageBoxesAreAnsweredWithKeys) {
  HWND hwnd = Open(100, 100, 300, 200);
  struct Case {
    const char* keys;
    int expected;
  } cases[] = {{"Return", IDYES}, {"alt+n", IDNO}};
  for (const auto& c : cases) {
    std::thread user([&] {
      RunProgram({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Question$"});
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      RunProgram({"xdotool", "key", c.keys});
    });
    EXPECT_EQ(MessageBoxW(hwnd, u"Go on?", u"Question", MB_YESNO | MB_ICONQUESTION), c.expected) << c.keys;
    user.join();
  }
}

TEST_F(GtkDisplayTest, MenuPicksArriveAsCommands) {
  HWND hwnd = Open(100, 100, 300, 200);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 41, u"&Settings");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 42, u"E&xit");
  std::thread user([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    RunProgram({"xdotool", "key", "x"});  // the mnemonic of "E&xit"
  });
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 150, 150, 0, hwnd, nullptr));
  user.join();
  EXPECT_TRUE(PumpUntil([] { return Got(WM_COMMAND); }));
  EXPECT_EQ(LOWORD(g_received.back().wParam), 42);
  DestroyMenu(menu);
}

TEST_F(GtkDisplayTest, TrayIconClicksArriveAsItsCallbackMessage) {
  pid_t trayer = Spawn({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32",
                        "--SetDockType", "true"});
  ASSERT_GT(trayer, 0);
  HWND hwnd = Open(100, 100, 300, 200);
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = 1;
  nid.uFlags = NIF_MESSAGE | NIF_TIP;
  nid.uCallbackMessage = kTrayMessage;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &nid));
  RECT r{};
  ASSERT_TRUE(PumpUntil([&] { return display->TrayIconRect(hwnd, 1, &r); }, 10000));
  std::string x = std::to_string((r.left + r.right) / 2), y = std::to_string((r.top + r.bottom) / 2);
  ASSERT_TRUE(Xdotool({"mousemove", "--sync", x, y, "click", "1"}));
  EXPECT_TRUE(PumpUntil([] {
    for (auto& m : g_received)
      if (m.message == kTrayMessage && m.lParam == WM_LBUTTONUP) return true;
    return false;
  }));
  ASSERT_TRUE(Xdotool({"click", "3"}));
  EXPECT_TRUE(PumpUntil([] {
    for (auto& m : g_received)
      if (m.message == kTrayMessage && m.lParam == WM_RBUTTONUP) return true;
    return false;
  }));
  Shell_NotifyIconW(NIM_DELETE, &nid);
  StopProcess(trayer);
}

// Windows of the GTK thread get their messages from GTK's own loop: posted, sent from
// another thread, timers, and paints.
TEST_F(GtkDisplayTest, TheGtkThreadServesItsOwnWindowsQueue) {
  static std::atomic<int> posted{0}, timers{0};
  static std::atomic<DWORD> servedOn{0};
  HWND hwnd = nullptr;
  display->Invoke([&] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpszClassName = u"Korvane_GtkThreadWnd";
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg == WM_APP) ++posted;
      if (msg == WM_APP + 1) {
        servedOn = GetCurrentThreadId();
        return static_cast<LRESULT>(wParam * 2);
      }
      if (msg == WM_TIMER && ++timers == 3) KillTimer(h, 1);
      return DefWindowProcW(h, msg, wParam, lParam);
    };
    RegisterClassExW(&wc);
    hwnd = CreateWindowExW(0, u"Korvane_GtkThreadWnd", u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                           nullptr, nullptr);
  });
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetWindowThreadProcessId(hwnd, nullptr), display->ThreadId());
  for (int i = 0; i < 100; ++i) PostMessageW(hwnd, WM_APP, 0, 0);
  EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 21, 0), 42);
  EXPECT_EQ(servedOn.load(), display->ThreadId());
  display->Invoke([&] { SetTimer(hwnd, 1, 20, nullptr); });
  EXPECT_TRUE(PumpUntil([] { return posted == 100 && timers == 3; }));
  EXPECT_TRUE(PumpUntil([&] { return display->Surface(hwnd) != nullptr; }));  // painted by DefWindowProc
  display->Invoke([&] { DestroyWindow(hwnd); });
  EXPECT_FALSE(IsWindow(hwnd));
}

// A child window whose content is a GTK widget of someone else's: the widget sits at the
// child's place and follows it.
TEST_F(GtkDisplayTest, ForeignChildrenFollowTheirWindow) {
  HWND top = Open(100, 100, 400, 300);
  std::string id = XWindowOf("Korvane_ScreenTestWnd");
  HWND child = CreateWindowExW(0, u"Korvane_ScreenTestWnd", u"", WS_CHILD | WS_VISIBLE, 10, 40, 200, 100, top, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  GtkWidget* area = nullptr;
  display->Invoke([&] {
    area = GTK_WIDGET(g_object_ref_sink(gtk_drawing_area_new()));  // the test's own reference
    g_signal_connect(area, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t* cr, gpointer) -> gboolean {
                       cairo_set_source_rgb(cr, 0, 1, 0);
                       cairo_paint(cr);
                       return TRUE;
                     }),
                     nullptr);
    display->SetForeignContent(child, area);
  });
  auto pixel = [&](int x, int y) {
    int w = 0, h = 0;
    auto shot = Screenshot(id, &w, &h);
    return shot.size() == static_cast<size_t>(w * h) && x < w && y < h ? shot[static_cast<size_t>(y * w + x)] : 0u;
  };
  EXPECT_TRUE(PumpUntil([&] { return pixel(15, 45) == 0x00FF00 && pixel(209, 139) == 0x00FF00 && pixel(211, 45) == 0x0000FF; }));
  SetWindowPos(child, nullptr, 250, 150, 100, 100, SWP_NOZORDER);
  EXPECT_TRUE(PumpUntil([&] { return pixel(15, 45) == 0xFF0000 && pixel(255, 155) == 0x00FF00; }));
  SetWindowPos(top, nullptr, 300, 300, 400, 300, SWP_NOZORDER);  // the parent moves, the content with it
  EXPECT_TRUE(PumpUntil([&] { return Geometry(id).x == 300 && pixel(255, 155) == 0x00FF00; }));
  ShowWindow(child, SW_HIDE);
  EXPECT_TRUE(PumpUntil([&] { return pixel(255, 155) == 0x0000FF; }));
  DestroyWindow(child);
  bool parented = true;
  PumpUntil([] { return false; }, 100);
  display->Invoke([&] {
    parented = gtk_widget_get_parent(area) != nullptr;
    g_object_unref(area);
  });
  EXPECT_FALSE(parented);
}

// Without its X server the program ends, promptly and with a reason, instead of hanging.
TEST(GtkDisplayDeathTest, LosingTheServerEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        XServer own;
        if (!own.Start()) std::exit(3);
        auto gtk = GtkDisplay::Start();
        if (!gtk) std::exit(4);
        SetDisplay(gtk.get());
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = TestProc;
        wc.lpszClassName = u"Korvane_DeathTestWnd";
        RegisterClassExW(&wc);
        HWND hwnd = CreateWindowExW(0, u"Korvane_DeathTestWnd", u"x", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                    nullptr, nullptr);
        (void)hwnd;
        own.Stop();
        PumpUntil([] { return false; }, 10000);
        std::exit(5);
      },
      ::testing::ExitedWithCode(1), "lost the connection to the X server");
}

}  // namespace
}  // namespace korvane::platform::testing
