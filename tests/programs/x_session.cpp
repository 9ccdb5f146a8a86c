#include "programs/x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

namespace hotaru_test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

fs::path TempFile(const std::string& suffix) {
  static int counter = 0;
  return fs::temp_directory_path() /
         ("hotaru-x-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + suffix);
}

}  // namespace

bool HaveProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::stringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (!dir.empty() && access((fs::path(dir) / name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

XServer::~XServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

bool XServer::Start(int width, int height) {
  // Display numbers from a range tests use, starting at one that depends on the process so
  // that tests running side by side rarely try the same one.
  for (int attempt = 0; attempt < 40; ++attempt) {
    const int n = 400 + (static_cast<int>(getpid()) * 7 + attempt) % 500;
    const fs::path lock = "/tmp/.X" + std::to_string(n) + "-lock";
    const fs::path socket = "/tmp/.X11-unix/X" + std::to_string(n);
    if (fs::exists(lock) || fs::exists(socket)) continue;
    const std::string display = ":" + std::to_string(n);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    // The display is ours once its lock names our server and it answers; another server
    // that took the number first makes ours give up.
    for (int i = 0; i < 200; ++i) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) break;
      std::ifstream in(lock);
      long owner = 0;
      if (in >> owner && owner == pid) {
        if (Display* d = XOpenDisplay(display.c_str())) {
          XCloseDisplay(d);
          pid_ = pid;
          display_ = display;
          return true;
        }
      }
      std::this_thread::sleep_for(25ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return false;
}

Spawned::~Spawned() { Kill(); }

bool Spawned::Start(const std::string& program, const std::map<std::string, std::string>& env,
                    const fs::path& output, const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    for (const auto& [key, value] : env) setenv(key.c_str(), value.c_str(), 1);
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  pid_ = pid;
  status_.reset();
  return true;
}

bool Spawned::Running() { return pid_ > 0 && !Wait(0ms).has_value(); }

std::optional<int> Spawned::Wait(std::chrono::milliseconds timeout) {
  if (status_) return status_;
  if (pid_ <= 0) return std::nullopt;
  const auto until = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      pid_ = -1;
      return status_;
    }
    if (std::chrono::steady_clock::now() >= until) return std::nullopt;
    std::this_thread::sleep_for(10ms);
  }
}

void Spawned::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

std::string RunOn(const std::string& display, const std::string& command) {
  const std::string line = "DISPLAY=" + display + " " + command + " 2>/dev/null";
  std::string out;
  if (FILE* p = popen(line.c_str(), "r")) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

std::vector<XWindow> TopLevelWindows(const std::string& display) {
  // The root's children are the lines indented by five spaces:
  //      0x200002 "title": ("class" "class")  640x422+320+301  +320+301
  static const std::regex line(
      R"(^     (0x[0-9a-f]+) \"(.*)\": \(.*\)  (\d+)x(\d+)\+(-?\d+)\+(-?\d+) )");
  std::vector<XWindow> out;
  std::stringstream text(RunOn(display, "xwininfo -root -children"));
  for (std::string l; std::getline(text, l);) {
    std::smatch m;
    if (!std::regex_search(l, m, line)) continue;
    XWindow w;
    w.id = std::stoull(m[1].str(), nullptr, 16);
    w.title = m[2].str();
    w.width = std::stoi(m[3].str());
    w.height = std::stoi(m[4].str());
    w.x = std::stoi(m[5].str());
    w.y = std::stoi(m[6].str());
    out.push_back(w);
  }
  return out;
}

std::optional<XWindow> WaitForWindow(const std::string& display, const std::string& title,
                                     std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  do {
    for (const XWindow& w : TopLevelWindows(display)) {
      if (w.title == title) return w;
    }
    std::this_thread::sleep_for(50ms);
  } while (std::chrono::steady_clock::now() < until);
  return std::nullopt;
}

std::vector<std::uint8_t> WindowPixels(const std::string& display, const XWindow& window) {
  const fs::path raw = TempFile(".rgb");
  RunOn(display, "import -window " + std::to_string(window.id) + " -depth 8 rgb:" + raw.string());
  auto pixels = ReadAll(raw);
  fs::remove(raw);
  return pixels;
}

std::vector<std::uint8_t> PngPixels(const fs::path& png) {
  const fs::path raw = TempFile(".rgb");
  RunOn(":0", "convert " + png.string() + " -depth 8 rgb:" + raw.string());
  auto pixels = ReadAll(raw);
  fs::remove(raw);
  return pixels;
}

void SendCloseRequest(const std::string& display, std::uint64_t window) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = static_cast<Window>(window);
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, static_cast<Window>(window), False, NoEventMask, &e);
  XCloseDisplay(d);
}

}  // namespace hotaru_test
