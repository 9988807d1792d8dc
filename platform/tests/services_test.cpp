// Hot keys, popup menus, message boxes, notification-area icons and the shell.
#include "test_support.h"

#include <shellapi.h>

#include <atomic>

namespace korvane::platform::testing {
namespace {

using Log = std::vector<std::string>;

class ServicesTest : public PlatformTest {};

std::vector<UINT> Noise() {
  return {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_NCHITTEST, WM_PAINT, WM_ENABLE};
}

TEST_F(ServicesTest, HotKeyPressArrivesAsWmHotKey) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = Noise()});
  ASSERT_TRUE(RegisterHotKey(hwnd, 6552, MOD_ALT, 'Q'));
  EXPECT_TRUE(display().HotKeyGrabbed(MOD_ALT, 'Q'));
  MSG seen{};
  EXPECT_TRUE(display().PressHotKey(MOD_ALT, 'Q'));
  EXPECT_FALSE(display().PressHotKey(MOD_CONTROL, 'Q'));  // nobody holds that one
  ASSERT_TRUE(PeekMessageW(&seen, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(seen.message, static_cast<UINT>(WM_HOTKEY));
  EXPECT_EQ(seen.lParam, MAKELPARAM(MOD_ALT, 'Q'));
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_HOTKEY 6552"}));
}

TEST_F(ServicesTest, HotKeyHeldByAnotherWindowOrProgramCannotBeRegistered) {
  HWND first = CreateTestWindow({});
  HWND second = CreateTestWindow({});
  ASSERT_TRUE(RegisterHotKey(first, 1, MOD_ALT, 'Q'));
  SetLastError(0);
  EXPECT_FALSE(RegisterHotKey(second, 2, MOD_ALT, 'Q'));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  EXPECT_FALSE(RegisterHotKey(first, 1, MOD_ALT | MOD_NOREPEAT, 'Q'));  // the same combination

  display().SetHotKeyTakenElsewhere(MOD_ALT, 'W', true);
  EXPECT_FALSE(RegisterHotKey(second, 3, MOD_ALT, 'W'));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  EXPECT_FALSE(display().PressHotKey(MOD_ALT, 'W'));

  WindowThread other;
  EXPECT_FALSE(other.Call<BOOL>([&] { return RegisterHotKey(second, 4, MOD_ALT, 'E'); }));
}

TEST_F(ServicesTest, HotKeyIsReleasedByUnregisterOrByDestroyingTheWindow) {
  HWND first = CreateTestWindow({});
  ASSERT_TRUE(RegisterHotKey(first, 1, MOD_ALT, 'Q'));
  EXPECT_TRUE(UnregisterHotKey(first, 1));
  EXPECT_FALSE(UnregisterHotKey(first, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_NOT_REGISTERED));
  EXPECT_FALSE(display().HotKeyGrabbed(MOD_ALT, 'Q'));

  ASSERT_TRUE(RegisterHotKey(first, 1, MOD_ALT, 'Q'));
  DestroyWindow(first);
  EXPECT_FALSE(display().HotKeyGrabbed(MOD_ALT, 'Q'));
  HWND second = CreateTestWindow({});
  EXPECT_TRUE(RegisterHotKey(second, 6552, MOD_ALT, 'Q'));
}

TEST_F(ServicesTest, MenuPickArrivesAsWmCommandToTheOwner) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = Noise()});
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 1, u"重新整理"));
  ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 2, u"清除緩存"));
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  display().PickNextMenuItem(2);
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 30, 57, 0, hwnd, nullptr));
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(menu));

  auto menus = display().Menus();
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].point.x, 30);
  EXPECT_EQ(menus[0].point.y, 57);
  EXPECT_EQ(menus[0].owner, hwnd);
  ASSERT_EQ(menus[0].items.size(), 2u);
  EXPECT_EQ(menus[0].items[1].text, u"清除緩存");
  EXPECT_EQ(log.Take(), Log{});  // posted, not sent: it comes with the next pump
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_COMMAND 2"}));
}

TEST_F(ServicesTest, MenuWithReturnCommandAndDismissedMenus) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = Noise()});
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 5, u"退出");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 6, u"off");
  display().PickNextMenuItem(5);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, hwnd, nullptr), 5);
  display().PickNextMenuItem(0);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, hwnd, nullptr), 0);
  display().PickNextMenuItem(6);  // a greyed item cannot be chosen
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 0, 0, 0, hwnd, nullptr));
  Pump();
  EXPECT_EQ(log.Take(), Log{});
  DestroyMenu(menu);
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, hwnd, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_FALSE(AppendMenuW(menu, MF_STRING, 1, u"x"));
}

TEST_F(ServicesTest, OpenMenuKeepsTheThreadsWindowsServed) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = Noise()});
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, u"one");
  WindowThread other;
  other.Post([&] {
    // While the menu is open, a message sent and one posted to the owner are both handled.
    while (display().OpenMenus().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SendMessageW(hwnd, WM_USER + 1, 0, 0);
    PostMessageW(hwnd, WM_USER + 2, 0, 0);
    while (log.Peek().size() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    display().PickMenuItem(display().OpenMenus().at(0).id, 1);
  });
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, hwnd, nullptr), 1);
  EXPECT_EQ(log.Take(), (Log{"0x0401", "0x0402"}));
  DestroyMenu(menu);
}

TEST_F(ServicesTest, MessageBoxIsModalAndReturnsTheAnswer) {
  HWND owner = CreateTestWindow({.log = &log, .ignore = Noise()});
  WindowThread other;
  std::atomic<bool> ownerWasDisabled{false};
  other.Post([&] {
    while (display().OpenMessageBoxes().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ownerWasDisabled = !IsWindowEnabled(owner);
    // The waiting thread still serves its windows.
    EXPECT_EQ(SendMessageW(owner, WM_USER, 0, 0), 0);
    display().AnswerMessageBox(display().OpenMessageBoxes().at(0).id, IDYES);
  });
  int answer = MessageBoxW(owner, u"此操作将退出游戏，是否继续？", u"Korvane", MB_YESNO);
  EXPECT_EQ(answer, IDYES);
  EXPECT_TRUE(ownerWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(log.Take(), (Log{"WM_USER"}));
  auto boxes = display().MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"此操作将退出游戏，是否继续？");
  EXPECT_EQ(boxes[0].caption, u"Korvane");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(boxes[0].owner, owner);

  display().AnswerNextMessageBox(IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, u"x", nullptr, MB_YESNO), IDNO);
  EXPECT_EQ(display().MessageBoxes().back().caption, u"Error");
  EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x8)), u"x", u"y", MB_OK), 0);
}

TEST_F(ServicesTest, QuitDuringAMessageBoxEndsItAndIsPostedAgain) {
  HWND owner = CreateTestWindow({});
  PostMessageW(owner, WM_NULL, 0, 0);
  PostQuitMessage(4);
  EXPECT_EQ(MessageBoxW(owner, u"x", u"y", MB_YESNO), 0);
  EXPECT_TRUE(display().OpenMessageBoxes().empty());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(ServicesTest, TrayIconClicksArriveAsItsCallbackMessage) {
  std::vector<std::pair<WPARAM, LPARAM>> calls;
  HWND hwnd = CreateTestWindow({.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg == WM_USER + 1) calls.emplace_back(wParam, lParam);
    return std::nullopt;
  }});
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = hwnd;
  nid.uID = 101;
  nid.uFlags = NIF_MESSAGE | NIF_TIP;
  nid.uCallbackMessage = WM_USER + 1;
  std::u16string tip = u"Korvane";
  std::copy(tip.begin(), tip.end(), nid.szTip);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &nid));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &nid));  // already there
  ASSERT_EQ(display().TrayIcons().size(), 1u);
  EXPECT_EQ(display().TrayIcons()[0].tip, u"Korvane");

  display().ClickTray(hwnd, 101, WM_LBUTTONUP);
  display().ClickTray(hwnd, 101, WM_RBUTTONUP);
  Pump();
  EXPECT_EQ(calls, (std::vector<std::pair<WPARAM, LPARAM>>{
                       {101, WM_LBUTTONDOWN}, {101, WM_LBUTTONUP}, {101, WM_RBUTTONDOWN}, {101, WM_RBUTTONUP}}));

  std::u16string tip2 = u"new";
  std::fill(std::begin(nid.szTip), std::end(nid.szTip), 0);
  std::copy(tip2.begin(), tip2.end(), nid.szTip);
  nid.uFlags = NIF_TIP;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &nid));
  EXPECT_EQ(display().TrayIcons()[0].tip, u"new");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &nid));
  EXPECT_TRUE(display().TrayIcons().empty());
  EXPECT_FALSE(display().ClickTray(hwnd, 101));

  // An icon does not outlive its window.
  nid.uFlags = NIF_MESSAGE;
  Shell_NotifyIconW(NIM_ADD, &nid);
  DestroyWindow(hwnd);
  EXPECT_TRUE(display().TrayIcons().empty());
}

TEST_F(ServicesTest, ShellExecuteHandsTheRequestToTheDisplay) {
  HINSTANCE r = ShellExecuteW(nullptr, u"open", u"https://example.test/pay", nullptr, nullptr, SW_SHOW);
  EXPECT_GT(reinterpret_cast<intptr_t>(r), 32);
  auto requests = display().ShellRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, u"open");
  EXPECT_EQ(requests[0].file, u"https://example.test/pay");
  EXPECT_EQ(requests[0].show, SW_SHOW);

  display().SetShellOpenResult(false);
  EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, u"open", u"x:y", nullptr, nullptr, SW_SHOW)), 32);
  EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, u"open", u"", nullptr, nullptr, SW_SHOW)), 32);
  EXPECT_EQ(display().ShellRequests().size(), 2u);  // the empty one never reached the display
}

}  // namespace
}  // namespace korvane::platform::testing
