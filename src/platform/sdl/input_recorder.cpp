#include "platform/sdl/input_recorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/win32.h"

namespace platform::sdl {
namespace {

// What a file that is not a regular one is, for the player.
const char* KindOfFile(mode_t mode) {
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

}  // namespace

InputRecorder::InputRecorder()
    : report_([](const std::string& message) {
        std::fprintf(stderr, "hotaru: %s\n", message.c_str());
      }) {}

InputRecorder::~InputRecorder() {
  if (fd_ >= 0) ::close(fd_);
}

const char* RecordedKeyName(int virtual_key) {
  switch (virtual_key) {
    case VK_RETURN: return "enter";
    case VK_ESCAPE: return "escape";
    case VK_SPACE: return "space";
    case VK_HOME: return "home";
    case VK_UP: return "up";
    case VK_DOWN: return "down";
    case VK_LEFT: return "left";
    case VK_RIGHT: return "right";
    default: return nullptr;
  }
}

bool InputRecorder::Open(const std::string& path, std::string* error) {
  const auto refuse = [&](const std::string& why) {
    *error = "cannot record to " + path + ": " + why;
    return false;
  };
  const auto not_a_file = [&](mode_t mode) {
    return refuse(std::string(KindOfFile(mode)) +
                  ", not a file (a recording is written to a regular file or a new one)");
  };
  // Looked at before it is opened: opening a pipe or a device may wait or do something.
  struct stat before;
  if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
    return not_a_file(before.st_mode);
  }
  // Without waiting all the same, in case the name came to mean a pipe in between.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return refuse(std::strerror(errno));
  const auto close_and_refuse = [&](const std::string& why) {
    ::close(fd);
    return refuse(why);
  };
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) return close_and_refuse(std::strerror(errno));
  if (!S_ISREG(opened.st_mode)) {
    ::close(fd);
    return not_a_file(opened.st_mode);
  }
  if (::ftruncate(fd, 0) != 0) return close_and_refuse(std::strerror(errno));
  if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  path_ = path;
  written_bytes_ = 0;
  failing_reason_.clear();
  lost_since_report_ = 0;
  lost_lines_ = 0;
  return true;
}

void InputRecorder::Write(const std::string& line) {
  if (fd_ < 0) return;
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string reason = n < 0 ? std::strerror(errno) : "nothing could be written";
      // A line cut short would not read back: the file goes back to its whole lines.
      if (done > 0 && ::ftruncate(fd_, written_bytes_) == 0) {
        ::lseek(fd_, written_bytes_, SEEK_SET);
      }
      WriteFailed(reason);
      return;
    }
    done += static_cast<std::size_t>(n);
  }
  written_bytes_ += static_cast<long long>(line.size());
  if (!failing_reason_.empty()) {
    report_("the recording " + path_ + " is written again; " + std::to_string(lost_since_report_) +
            " line(s) of input are missing from it");
    failing_reason_.clear();
    lost_since_report_ = 0;
  }
}

// Told at the first failure and whenever the reason changes; the lines lost in between are
// counted, not told one by one: input comes many times a second.
void InputRecorder::WriteFailed(const std::string& reason) {
  ++lost_lines_;
  if (reason == failing_reason_) {
    ++lost_since_report_;
    return;
  }
  report_("cannot write the recording " + path_ + ": " + reason +
          "; the game goes on, and its input is missing from the recording until it can be "
          "written again");
  failing_reason_ = reason;
  lost_since_report_ = 1;
}

void InputRecorder::Comment(const std::string& text) { Write("# " + text + "\n"); }

void InputRecorder::Line(std::uint32_t tick, const std::string& action) {
  if (fd_ < 0) return;
  Write("at " + std::to_string(tick) + " " + action + "\n");
  latest_tick_ = std::max(latest_tick_, tick);
}

void InputRecorder::FlushMove() {
  if (!pending_move_) return;
  const PendingMove m = *pending_move_;
  pending_move_.reset();
  if (m.x == last_move_x_ && m.y == last_move_y_) return;
  last_move_x_ = m.x;
  last_move_y_ = m.y;
  last_move_tick_ = m.tick;
  Line(m.tick, "move " + std::to_string(m.x) + " " + std::to_string(m.y));
}

void InputRecorder::Move(std::uint32_t tick, int x, int y) {
  pending_move_ = PendingMove{tick, x, y};
  game_mouse_ = std::make_pair(x, y);
  if (!last_move_tick_ || tick - *last_move_tick_ >= kMoveSpacingMs) FlushMove();
}

void InputRecorder::CursorPlaced(int x, int y) {
  // A move still waiting happened before the game placed the cursor.
  FlushMove();
  game_mouse_ = std::make_pair(x, y);
  last_move_x_ = x;
  last_move_y_ = y;
}

void InputRecorder::Click(std::uint32_t tick, bool left) {
  std::string action = left ? "click" : "rclick";
  if (game_mouse_) {
    const auto [x, y] = *game_mouse_;
    // The click carries the place: a move waiting to be written to it adds nothing.
    if (pending_move_ && pending_move_->x == x && pending_move_->y == y) pending_move_.reset();
    last_move_x_ = x;
    last_move_y_ = y;
    last_move_tick_ = tick;
    action += " " + std::to_string(x) + " " + std::to_string(y);
  }
  FlushMove();
  Line(tick, action);
}

void InputRecorder::Wheel(std::uint32_t tick, int notches) {
  FlushMove();
  // The runner takes at most 100 notches a line.
  while (notches != 0) {
    const int step = std::clamp(notches, -100, 100);
    Line(tick, "wheel " + std::to_string(step));
    notches -= step;
  }
}

void InputRecorder::KeyDown(std::uint32_t tick, int virtual_key) {
  if (RecordedKeyName(virtual_key) == nullptr) return;
  for (const auto& [vk, since] : held_keys_) {
    if (vk == virtual_key) return;
  }
  held_keys_.emplace_back(virtual_key, tick);
}

void InputRecorder::KeyUp(std::uint32_t tick, int virtual_key) {
  auto held = std::find_if(held_keys_.begin(), held_keys_.end(),
                           [&](const auto& k) { return k.first == virtual_key; });
  if (held == held_keys_.end()) return;
  const std::uint32_t since = held->second;
  held_keys_.erase(held);
  FlushMove();
  // The runner holds a key at least a millisecond.
  const std::uint32_t hold = std::max<std::uint32_t>(tick - since, 1);
  Line(since, std::string("key ") + RecordedKeyName(virtual_key) + " " + std::to_string(hold));
}

void InputRecorder::Menu(std::uint32_t tick, int id) {
  FlushMove();
  Line(tick, "menu " + std::to_string(id));
}

void InputRecorder::Close(std::uint32_t tick) {
  FlushMove();
  Line(tick, "close");
}

void InputRecorder::Focus(std::uint32_t tick, bool active) {
  FlushMove();
  // Keys held as the focus goes are let go for the program without a word from the desktop.
  if (!active) {
    while (!held_keys_.empty()) KeyUp(tick, held_keys_.front().first);
  }
  Line(tick, active ? "activate" : "deactivate");
}

void InputRecorder::MessageBoxAnswer(int answer) {
  FlushMove();
  Line(latest_tick_, (answer == IDOK || answer == IDYES) ? "msgbox ok" : "msgbox cancel");
}

void InputRecorder::DialogAnswer(std::uint32_t tick,
                                 const std::vector<std::pair<std::string, int>>& boxes, bool ok) {
  FlushMove();
  std::string action = "dialog";
  for (const auto& [name, value] : boxes) action += " " + name + "=" + std::to_string(value);
  Line(tick, action + (ok ? " ok" : " cancel"));
}

void InputRecorder::Finish(std::uint32_t tick) {
  if (fd_ < 0) return;
  FlushMove();
  while (!held_keys_.empty()) KeyUp(tick, held_keys_.front().first);
  const bool closed = ::close(fd_) == 0;
  const int close_error = errno;
  fd_ = -1;
  if (!closed) report_("cannot write the recording " + path_ + ": " + std::strerror(close_error));
  if (lost_lines_ > 0) {
    report_("the recording " + path_ + " misses " + std::to_string(lost_lines_) +
            " line(s) of input that could not be written");
  }
}

}  // namespace platform::sdl
