#include "x_session.h"

#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

extern char** environ;

namespace korvane::platform::testing {

namespace {

std::vector<char*> Argv(const std::vector<std::string>& argv) {
  std::vector<char*> out;
  for (const auto& a : argv) out.push_back(const_cast<char*>(a.c_str()));
  out.push_back(nullptr);
  return out;
}

}  // namespace

bool XServer::Start(int width, int height) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::vector<std::string> argv = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                                   "-nolisten", "tcp", "-noreset"};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  auto args = Argv(argv);
  int rc = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    pid_ = -1;
    return false;
  }
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char c;
  while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) {
    Stop();
    return false;
  }
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);
  return true;
}

void XServer::Stop() {
  if (pid_ > 0) StopProcess(pid_);
  pid_ = -1;
}

RunResult RunProgram(const std::vector<std::string>& argv) {
  RunResult result;
  int fds[2];
  if (pipe(fds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  auto args = Argv(argv);
  int rc = posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return result;
  }
  char buffer[65536];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) result.out.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

pid_t Spawn(const std::vector<std::string>& argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  auto args = Argv(argv);
  if (posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void StopProcess(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string FindXWindow(const std::string& className) {
  RunResult r = RunProgram({"xdotool", "search", "--onlyvisible", "--class", "^" + className + "$"});
  std::istringstream in(r.out);
  std::string id;
  in >> id;
  return id;
}

XGeometry Geometry(const std::string& xwindow) {
  XGeometry g;
  RunResult r = RunProgram({"xwininfo", "-id", xwindow});
  std::istringstream in(r.out);
  std::string line;
  auto value = [](const std::string& l) { return std::atoi(l.substr(l.find(':') + 1).c_str()); };
  while (std::getline(in, line)) {
    if (line.find("Absolute upper-left X:") != std::string::npos) g.x = value(line);
    if (line.find("Absolute upper-left Y:") != std::string::npos) g.y = value(line);
    if (line.find("Width:") != std::string::npos) g.width = value(line);
    if (line.find("Height:") != std::string::npos) g.height = value(line);
    if (line.find("Map State: IsViewable") != std::string::npos) g.viewable = true;
  }
  return g;
}

std::vector<uint32_t> Screenshot(const std::string& xwindow, int* width, int* height) {
  XGeometry g = Geometry(xwindow);
  *width = g.width;
  *height = g.height;
  RunResult r = RunProgram({"import", "-silent", "-window", xwindow, "-depth", "8", "rgb:-"});
  std::vector<uint32_t> pixels;
  for (size_t i = 0; i + 2 < r.out.size(); i += 3)
    pixels.push_back(static_cast<uint32_t>(static_cast<uint8_t>(r.out[i])) << 16 |
                     static_cast<uint32_t>(static_cast<uint8_t>(r.out[i + 1])) << 8 |
                     static_cast<uint8_t>(r.out[i + 2]));
  return pixels;
}

OtherClient::OtherClient() : display_(XOpenDisplay(nullptr)) {}

OtherClient::~OtherClient() {
  if (display_) XCloseDisplay(static_cast<::Display*>(display_));
}

bool OtherClient::GrabAltKey(const char* keyName) {
  auto* d = static_cast<::Display*>(display_);
  if (!d) return false;
  KeyCode code = XKeysymToKeycode(d, XStringToKeysym(keyName));
  if (!code) return false;
  XGrabKey(d, code, Mod1Mask, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync);
  XSync(d, False);
  return true;
}

std::vector<std::string> StackingOrder() {
  // xwininfo lists the root's children top first.
  RunResult r = RunProgram({"xwininfo", "-root", "-children"});
  std::vector<std::string> order;
  std::istringstream in(r.out);
  std::string line;
  while (std::getline(in, line)) {
    auto pos = line.find("0x");
    if (line.rfind("     0x", 0) == 0 && pos != std::string::npos)  // as xdotool names them: in decimal
      order.insert(order.begin(), std::to_string(std::stoul(line.substr(pos), nullptr, 16)));
  }
  return order;
}

}  // namespace korvane::platform::testing
