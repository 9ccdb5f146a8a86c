#include "platform/sdl/sdl_backend.h"

#include <pwd.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/common/display_modes.h"
#include "platform/common/input_state.h"
#include "platform/common/window_table.h"
#include "platform/sdl/mixer.h"

namespace platform::sdl {
namespace {

std::uint64_t SteadyNanoseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config.
std::filesystem::path ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* pw = getpwuid(getuid());
    home = pw != nullptr ? pw->pw_dir : ".";
  }
  return std::filesystem::path(home) / ".config";
}

// How far past a tick's edge a wait may plan to wake and still count on reading that tick:
// the rest of the millisecond is left for the kernel's timer slack and the scheduler.
constexpr std::uint64_t kLatestWakeNs = 600000;

// Texts the boxes use whatever they show.
constexpr const char* kFixedTexts = "OKキャンセルはい(Y)いいえ(N)";

}  // namespace

Options OptionsFromEnvironment() {
  Options o;
  if (const char* bits = std::getenv("HOTARU_DISPLAY_BITS")) {
    const int b = std::atoi(bits);
    if (b == 8 || b == 16 || b == 24 || b == 32) o.display_bits = b;
  }
  if (const char* trace = std::getenv("HOTARU_TRACE")) o.trace_path = trace;
  if (const char* dump = std::getenv("HOTARU_DUMP_AT_EXIT")) o.dump_at_exit_path = dump;
  return o;
}

SdlBackend::SdlBackend(Options options)
    : options_(std::move(options)),
      start_ns_(SteadyNanoseconds()),
      display_bits_(options_.display_bits),
      stored_bits_(options_.display_bits) {
  if (options_.trace_path == "-") {
    trace_file_ =
        std::unique_ptr<std::FILE, int (*)(std::FILE*)>(stderr, [](std::FILE*) { return 0; });
  } else if (!options_.trace_path.empty()) {
    trace_file_.reset(std::fopen(options_.trace_path.c_str(), "a"));
  }
}

SdlBackend::~SdlBackend() { Shutdown(); }

bool SdlBackend::Start(std::string* error) {
  // A recording that cannot be made is refused before anything of SDL starts, so that the
  // refusal leaves nothing behind (SDL_Quit does not end the D-Bus connection it opens).
  if (!options_.record_path.empty() && !recorder_.Open(options_.record_path, error)) return false;
  // The window surface goes to the X server directly instead of through OpenGL, which
  // would cost a core in software GL and wait for vertical sync.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // SIGINT and SIGTERM end the process as for any program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Leaving full screen when the focus goes is the program's own doing.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  LogXErrors();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    *error = std::string("cannot start SDL video: ") + SDL_GetError();
    return false;
  }
  started_ = true;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    desktop_width_ = mode.w;
    desktop_height_ = mode.h;
  }
  if (!view_.Open(options_.font_pixels, error)) {
    Shutdown();
    return false;
  }
  view_.Cover(kFixedTexts);
  if (recorder_.active()) WriteRecordingHeader();
  return true;
}

void SdlBackend::Shutdown() {
  if (!started_) return;
  // Marked first: an exit from inside the shutdown must not run it again.
  started_ = false;
  mixer::Close();
  view_.Close();
  SDL_Quit();
}

std::uint32_t SdlBackend::Now() {
  return static_cast<std::uint32_t>((SteadyNanoseconds() - start_ns_) / 1000000);
}

void SdlBackend::Idle(std::optional<std::uint32_t> next_timer_due, bool timing,
                      std::optional<std::uint32_t> deadline) {
  if (!started_) return;
  if (NeedsRender()) Render();
  if (timing && !deadline) {
    // The program is pacing itself by the clock without saying until when: a 10 ms step
    // must not be late.
    WaitForEvent(1);
    return;
  }
  std::int64_t wait = 1000;
  if (next_timer_due) wait = std::min<std::int64_t>(wait, TicksUntil(*next_timer_due));
  if (menu_bar_.active()) wait = std::min<std::int64_t>(wait, 33);
  if (title_note_until_) wait = std::min<std::int64_t>(wait, TicksUntil(*title_note_until_));
  if (NeedsRender()) wait = std::min<std::int64_t>(wait, 5);
  if (!deadline || TicksUntil(*deadline) > wait) {
    if (wait > 0) WaitForEvent(static_cast<int>(wait));
    return;
  }
  SleepUntilTick(*deadline);
}

std::int64_t SdlBackend::TicksUntil(std::uint32_t tick) {
  return std::max<std::int32_t>(static_cast<std::int32_t>(tick - Now()), 0);
}

bool SdlBackend::WaitForEvent(int ms) {
  if (SDL_WaitEventTimeout(nullptr, ms) != 0) {
    queue_read_tick_.reset();
    return true;
  }
  // The wait read the display's queue and found it empty: no need to read it again within
  // this tick.
  queue_read_tick_ = Now();
  return false;
}

void SdlBackend::SleepUntilTick(std::uint32_t tick) {
  // The tick's edge on the steady clock (Now() counts whole milliseconds from start_ns_).
  const std::uint64_t now_ns = SteadyNanoseconds();
  const std::uint64_t elapsed_ms = (now_ns - start_ns_) / 1000000;
  const auto ahead = static_cast<std::int32_t>(tick - static_cast<std::uint32_t>(elapsed_ms));
  if (ahead <= 0) return;
  const std::uint64_t edge_ns =
      start_ns_ + (elapsed_ms + static_cast<std::uint64_t>(ahead)) * 1000000;
  // The event wait counts whole milliseconds. Waiting the remaining time rounded up wakes the
  // program after the edge but within the tick, one wake-up for the whole wait; when that
  // would end too close to the tick's end (a late wake-up would read the next tick, and each
  // step of a fade would add it up), the wait ends before the edge and the last stretch is
  // slept to the nanosecond.
  const std::uint64_t left_ns = edge_ns - now_ns;
  const std::uint64_t rounded_ms = (left_ns + 999999) / 1000000;
  if (rounded_ms * 1000000 - left_ns <= kLatestWakeNs) {
    WaitForEvent(static_cast<int>(rounded_ms));
    return;
  }
  if (rounded_ms >= 2 && WaitForEvent(static_cast<int>(rounded_ms - 1))) {
    return;
  }
  timespec edge{};
  edge.tv_sec = static_cast<time_t>(edge_ns / 1000000000);
  edge.tv_nsec = static_cast<long>(edge_ns % 1000000000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &edge, nullptr) == EINTR) {
  }
}

int SdlBackend::ShowMessageBox(HWND, std::string_view text, std::string_view caption, UINT type) {
  if (!started_) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
  }
  message_box_.Open(text, caption, type);
  // The platform traces the box with its answer; this line tells that it is up.
  Trace("box", "open " + Quoted(caption) + " " + Quoted(text));
  WindowRecord* w = Main();
  box_own_window_ = w == nullptr || !w->visible;
  if (box_own_window_) {
    // No window of ours to show it in (the running-copy refusal): the box gets one.
    int width = 0, height = 0;
    message_box_.ContentSize(&width, &height);
    view_.SetFullScreen(false);
    view_.SetTitle(std::string(caption));
    view_.SetSize(width, height);
    view_.SetPosition((desktop_width_ - width) / 2, (desktop_height_ - height) / 2);
    view_.Show();
  } else if (SDL_GetWindowFlags(view_.window()) & SDL_WINDOW_MINIMIZED) {
    SDL_RestoreWindow(view_.window());
  }
  SDL_SetWindowInputFocus(view_.window());
  frames_pending_ = 3;
  chrome_dirty_ = true;
  // The program waits here: its window is drawn, but gets no messages until the answer.
  while (message_box_.is_open()) {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, frames_pending_ > 0 ? 5 : 100)) {
      do {
        HandleModalEvent(e);
        if (NeedsOwnFrame(e)) Render();
      } while (message_box_.is_open() && SDL_PollEvent(&e));
    }
    if (NeedsRender()) Render();
  }
  const bool own = box_own_window_;
  box_own_window_ = false;
  if (own) {
    view_.Hide();
    view_.SetFullScreen(emulated_full_screen_);
    if (WindowRecord* main = Main()) FollowWindow(*main);
  }
  repaint_all_ = true;
  frames_pending_ = 2;
  recorder_.MessageBoxAnswer(message_box_.answer());
  return message_box_.answer();
}

int SdlBackend::ScreenWidth() { return emulated_full_screen_ ? 640 : desktop_width_; }
int SdlBackend::ScreenHeight() { return emulated_full_screen_ ? 480 : desktop_height_; }

LONG SdlBackend::ChangeDisplay(const DEVMODEA* mode, DWORD flags) {
  const bool test = (flags & CDS_TEST) != 0;
  if (mode == nullptr) {
    if (!test) {
      display_bits_ = stored_bits_;
      if (emulated_full_screen_) {
        emulated_full_screen_ = false;
        view_.SetFullScreen(false);
        if (WindowRecord* w = Main()) FollowWindow(*w);
      }
      repaint_all_ = true;
    }
    return DISP_CHANGE_SUCCESSFUL;
  }
  const int bits =
      (mode->dmFields & DM_BITSPERPEL) ? static_cast<int>(mode->dmBitsPerPel) : display_bits_;
  const int width =
      (mode->dmFields & DM_PELSWIDTH) ? static_cast<int>(mode->dmPelsWidth) : ScreenWidth();
  const int height =
      (mode->dmFields & DM_PELSHEIGHT) ? static_cast<int>(mode->dmPelsHeight) : ScreenHeight();
  const bool small = width == 640 && height == 480;
  const bool desktop = width == desktop_width_ && height == desktop_height_;
  if ((!small && !desktop) || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    return DISP_CHANGE_BADMODE;
  }
  if (test) return DISP_CHANGE_SUCCESSFUL;
  display_bits_ = bits;
  if (flags & CDS_UPDATEREGISTRY) stored_bits_ = bits;
  // 640 × 480 is shown as the whole desktop, scaled; the real display mode never changes.
  const bool full = small && !desktop;
  if (full != emulated_full_screen_) {
    emulated_full_screen_ = full;
    view_.SetFullScreen(full);
    if (full && !x11_.WindowManagerRunning()) {
      SDL_Rect bounds{0, 0, desktop_width_, desktop_height_};
      SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(view_.window()), &bounds);
      x11_.MoveResize(view_.NativeId(), bounds.x, bounds.y, bounds.w, bounds.h);
    }
    if (!full) {
      if (WindowRecord* w = Main()) FollowWindow(*w);
    }
  }
  repaint_all_ = true;
  return DISP_CHANGE_SUCCESSFUL;
}

bool SdlBackend::DisplayMode(DWORD index, DEVMODEA* mode) {
  return OfferedDisplayMode(desktop_width_, desktop_height_, display_bits_, index, mode);
}

int SdlBackend::Metric(int index) {
  // The desktop's window manager draws caption and frame outside the SDL window: our window
  // is its client area plus the menu bar.
  return index == SM_CYMENU ? menu_bar_.RowHeight() : 0;
}

int SdlBackend::MenuItemWidth(std::string_view label) {
  return view_.is_open() ? menu_bar_.ItemWidth(label) : Backend::MenuItemWidth(label);
}

std::vector<ForeignWindow> SdlBackend::ForeignWindows() { return x11_.List(view_.NativeId()); }
void SdlBackend::RestoreForeignWindow(std::uint64_t id) { x11_.Restore(id); }
void SdlBackend::RaiseForeignWindow(std::uint64_t id) { x11_.Raise(id); }

WindowRecord* SdlBackend::Main() { return FindWindowRecord(main_); }

void SdlBackend::FollowWindow(const WindowRecord& w) {
  if (!view_.is_open()) return;
  view_.SetTitle(w.title);
  if (!view_.full_screen()) {
    view_.SetSize(w.outer.right - w.outer.left, w.outer.bottom - w.outer.top);
    view_.SetPosition(w.outer.left, w.outer.top);
  }
  if (w.visible && !view_.shown()) {
    view_.Show();
    SDL_SetWindowInputFocus(view_.window());
  } else if (!w.visible && view_.shown()) {
    view_.Hide();
  }
  repaint_all_ = true;
}

void SdlBackend::WindowCreated(HWND hwnd) {
  WindowRecord* w = FindWindowRecord(hwnd);
  if (main_ != nullptr || w == nullptr || w->foreign) return;
  main_ = hwnd;
  menu_bar_.CoverLabels(*w);
  // The platform gives a new top-level window the focus.
  reported_focus_ = true;
  FollowWindow(*w);
}

void SdlBackend::WindowDestroyed(HWND hwnd) {
  if (hwnd != main_) return;
  main_ = nullptr;
  view_.Hide();
}

void SdlBackend::WindowMoved(HWND hwnd) {
  if (hwnd != main_) return;
  if (WindowRecord* w = Main()) FollowWindow(*w);
}

void SdlBackend::SurfaceChanged(HWND hwnd) {
  if (hwnd == main_) content_dirty_ = true;
}

void SdlBackend::NonClientChanged(HWND hwnd) {
  if (hwnd == main_) chrome_dirty_ = true;
}

void SdlBackend::CursorMoved(int screen_x, int screen_y) {
  if (main_ != nullptr) {
    POINT origin{0, 0};
    ClientToScreen(main_, &origin);
    recorder_.CursorPlaced(screen_x - origin.x, screen_y - origin.y);
  }
  WindowRecord* w = Main();
  if (w == nullptr || !desktop_focus_ || GetFocus() != main_ || !view_.shown()) return;
  int width = 0, height = 0, points_w = 0, points_h = 0;
  view_.PixelSize(&width, &height);
  view_.Size(&points_w, &points_h);
  POINT origin{0, 0};
  ClientToScreen(main_, &origin);
  const PixelPoint at =
      WindowPixelOf(Layout(*w, width, height), screen_x - origin.x, screen_y - origin.y);
  int x = at.x, y = at.y;
  // Drawable pixels to the desktop's points, rounded up so that the pointer's pixel is this
  // one.
  if (width > 0 && height > 0 && (width != points_w || height != points_h)) {
    x = static_cast<int>((static_cast<std::int64_t>(x) * points_w + width - 1) / width);
    y = static_cast<int>((static_cast<std::int64_t>(y) * points_h + height - 1) / height);
  }
  SDL_WarpMouseInWindow(view_.window(), x, y);
}

void SdlBackend::DialogStep(HWND dialog) {
  if (!dialog_.active()) {
    chrome_dirty_ = true;
    frames_pending_ = 2;
  }
  for (int id : dialog_.Step(dialog)) {
    const DialogSpec* layout = DialogTemplate(dialog);
    if ((id != IDOK && id != IDCANCEL) || layout == nullptr) continue;
    std::vector<std::pair<std::string, int>> boxes;
    for (const auto& c : layout->controls) {
      if (c.kind == ControlKind::kCheckBox && !c.script_name.empty()) {
        boxes.emplace_back(c.script_name, DialogCheck(dialog, c.id) ? 1 : 0);
      }
    }
    recorder_.DialogAnswer(Now(), boxes, id == IDOK);
  }
}

std::string SdlBackend::ProfilePath(std::string_view file_name) {
  const std::filesystem::path folder = ConfigFolder() / "hotaru";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return (folder / std::string(file_name)).string();
}

void SdlBackend::Trace(std::string_view kind, std::string_view details) {
  if (!trace_file_) return;
  std::fprintf(trace_file_.get(), "%u %.*s%s%.*s\n", Now(), static_cast<int>(kind.size()),
               kind.data(), details.empty() ? "" : " ", static_cast<int>(details.size()),
               details.data());
  std::fflush(trace_file_.get());
}

bool SdlBackend::TraceEnabled(std::string_view) { return trace_file_ != nullptr; }

void SdlBackend::BeforeExit(int status) {
  Trace("exit", std::to_string(status));
  recorder_.Finish(Now());
  if (!options_.dump_at_exit_path.empty() && dump_provider_) {
    if (std::FILE* f = std::fopen(options_.dump_at_exit_path.c_str(), "w")) {
      std::fprintf(f, "%s\n", dump_provider_().c_str());
      std::fclose(f);
    }
  }
  Shutdown();
}

}  // namespace platform::sdl
