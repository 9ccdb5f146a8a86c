// Sound tests: the program's window on the headless backend with the CD device open, track
// files and sound files written into the data folder, time passing on the virtual clock.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/message_pump.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "sound/cd_audio.h"
#include "support/audio_files.h"
#include "support/scenario_fixture.h"

namespace hotaru_test {

class SoundTest : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    Start("");
  }
  // Starts again with this input script: the window, its 60 ms timer, the CD device open.
  void Start(const std::string& script, platform::headless::Options options = {}) {
    options.trace_ops = true;
    RestartBackend(options, script);
    ASSERT_TRUE(OpenWindow());
    SetTimer(core::Window.MainWindow, 1, 60, nullptr);
    core::Settings.Music = core::Settings.Pcm = 1;
    sound::CdOpen(0);
  }
  // Lets time pass on the virtual clock, pumping as the game's waits do.
  void PumpUntil(DWORD ms) {
    while (GetTickCount() < ms) core::PumpMessage();
  }
  // The number of trace lines so far: a mark to read the lines after it.
  std::size_t Mark() { return backend().trace_lines().size(); }
  // The details of one kind's lines after the mark, without times; `polls` false leaves out
  // the CD's status polls.
  std::vector<std::string> Details(const std::string& kind, std::size_t mark = 0,
                                   bool polls = true) {
    std::vector<std::string> out;
    const auto& lines = backend().trace_lines();
    for (std::size_t i = mark; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      const std::size_t kind_at = line.find(' ') + 1;
      const std::size_t details_at = line.find(' ', kind_at);
      if (line.compare(kind_at, details_at - kind_at, kind) != 0) continue;
      std::string details = details_at == std::string::npos ? "" : line.substr(details_at + 1);
      if (!polls && details.rfind("status", 0) == 0) continue;
      out.push_back(std::move(details));
    }
    return out;
  }
};

}  // namespace hotaru_test
