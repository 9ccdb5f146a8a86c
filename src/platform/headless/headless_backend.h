// The headless backend: a virtual clock, scripted input and message-box answers, a trace of
// what the platform was asked to do, PNG captures and state dumps. The same data and input
// give the same trace on every machine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/input_script.h"

namespace platform::headless {

struct Options {
  std::string ini_path;                     // the profile file (--ini)
  std::string trace_path;                   // --trace; empty: the trace is kept in memory only
  std::optional<std::uint32_t> until_ms;    // --until
  std::string dump_at_exit_path;            // --dump-at-exit
  std::vector<std::string> foreign_titles;  // --window, in order
  int display_bits = 8;                     // --display-bits
  int screen_width = 1024;                  // --screen
  int screen_height = 768;
  bool realtime = false;        // --realtime
  bool trace_ops = false;       // --trace-ops: one "op" line per script instruction
  bool trace_presents = false;  // --trace-presents: one "present" line per present
  // --cd-error: the MCIERR_ value with which the CD device refuses to open (0 opens).
  MCIERROR cd_open_error = 0;
  // In-process tests: ExitProcess throws platform::ProcessExit instead of ending.
  bool exit_throws = false;
};

struct MessageBoxRecord {
  std::uint32_t time;
  std::string caption;
  std::string text;
  UINT type;
  int answer;
};

class HeadlessBackend final : public Backend {
 public:
  explicit HeadlessBackend(Options options, InputScript script = {});
  ~HeadlessBackend() override;

  // Backend
  std::uint32_t Now() override;
  void PollEvents() override;
  void Idle(std::optional<std::uint32_t> next_timer_due, bool timing,
            std::optional<std::uint32_t> deadline) override;
  void DialogStep(HWND dialog) override;
  int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                     UINT type) override;
  int ScreenWidth() override { return screen_width_; }
  int ScreenHeight() override { return screen_height_; }
  int DisplayBits() override { return display_bits_; }
  LONG ChangeDisplay(const DEVMODEA* mode, DWORD flags) override;
  bool DisplayMode(DWORD index, DEVMODEA* mode) override;
  int Metric(int index) override;
  std::vector<ForeignWindow> ForeignWindows() override;
  void RestoreForeignWindow(std::uint64_t id) override;
  void RaiseForeignWindow(std::uint64_t id) override;
  bool LocalTime(SYSTEMTIME* out) override;
  std::string ProfilePath(std::string_view file_name) override;
  void Trace(std::string_view kind, std::string_view details) override;
  bool TraceEnabled(std::string_view kind) override;
  void BeforeExit(int status) override;
  MCIERROR CdOpenError() override { return options_.cd_open_error; }
  bool PlayTrackFile(const std::string& path) override;
  void StopTrack() override;
  bool TrackPlaying() override;
  void SetTrackVolume(WORD, WORD) override {}
  bool PlayWave(const WAVEFORMATEX& format, const void* data, std::size_t bytes,
                std::uint32_t plays) override;
  void StopWave() override;
  void SetWaveVolume(WORD, WORD) override {}

  // The game's state as one JSON object, for dumps; set by the runner.
  void SetDumpProvider(std::function<std::string()> provider);
  // Replaces the input script (tests that build the script after the backend); actions
  // before the current time never run.
  void LoadScript(InputScript script);
  // Answers the next message box (IDOK or IDCANCEL), ahead of the script's answers.
  void QueueMessageBoxAnswer(int answer);

  const Options& options() const { return options_; }
  const std::vector<MessageBoxRecord>& message_boxes() const { return message_boxes_; }
  const std::vector<std::string>& trace_lines() const { return trace_lines_; }
  // Moves the virtual clock on by `ms` at once (tests).
  void AdvanceClock(std::uint32_t ms) { clock_ms_ += ms; }

  // The settings dialog's scripted answers, oldest first: box name to 0/1, and OK/Cancel.
  struct DialogAnswer {
    std::vector<std::pair<std::string, int>> boxes;
    bool ok = true;
  };
  // False when no answer has been scripted yet.
  bool TakeDialogAnswer(DialogAnswer* answer);

  // Writes the main window's client area as shown (RGB) to a PNG file.
  bool WriteShot(const std::string& path);

 private:
  void RunDueActions();
  void RunAction(const ScriptAction& action);
  void WriteDump(const std::string& path);
  void PressKey(int vk, bool down);

  Options options_;
  InputScript script_;
  std::size_t next_action_ = 0;
  std::uint32_t clock_ms_ = 0;
  std::uint64_t realtime_start_ns_ = 0;
  int display_bits_;
  int screen_width_;
  int screen_height_;
  std::vector<int> armed_answers_;
  std::vector<DialogAnswer> dialog_answers_;
  std::vector<MessageBoxRecord> message_boxes_;
  std::vector<std::string> trace_lines_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace_file_{nullptr, &std::fclose};
  std::function<std::string()> dump_provider_;
  std::vector<ForeignWindow> foreign_;
  // Scripted key releases: (time, virtual key).
  std::vector<std::pair<std::uint32_t, int>> pending_releases_;
  bool exiting_ = false;
  // The virtual audio clock: when the track and the wave buffer playing end (none: not
  // playing, or a buffer that loops until it is reset).
  std::optional<std::uint32_t> track_end_;
  bool wave_playing_ = false;
  std::optional<std::uint32_t> wave_end_;
};

}  // namespace platform::headless
