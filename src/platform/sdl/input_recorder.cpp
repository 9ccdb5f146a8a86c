#include "platform/sdl/input_recorder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/win32.h"

namespace platform::sdl {

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
  file_.reset(std::fopen(path.c_str(), "w"));
  if (!file_) {
    *error = "cannot write the recording " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void InputRecorder::Comment(const std::string& text) {
  if (!file_) return;
  std::fprintf(file_.get(), "# %s\n", text.c_str());
  std::fflush(file_.get());
}

void InputRecorder::Line(std::uint32_t tick, const std::string& action) {
  if (!file_) return;
  std::fprintf(file_.get(), "at %u %s\n", tick, action.c_str());
  std::fflush(file_.get());
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
  FlushMove();
  while (!held_keys_.empty()) KeyUp(tick, held_keys_.front().first);
  file_.reset();
}

}  // namespace platform::sdl
