// Input from the display: hit testing, client and non-client mouse messages, capture,
// drags by the window system, keys and text.
#include "test_support.h"

namespace korvane::platform::testing {
namespace {

using Log = std::vector<std::string>;

class InputTest : public PlatformTest {
 protected:
  // A 200x100 window at (50,60) whose top 27 rows are its caption and whose bottom-right
  // corner is a sizing border.
  HWND Skinned(MessageLog* log) {
    return CreateTestWindow({.style = WS_POPUP | WS_VISIBLE,
                             .x = 50,
                             .y = 60,
                             .width = 200,
                             .height = 100,
                             .log = log,
                             .handler = [](HWND hwnd, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
                               if (msg != WM_NCHITTEST) return std::nullopt;
                               POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                               ScreenToClient(hwnd, &pt);
                               if (pt.x >= 194 && pt.y >= 94) return HTBOTTOMRIGHT;
                               return pt.y < 27 ? HTCAPTION : HTCLIENT;
                             },
                             .ignore = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_NCHITTEST,
                                        WM_PAINT, WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                                        WM_CAPTURECHANGED}});
  }
};

TEST_F(InputTest, ClickInTheClientAreaGivesClientMessagesInClientCoordinates) {
  HWND hwnd = Skinned(&log);
  display().Click(hwnd, POINT{30, 40});
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_MOUSEMOVE 30,40", "WM_LBUTTONDOWN 30,40", "WM_LBUTTONUP 30,40"}));
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 80);
  EXPECT_EQ(cursor.y, 100);
}

TEST_F(InputTest, CaptionPressStartsTheWindowSystemsMove) {
  HWND hwnd = Skinned(&log);
  display().PressButton(hwnd, POINT{10, 10});
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_NCLBUTTONDOWN hit=2"}));
  auto drag = display().PendingDrag();
  ASSERT_TRUE(drag);
  EXPECT_EQ(drag->hwnd, hwnd);
  EXPECT_EQ(drag->hitCode, HTCAPTION);
  EXPECT_EQ(drag->start.x, 60);
  EXPECT_EQ(drag->start.y, 70);
  ASSERT_TRUE(display().FinishDrag(POINT{160, 20}));
  Pump();
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(display().Window(hwnd)->rect.left, 150);
}

TEST_F(InputTest, BorderPressStartsTheWindowSystemsResize) {
  HWND hwnd = Skinned(&log);
  display().PressButton(hwnd, POINT{198, 98});
  Pump();
  auto drag = display().PendingDrag();
  ASSERT_TRUE(drag);
  EXPECT_EQ(drag->hitCode, HTBOTTOMRIGHT);
  display().FinishDrag(POINT{drag->start.x + 50, drag->start.y + 20});
  Pump();
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 250);
  EXPECT_EQ(r.bottom - r.top, 120);
}

TEST_F(InputTest, CaptureSendsEveryMouseMessageToTheCapturingWindow) {
  HWND hwnd = Skinned(&log);
  MessageLog otherLog;
  HWND other = CreateTestWindow({.style = WS_POPUP | WS_VISIBLE, .x = 300, .y = 60, .log = &otherLog});
  SetCapture(hwnd);
  EXPECT_EQ(GetCapture(), hwnd);
  display().MoveMouse(other, POINT{5, 5});  // over the other window, 255 pixels right of ours
  display().PressButton(hwnd, POINT{10, 10});  // in the caption, but captured: a client message
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_MOUSEMOVE 255,5", "WM_LBUTTONDOWN 10,10"}));
  ReleaseCapture();
  otherLog.Clear();
  display().MoveMouse(other, POINT{5, 5});
  Pump();
  EXPECT_EQ(otherLog.Take(), (Log{"WM_MOUSEMOVE 5,5"}));
  DestroyWindow(other);
}

TEST_F(InputTest, DisabledWindowsGetNoInput) {
  HWND hwnd = Skinned(&log);
  EnableWindow(hwnd, FALSE);
  log.Clear();
  display().Click(hwnd, POINT{30, 40});
  display().PressKey(hwnd, 'A', false, u"a");
  Pump();
  EXPECT_EQ(log.Take(), Log{});
  EnableWindow(hwnd, TRUE);
  log.Clear();
  display().Click(hwnd, POINT{30, 40});
  Pump();
  EXPECT_EQ(log.Take().size(), 3u);
}

TEST_F(InputTest, TranslateMessageTypesTheKeysText) {
  HWND hwnd = Skinned(&log);
  display().PressKey(hwnd, 'A', false, u"a");
  display().TypeText(hwnd, u"游戏");  // an input method's commit
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_KEYDOWN 65", "WM_CHAR 97", "WM_KEYUP 65", "WM_CHAR 28216", "WM_CHAR 25103"}));
}

TEST_F(InputTest, KeysGoToTheFocusedChild) {
  HWND hwnd = Skinned(&log);
  MessageLog childLog;
  HWND child = CreateTestWindow({.style = WS_CHILD | WS_VISIBLE, .parent = hwnd, .log = &childLog});
  SetFocus(child);
  childLog.Clear();
  log.Clear();
  display().PressKey(hwnd, VK_RETURN);
  Pump();
  EXPECT_EQ(childLog.Take(), (Log{"WM_KEYDOWN 13", "WM_KEYUP 13"}));
  EXPECT_EQ(log.Take(), Log{});
  DestroyWindow(child);
}

TEST_F(InputTest, WheelCarriesTheDeltaAndScreenCoordinates) {
  MSG msg{};
  HWND hwnd = Skinned(&log);
  display().Wheel(hwnd, POINT{30, 40}, -120);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE));
  EXPECT_EQ(static_cast<short>(HIWORD(msg.wParam)), -120);
  EXPECT_EQ(LOWORD(msg.lParam), 80);
  EXPECT_EQ(HIWORD(msg.lParam), 100);
}

TEST_F(InputTest, CloseRequestAndSystemMovesReachTheOwnerThread) {
  HWND hwnd = Skinned(&log);
  display().MoveBySystem(hwnd, RECT{1, 2, 301, 202});
  Pump();
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.bottom - r.top, 200);
  display().RequestClose(hwnd);
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_SYSCOMMAND 0xF060", "WM_CLOSE", "WM_DESTROY", "WM_NCDESTROY"}));
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
}  // namespace korvane::platform::testing
