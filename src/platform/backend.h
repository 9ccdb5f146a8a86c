// What the common platform code (message queue, windows, timers, memory, files, profile
// files) asks of the backend underneath: time, outside events, the screen, message boxes,
// other programs' windows, and how the process reports its end.
//
// Only platform code and the programs' entry points include this header; game code sees
// win32.h alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resources.h"
#include "platform/trace.h"
#include "platform/win32.h"

namespace platform {

// Another program's top-level window, as the backend sees it.
struct ForeignWindow {
  std::uint64_t id = 0;  // the backend's own identity of the window
  std::string title;
  bool iconic = false;
};

// Thrown instead of ending the process when the backend is set up for in-process tests.
struct ProcessExit {
  int status;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Milliseconds since an arbitrary start; what GetTickCount answers.
  virtual std::uint32_t Now() = 0;

  // Brings outside events into the message queue (input, scripted actions that are due).
  // Called at the start of every PeekMessage.
  virtual void PollEvents() = 0;

  // Called when PeekMessage found nothing to deliver. `next_timer_due` is the tick at which
  // the earliest window timer fires, if any; `timing` tells that the program read the tick
  // count since the last call, that is, it is pacing itself by the clock; `deadline` is then
  // the first tick at which its wait ends, when the wait has told (SetWaitDeadline). The
  // backend lets time pass: the virtual clock moves on; a real backend sleeps until the
  // next event, timer or deadline, and only briefly while the program times something
  // without a deadline.
  virtual void Idle(std::optional<std::uint32_t> next_timer_due, bool timing,
                    std::optional<std::uint32_t> deadline) = 0;

  virtual int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                             UINT type) = 0;

  // Screen size in pixels and display depth in bits per pixel.
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int DisplayBits() = 0;
  // ChangeDisplaySettingsA; `mode` null restores the stored mode.
  virtual LONG ChangeDisplay(const DEVMODEA* mode, DWORD flags) = 0;
  // EnumDisplaySettingsA for one index; false past the last mode.
  virtual bool DisplayMode(DWORD index, DEVMODEA* mode) = 0;

  // Non-client metrics (caption, menu bar, frames) in pixels, by SM_ index.
  virtual int Metric(int index) = 0;
  // Width in pixels of a menu-bar item with this label ("&" marks the mnemonic), padding
  // included: it decides how many rows the bar takes. The default estimates a classic menu
  // font (windows.cpp); a backend that draws the bar measures its own text.
  virtual int MenuItemWidth(std::string_view label);

  virtual std::vector<ForeignWindow> ForeignWindows() = 0;
  virtual void RestoreForeignWindow(std::uint64_t id) = 0;
  virtual void RaiseForeignWindow(std::uint64_t id) = 0;

  // A window of ours was created, moved, shown or destroyed; a real backend follows it.
  virtual void WindowCreated(HWND) {}
  virtual void WindowDestroyed(HWND) {}
  virtual void WindowMoved(HWND) {}
  // The client surface or the system palette changed: a real backend shows it.
  virtual void SurfaceChanged(HWND) {}
  // The menu bar was drawn or painted over.
  virtual void NonClientChanged(HWND) {}
  // The player chose another way to show the picture (platform/presentation.h).
  virtual void PresentationChanged() {}
  // The program put the mouse cursor at this screen point (SetCursorPos); a real backend
  // moves the pointer there while one of our windows has the focus.
  virtual void CursorMoved(int screen_x, int screen_y) { (void)screen_x, (void)screen_y; }

  // The local time GetLocalTime reports; false means the system's own clock. The headless
  // backend answers a fixed date moved on by its virtual clock, so runs repeat exactly.
  virtual bool LocalTime(SYSTEMTIME* out) {
    (void)out;
    return false;
  }

  // A modal dialog is open (DialogBoxParamA's loop calls this between messages): the backend
  // shows it and turns the user's answers into check-box changes (SetDialogCheck) and
  // button presses (PressDialogButton). The loop ends when the dialog procedure ends the
  // dialog.
  virtual void DialogStep(HWND dialog) = 0;

  // Audio. The common code keeps the state of the CD and wave devices and traces what they
  // are asked; the backend makes the sound and knows when it has ended.
  //
  // The CD device cannot open: the MCIERR_ value MCI_OPEN answers (0: it opens).
  virtual MCIERROR CdOpenError() { return 0; }
  // Starts an audio file from its beginning, replacing any track that plays; false when the
  // file cannot be decoded.
  virtual bool PlayTrackFile(const std::string& path) = 0;
  virtual void StopTrack() = 0;
  // Whether the track started last is still sounding (false once it has played out).
  virtual bool TrackPlaying() = 0;
  // Channel volumes, 0 to 0xFFFF.
  virtual void SetTrackVolume(WORD left, WORD right) = 0;
  // Plays `bytes` of 16-bit PCM in `format` `plays` times (0: until StopWave); false when it
  // cannot. When the last play has ended the backend calls WaveBufferPlayed
  // (platform/common/audio_devices.h) from PollEvents.
  virtual bool PlayWave(const WAVEFORMATEX& format, const void* data, std::size_t bytes,
                        std::uint32_t plays) = 0;
  virtual void StopWave() = 0;
  virtual void SetWaveVolume(WORD left, WORD right) = 0;

  // Where a profile file named without a folder lives.
  virtual std::string ProfilePath(std::string_view file_name) = 0;

  // One line of the run's trace (headless); others may ignore it.
  virtual void Trace(std::string_view kind, std::string_view details) { (void)kind, (void)details; }
  virtual bool TraceEnabled(std::string_view kind) {
    (void)kind;
    return false;
  }

  // Called by ExitProcess before the process ends (trace, dumps, flushing). A backend for
  // in-process tests throws ProcessExit here instead of returning.
  virtual void BeforeExit(int status) = 0;
};

void SetBackend(Backend* backend);
Backend& CurrentBackend();

// The open dialog's template and the state of its controls, for backends.
struct DialogState;
const DialogSpec* DialogTemplate(HWND dialog);
bool DialogCheck(HWND dialog, int id);
void SetDialogCheck(HWND dialog, int id, bool checked);
// A button of the dialog was pressed: WM_COMMAND with its identifier to the procedure.
void PressDialogButton(HWND dialog, int id);

// Forgets every window, class, timer, queued message and open file, so that a test starts
// from a clean platform. Memory blocks are left alone (the game's own table frees them).
void ResetPlatformState();

}  // namespace platform
