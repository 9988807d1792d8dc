#include "modal.h"

#include "core.h"

namespace korvane::platform {

namespace {

struct ModalRequest {
  bool done = false;
  intptr_t result = 0;
  std::shared_ptr<ThreadQueue> queue;
};

std::unordered_map<int, ModalRequest>& Requests() {
  static std::unordered_map<int, ModalRequest> requests;
  return requests;
}
int g_nextRequest = 1;

}  // namespace

int BeginModalRequest() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  int id = g_nextRequest++;
  Requests()[id] = ModalRequest{false, 0, q};
  return id;
}

bool WaitModalRequest(int id, intptr_t* result) {
  bool answered = RunModalLoop([id] {
    auto it = Requests().find(id);
    return it == Requests().end() || it->second.done;
  });
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  auto it = Requests().find(id);
  if (it != Requests().end()) {
    answered = answered && it->second.done;
    if (result) *result = it->second.result;
    Requests().erase(it);
  }
  return answered;
}

void CompleteModalRequest(int id, intptr_t result) {
  std::lock_guard<std::mutex> lock(Core::Get().mu);
  auto it = Requests().find(id);
  if (it == Requests().end() || it->second.done) return;
  it->second.done = true;
  it->second.result = result;
  it->second.queue->Wake();
}

}  // namespace korvane::platform
