// A new game end to end: hotaru-headless --new-game on a pack made with hotaru-tool, the
// script's work visible in the trace and in the state dump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/runner_fixture.h"
#include "support/scenario_builder.h"

namespace {

using hotaru_test::ScenarioBuilder;

class NewGameE2E : public hotaru_test::RunnerTest {
 protected:
  // Plays scenario 000 to its end, with a dump at exit.
  int Play(const ScenarioBuilder& scenario) { return Play(scenario.Build()); }
  int Play(const hotaru_test::Bytes& scenario_file) {
    Pack(scenario_file);
    return Run("", {"--dump-at-exit", (dir() / "dump.json").string()});
  }
  // The trace lines of one kind as "KIND DETAILS", without times.
  std::vector<std::string> Lines(const std::string& kind) const {
    std::vector<std::string> out;
    for (const TraceLine& line : Trace(kind)) out.push_back(kind + ' ' + line.details);
    return out;
  }
};

TEST_F(NewGameE2E, PlaysFromScenarioZeroLabelOneUntilTheScriptEnds) {
  ASSERT_EQ(Play(ScenarioBuilder::Assemble(R"(
    L0:             ; the entry routine
        set 3 1
        end
    L1:             ; where a new game starts
        set 5 42
        add 5 1
        seen 7
        end
  )")),
            1)
      << output();
  EXPECT_EQ(Lines("op"),
            (std::vector<std::string>{"op 0 514 set 3 1", "op 0 517 end", "op 0 518 set 5 42",
                                      "op 0 521 add 5 1", "op 0 524 seen 7", "op 0 526 end"}));
  const std::string dump = ReadFile("dump.json");
  EXPECT_EQ(StateByte(dump, 60 + 3), 1);    // the entry routine ran
  EXPECT_EQ(StateByte(dump, 60 + 101), 1);  // and said so
  EXPECT_EQ(StateByte(dump, 60 + 5), 43);
  EXPECT_EQ(StateByte(dump, 60 + 40), 0x80);  // scenario 7 seen
  EXPECT_EQ(StateByte(dump, 42), 0);          // scenario 0 was loaded
  EXPECT_NE(dump.find("\"ScriptStop\":1"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\"GamePhase\":4"), std::string::npos) << dump;
  // Skipping is withdrawn when play ends.
  const auto menu = Lines("menu");
  ASSERT_FALSE(menu.empty());
  EXPECT_EQ(menu.back(), "menu 40030 grayed");
  EXPECT_EQ(Lines("exit"), (std::vector<std::string>{"exit 1"}));
}

TEST_F(NewGameE2E, ADamagedScenarioEndsTheProgramWithItsName) {
  ScenarioBuilder s;
  s.Label(0).Code({0x20}).Label(1).Code({0x40, 0x7F});
  ASSERT_EQ(Play(s), 1) << output();
  EXPECT_EQ(
      Lines("msgbox"),
      (std::vector<std::string>{"msgbox \"終了します\" \"シナリオが壊れています : 000.SCN\" ok"}));
}

}  // namespace
