// The in-game menu opened by a cancel press during play: its items by mouse, the questions
// they ask, and where play goes afterwards.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "core/flags.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/settings.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"

namespace {

using hotaru_test::ScenarioBuilder;

// The menu's items stack from (224, 80), 34 pixels apart; the answers of its questions
// stand at x 272, yes at y 166 and no at y 200.
std::string ClickItem(int item) { return "click 230 " + std::to_string(80 + 34 * item + 13); }
const std::string kClickYes = "click 280 175";
const std::string kClickNo = "click 280 210";

constexpr const char* kChoice = R"(
L1:
    choice "<g40>{nl}" "<g50>{nl}" first "<g51>{nl}" second
first:
    set 10 1
    end
second:
    set 10 2
    end
)";

// A resume point between two flag settings, then a page.
constexpr const char* kPage = R"(
L1:
    set 11 1
    set_resume
    set 11 2
    msg "<g40>{wait_page}"
    set 12 1
    end
)";

class InGameMenuTest : public hotaru_test::ScenarioTest {
 protected:
  void Play(const char* source, const std::string& input, bool resume_valid = false) {
    Restart(input, 200000);
    core::Scenario.ResumeValid = resume_valid ? 1 : 0;
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    core::Settings.Mmv = 0;
    core::Phase.GamePhase = core::kPhasePlaying;
    WriteScenarioFile(1, ScenarioBuilder::Assemble(source));
    RunLabel(1, 1);
  }
  static std::uint8_t Pixel(int x, int y) { return ShownPixel(x, y); }
  std::uint32_t FlagSetAt(int flag) const {
    const std::string wanted = " set " + std::to_string(flag) + " ";
    for (const auto& line : TimedTraceOf("op")) {
      if (line.details.find(wanted) != std::string::npos) return line.ms;
    }
    return 0;
  }
};

TEST_F(InGameMenuTest, DuringAChoiceTheReturnItemIsDisabledAndTheEndItemAsksFirst) {
  Play(kChoice,
       "at 2000 rclick\nat 4500 " + ClickItem(4) + "\nat 5000 " + ClickItem(5) + "\nat 7000 " +
           kClickNo + "\nat 9500 " + ClickItem(5) + "\nat 11500 " + kClickYes + "\n",
       true);
  EXPECT_EQ(core::Scenario.ScriptStop, 1);
  EXPECT_EQ(Flag(10), 0);
  EXPECT_EQ(Flag(core::flag::kChosenOption), 255);
  EXPECT_EQ(core::Scenario.ResumeValid, 1);  // given back after the choice
}

TEST_F(InGameMenuTest, TheReturnItemAsksThenRestartsPlayAtTheResumePoint) {
  // No: back to the menu; cancel leaves it and the page waits again.
  Play(kPage,
       "at 1000 rclick\nat 3500 " + ClickItem(4) + "\nat 6000 " + kClickNo + "\nat 9000 rclick\n" +
           "at 11000 click\n",
       true);
  EXPECT_GT(FlagSetAt(12), 11000u);
  // Yes: play stops here, to start again at the restored position.
  Play(kPage, "at 1000 rclick\nat 3500 " + ClickItem(4) + "\nat 6000 " + kClickYes + "\n", true);
  EXPECT_EQ(core::Scenario.ScriptStop, 2);
  EXPECT_EQ(FlagSetAt(12), 0u);
}

TEST_F(InGameMenuTest, HidingTheTextShowsTheSceneUntilAClickThenThePageWaitsAgain) {
  Play(kPage, "at 1000 rclick\nat 3500 " + ClickItem(0) + "\nat 5000 click\nat 7000 click\n");
  // The click that ended the hiding did not end the page's wait.
  EXPECT_GT(FlagSetAt(12), 7000u);
  bool undimmed = false;
  for (const auto& p : TimedTraceOf("present")) {
    if (p.ms > 3500 && p.ms < 5000 && p.details == "all") undimmed = true;
  }
  EXPECT_TRUE(undimmed);
  EXPECT_EQ(Pixel(16, 10), 15);  // the page drawn again
}

// The load item on slot 0 after its question, by what the slot holds. A new game starts at
// scenario 0, label 1; a finished game keeps its persistent flags; the history starts empty.
TEST_F(InGameMenuTest, TheLoadItemRestoresAGameInProgressOrStartsANewOne) {
  struct Case {
    const char* name;
    bool file;
    std::uint8_t finished;           // flag 103 of the save
    std::uint8_t scenario;           // where play starts again
    std::uint8_t persistent, local;  // flags 30 and 5 afterwards
  };
  const Case cases[] = {
      {"empty slot", false, 0, 0, 0, 0},
      {"finished game", true, 1, 0, 2, 0},
      {"game in progress", true, 0, 1, 2, 4},
  };
  const std::string input = "at 1000 rclick\nat 3500 " + ClickItem(1) +
                            "\nat 6000 click 300 100\nat 8000 " + kClickYes + "\n";
  for (const Case& c : cases) {
    WriteScenarioFile(0, ScenarioBuilder::Assemble("L0:\n    end\nL1:\n    end\n"));
    std::filesystem::remove(dir() / "ZEN2_00.SAV");
    if (c.file) {
      std::array<std::uint8_t, core::kGameStateSize> r{};
      r[core::field::kCurrentScenario] = 1;
      WriteScenarioFile(1, ScenarioBuilder::Assemble(kPage));
      scenario::EnterScenario(1, false);
      r[core::field::kEventPC] = static_cast<std::uint8_t>(scenario::LabelOffset(1));
      r[core::field::kEventPC + 1] = static_cast<std::uint8_t>(scenario::LabelOffset(1) >> 8);
      r[core::field::kBackgroundNumber] = r[core::field::kPcmNumber] = 255;
      r[core::field::kShownHPicture] = r[core::field::kShownVPicture] = 255;
      std::fill_n(r.begin() + core::field::kSlotPicture, 3, 255);
      r[core::field::kFlags + 103] = c.finished;
      r[core::field::kFlags + 30] = 2;
      r[core::field::kFlags + 5] = 4;
      core::SetU16(*reinterpret_cast<core::GameStateRecord*>(r.data()), core::field::kHistoryCount,
                   3);
      scenario::SealSaveRecord(r, SYSTEMTIME{1998, 7, 4, 9, 19, 5, 0, 0});
      WriteBytes(dir() / "ZEN2_00.SAV", hotaru_test::Bytes(r.begin(), r.end()));
    }
    Play(kPage, input);
    EXPECT_EQ(core::Scenario.ScriptStop, 2) << c.name;
    EXPECT_EQ(scenario::CurrentScenario(), c.scenario) << c.name;
    EXPECT_EQ(Flag(30), c.persistent) << c.name;
    EXPECT_EQ(Flag(5), c.local) << c.name;
    EXPECT_EQ(core::GetU16(core::GameState, core::field::kHistoryCount), c.scenario == 1 ? 3 : 0)
        << c.name;
    if (c.scenario == 0) {
      EXPECT_EQ(scenario::EventPC(), scenario::LabelOffset(1)) << c.name;
    }
  }
}

TEST_F(InGameMenuTest, TheSaveItemWritesTheMessagesStartWithoutTheFinishedRequest) {
  Play(kPage, "at 1000 rclick\nat 3500 " + ClickItem(2) + "\nat 6000 click 300 220\nat 8000 " +
                  kClickYes + "\nat 10000 click\nat 12000 rclick\nat 14000 click\n");
  EXPECT_EQ(Flag(12), 1) << "play went on after the save";
  EXPECT_EQ(core::Scenario.LastUsedSlot, 1);
  std::array<std::uint8_t, core::kGameStateSize> r;
  ASSERT_TRUE(scenario::ReadSlotInfo(1).valid);
  hotaru_test::Bytes file = ReadBytes(dir() / "ZEN2_01.SAV");
  ASSERT_TRUE(scenario::UnsealSaveRecord(file));
  std::copy(file.begin(), file.end(), r.begin());
  EXPECT_EQ(r[core::field::kFlags + 11], 2) << "the state at the page's start";
  EXPECT_EQ(r[core::field::kFlags + 12], 0);
  EXPECT_EQ(r[core::field::kFlags + 114], 0);
}

}  // namespace
