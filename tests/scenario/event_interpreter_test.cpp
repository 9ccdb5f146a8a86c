// The event script interpreter: control flow, flags, levels, and what it does with damaged
// scripts and with a block released under a level.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "core/flags.h"
#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/scenario_state.h"
#include "flow/game_flow.h"
#include "platform/backend.h"
#include "scenario/event_interpreter.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"
#include "visuals/background_table.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::kCodeStart;
using hotaru_test::ScenarioBuilder;
using Lines = std::vector<std::string>;

const std::string kBroken = "シナリオが壊れています : 001.SCN";

class EventInterpreterTest : public hotaru_test::ScenarioTest {
 protected:
  // Scenario 1 with `code` at label 1 (offset 514, then label 0: an end) and message 0
  // (a glyph), freshly loaded, run once.
  void RunCode(const Bytes& code) {
    ScenarioBuilder s;
    s.Label(1).Code(code).Label(0).Code({0x20});
    s.Message(0, {0x00, 0x26, 0xAF});
    Load(s);
    RunLabel(1, 1);
  }
  void Load(const ScenarioBuilder& s) {
    scenario::DropScenario(scenario::kNoScenario);
    WriteScenario(1, s);
  }
  // The op trace of the run so far, then forgotten.
  Lines TakeOps() {
    Lines ops = Ops();
    ops.erase(ops.begin(), ops.begin() + static_cast<long>(seen_ops_));
    seen_ops_ += ops.size();
    return ops;
  }
  // A block's lock count is 0 (its levels gave back every wire).
  static bool Unwired(core::MemHandle block) {
    GlobalLock(block);
    return GlobalUnlock(block) == FALSE;
  }

 private:
  std::size_t seen_ops_ = 0;
};

TEST_F(EventInterpreterTest, FlagJumpSkipsOrEndsAsTheFlagSays) {
  const Bytes stream = {0x41, 5, 3, 2, 0x20, 0x20, 0x4B, 5, 9, 0x20};
  SetFlag(5, 3);
  RunCode(stream);
  EXPECT_EQ(Flag(5), 9);
  EXPECT_EQ(TakeOps(), (Lines{"514 jeq 5 3 2", "520 set 5 9", "523 end"}));
  EXPECT_EQ(core::Scenario.ScriptStop, 1);
  EXPECT_EQ(scenario::EventPC(), 523);  // set at each fetch: the last instruction

  SetFlag(5, 4);
  RunCode(stream);
  EXPECT_EQ(Flag(5), 4);
  EXPECT_EQ(TakeOps(), (Lines{"514 jeq 5 3 2", "518 end"}));
}

TEST_F(EventInterpreterTest, FlagComparisonsAreUnsigned) {
  struct Case {
    std::uint8_t op;
    std::uint8_t flag;
    std::uint8_t value;
    bool taken;
  } cases[] = {
      {0x41, 7, 7, true},     {0x41, 7, 8, false},     {0x42, 7, 8, true},
      {0x42, 7, 7, false},    {0x43, 200, 100, true},  {0x43, 100, 100, false},
      {0x44, 100, 200, true}, {0x44, 200, 100, false}, {0x45, 100, 100, true},
      {0x45, 99, 100, false}, {0x46, 100, 100, true},  {0x46, 255, 0, false},
  };
  for (const Case& c : cases) {
    SetFlag(9, c.flag);
    SetFlag(6, 0);
    // Taken: over the end to "flag 6 = 1".
    RunCode({c.op, 9, c.value, 1, 0x20, 0x4B, 6, 1, 0x20});
    EXPECT_EQ(Flag(6), c.taken ? 1 : 0) << int{c.op} << " " << int{c.flag} << " " << int{c.value};
  }
}

TEST_F(EventInterpreterTest, JumpsBitTestsAndFlagArithmetic) {
  SetFlag(7, 100);
  SetFlag(8, 0x08);
  // 0x40 0 goes on; bit 3 of flag 8 is set; bit 9 of a byte is never set.
  RunCode({0x40, 0, 0x4C, 7, 200, 0x49, 8, 3, 1, 0x20, 0x49, 8, 9, 1, 0x4B, 10, 1, 0x20});
  EXPECT_EQ(Flag(7), 44);  // 300 modulo 256
  EXPECT_EQ(Flag(10), 1);
  EXPECT_EQ(TakeOps(), (Lines{"514 jump 0", "516 add 7 200", "519 jbit 8 3 1", "524 jbit 8 9 1",
                              "528 set 10 1", "531 end"}));
}

TEST_F(EventInterpreterTest, RandomFlagScalesTheDrawToTheRange) {
  // States whose first draw is 0, 128 and 255 (found with the generator itself).
  auto state_drawing = [](std::uint8_t wanted) {
    for (std::uint32_t s = 0; s < 65536; ++s) {
      core::Input.RandomState = static_cast<std::uint16_t>(s);
      if (core::Random(2) == wanted) return static_cast<std::uint16_t>(s);
    }
    ADD_FAILURE() << int{wanted};
    return std::uint16_t{0};
  };
  for (std::uint8_t r : {0, 128, 255}) {
    const std::uint16_t state = state_drawing(r);
    for (std::uint8_t n : {0, 1, 255}) {
      SetFlag(12, 77);
      core::Input.RandomState = state;  // the draw comes first in the run, before any stirring
      RunCode({0x93, 12, n, 0x20});
      EXPECT_EQ(Flag(12), r * n / 256) << int{r} << " " << int{n};
    }
  }
}

TEST_F(EventInterpreterTest, MarkSetsFlag115OnlyOnTheStepFromSixteenToSeventeen) {
  struct Case {
    const char* what;
    std::uint8_t first_bytes[3];  // flags 90, 91, 92
    std::uint8_t n;
    int flag115;
    std::uint8_t after[3];
  } cases[] = {
      {"16 to 17", {0xFF, 0xFF, 0x00}, 20, 1, {0xFF, 0xFF, 0x10}},
      {"17 stays 17", {0xFF, 0xFF, 0x10}, 20, 0, {0xFF, 0xFF, 0x10}},
      {"15 to 16", {0xFF, 0x7F, 0x00}, 15, 0, {0xFF, 0xFF, 0x00}},
      {"n of 80 sets nothing", {0xFF, 0xFF, 0x00}, 80, 0, {0xFF, 0xFF, 0x00}},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 11; ++i) SetFlag(static_cast<std::uint8_t>(90 + i), 0);
    for (int i = 0; i < 3; ++i) SetFlag(static_cast<std::uint8_t>(90 + i), c.first_bytes[i]);
    SetFlag(115, 9);
    RunCode({0x96, c.n, 0x20});
    EXPECT_EQ(Flag(115), c.flag115) << c.what;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(Flag(static_cast<std::uint8_t>(90 + i)), c.after[i]) << c.what;
    }
    EXPECT_EQ(Flag(100), 0) << c.what;  // the byte after the marks
  }
  RunCode({0x96, 79, 0x20});
  EXPECT_EQ(Flag(99), 0x80);
}

TEST_F(EventInterpreterTest, SeenMarkCoversScenariosBelow240Only) {
  RunCode({0x90, 3, 0x90, 239, 0x90, 240, 0x90, 255, 0x20});
  EXPECT_EQ(Flag(core::flag::kSeenScenarios), 0x08);
  EXPECT_EQ(Flag(69), 0x80);
  EXPECT_EQ(Flag(70), 0);
  EXPECT_EQ(Flag(71), 0);
}

TEST_F(EventInterpreterTest, OperandsAreConsumedAsTheTableSays) {
  RunCode({0x38, 5, 7, 0x38, 0, 9, 0xFF, 0x83, 1, 0x21, 3, 0x21, 0, 0x4B, 5, 1, 0x20});
  EXPECT_EQ(TakeOps(), (Lines{"514 show 5 7", "517 show 0 9", "520 byte 255", "521 skip83 1",
                              "523 sub 3", "525 sub 0"}));
  EXPECT_EQ(core::Scenario.ScriptStop, 1);  // 0x21 0 ends the level like 0x20
  EXPECT_EQ(Flag(5), 0);
}

TEST_F(EventInterpreterTest, CallWhoseSubroutineEndsLeavesTheCallerRunningToItsNextMessage) {
  ScenarioBuilder s;
  s.Label(0).Code({0x20});
  s.Label(1).Code({0x22, 2, 0x4B, 10, 1, 0x50, 0, 0x4B, 11, 1, 0x20});
  s.Label(2).Code({0x20});
  s.Message(0, {0x00, 0x26, 0xAF});
  Load(s);
  RunLabel(1, 1);
  EXPECT_EQ(Flag(10), 1);
  EXPECT_EQ(Flag(11), 0);
  EXPECT_EQ(core::Scenario.ScriptStop, 1);
  EXPECT_EQ(TakeOps(), (Lines{"515 call 2", "526 end", "517 set 10 1", "520 msg 0"}));
  EXPECT_TRUE(Unwired(core::Scenario.EventData));
}

TEST_F(EventInterpreterTest, ScenarioJumpRunsTheEntryRoutineAndGoesOnAtTheLabel) {
  ScenarioBuilder one;
  one.Label(0).Code({0x20}).Label(1).Code({0x24, 2, 3});
  Load(one);
  ScenarioBuilder two;
  two.Label(0).Code({0x4B, 20, 5, 0x20}).Label(3).Code({0x4B, 21, 6, 0x20});
  WriteScenario(2, two);
  RunLabel(1, 1);
  EXPECT_EQ(Flag(20), 5);
  EXPECT_EQ(Flag(21), 6);
  EXPECT_EQ(Flag(core::flag::kEntryRoutineRan), 1);
  EXPECT_EQ(scenario::CurrentScenario(), 2);
  EXPECT_TRUE(scenario::ScenarioSeen(core::GameState, 1));
  EXPECT_EQ(OpPlaces(), (Lines{"1 515", "2 514", "2 517", "2 518", "2 521"}));
  EXPECT_TRUE(Unwired(core::Scenario.EventData));
}

// A scenario jump inside a subroutine releases the block the caller reads. The caller must
// stop instead of reading on in the released block (which ASan would report).
TEST_F(EventInterpreterTest, ALevelWhoseBlockWasReleasedUnderItStops) {
  ScenarioBuilder one;
  one.Label(0).Code({0x20});
  one.Label(1).Code({0x22, 2, 0x4B, 11, 1, 0x20});
  one.Label(2).Code({0x24, 2, 1, 0x20});
  one.Label(3).Code({0x4B, 10, 1, 0x20});
  ScenarioBuilder two;
  two.Label(0).Code({0x20}).Label(1).Code({0x4B, 10, 2, 0x20});
  WriteScenario(2, two);

  // Into another scenario: the caller in scenario 1 does not go on.
  Load(one);
  RunLabel(1, 1);
  EXPECT_EQ(Flag(10), 2);
  EXPECT_EQ(Flag(11), 0);
  EXPECT_EQ(core::Scenario.ScriptStop, 1);
  const Lines places = OpPlaces();
  EXPECT_EQ(places.back(), "2 518");
  EXPECT_TRUE(Unwired(core::Scenario.EventData));

  // Into the same scenario nothing is released: the caller goes on to its own end.
  one.Label(2).Code({0x24, 1, 3});
  Load(one);
  SetFlag(10, 0);
  RunLabel(1, 1);
  EXPECT_EQ(Flag(10), 1);
  EXPECT_EQ(Flag(11), 1);
  EXPECT_TRUE(Unwired(core::Scenario.EventData));
}

TEST_F(EventInterpreterTest, ChoiceOfNothingIsSkippedAndMoreThanTwelveOptionsReadTwelve) {
  // Each offered choice is answered with its first option: down highlights it, enter takes it.
  Restart("at 1000 key down\nat 1200 key enter\nat 3000 key down\nat 3200 key enter\n");
  ScenarioBuilder s;
  s.Label(1).Code({0x25, 3, 0, 0x4B, 13, 1, 0x20});
  Bytes thirteen = {0x25, 3, 13};
  for (int i = 0; i < 13; ++i) thirteen.insert(thirteen.end(), {0, 0});
  s.Label(2).Code(thirteen).Code({0x20});
  // The first option jumps by 3, over "flag 12 = 1".
  s.Label(3).Code({0x25, 3, 2, 0, 3, 0, 0, 0x4B, 12, 1, 0x4B, 14, 1, 0x20});
  s.Label(0).Code({0x20});
  s.Message(0, {0x00, 0x26, 0xAF}).Message(3, {0x00, 0x27, 0xAF});
  Load(s);

  SetFlag(core::flag::kChosenOption, 7);
  RunLabel(1, 1);
  EXPECT_EQ(Flag(core::flag::kChosenOption), 255);
  EXPECT_EQ(Flag(13), 1);
  EXPECT_EQ(TakeOps(), (Lines{"514 choice 3 0", "517 set 13 1", "520 end"}));

  RunLabel(1, 2);
  Lines ops = TakeOps();
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[0].substr(0, 18), "521 choice 3 13 0 ");
  // After the 12th pair come the 13th pair's two bytes, as one-byte instructions.
  EXPECT_EQ(ops[1], "548 byte 0");
  EXPECT_EQ(ops[2], "549 byte 0");
  EXPECT_EQ(ops[3], "550 end");

  RunLabel(1, 3);
  EXPECT_EQ(Flag(12), 0);
  EXPECT_EQ(Flag(14), 1);
}

TEST_F(EventInterpreterTest, ArmedWaveScenesTakeTheNextMessageOnce) {
  SetFlag(core::flag::kWaveHorizontal, 1);
  SetFlag(core::flag::kWaveVertical, 1);
  RunCode({0x51, 0, 0x51, 0, 0x20});
  EXPECT_EQ(Flag(core::flag::kWaveHorizontal), 0);
  EXPECT_EQ(Flag(core::flag::kWaveVertical), 0);
  EXPECT_EQ(TakeOps(), (Lines{"514 msg_wipe 0", "516 msg_wipe 0", "518 end"}));
}

TEST_F(EventInterpreterTest, DamagedScriptsEndTheProgramInsteadOfReadingOutsideTheBlock) {
  struct Case {
    const char* what;
    Bytes code;
    Bytes message0;
  } cases[] = {
      {"running off the end", {0x4B, 1, 1}, {0xAF}},
      {"an operand past the end", {0x4B, 1, 1, 0x41, 5}, {0xAF}},
      {"a jump past the end", {0x40, 0x7F, 0x20}, {0xAF}},
      {"a flag jump past the end", {0x41, 0, 0, 0x60, 0x20}, {0xAF}},
      {"a message without its end", {0x50, 0, 0x20}, {0x00, 0x26}},
      {"a message cut inside a code", {0x50, 0, 0x20}, {0xC4, 1, 2}},
      {"a choice option without its end", {0x25, 1, 1, 0, 0, 0x20}, {0x00}},
      {"a wave scene's message without its end", {0x21, 1, 0, 0, 0, 0x20}, {0x00}},
      {"a call without end", {0x22, 1}, {0xAF}},
      {"a scenario whose entry enters itself", {0x24, 1, 1}, {0xAF}},
  };
  for (const Case& c : cases) {
    ScenarioBuilder s;
    // Message 0 last: nothing follows it in the block.
    s.Message(1, {0xAF}).Message(0, c.message0);
    // Label 0 re-enters this scenario in the last case; label 1 holds the code.
    s.Label(0).Label(1).Code(c.code);
    Load(s);
    EXPECT_EQ(ExpectFatal([&] { RunLabel(1, 1); }), kBroken) << c.what;
    Restart("");
  }
}

TEST_F(EventInterpreterTest, AnEndlessLoopPumpsUntilTheRunnerStopsIt) {
  Restart("", 300);
  ScenarioBuilder s;
  s.Label(1).Code({0x40, 0x00, 0x40, 0xFE});
  Load(s);
  try {
    RunLabel(1, 1);
    ADD_FAILURE() << "the loop ended";
  } catch (const platform::ProcessExit& e) {
    EXPECT_EQ(e.status, 3);
  }
  const Lines ops = Ops();
  ASSERT_GT(ops.size(), 250u);  // one virtual millisecond per instruction's pump
  EXPECT_EQ(ops[0], "514 jump 0");
  EXPECT_EQ(ops[1], "516 jump -2");
  EXPECT_EQ(ops.back(), "516 jump -2");
}

TEST_F(EventInterpreterTest, OpTraceLineNamesScenarioOffsetMnemonicAndOperands) {
  RunCode({0x41, 5, 3, 0xFE});
  ASSERT_FALSE(TraceOf("op").empty());
  EXPECT_EQ(TraceOf("op")[0], "1 514 jeq 5 3 -2");
}

TEST_F(EventInterpreterTest, EndingSequencePlaysItsPagesThenWaitsForAClick) {
  // Each of the 14 pages takes 9.6 s of pauses plus its fades; a click during the pages
  // does not end the wait that follows them.
  for (std::uint8_t background : {1, 6, 7, 8, 9, 12, 15, 16, 17, 19, 24, 27, 45, 11}) {
    const authoring::PictureImage image{8, 8, std::vector<std::uint8_t>(64, 2)};
    Bytes file;
    ASSERT_EQ(authoring::BuildPictureFile(image, authoring::PictureOptions{}, &file), "");
    const int picture = visuals::BackgroundRecord(background)[0];
    WriteBytes(
        dir() / ("S" + std::string(picture < 10 ? "0" : "") + std::to_string(picture) + ".VGR"),
        file);
  }
  Restart("at 100000 click\nat 180000 click\n");
  core::Scenario.ResumeValid = 1;
  RunCode({0x95, 4, 0x4B, 10, 1, 0x20});
  EXPECT_EQ(Flag(10), 1);
  EXPECT_EQ(core::Scenario.ResumeValid, 0);
  EXPECT_EQ(core::Phase.GamePhase, core::kPhaseEnding);
  std::string set_line;
  for (const std::string& line : backend().trace_lines()) {
    if (line.find(" op 1 516 set") != std::string::npos) set_line = line;
  }
  ASSERT_FALSE(set_line.empty());
  // After the click: a fade out of the dimmed scene, 800 ms, then the music's fade of 32
  // steps of 30 ms (the ending's track is marked playing even without a track file).
  const long at = std::stol(set_line);
  EXPECT_GE(at, 180000 + 800 + 32 * 30);
  EXPECT_LT(at, 180000 + 3000);
}

}  // namespace
