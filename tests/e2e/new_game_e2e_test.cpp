// A new game end to end: hotaru-headless --new-game on a pack made with hotaru-tool, the
// script's work visible in the trace and in the state dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/scenario_builder.h"

namespace {

namespace fs = std::filesystem;
using hotaru_test::Bytes;
using hotaru_test::ReadLines;
using hotaru_test::RunProgram;
using hotaru_test::ScenarioBuilder;

class NewGameE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-newgame-" + std::to_string(rd()));
    fs::create_directories(dir_ / "src");
    std::ofstream(dir_ / "hotaru.ini") << "[蛍]\nHotaruDir=" << dir_.string() << "\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Packs the font and scenario 000 into ZEN2DATA.PAK with the pack tool.
  void Pack(const Bytes& scenario) {
    const fs::path font = dir_ / "src" / "KNJ_ALL.KNJ";
    const fs::path scn = dir_ / "src" / "000.SCN";
    std::ofstream(font, std::ios::binary) << std::string(72, '\0');
    std::ofstream(scn, std::ios::binary)
        .write(reinterpret_cast<const char*>(scenario.data()),
               static_cast<std::streamsize>(scenario.size()));
    std::string out;
    ASSERT_EQ(RunProgram(HOTARU_TOOL_PATH,
                         {"pack", "build", (dir_ / "ZEN2DATA.PAK").string(), font.string(),
                          scn.string()},
                         {}, &out),
              0)
        << out;
  }
  int Run(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--ini",      (dir_ / "hotaru.ini").string(),
                                     "--trace",    (dir_ / "trace.txt").string(),
                                     "--new-game", "--trace-ops",
                                     "--dump-at-exit", (dir_ / "dump.json").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(HOTARU_HEADLESS_PATH, args, {}, &output_);
  }
  // The trace without times.
  std::vector<std::string> Trace(const std::string& kind) {
    std::vector<std::string> out;
    for (const std::string& line : ReadLines(dir_ / "trace.txt")) {
      const std::string rest = line.substr(line.find(' ') + 1);
      if (rest.rfind(kind + " ", 0) == 0) out.push_back(rest);
    }
    return out;
  }
  std::string Dump() {
    std::ifstream in(dir_ / "dump.json");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // Byte `at` of the game state record in the dump.
  int StateByte(const std::string& dump, std::size_t at) {
    const std::size_t start = dump.find("\"state\":\"") + 9;
    return std::stoi(dump.substr(start + 2 * at, 2), nullptr, 16);
  }

  fs::path dir_;
  std::string output_;
};

TEST_F(NewGameE2E, PlaysFromScenarioZeroLabelOneUntilTheScriptEnds) {
  ScenarioBuilder s;
  s.Label(0).Code({0x4B, 3, 1, 0x20});
  s.Label(1).Code({0x4B, 5, 42, 0x4C, 5, 1, 0x90, 7, 0x20});
  Pack(s.Build());
  ASSERT_EQ(Run({}), 1) << output_;
  EXPECT_EQ(Trace("op"), (std::vector<std::string>{"op 0 514 set 3 1", "op 0 517 end",
                                                   "op 0 518 set 5 42", "op 0 521 add 5 1",
                                                   "op 0 524 seen 7", "op 0 526 end"}));
  const std::string dump = Dump();
  EXPECT_EQ(StateByte(dump, 60 + 3), 1);     // the entry routine ran
  EXPECT_EQ(StateByte(dump, 60 + 101), 1);   // and said so
  EXPECT_EQ(StateByte(dump, 60 + 5), 43);
  EXPECT_EQ(StateByte(dump, 60 + 40), 0x80);  // scenario 7 seen
  EXPECT_EQ(StateByte(dump, 42), 0);          // scenario 0 was loaded
  EXPECT_NE(dump.find("\"ScriptStop\":1"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\"GamePhase\":4"), std::string::npos) << dump;
  // Skipping is withdrawn when play ends.
  const auto menu = Trace("menu");
  ASSERT_FALSE(menu.empty());
  EXPECT_EQ(menu.back(), "menu 40030 grayed");
  EXPECT_EQ(Trace("exit"), (std::vector<std::string>{"exit 1"}));
}

TEST_F(NewGameE2E, ADamagedScenarioEndsTheProgramWithItsName) {
  ScenarioBuilder s;
  s.Label(0).Code({0x20}).Label(1).Code({0x40, 0x7F});
  Pack(s.Build());
  ASSERT_EQ(Run({}), 1) << output_;
  EXPECT_EQ(Trace("msgbox"),
            (std::vector<std::string>{
                "msgbox \"終了します\" \"シナリオが壊れています : 000.SCN\" ok"}));
}

}  // namespace
