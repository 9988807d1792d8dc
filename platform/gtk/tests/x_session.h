// What the on-screen tests need around them: an X server of their own, the programs that
// act as the user (xdotool) and look at the screen (xwininfo, xprop, ImageMagick), and a
// message pump with a deadline.
#pragma once

#include <windows.h>

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace korvane::platform::testing {

// An Xvfb on a display it picks itself (-displayfd); DISPLAY names it while it runs. It is
// stopped by its process id, never by name.
class XServer {
 public:
  ~XServer() { Stop(); }
  bool Start(int width = 1920, int height = 1080);
  void Stop();
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

struct RunResult {
  int status = -1;  // exit status, -1 when it did not run or was killed
  std::string out;
};

// Runs a program (found on PATH, no shell) to its end and returns what it printed.
RunResult RunProgram(const std::vector<std::string>& argv);
// Starts a program in the background; stop it with StopProcess.
pid_t Spawn(const std::vector<std::string>& argv);
void StopProcess(pid_t pid);

// Serves the calling thread's messages until `done()` or the deadline; false at the deadline.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// The X window of the visible top-level window with this class name, "" when none.
std::string FindXWindow(const std::string& className);

struct XGeometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool viewable = false;
};
XGeometry Geometry(const std::string& xwindow);

// The window's pixels as 0xRRGGBB, read back from the server.
std::vector<uint32_t> Screenshot(const std::string& xwindow, int* width, int* height);

// Another client of the X server, holding keys while it lives.
class OtherClient {
 public:
  OtherClient();
  ~OtherClient();
  bool GrabAltKey(const char* keyName);  // an X key name: "w", "F5"

 private:
  void* display_ = nullptr;
};

// The top-level windows of the screen, bottom first.
std::vector<std::string> StackingOrder();

}  // namespace korvane::platform::testing
