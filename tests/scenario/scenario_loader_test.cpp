// The scenario loader: entering scenarios, the seen marks and the skip command, the entry
// routine, and the checks made when a scenario file is loaded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/flags.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::kCodeStart;
using hotaru_test::ScenarioBuilder;

class ScenarioLoaderTest : public hotaru_test::ScenarioTest {
 protected:
  // A scenario whose entry routine sets flag `marker` to its number and ends.
  ScenarioBuilder Simple(std::uint8_t number, std::uint8_t marker = 0) {
    ScenarioBuilder s;
    s.Label(0).Code({0x4B, marker, number, 0x20});
    s.Message(0, {0x00, 0x26, 0xAF});
    return s;
  }
  // Enters `number` and answers the menu lines and SkipAllowed it left.
  std::pair<std::vector<std::string>, int> Enter(std::uint8_t number, bool run = false) {
    const std::size_t before = TraceOf("menu").size();
    scenario::EnterScenario(number, run);
    const auto menu = TraceOf("menu");
    return {std::vector<std::string>(menu.begin() + static_cast<long>(before), menu.end()),
            core::Scenario.SkipAllowed};
  }
  static bool Seen(std::uint8_t n) { return scenario::ScenarioSeen(core::GameState, n); }
};

using Menu = std::vector<std::string>;

TEST_F(ScenarioLoaderTest, AScenarioCountsAsSeenOnceLeftAndThenOffersSkipping) {
  for (std::uint8_t n : {5, 6}) WriteScenario(n, Simple(n));
  core::Input.SkipMode = 1;
  EXPECT_EQ(Enter(5), std::make_pair(Menu{"40030 grayed"}, 0));
  EXPECT_EQ(core::Input.SkipMode, 0);  // an unseen scenario ends skipping
  EXPECT_FALSE(Seen(5));               // not while it is first being read
  EXPECT_EQ(Enter(6), std::make_pair(Menu{"40030 grayed"}, 0));
  EXPECT_TRUE(Seen(5));
  EXPECT_FALSE(Seen(6));
  core::Input.SkipMode = 1;
  EXPECT_EQ(Enter(5), std::make_pair(Menu{"40030 enabled"}, 1));
  EXPECT_EQ(core::Input.SkipMode, 1);  // a seen one leaves it
  EXPECT_TRUE(Seen(6));
  EXPECT_EQ(scenario::CurrentScenario(), 5);
}

TEST_F(ScenarioLoaderTest, ReenteringTheLoadedScenarioMarksItAndRunsItsEntryAgainWithoutReload) {
  WriteScenario(5, Simple(5, 1));
  EXPECT_EQ(Enter(5), std::make_pair(Menu{"40030 grayed"}, 0));
  const core::MemHandle events = core::Scenario.EventData;
  const core::MemHandle messages = core::Scenario.MessageData;
  // Another file under the same name: only a reload would see it.
  WriteScenario(5, Simple(9, 1));
  EXPECT_EQ(Enter(5), std::make_pair(Menu{"40030 grayed"}, 0));
  EXPECT_TRUE(Seen(5));
  EXPECT_EQ(Enter(5, true), std::make_pair(Menu{"40030 enabled"}, 1));
  EXPECT_EQ(core::Scenario.EventData, events);
  EXPECT_EQ(core::Scenario.MessageData, messages);
  EXPECT_EQ(Flag(1), 5);  // the entry routine of the file first loaded
}

TEST_F(ScenarioLoaderTest, NothingIsMarkedFromNoScenarioAndHighNumbersAreNeverSeen) {
  for (std::uint8_t n : {7, 241}) WriteScenario(n, Simple(n));
  Enter(241);
  for (int byte = 0; byte < 30; ++byte) EXPECT_EQ(Flag(core::flag::kSeenScenarios + byte), 0);
  Enter(7);
  EXPECT_EQ(Enter(241), std::make_pair(Menu{"40030 grayed"}, 0));
  EXPECT_FALSE(Seen(241));
  EXPECT_TRUE(Seen(7));
  // The seen bits end at 239: flag 70 (the first seen-picture byte) stays untouched.
  EXPECT_EQ(Flag(70), 0);
}

TEST_F(ScenarioLoaderTest, EntryRoutineRunsWithoutStoppingTheCallerAndSetsFlag101) {
  ScenarioBuilder s;
  s.Label(0).Code({0x4B, 1, 11});
  const std::size_t end_at = s.Here();
  s.Code({0x20}).Label(1).Code({0x20});
  WriteScenario(3, s);
  for (std::uint16_t stop : {0, 2}) {
    scenario::DropScenario(scenario::kNoScenario);
    SetFlag(1, 0);
    SetFlag(core::flag::kEntryRoutineRan, 0);
    core::Scenario.ScriptStop = stop;
    scenario::EnterScenario(3, true);
    EXPECT_EQ(core::Scenario.ScriptStop, stop);
    EXPECT_EQ(Flag(1), 11);
    EXPECT_EQ(Flag(core::flag::kEntryRoutineRan), 1);
    // EventPC is left where the entry routine ended.
    EXPECT_EQ(scenario::EventPC(), end_at);
  }
}

TEST_F(ScenarioLoaderTest, DropReleasesBothBlocksUnlessTheScenarioIsKept) {
  WriteScenario(4, Simple(4));
  Enter(4);
  const int blocks = core::Memory.MemBlockCount;
  scenario::DropScenario(4);
  EXPECT_EQ(core::Memory.MemBlockCount, blocks);
  EXPECT_EQ(scenario::CurrentScenario(), 4);
  scenario::DropScenario(scenario::kNoScenario);
  EXPECT_EQ(core::Memory.MemBlockCount, blocks - 2);
  EXPECT_EQ(core::Scenario.EventData, 0u);
  EXPECT_EQ(core::Scenario.MessageData, 0u);
  EXPECT_EQ(scenario::CurrentScenario(), scenario::kNoScenario);
}

TEST_F(ScenarioLoaderTest, ScenariosDamagedFromTheStartAreRefusedWhenLoaded) {
  const ScenarioBuilder good = Simple(7);
  auto with = [](Bytes file, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<long>(at));
    return file;
  };
  const Bytes file = good.Build();
  struct Case {
    const char* what;
    Bytes file;
  } cases[] = {
      {"shorter than its header", {0x01, 0x00, 0x02}},
      {"empty", {}},
      {"event block beyond the end", with(file, 0, {0xFF, 0x0F})},
      {"message block beyond the end", with(file, 2, {0xFF, 0x0F})},
      {"event block smaller than its table",
       ScenarioBuilder::File(Bytes(kCodeStart - 1, 0), good.MessageBlock())},
      {"message block smaller than its table",
       ScenarioBuilder::File(good.EventBlock(), Bytes(100, 0))},
      {"a label just past the block",
       ScenarioBuilder(good)
           .LabelAt(200, static_cast<std::uint16_t>(good.EventBlock().size()))
           .Build()},
      {"a message past the block", ScenarioBuilder(good).MessageAt(255, 0xFFFF).Build()},
      {"blocks whose size fields are cut", with(Bytes(18, 0), 0, {0x01, 0x00, 0x01, 0x00})},
  };
  for (const Case& c : cases) {
    WriteScenarioFile(7, c.file);
    scenario::SetCurrentScenario(scenario::kNoScenario);
    EXPECT_EQ(ExpectFatal([] { scenario::EnterScenario(7, true); }),
              "シナリオが壊れています : 007.SCN")
        << c.what;
    EXPECT_EQ(core::Scenario.EventData, 0u) << c.what;
    Restart("");
  }
  // The same checks let a sound file through.
  WriteScenario(7, good);
  scenario::EnterScenario(7, true);
  EXPECT_EQ(Flag(0), 7);
}

TEST_F(ScenarioLoaderTest, ScenarioNumber255NamesNoScenario) {
  EXPECT_EQ(ExpectFatal([] { scenario::EnterScenario(255, false); }),
            "シナリオが壊れています : 255.SCN");
}

}  // namespace
