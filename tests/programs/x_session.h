// An X display of the tests' own (Xvfb), programs started on it, and the X tools the window
// tests drive it with: xwininfo for windows, xdotool for the mouse and keys, ImageMagick's
// import for pictures of a window.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hotaru_test {

// Whether a program of this name is on PATH.
bool HaveProgram(const std::string& name);

// Xvfb on a display number nobody uses; stopped with the object.
class XServer {
 public:
  XServer() = default;
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  ~XServer();

  // Starts a screen of width × height at 24 bits; false when no display could be had.
  bool Start(int width, int height);
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A program started in the background with some environment variables set, its standard
// output and error going to a file.
class Spawned {
 public:
  Spawned() = default;
  Spawned(const Spawned&) = delete;
  Spawned& operator=(const Spawned&) = delete;
  ~Spawned();

  bool Start(const std::string& program, const std::map<std::string, std::string>& env,
             const std::filesystem::path& output, const std::vector<std::string>& args = {});
  bool Running();
  // The exit status once it ended within `timeout` (-1 for a signal), else nothing.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  void Kill();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Runs a shell command line on `display` and returns its standard output.
std::string RunOn(const std::string& display, const std::string& command);

// A top-level window as xwininfo shows it.
struct XWindow {
  std::uint64_t id = 0;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
};
std::vector<XWindow> TopLevelWindows(const std::string& display);
// The window with exactly this title, waiting up to `timeout` for it to appear.
std::optional<XWindow> WaitForWindow(const std::string& display, const std::string& title,
                                     std::chrono::milliseconds timeout);

// The window's pixels as RGB, top row first (import), or empty.
std::vector<std::uint8_t> WindowPixels(const std::string& display, const XWindow& window);
// A PNG file's pixels as RGB (ImageMagick's convert), or empty.
std::vector<std::uint8_t> PngPixels(const std::filesystem::path& png);

// What the window manager's close button sends: WM_DELETE_WINDOW.
void SendCloseRequest(const std::string& display, std::uint64_t window);

}  // namespace hotaru_test
