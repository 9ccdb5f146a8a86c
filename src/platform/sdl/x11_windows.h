// Other programs' top-level windows on the X11 desktop, for the running-copy search: their
// titles (_NET_WM_NAME in UTF-8, else WM_NAME) and whether they are minimised, and raising
// or restoring one of them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/backend.h"

// Xlib's connection to the display, declared as X11/Xlib.h declares it: that header is kept to
// x11_windows.cpp, for its macros (None, Bool, Status, …) would reach every file of the backend.
extern "C" {
typedef struct _XDisplay Display;
}

namespace platform::sdl {

// X protocol errors are written to standard error instead of ending the process, as Xlib's
// own handler does: the errors that come late about a window already gone (SDL's wake-up
// messages racing the window's destruction at exit) are harmless. Call before SDL starts,
// whose handler passes errors on to this one.
void LogXErrors();

class X11Windows {
 public:
  X11Windows() = default;
  X11Windows(const X11Windows&) = delete;
  X11Windows& operator=(const X11Windows&) = delete;
  ~X11Windows();

  // The desktop's top-level windows other than ours (`own`, and any window of this
  // process). Empty when there is no X display.
  std::vector<ForeignWindow> List(std::uint64_t own);
  // Brings the window to the front and gives it the focus (through the window manager when
  // there is one).
  void Raise(std::uint64_t id);
  // Shows a minimised window again, then raises it.
  void Restore(std::uint64_t id);

  // Whether a window manager runs (one that follows the EWMH conventions).
  bool WindowManagerRunning();
  // Places a window of ours directly: without a window manager nobody else makes a full
  // screen window cover the screen.
  void MoveResize(std::uint64_t id, int x, int y, int width, int height);

 private:
  bool Connect();

  Display* display_ = nullptr;
  bool tried_ = false;
};

}  // namespace platform::sdl
