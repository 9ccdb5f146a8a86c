// The player's input written as an input script of the headless runner (`hotaru --record
// FILE`), so that a play can be replayed on `hotaru-headless`. Times are the program's tick
// (GetTickCount); positions are client pixels, the coordinates the game itself is given.
//
// Lines are written as they happen, each with one write of its own, so a recording survives
// a crash of the program it records. Every line carries its absolute time ("at MS"): a key is
// written when it is let go, with the time it went down and how long it was held, and the
// runner puts the lines in time order.
//
// A write that fails (a full disk) does not stop the game: the player is told at once, the
// lines that cannot be written are counted, and the file keeps only whole lines, so what was
// recorded still replays.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::sdl {

class InputRecorder {
 public:
  // Where the recorder tells the player of a recording that cannot be written: standard
  // error unless set.
  using Report = std::function<void(const std::string& message)>;

  InputRecorder();
  ~InputRecorder();
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  // Creates (or empties) the file; false with a reason. Only a regular file or a new one is
  // taken, and nothing waits: a pipe would hold the program until something read it, and a
  // device or a folder is no place for a recording.
  bool Open(const std::string& path, std::string* error);
  bool active() const { return fd_ >= 0; }
  void SetReport(Report report) { report_ = std::move(report); }

  // A comment line ("# " and the text).
  void Comment(const std::string& text);

  // A button went down. The game takes the place of a click from the mouse moves before it
  // and from where it put the cursor itself, not from the button's message: the click is
  // written at that place (the runner's click with a position sends a move there first,
  // which then changes nothing), or without one before the game knows any.
  void Click(std::uint32_t tick, bool left);
  // The game put the cursor at a client point (SetCursorPos); the replay does the same, so
  // nothing is written.
  void CursorPlaced(int x, int y);
  // The mouse moved to a client point. Moves closer together than kMoveSpacingMs are thinned
  // to the last of them; a move is always written before the next other line.
  void Move(std::uint32_t tick, int x, int y);
  void Wheel(std::uint32_t tick, int notches);
  // One of the keys the game reads (enter, escape, space, home and the arrows) went down or
  // up; other keys are not written.
  void KeyDown(std::uint32_t tick, int virtual_key);
  void KeyUp(std::uint32_t tick, int virtual_key);
  void Menu(std::uint32_t tick, int id);
  void Close(std::uint32_t tick);
  void Focus(std::uint32_t tick, bool active);
  // The answer to a message box (IDOK, IDYES: ok; IDCANCEL, IDNO: cancel). A box takes no
  // time on the runner's clock and may come up there sooner than it did here, so its answer
  // is written at the time of the input before it: the runner holds it for the next box.
  void MessageBoxAnswer(int answer);
  // The settings dialog closed with these check boxes and button.
  void DialogAnswer(std::uint32_t tick, const std::vector<std::pair<std::string, int>>& boxes,
                    bool ok);
  // The program ends: keys still held are written as held until now, and lines that could
  // not be written are counted for the player.
  void Finish(std::uint32_t tick);

  static constexpr std::uint32_t kMoveSpacingMs = 20;

 private:
  void Line(std::uint32_t tick, const std::string& action);
  // Writes one whole line, or nothing of it.
  void Write(const std::string& line);
  void WriteFailed(const std::string& reason);
  void FlushMove();

  int fd_ = -1;
  std::string path_;
  Report report_;
  long long written_bytes_ = 0;  // the whole lines in the file
  // While writes fail: the reason last told, and the lines lost since it was told.
  std::string failing_reason_;
  long lost_since_report_ = 0;
  long lost_lines_ = 0;            // over the whole recording
  std::uint32_t latest_tick_ = 0;  // the latest time written
  struct PendingMove {
    std::uint32_t tick;
    int x, y;
  };
  std::optional<PendingMove> pending_move_;
  std::optional<std::uint32_t> last_move_tick_;
  int last_move_x_ = -1, last_move_y_ = -1;  // the last move written
  // Where the game believes the mouse is, once it knows.
  std::optional<std::pair<int, int>> game_mouse_;
  std::vector<std::pair<int, std::uint32_t>> held_keys_;  // virtual key, tick it went down
};

// The runner's name of a key the game reads ("enter", "up" …); null for any other key.
const char* RecordedKeyName(int virtual_key);

}  // namespace platform::sdl
