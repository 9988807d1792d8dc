// Process start-up as a Windows C runtime performs it.
#pragma once

#include <windows.h>

namespace korvane::platform {

// Records argv as the process command line (GetCommandLineW), quoting each argument the
// way CommandLineToArgvW reads it back.
void SetCommandLineFromArgs(int argc, char** argv);

// Test hook: the next CoInitialize/CoInitializeEx on any thread fails with `hr`.
void FailNextCoInitialize(HRESULT hr);

}  // namespace korvane::platform
