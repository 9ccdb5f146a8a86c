// The reset between two games in one process: the demo played in process into its story
// leaves state in every subsystem, and ResetGameState gives each subsystem's struct its
// start values back, keeping only the choices made before start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/format_text.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "flow/game_flow.h"
#include "platform/backend.h"
#include "resources/pack_archive.h"
#include "scenario/engine_state.h"
#include "shell/startup.h"
#include "sound/sound_state.h"
#include "support/platform_fixture.h"
#include "text/text_state.h"

namespace {

namespace fs = std::filesystem;

// A subsystem's struct and whether it holds its start values. For flow and shell these keep
// the choices the test made before start-up, as a reset does.
struct Subsystem {
  const char* name;
  std::function<bool()> at_start;
  // Nothing in it but those choices: no game can change it.
  bool choices_only = false;
};

class GameResetTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    // The demo's pack and tracks in a folder of the test's own, named as the command line
    // names it: the ini's folder has no data.
    game_ = dir() / "game";
    fs::create_directories(game_);
    for (const auto& entry : fs::directory_iterator(HOTARU_DEMO_DATA_DIR)) {
      const std::string name = entry.path().filename().string();
      if (name == "ZEN2DATA.PAK" || name.starts_with("track"))
        fs::create_symlink(entry.path(), game_ / name);
    }
    WriteText(ini_path(), "[蛍]\nHotaruDir=/nowhere\n");
  }
  void TearDown() override {
    // The choices made before start-up outlive a reset: the next test must not find them.
    flow::Flow = flow::FlowState{};
    shell::Shell = shell::ShellState{};
    PlatformTest::TearDown();
  }

  // As the program's main does before WinMain.
  void ChooseOnTheCommandLine() {
    shell::Shell.DataDirOverride = game_.string();
    shell::Shell.StartFullScreen = true;
    flow::Flow.StartPoint = flow::StartAt::kNewGame;
  }

  // The window created and the game run as WinMain does, from the new game on, with a
  // click every two seconds (an arrow down before each takes the first option of a choice);
  // four seconds before `until_ms` the in-game menu opens its backlog, and at `until_ms` the
  // run is cut off inside the viewer.
  void PlayUntil(std::uint32_t until_ms) {
    platform::headless::Options options;
    options.until_ms = until_ms;
    std::string input;
    for (std::uint32_t t = 2000; t + 4000 < until_ms; t += 2000) {
      input += "at " + std::to_string(t - 500) + " key down\n";
      input += "at " + std::to_string(t) + " click\n";
    }
    input += "at " + std::to_string(until_ms - 3500) + " rclick\n";
    input += "at " + std::to_string(until_ms - 1500) + " click 240 190\n";
    RestartBackend(options, input);
    ASSERT_TRUE(OpenWindow());
    try {
      SendMessageA(core::Window.MainWindow, WM_USER, 0, 0);
      ADD_FAILURE() << "the game ended before it was cut off";
    } catch (const platform::ProcessExit& e) {
      EXPECT_EQ(e.status, 3);
    }
  }

  std::vector<Subsystem> Subsystems() const {
    const std::string game = game_.string();
    return {
        {"core::Settings", [] { return core::Settings == core::SettingsState{}; }},
        {"core::Window", [] { return core::Window == core::WindowState{}; }},
        {"core::Input", [] { return core::Input == core::InputState{}; }},
        {"core::Screen", [] { return core::Screen == core::ScreenState{}; }},
        {"core::Scenario", [] { return core::Scenario == core::ScenarioState{}; }},
        {"core::Phase", [] { return core::Phase == core::PhaseState{}; }},
        {"core::Memory", [] { return core::Memory == core::MemoryState{}; }},
        {"core::Formatter", [] { return core::Formatter == core::FormatterState{}; }},
        {"resources::Pack", [] { return resources::Pack == resources::PackState{}; }},
        {"sound::Sound", [] { return sound::Sound == sound::SoundState{}; }},
        {"text::Text", [] { return text::Text == text::TextState{}; }},
        {"scenario::Engine", [] { return scenario::Engine == scenario::EngineState{}; }},
        {"flow::Flow",
         [] { return flow::Flow == flow::FlowState{.StartPoint = flow::StartAt::kNewGame}; }, true},
        {"shell::Shell",
         [game] {
           return shell::Shell ==
                  shell::ShellState{.DataDirOverride = game, .StartFullScreen = true};
         }},
    };
  }

  fs::path game_;
};

TEST_F(GameResetTest, AGamePlayedIntoItsStoryIsTakenBackWholeAndTheStartChoicesKept) {
  ChooseOnTheCommandLine();
  // Past the river's wave scene in the second chapter, in the backlog: the CD plays, a
  // sound is loaded, the typewriter and the waves have run, the viewer holds its texts.
  PlayUntil(150000);
  ASSERT_EQ(core::Phase.GamePhase, core::kPhasePlaying);
  ASSERT_EQ(core::GameState[core::field::kCurrentScenario], 1);
  EXPECT_NE(text::Text.WaveMotions[0], text::WaveMotion{});
  EXPECT_NE(text::Text.ViewMessages, 0u);
  EXPECT_NE(sound::Sound.PcmBlock, 0u);

  // What the game cut off between two waits leaves at start values: the interpreter's
  // levels (unwound), the formatter's kana mode (every format begins at 0) and a running
  // copy (only WinMain looks for one).
  scenario::Engine.EventLevels = 2;
  core::Formatter.KanaMode = 1;
  shell::Shell.RunningCopy = core::Window.MainWindow;
  for (const Subsystem& s : Subsystems()) {
    if (s.choices_only) continue;
    EXPECT_FALSE(s.at_start()) << s.name << " holds nothing of the game";
  }

  // As start-up does: the block table emptied, then the reset.
  core::MemInit();
  shell::ResetGameState();
  for (const Subsystem& s : Subsystems())
    EXPECT_TRUE(s.at_start()) << s.name << " keeps something of the game";
}

}  // namespace
