// Choices, the item selector and the yes/no question, driven through the headless input
// script: mouse, arrow keys, decide and cancel on items laid out from their message texts.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/flags.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "scenario/choices.h"
#include "scenario/item_selector.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/text_state.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

// A question of one line, then three options of one glyph each. The options stack from
// y = 40 + 12 = 52, each 30 + 4 below the one before: rectangles 52…78, 86…112, 120…146,
// x 16…42.
constexpr const char* kThreeWayChoice = R"(
L1:
    choice "<g40><g41>{nl}" "<g50>{nl}" first "<g51>{nl}" second "<g52>{nl}" third
first:
    set 10 1
    end
second:
    set 10 2
    end
third:
    set 10 3
    end
)";
constexpr int kItemTop[3] = {52, 86, 120};

class ChoicesTest : public hotaru_test::ScenarioTest {
 protected:
  void Start(const std::string& script, bool mmv = false) {
    Restart(script, 200000, 8, 1920, 1200);
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    core::Settings.Mmv = mmv ? 1 : 0;
    core::SetU16(core::GameState, core::field::kHistoryCount, 0);  // a new play
    core::ClearPicture(core::Screen.VbufDIB);                      // the scene: black
  }
  void RunChoice() {
    WriteScenarioFile(1, ScenarioBuilder::Assemble(kThreeWayChoice));
    RunLabel(1, 1);
  }
  static std::uint8_t Pixel(int x, int y) { return ShownPixel(x, y); }
  // Where the input script must click to hit item i, at a client size of w × h.
  static std::string ClickOn(int i, int w = 640, int h = 400) {
    return "click " + std::to_string(20 * w / 640) + " " +
           std::to_string((kItemTop[i] + 13) * h / 400);
  }
  // Runs SelectItem on three own items (one glyph each, stacked from (16, 52)).
  std::int16_t SelectOwn(scenario::ItemSelection selection) {
    text::TextPen pen = text::LoadPen(core::GameState);
    pen.x = 16;
    pen.y = 52;
    text::StorePen(core::GameState, pen);
    selection.items = kOwnItems;
    return scenario::SelectItem(selection);
  }

  static constexpr std::uint8_t kItemA[] = {0x00, 50, 0xB0, 0xAF};
  static constexpr std::uint8_t kItemB[] = {0x00, 51, 0xB0, 0xAF};
  static constexpr std::uint8_t kItemC[] = {0x00, 52, 0xB0, 0xAF};
  static constexpr const std::uint8_t* kOwnItems[3] = {kItemA, kItemB, kItemC};
};

TEST_F(ChoicesTest, AChoiceIsMadeByClickByArrowsCyclingBothWaysAndByEnter) {
  struct Case {
    const char* what;
    std::string input;
    int chosen;
  };
  const Case cases[] = {
      {"click on the second option", "at 2000 " + ClickOn(1) + "\n", 1},
      {"click on the third option", "at 2000 " + ClickOn(2) + "\n", 2},
      {"up from nothing is the last", "at 2000 key up\nat 2300 key enter\n", 2},
      {"up from the first wraps to the last",
       "at 2000 key down\nat 2300 key up\nat 2600 key enter\n", 2},
      {"down wraps from the last to the first",
       "at 2000 key down\nat 2300 key down\nat 2600 key down\nat 2900 key down\n"
       "at 3200 key enter\n",
       0},
      {"left and right step as up and down",
       "at 2000 key right\nat 2300 key right\nat 2600 key left\nat 2900 key enter\n", 0},
  };
  for (const Case& c : cases) {
    Start(c.input);
    RunChoice();
    EXPECT_EQ(Flag(core::flag::kChosenOption), c.chosen) << c.what;
    EXPECT_EQ(Flag(10), c.chosen + 1) << c.what;
    // The question and the chosen option are in the history, in that order.
    EXPECT_EQ(core::GetU16(core::GameState, core::field::kHistoryCount), 2) << c.what;
    EXPECT_EQ(core::GameState[core::field::kHistory + 1], 0) << c.what;
    EXPECT_EQ(core::GameState[core::field::kHistory + 3], 1 + c.chosen) << c.what;
  }
}

TEST_F(ChoicesTest, TheChosenItemIsRedrawnHighlightedSoonAfterTheClick) {
  Start("at 2000 " + ClickOn(1) + "\n");
  RunChoice();
  // The option's glyph at (16, 86), in colour 15.
  std::uint32_t redrawn = 0;
  for (const auto& p : TimedTraceOf("present")) {
    if (p.ms >= 2000 && p.details == "16 86 42 112") redrawn = p.ms;
  }
  ASSERT_NE(redrawn, 0u);
  EXPECT_LE(redrawn - 2000, 5u);  // drawn in one piece: a few pumps after the click
  EXPECT_EQ(Pixel(16, 86), scenario::kItemHighlightColour);
  EXPECT_EQ(Pixel(16, 52), scenario::kItemColour);
}

TEST_F(ChoicesTest, ChoosingSkipsNothingAndKeepsTheResumePoint) {
  Start("at 2000 " + ClickOn(0) + "\n");
  core::Scenario.ResumeValid = 1;
  core::Input.SkipMode = 1;
  RunChoice();
  EXPECT_EQ(core::Scenario.ResumeValid, 1);
  EXPECT_EQ(core::Input.SkipMode, 0);
  EXPECT_EQ(Flag(10), 1);
}

TEST_F(ChoicesTest, ADisabledItemIsHighlightedButNotChosenAndDecideOnNothingDoesNothing) {
  // A click outside every item, then down twice (onto the disabled item) and enter, do not
  // answer; down and enter then take the third.
  Start(
      "at 1000 click 600 390\nat 1300 key down\nat 1600 key down\nat 1900 key enter\n"
      "at 2200 key down\nat 2500 key enter\n");
  const std::array<std::uint8_t, 3> enabled{1, 0, 1};
  scenario::ItemSelection selection;
  selection.enabled = enabled;
  EXPECT_EQ(SelectOwn(selection), 2);
  EXPECT_GT(GetTickCount(), 2500u);
  // A disabled item stays in colour 4 even while highlighted; the chosen one is 15.
  EXPECT_EQ(Pixel(16, 86), scenario::kItemColour);
  EXPECT_EQ(Pixel(16, 120), scenario::kItemHighlightColour);
}

TEST_F(ChoicesTest, SelectingFromNoItemsAnswersAtOnce) {
  Start("");
  const std::uint32_t before = GetTickCount();
  scenario::ItemSelection selection;
  EXPECT_EQ(scenario::SelectItem(selection), scenario::kNoItem);
  EXPECT_EQ(GetTickCount(), before);
  const std::uint8_t no_options[1] = {0};
  EXPECT_EQ(scenario::Choose(0, no_options, 0), scenario::kNoItem);
  EXPECT_EQ(Flag(core::flag::kChosenOption), 255);
}

TEST_F(ChoicesTest, ThePointerGlidesOntoTheItemInSixteenHalvingStepsUnlessTheReaderMovesIt) {
  // Item 1 is highlighted: the pointer goes to its left + 8, its vertical middle (24, 99),
  // from (0, 0) where the mouse starts.
  Start("at 3000 key enter\n", true);
  scenario::ItemSelection selection;
  selection.highlighted = 1;
  EXPECT_EQ(SelectOwn(selection), 1);
  std::vector<TimedLine> glide = TimedTraceOf("cursor");
  ASSERT_EQ(glide.size(), 17u);
  int ox = 0, oy = 0;
  ASSERT_EQ(std::sscanf(glide.back().details.c_str(), "%d %d", &ox, &oy), 2);
  ox -= 24;  // the client's origin on the screen
  oy -= 99;
  int x = 0, y = 0;
  for (int step = 0; step < 16; ++step) {
    x += (24 - x) / 2;
    y += (99 - y) / 2;
    EXPECT_EQ(glide[step].details, std::to_string(ox + x) + " " + std::to_string(oy + y)) << step;
    if (step > 0) {
      EXPECT_GE(glide[step].ms - glide[step - 1].ms, 10u) << step;
    }
  }

  // A move of the reader's own, a few steps into the glide, ends it; the pointer stays off
  // the items.
  const std::uint32_t midway = glide[3].ms;
  Start("at " + std::to_string(midway) +
            " move 300 300\nat 2000 key enter\nat 2500 key down\nat 3000 key enter\n",
        true);
  EXPECT_EQ(SelectOwn(selection), 0);
  EXPECT_LT(TimedTraceOf("cursor").size(), 16u);
}

TEST_F(ChoicesTest, HitTestsFollowTheClientSize) {
  struct Case {
    std::uint16_t command;
    int w, h;
  };
  for (const Case c : {Case{40001, 320, 200}, Case{40007, 1280, 800}}) {
    Start("at 100 menu " + std::to_string(c.command) + "\nat 2000 " + ClickOn(2, c.w, c.h) + "\n");
    RunChoice();
    EXPECT_EQ(core::Window.ClientWidth, c.w);
    EXPECT_EQ(Flag(10), 3) << c.w;
  }
}

TEST_F(ChoicesTest, CancelDuringAChoiceOpensTheMenuThenTheQuestionComesBack) {
  // The menu opens over the bare scene; a second cancel leaves it; the question and its
  // options are drawn again and the choice goes on.
  Start("at 2000 rclick\nat 3500 rclick\nat 5500 " + ClickOn(0) + "\n");
  core::Phase.GamePhase = core::kPhasePlaying;
  core::Scenario.ResumeValid = 1;
  WriteScenarioFile(1, ScenarioBuilder::Assemble(kThreeWayChoice));
  RunLabel(1, 1);
  EXPECT_EQ(Flag(10), 1);
  bool menu_drawn = false;
  bool page_back = false;
  for (const auto& p : TimedTraceOf("present")) {
    if (p.ms > 2000 && p.ms < 3500 && p.details.rfind("224 80 ", 0) == 0) menu_drawn = true;
    if (p.ms > 3500 && p.ms < 5500 && p.details == "16 52 42 146") page_back = true;
  }
  EXPECT_TRUE(menu_drawn);
  EXPECT_TRUE(page_back);
  EXPECT_EQ(Pixel(16, 10), 15);  // the question's first glyph, drawn again
  EXPECT_EQ(core::Scenario.ResumeValid, 1);
}

TEST_F(ChoicesTest, AYesNoQuestionAnswersYesOnlyForYes) {
  // The question at (224, 128) with its suffix; the answers from x 272 below it.
  static constexpr std::uint8_t kQuestion[] = {0x00, 40, 0xAF};
  struct Case {
    const char* what;
    std::string input;
    bool yes;
  };
  const Case cases[] = {
      {"yes clicked", "at 1000 click 280 175\n", true},
      {"no clicked", "at 1000 click 280 210\n", false},
      {"cancel", "at 1000 rclick\n", false},
      {"up from no, then enter", "at 1000 key up\nat 1300 key enter\n", true},
  };
  for (const Case& c : cases) {
    Start(c.input, true);
    EXPECT_EQ(scenario::AskYesNo(kQuestion), c.yes) << c.what;
    // The question is taken away again.
    EXPECT_EQ(Pixel(224, 128), 0) << c.what;
  }
}

}  // namespace
