// Requests that block a thread in a modal loop until a display answers them.
#pragma once

#include <cstdint>

namespace korvane::platform {

// Registers a request for the calling thread and returns its id.
int BeginModalRequest();
// Serves the calling thread's messages until the request is answered. False (and the
// quit message posted again) when WM_QUIT arrived first. Forgets the request either way.
bool WaitModalRequest(int id, intptr_t* result);
// Answers a request from any thread; an unknown or answered id is ignored.
void CompleteModalRequest(int id, intptr_t result);

}  // namespace korvane::platform
