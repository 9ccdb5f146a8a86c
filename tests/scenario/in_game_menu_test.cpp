// The in-game menu opened by a cancel press during play: its items by mouse, the questions
// they ask, and where play goes afterwards.
#include <gtest/gtest.h>

#include <string>

#include "core/flags.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
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
    scenario::ResumeValid = resume_valid ? 1 : 0;
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    shell::Mmv = 0;
    flow::GamePhase = flow::kPhasePlaying;
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
  EXPECT_EQ(scenario::ScriptStop, 1);
  EXPECT_EQ(Flag(10), 0);
  EXPECT_EQ(Flag(scenario::flag::kChosenOption), 255);
  EXPECT_EQ(scenario::ResumeValid, 1);  // given back after the choice
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
  EXPECT_EQ(scenario::ScriptStop, 2);
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

}  // namespace
