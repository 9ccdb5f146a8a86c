// The SDL backend of the real program: one SDL2 window for the program's main window, real
// time, input from the desktop, the menu bar, message boxes and dialogs drawn with Dear
// ImGui, an emulated 256-colour palette display (or true colour on request), full screen
// without changing the real display mode, and the running-copy search over the X11
// desktop.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/dialog_view.h"
#include "platform/sdl/input_recorder.h"
#include "platform/sdl/menu_bar.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/picture_placement.h"
#include "platform/sdl/window_view.h"
#include "platform/sdl/x11_windows.h"

namespace platform::sdl {

struct Options {
  int display_bits = 8;     // the emulated display's depth (HOTARU_DISPLAY_BITS)
  std::string trace_path;   // HOTARU_TRACE: where trace lines go ("-": standard error)
  int font_pixels = 16;     // the menu, dialog and message-box font
  std::string record_path;  // --record: where the player's input is written as a script
  // HOTARU_DUMP_AT_EXIT: a state dump as the runner's --dump-at-exit writes it (the tests
  // compare a play with its replay).
  std::string dump_at_exit_path;
};

// HOTARU_DISPLAY_BITS (8, 16, 24 or 32) and HOTARU_TRACE.
Options OptionsFromEnvironment();

// Keys and buttons that ImGui must see one frame at a time: it samples the keyboard once a
// frame, so a press and its release between two frames would be lost.
bool NeedsOwnFrame(const SDL_Event& e);

class SdlBackend final : public Backend {
 public:
  explicit SdlBackend(Options options);
  ~SdlBackend() override;

  // Starts SDL and makes the (hidden) window; false with a reason when there is no display.
  bool Start(std::string* error);
  // Ends everything SDL holds; safe to call twice.
  void Shutdown();

  // Backend
  std::uint32_t Now() override;
  void PollEvents() override;
  void Idle(std::optional<std::uint32_t> next_timer_due, bool timing,
            std::optional<std::uint32_t> deadline) override;
  int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                     UINT type) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int DisplayBits() override { return display_bits_; }
  LONG ChangeDisplay(const DEVMODEA* mode, DWORD flags) override;
  bool DisplayMode(DWORD index, DEVMODEA* mode) override;
  int Metric(int index) override;
  int MenuItemWidth(std::string_view label) override;
  std::vector<ForeignWindow> ForeignWindows() override;
  void RestoreForeignWindow(std::uint64_t id) override;
  void RaiseForeignWindow(std::uint64_t id) override;
  void WindowCreated(HWND hwnd) override;
  void WindowDestroyed(HWND hwnd) override;
  void WindowMoved(HWND hwnd) override;
  void SurfaceChanged(HWND hwnd) override;
  void NonClientChanged(HWND hwnd) override;
  void PresentationChanged() override;
  void CursorMoved(int screen_x, int screen_y) override;
  void DialogStep(HWND dialog) override;
  std::string ProfilePath(std::string_view file_name) override;
  void Trace(std::string_view kind, std::string_view details) override;
  bool TraceEnabled(std::string_view kind) override;
  void BeforeExit(int status) override;
  bool PlayTrackFile(const std::string& path) override;
  void StopTrack() override;
  bool TrackPlaying() override;
  void SetTrackVolume(WORD left, WORD right) override;
  bool PlayWave(const WAVEFORMATEX& format, const void* data, std::size_t bytes,
                std::uint32_t plays) override;
  void StopWave() override;
  void SetWaveVolume(WORD left, WORD right) override;

  // The game's state as one JSON object, for the dump at exit.
  void SetDumpProvider(std::function<std::string()> provider) {
    dump_provider_ = std::move(provider);
  }

  // Draws and presents a frame now (benchmarks).
  void RenderNow() { Render(); }

 private:
  // sdl_events.cpp: desktop events into window messages.
  // What every event does first, in play and under a message box: the end of a wave buffer
  // becomes MM_WOM_DONE (true: nothing more to do), and the window's, mouse and keyboard
  // events reach the menus and boxes (Dear ImGui) before anything else sees them.
  bool EventPrologue(const SDL_Event& e);
  void HandleEvent(const SDL_Event& e);
  void HandleKey(const SDL_KeyboardEvent& key);
  void HandleMouseButton(const SDL_MouseButtonEvent& button);
  void FlushMouseMotion();
  // A mouse move at the pointer's present place (after the window moved under it).
  void MouseWhereItIs();
  // Focus and minimise as the desktop reports them; SyncWindowState tells the window.
  void NoteDesktopState(Uint8 window_event);
  // Events while a message box holds everything: only the box and the picture go on.
  void HandleModalEvent(const SDL_Event& e);
  // Tells the window of focus and minimise changes the desktop made.
  void SyncWindowState();
  // A window pixel as a point of the main window's client area.
  POINT ClientPoint(int window_x, int window_y);
  void RunMenuActions();
  // F10, or Alt pressed and let go alone: the first menu of the bar opens.
  void OpenMenuByKeyboard();
  // Holds the program while a drop-down is open, as the desktop's menu loop does.
  void RunMenuLoop();

  // screenshot.cpp: F12 writes the client picture to the pictures folder and tells so in
  // the title bar for a second.
  void TakeScreenshot();
  void ShowTitleNote(const std::string& note);
  void EndTitleNoteWhenDue();
  // recording.cpp: the recording's opening lines, once the desktop is known (the file is
  // opened first thing in Start).
  void WriteRecordingHeader();

  // sdl_render.cpp: frames.
  bool NeedsRender();
  void Render();
  // Whole ticks from now until `tick` (0 once it has come).
  std::int64_t TicksUntil(std::uint32_t tick);
  // Waits up to `ms` for an event; true when one came.
  bool WaitForEvent(int ms);
  // Sleeps until the edge of `tick`; an event that comes more than a millisecond before it
  // ends the sleep early.
  void SleepUntilTick(std::uint32_t tick);
  // How the emulated screen shows in a window of this size (drawable pixels).
  ViewGeometry Geometry(const WindowRecord& w, int window_w, int window_h);
  // That, and where the game's picture shows in it, as the player chose.
  WindowLayout Layout(const WindowRecord& w, int window_w, int window_h);
  // A mouse position in the desktop's points as drawable pixels of the window.
  void ToPixels(int* x, int* y) const;
  bool UiActive() const;

  // The main window's record (null before it exists) and the SDL window following it.
  WindowRecord* Main();
  void FollowWindow(const WindowRecord& w);

  Options options_;
  WindowView view_;
  MenuBar menu_bar_{view_};
  MessageBoxView message_box_{view_};
  DialogView dialog_{view_};
  X11Windows x11_;
  InputRecorder recorder_;
  std::function<std::string()> dump_provider_;
  // The tick at which a note in the title bar gives way to the title again.
  std::optional<std::uint32_t> title_note_until_;
  bool started_ = false;
  std::uint64_t start_ns_ = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace_file_{nullptr, &std::fclose};

  // The emulated display.
  int display_bits_ = 8;
  int stored_bits_ = 8;  // what a restore of the display mode goes back to
  int desktop_width_ = 1024;
  int desktop_height_ = 768;
  bool emulated_full_screen_ = false;  // the display "switched" to 640 × 480

  HWND main_ = nullptr;
  // What the desktop last told about the window, and what the window was told.
  bool desktop_focus_ = true;
  bool reported_focus_ = true;
  bool desktop_minimized_ = false;

  // Pending mouse position (window pixels) not yet given to the window.
  bool motion_pending_ = false;
  int motion_x_ = 0, motion_y_ = 0;
  bool mouse_over_bar_ = false;
  bool in_menu_loop_ = false;
  // The tick at which the display's queue was last read and left empty (none: it may hold
  // events).
  std::optional<std::uint32_t> queue_read_tick_;
  bool alt_alone_ = false;  // Alt is down and no other key came since
  std::vector<MenuAction> menu_actions_;
  // The message box open has the window to itself (no window of ours is shown).
  bool box_own_window_ = false;

  // Rendering: the client area changed, the bar changed, everything must be drawn again
  // (a new size or mode, an exposed window), and whether the last frame had menus or
  // boxes over the client area.
  bool content_dirty_ = true;
  bool chrome_dirty_ = true;
  bool repaint_all_ = true;
  bool overlay_shown_ = false;
  bool bar_black_shown_ = false;  // the bar as the last frame drew it
  int frames_pending_ = 2;        // ImGui needs a frame or two to act on input
  std::uint32_t last_render_ = 0;
};

}  // namespace platform::sdl
