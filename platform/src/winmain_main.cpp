// The C runtime's start-up for a Windows GUI program: record the command line, then call
// WinMain with the module handle, the arguments after the program name and SW_SHOWDEFAULT.
#include <windows.h>
#include <platform/process.h>

#include <string>

namespace {

std::string ArgumentsAfterProgram(int argc, char** argv) {
  std::string tail;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) tail.push_back(' ');
    std::string arg = argv[i];
    bool quote = arg.empty() || arg.find_first_of(" \t\"") != std::string::npos;
    tail += quote ? "\"" + arg + "\"" : arg;
  }
  return tail;
}

}  // namespace

int main(int argc, char** argv) {
  korvane::platform::SetCommandLineFromArgs(argc, argv);
  std::string tail = ArgumentsAfterProgram(argc, argv);
  return WinMain(GetModuleHandleW(nullptr), nullptr, tail.data(), SW_SHOWDEFAULT);
}
