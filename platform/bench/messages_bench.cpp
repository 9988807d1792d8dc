// Message throughput and latency: same-thread post/get and the cross-thread SendMessage
// round trip.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <future>
#include <thread>

namespace {

LRESULT CALLBACK EchoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return static_cast<LRESULT>(wParam + 1);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateEchoWindow() {
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = EchoProc;
    wc.lpszClassName = u"KorvaneBenchWnd";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"KorvaneBenchWnd", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void BM_PostAndGetSameThread(benchmark::State& state) {
  HWND hwnd = CreateEchoWindow();
  const int batch = 1000;
  MSG msg;
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) PostMessageW(hwnd, WM_USER, static_cast<WPARAM>(i), 0);
    for (int i = 0; i < batch; ++i) {
      GetMessageW(&msg, nullptr, 0, 0);
      DispatchMessageW(&msg);
    }
  }
  state.SetItemsProcessed(state.iterations() * batch);
  DestroyWindow(hwnd);
}
BENCHMARK(BM_PostAndGetSameThread);

void BM_SendMessageCrossThreadRoundTrip(benchmark::State& state) {
  std::promise<HWND> created;
  std::thread owner([&] {
    HWND hwnd = CreateEchoWindow();
    created.set_value(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(hwnd);
  });
  HWND hwnd = created.get_future().get();
  DWORD ownerId = GetWindowThreadProcessId(hwnd, nullptr);
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageW(hwnd, WM_USER, i++, 0));
  state.SetItemsProcessed(state.iterations());
  // Post WM_QUIT to the owner as a thread message; its loop ends on it.
  PostThreadMessageW(ownerId, WM_QUIT, 0, 0);
  owner.join();
}
BENCHMARK(BM_SendMessageCrossThreadRoundTrip)->UseRealTime();

}  // namespace
