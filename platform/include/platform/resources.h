// The resource table of the executable, filled before main by the files that the build's
// korvane_add_resource() function generates.
#pragma once

#include <windows.h>

#include <cstddef>

namespace korvane::platform {

// `type` and `name` are either strings or MAKEINTRESOURCE values. The data is not copied.
void RegisterResource(LPCWSTR type, LPCWSTR name, WORD language, const void* data, size_t size);

}  // namespace korvane::platform
