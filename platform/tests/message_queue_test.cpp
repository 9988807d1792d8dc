// Message queues: sending and posting within and across threads, quitting, filters, timers.
#include "test_support.h"

#include <atomic>
#include <chrono>

namespace korvane::platform::testing {
namespace {

using Log = std::vector<std::string>;

class MessageQueueTest : public PlatformTest {};

std::vector<UINT> CreationNoise() {
  return {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_NCHITTEST, WM_PAINT};
}

TEST_F(MessageQueueTest, SendToOwnWindowCallsTheProcedureDirectly) {
  HWND hwnd = CreateTestWindow({.handler = [](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER) return static_cast<LRESULT>(wParam * 2);
    return std::nullopt;
  }});
  EXPECT_EQ(SendMessageW(hwnd, WM_USER, 21, 0), 42);
  EXPECT_FALSE(InSendMessage());
}

TEST_F(MessageQueueTest, SendToAnotherThreadRunsThereAndReturnsItsResult) {
  WindowThread other;
  DWORD ranOn = 0;
  BOOL inSend = FALSE;
  HWND hwnd = other.Call<HWND>([&] {
    return CreateTestWindow({.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (msg != WM_USER) return std::nullopt;
      ranOn = GetCurrentThreadId();
      inSend = InSendMessage();
      return static_cast<LRESULT>(wParam + 1);
    }});
  });
  EXPECT_EQ(SendMessageW(hwnd, WM_USER, 41, 0), 42);
  EXPECT_EQ(ranOn, other.Id());
  EXPECT_TRUE(inSend);
}

TEST_F(MessageQueueTest, BlockedSenderServesMessagesSentBackToIt) {
  // The other thread, while handling our message, sends one to our window: we must run it
  // while we wait, or both threads would wait forever.
  HWND mine = CreateTestWindow({.name = "mine", .log = &log, .ignore = CreationNoise()});
  WindowThread other;
  HWND theirs = other.Call<HWND>([&] {
    return CreateTestWindow({.name = "theirs",
                             .log = &log,
                             .handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (msg == WM_USER) return SendMessageW(mine, WM_USER + 1, 0, 0) + 1;
                               return std::nullopt;
                             },
                             .ignore = CreationNoise()});
  });
  log.Clear();
  EXPECT_EQ(SendMessageW(theirs, WM_USER, 0, 0), 1);
  EXPECT_EQ(log.Take(), (Log{"theirs: WM_USER", "mine: 0x0401"}));
}

TEST_F(MessageQueueTest, PostedMessagesArriveInOrderAfterSentOnes) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = CreationNoise()});
  PostMessageW(hwnd, WM_USER + 1, 0, 0);
  PostMessageW(hwnd, WM_USER + 2, 0, 0);
  SendMessageW(hwnd, WM_USER + 3, 0, 0);
  Pump();
  EXPECT_EQ(log.Take(), (Log{"0x0403", "0x0401", "0x0402"}));
}

TEST_F(MessageQueueTest, PostToAnotherThreadAndQuitItsLoop) {
  std::atomic<int> got{0};
  std::atomic<int> exitCode{-1};
  HWND hwnd = nullptr;
  std::promise<void> created;
  std::thread t([&] {
    hwnd = CreateTestWindow({.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (msg == WM_USER) {
        got += static_cast<int>(wParam);
        if (got == 3) PostQuitMessage(7);
        return 0;
      }
      return std::nullopt;
    }});
    created.set_value();
    MSG msg;
    BOOL r;
    while ((r = GetMessageW(&msg, nullptr, 0, 0)) > 0) DispatchMessageW(&msg);
    EXPECT_EQ(r, 0);
    exitCode = static_cast<int>(msg.wParam);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  });
  created.get_future().wait();
  EXPECT_TRUE(PostMessageW(hwnd, WM_USER, 1, 0));
  EXPECT_TRUE(PostMessageW(hwnd, WM_USER, 2, 0));
  t.join();
  EXPECT_EQ(got, 3);
  EXPECT_EQ(exitCode, 7);
  EXPECT_FALSE(IsWindow(hwnd));  // the thread ended and took its window along
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessages) {
  HWND hwnd = CreateTestWindow({.log = &log, .ignore = CreationNoise()});
  PostQuitMessage(3);
  PostMessageW(hwnd, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));  // retrieved once
}

TEST_F(MessageQueueTest, ThreadMessagesAndPostThreadMessage) {
  WindowThread other;
  EXPECT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 5, 6));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(msg.wParam, 5u);
  SetLastError(0);
  EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0, WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
  EXPECT_TRUE(PostThreadMessageW(other.Id(), WM_NULL, 0, 0));
}

TEST_F(MessageQueueTest, PeekFiltersByWindowAndRangeAndCanLeaveTheMessage) {
  HWND a = CreateTestWindow({});
  HWND b = CreateTestWindow({});
  PostMessageW(a, WM_USER + 1, 0, 0);
  PostMessageW(b, WM_USER + 2, 0, 0);
  PostMessageW(a, WM_USER + 3, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, a);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageW(&msg, reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5)), 0, 0), -1);
}

TEST_F(MessageQueueTest, MessagesForAWindowDestroyedMeanwhileAreDropped) {
  HWND keep = CreateTestWindow({.name = "keep", .log = &log, .ignore = CreationNoise()});
  HWND gone = CreateTestWindow({.name = "gone", .log = &log, .ignore = CreationNoise()});
  PostMessageW(gone, WM_USER, 0, 0);
  PostMessageW(keep, WM_USER, 0, 0);
  DestroyWindow(gone);
  log.Clear();
  Pump();
  EXPECT_EQ(log.Take(), (Log{"keep: WM_USER"}));
  MSG stale{};
  stale.hwnd = gone;
  stale.message = WM_USER;
  EXPECT_EQ(DispatchMessageW(&stale), 0);
}

TEST_F(MessageQueueTest, SendToAWindowWhoseThreadEndsWhileWaitingReturnsZero) {
  std::promise<HWND> created;
  std::promise<void> release;
  auto releaseFuture = release.get_future();
  std::thread t([&] {
    HWND hwnd = CreateTestWindow({});
    created.set_value(hwnd);
    releaseFuture.wait();  // never pumps: the send stays queued until the thread ends
  });
  HWND hwnd = created.get_future().get();
  std::thread sender([&] { EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 0); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  release.set_value();
  t.join();
  sender.join();
}

TEST_F(MessageQueueTest, TimersPostWmTimerUntilKilled) {
  int ticks = 0;
  HWND hwnd = CreateTestWindow({.handler = [&](HWND h, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_TIMER && wParam == 9) {
      if (++ticks == 2) KillTimer(h, 9);
      return 0;
    }
    return std::nullopt;
  }});
  EXPECT_EQ(SetTimer(hwnd, 9, 10, nullptr), 9u);
  MSG msg;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ticks < 2 && std::chrono::steady_clock::now() < deadline) {
    if (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(KillTimer(hwnd, 9));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(MessageQueueTest, WmPaintComesWhenTheQueueIsOtherwiseEmptyAndUntilValidated) {
  HWND hwnd = CreateTestWindow({.style = WS_POPUP | WS_VISIBLE,
                                .log = &log,
                                .ignore = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                           WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}});
  Pump();
  log.Clear();
  InvalidateRect(hwnd, nullptr, FALSE);
  PostMessageW(hwnd, WM_USER, 0, 0);
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_USER", "WM_PAINT"}));
  Pump();
  EXPECT_EQ(log.Take(), Log{});  // DefWindowProc validated it
  // A hidden window is not painted until shown.
  ShowWindow(hwnd, SW_HIDE);
  InvalidateRect(hwnd, nullptr, FALSE);
  Pump();
  EXPECT_EQ(log.Take(), (Log{"WM_SHOWWINDOW 0"}));
}

}  // namespace
}  // namespace korvane::platform::testing
