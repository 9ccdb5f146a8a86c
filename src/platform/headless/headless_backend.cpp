#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "platform/common/audio_devices.h"
#include "platform/common/display_modes.h"
#include "platform/common/input_state.h"
#include "platform/common/png_writer.h"
#include "platform/common/window_table.h"

namespace platform::headless {
namespace {

std::uint64_t SteadyNanoseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

// Non-client metrics of the emulated desktop (a classic 640 × 480-era theme).
int ClassicMetric(int index) {
  switch (index) {
    case SM_CYCAPTION: return 19;
    case SM_CYMENU: return 19;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    default: return 0;
  }
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

HeadlessBackend::HeadlessBackend(Options options, InputScript script)
    : options_(std::move(options)),
      script_(std::move(script)),
      realtime_start_ns_(SteadyNanoseconds()),
      display_bits_(options_.display_bits),
      screen_width_(options_.screen_width),
      screen_height_(options_.screen_height) {
  if (!options_.trace_path.empty()) {
    trace_file_.reset(std::fopen(options_.trace_path.c_str(), "w"));
  }
  std::uint64_t id = 1;
  for (const auto& title : options_.foreign_titles) {
    bool iconic = false;
    std::string t = title;
    // "--window" titles may carry a leading "!" to mark the window as minimised.
    if (!t.empty() && t[0] == '!') {
      iconic = true;
      t.erase(0, 1);
    }
    foreign_.push_back(ForeignWindow{id++, t, iconic});
  }
}

HeadlessBackend::~HeadlessBackend() = default;

std::uint32_t HeadlessBackend::Now() {
  if (options_.realtime) {
    return static_cast<std::uint32_t>((SteadyNanoseconds() - realtime_start_ns_) / 1000000);
  }
  return clock_ms_;
}

void HeadlessBackend::PollEvents() {
  const std::uint32_t now = Now();
  if (options_.until_ms && static_cast<std::int64_t>(now) >= *options_.until_ms) {
    ::ExitProcess(3);
  }
  // Scripted key releases first: a release at time t happens before actions at t.
  for (auto it = pending_releases_.begin(); it != pending_releases_.end();) {
    if (it->first <= now) {
      PressKey(it->second, false);
      it = pending_releases_.erase(it);
    } else {
      ++it;
    }
  }
  RunDueActions();
  if (wave_playing_ && wave_end_ && static_cast<std::int32_t>(now - *wave_end_) >= 0) {
    wave_playing_ = false;
    wave_end_.reset();
    WaveBufferPlayed();
  }
}

void HeadlessBackend::Idle(std::optional<std::uint32_t> next_timer_due, bool,
                           std::optional<std::uint32_t> deadline) {
  // The virtual clock moves one millisecond at a time whatever the deadline: every tick is
  // seen, so the trace is the same with or without it.
  if (!options_.realtime) {
    ++clock_ms_;
    return;
  }
  // Real time: sleep until something can happen, at most a few milliseconds.
  std::uint32_t now = Now();
  std::uint32_t wake = now + 5;
  if (deadline && static_cast<std::int32_t>(*deadline - wake) < 0) wake = *deadline;
  if (next_timer_due && static_cast<std::int32_t>(*next_timer_due - wake) < 0) {
    wake = *next_timer_due;
  }
  if (next_action_ < script_.actions.size()) {
    wake = std::min(wake, std::max(now, script_.actions[next_action_].time));
  }
  if (static_cast<std::int32_t>(wake - now) > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(wake - now));
  }
}

void HeadlessBackend::RunDueActions() {
  while (next_action_ < script_.actions.size() && script_.actions[next_action_].time <= Now()) {
    // Advance first: an action may end the run or re-enter the pump.
    const ScriptAction action = script_.actions[next_action_++];
    RunAction(action);
  }
}

void HeadlessBackend::PressKey(int vk, bool down) {
  SetKeyState(vk, down);
  // Key messages reach us only while one of our windows has the focus.
  if (GetFocus() != nullptr) {
    PostInput(down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk), 0);
  }
}

void HeadlessBackend::RunAction(const ScriptAction& a) {
  HWND main = InputWindow();
  switch (a.kind) {
    case ActionKind::Click:
    case ActionKind::RightClick: {
      if (a.has_position) PostInput(WM_MOUSEMOVE, 0, PointParam(a.x, a.y));
      const bool left = a.kind == ActionKind::Click;
      LPARAM at = a.has_position ? PointParam(a.x, a.y) : 0;
      PostInput(left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? 0x0001 : 0x0002, at);
      PostInput(left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
      break;
    }
    case ActionKind::Move: MouseAt(a.x, a.y); break;
    case ActionKind::Wheel:
      PostInput(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(a.id * WHEEL_DELTA)) << 16, 0);
      break;
    case ActionKind::Key:
      PressKey(a.key, true);
      pending_releases_.emplace_back(a.time + a.hold_ms, a.key);
      break;
    case ActionKind::Menu:
      if (main) PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(a.id), 0);
      break;
    case ActionKind::MessageBox: armed_answers_.push_back(a.ok ? IDOK : IDCANCEL); break;
    case ActionKind::Dialog: dialog_answers_.push_back(DialogAnswer{a.boxes, a.ok}); break;
    case ActionKind::Close:
      if (main) PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case ActionKind::Activate: {
      auto own = OwnTopLevelWindows();
      SetFocusWindow(a.ok && !own.empty() ? own.front() : nullptr);
      for (HWND hwnd : own) {
        SendMessageA(hwnd, WM_ACTIVATEAPP, a.ok ? TRUE : FALSE, 0);
        SendMessageA(hwnd, WM_ACTIVATE, a.ok ? WA_ACTIVE : WA_INACTIVE, 0);
      }
      break;
    }
    case ActionKind::Shot:
      if (!WriteShot(a.path)) Trace("error", "shot " + Quoted(a.path) + " not written");
      break;
    case ActionKind::Dump: WriteDump(a.path); break;
  }
}

int HeadlessBackend::ShowMessageBox(HWND, std::string_view text, std::string_view caption,
                                    UINT type) {
  // Answers scripted for this very moment are armed before the box looks for one.
  RunDueActions();
  int answer = IDOK;
  if (!armed_answers_.empty()) {
    answer = armed_answers_.front();
    armed_answers_.erase(armed_answers_.begin());
  }
  if ((type & 0xF) == MB_YESNO) answer = answer == IDOK ? IDYES : IDNO;
  message_boxes_.push_back(
      MessageBoxRecord{Now(), std::string(caption), std::string(text), type, answer});
  return answer;
}

void HeadlessBackend::LoadScript(InputScript script) {
  script_ = std::move(script);
  next_action_ = 0;
  while (next_action_ < script_.actions.size() && script_.actions[next_action_].time < Now()) {
    ++next_action_;
  }
}

void HeadlessBackend::QueueMessageBoxAnswer(int answer) {
  armed_answers_.insert(armed_answers_.begin(), answer);
}

bool HeadlessBackend::TakeDialogAnswer(DialogAnswer* answer) {
  RunDueActions();
  if (dialog_answers_.empty()) return false;
  *answer = dialog_answers_.front();
  dialog_answers_.erase(dialog_answers_.begin());
  return true;
}

void HeadlessBackend::DialogStep(HWND dialog) {
  DialogAnswer answer;
  if (TakeDialogAnswer(&answer)) {
    const DialogSpec* layout = DialogTemplate(dialog);
    for (const auto& [name, value] : answer.boxes) {
      bool known = false;
      for (const auto& c : layout->controls) {
        if (c.script_name == name) {
          SetDialogCheck(dialog, c.id, value != 0);
          known = true;
        }
      }
      if (!known) Trace("error", "dialog has no box " + Quoted(name));
    }
    PressDialogButton(dialog, answer.ok ? IDOK : IDCANCEL);
    return;
  }
  // With no answer left anywhere in the script, the dialog is cancelled rather than left
  // open for ever.
  for (std::size_t i = next_action_; i < script_.actions.size(); ++i) {
    if (script_.actions[i].kind == ActionKind::Dialog) return;
  }
  Trace("dialog", "no scripted answer: cancel");
  PressDialogButton(dialog, IDCANCEL);
}

LONG HeadlessBackend::ChangeDisplay(const DEVMODEA* mode, DWORD flags) {
  if (mode == nullptr) {
    if (!(flags & CDS_TEST)) {
      display_bits_ = options_.display_bits;
      screen_width_ = options_.screen_width;
      screen_height_ = options_.screen_height;
    }
    return DISP_CHANGE_SUCCESSFUL;
  }
  int bits =
      (mode->dmFields & DM_BITSPERPEL) ? static_cast<int>(mode->dmBitsPerPel) : display_bits_;
  int width = (mode->dmFields & DM_PELSWIDTH) ? static_cast<int>(mode->dmPelsWidth) : screen_width_;
  int height =
      (mode->dmFields & DM_PELSHEIGHT) ? static_cast<int>(mode->dmPelsHeight) : screen_height_;
  const bool size_offered = (width == 640 && height == 480) ||
                            (width == options_.screen_width && height == options_.screen_height);
  const bool bits_offered = bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!size_offered || !bits_offered) return DISP_CHANGE_BADMODE;
  if (!(flags & CDS_TEST)) {
    display_bits_ = bits;
    screen_width_ = width;
    screen_height_ = height;
  }
  return DISP_CHANGE_SUCCESSFUL;
}

bool HeadlessBackend::DisplayMode(DWORD index, DEVMODEA* mode) {
  // The emulated screen's own size is the one it was started with.
  return OfferedDisplayMode(options_.screen_width, options_.screen_height, display_bits_, index,
                            mode);
}

int HeadlessBackend::Metric(int index) { return ClassicMetric(index); }

std::vector<ForeignWindow> HeadlessBackend::ForeignWindows() { return foreign_; }

void HeadlessBackend::RestoreForeignWindow(std::uint64_t id) {
  for (auto& w : foreign_) {
    if (w.id == id) {
      w.iconic = false;
      Trace("window", "restore " + Quoted(w.title));
    }
  }
}

void HeadlessBackend::RaiseForeignWindow(std::uint64_t id) {
  for (auto& w : foreign_) {
    if (w.id == id) Trace("window", "raise " + Quoted(w.title));
  }
}

bool HeadlessBackend::LocalTime(SYSTEMTIME* out) {
  if (options_.realtime) return false;
  // 1998-07-09 (a Thursday) 19:00:00.000, moved on by the virtual clock.
  constexpr std::int64_t kStart = 900010800;  // seconds since 1970, as UTC
  const std::int64_t ms = static_cast<std::int64_t>(Now());
  std::time_t seconds = static_cast<std::time_t>(kStart + ms / 1000);
  std::tm t{};
  gmtime_r(&seconds, &t);
  *out = SYSTEMTIME{static_cast<WORD>(t.tm_year + 1900), static_cast<WORD>(t.tm_mon + 1),
                    static_cast<WORD>(t.tm_wday),        static_cast<WORD>(t.tm_mday),
                    static_cast<WORD>(t.tm_hour),        static_cast<WORD>(t.tm_min),
                    static_cast<WORD>(t.tm_sec),         static_cast<WORD>(ms % 1000)};
  return true;
}

std::string HeadlessBackend::ProfilePath(std::string_view file_name) {
  if (!options_.ini_path.empty()) return options_.ini_path;
  return std::string(file_name);
}

void HeadlessBackend::Trace(std::string_view kind, std::string_view details) {
  std::string line = std::to_string(Now()) + " " + std::string(kind);
  if (!details.empty()) line += " " + std::string(details);
  if (trace_file_) {
    std::fputs(line.c_str(), trace_file_.get());
    std::fputc('\n', trace_file_.get());
    std::fflush(trace_file_.get());
  }
  trace_lines_.push_back(std::move(line));
}

bool HeadlessBackend::TraceEnabled(std::string_view kind) {
  if (kind == "op") return options_.trace_ops;
  if (kind == "present") return options_.trace_presents;
  return true;
}

void HeadlessBackend::SetDumpProvider(std::function<std::string()> provider) {
  dump_provider_ = std::move(provider);
}

void HeadlessBackend::WriteDump(const std::string& path) {
  std::string json = dump_provider_ ? dump_provider_() : std::string("{}");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "w"), &std::fclose);
  if (!f) {
    Trace("error", "dump " + Quoted(path) + " not written");
    return;
  }
  std::fputs(json.c_str(), f.get());
  std::fputc('\n', f.get());
}

bool HeadlessBackend::WriteShot(const std::string& path) {
  auto own = OwnTopLevelWindows();
  WindowRecord* w = own.empty() ? nullptr : FindWindowRecord(own.front());
  if (w == nullptr || w->client_width <= 0 || w->client_height <= 0) return false;
  return WritePngRgb(path, w->client_width, w->client_height, ClientRgb(*w));
}

void HeadlessBackend::BeforeExit(int status) {
  if (!exiting_) {
    exiting_ = true;
    Trace("exit", std::to_string(status));
    if (!options_.dump_at_exit_path.empty()) WriteDump(options_.dump_at_exit_path);
    if (trace_file_) std::fflush(trace_file_.get());
  }
  if (options_.exit_throws) {
    exiting_ = false;
    throw ProcessExit{status};
  }
}

}  // namespace platform::headless
