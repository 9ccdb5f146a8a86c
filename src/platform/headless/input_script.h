// The runner's input script: one action per line, "at MS ACTION" (absolute virtual time) or
// "+MS ACTION" (after the previous line); "#" starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::headless {

enum class ActionKind {
  Click,       // click [X Y]
  RightClick,  // rclick [X Y]
  Move,        // move X Y
  Wheel,       // wheel N (notches, positive away from the reader)
  Key,         // key NAME [HOLD_MS]
  Menu,        // menu ID
  MessageBox,  // msgbox ok|cancel
  Dialog,      // dialog KEY=0|1 ... ok|cancel
  Close,       // close (the window's close command)
  Activate,    // activate | deactivate (the application gains or loses the focus)
  Shot,        // shot FILE.png
  Dump,        // dump FILE.json
};

struct ScriptAction {
  std::uint32_t time = 0;
  ActionKind kind = ActionKind::Click;
  int line = 0;
  bool has_position = false;
  int x = 0;
  int y = 0;
  int key = 0;                // virtual key for Key
  std::uint32_t hold_ms = 0;  // how long Key holds the key down
  int id = 0;                 // menu identifier
  bool ok = true;             // msgbox / dialog answer; activate (true) or deactivate
  std::vector<std::pair<std::string, int>> boxes;  // dialog KEY=0|1
  std::string path;                                // shot / dump
};

struct InputScript {
  std::vector<ScriptAction> actions;  // in time order (stable for equal times)
};

// Parses a script; on error returns false and sets `error` to "LINE: what is wrong".
bool ParseInputScript(const std::string& text, InputScript* script, std::string* error);

// The virtual key of a key name (enter, escape, space, home, up, down, left, right); 0 if
// unknown.
int KeyFromName(const std::string& name);

}  // namespace platform::headless
