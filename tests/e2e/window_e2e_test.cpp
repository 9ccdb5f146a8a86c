// The window through the runner: a new game waiting for a click while menu commands, the
// close button, captures and dumps come from the input script.
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
using hotaru_test::ReadLines;
using hotaru_test::RunProgram;
using hotaru_test::ScenarioBuilder;

class WindowE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-window-" + std::to_string(rd()));
    fs::create_directories(dir_ / "src");
    std::ofstream(dir_ / "hotaru.ini") << "[蛍]\nHotaruDir=" << dir_.string() << "\n";
    // Scenario 0, label 1: wait for a click, then end.
    ScenarioBuilder s;
    s.Label(0).Code({0x20}).Label(1).Code({0x26, 0x20});
    const auto scenario = s.Build();
    std::ofstream(dir_ / "src" / "KNJ_ALL.KNJ", std::ios::binary) << std::string(72, '\0');
    std::ofstream(dir_ / "src" / "000.SCN", std::ios::binary)
        .write(reinterpret_cast<const char*>(scenario.data()),
               static_cast<std::streamsize>(scenario.size()));
    std::string out;
    ASSERT_EQ(
        RunProgram(HOTARU_TOOL_PATH,
                   {"pack", "build", (dir_ / "ZEN2DATA.PAK").string(),
                    (dir_ / "src" / "KNJ_ALL.KNJ").string(), (dir_ / "src" / "000.SCN").string()},
                   {}, &out),
        0)
        << out;
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Run(const std::string& script, std::vector<std::string> extra = {}) {
    std::ofstream(dir_ / "input.txt") << script;
    std::vector<std::string> args = {
        "--ini",   (dir_ / "hotaru.ini").string(), "--trace",   (dir_ / "trace.txt").string(),
        "--input", (dir_ / "input.txt").string(),  "--new-game"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(HOTARU_HEADLESS_PATH, args, {}, &output_);
  }
  // Trace lines of one kind, without their times.
  std::vector<std::string> Trace(const std::string& kind) {
    std::vector<std::string> out;
    for (const std::string& line : ReadLines(dir_ / "trace.txt")) {
      const std::string rest = line.substr(line.find(' ') + 1);
      if (rest.rfind(kind + " ", 0) == 0) out.push_back(rest);
    }
    return out;
  }
  std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  fs::path dir_;
  std::string output_;
};

TEST_F(WindowE2E, MenuCommandsCloseQuestionShotAndDumpDuringAWait) {
  const std::string shot = (dir_ / "shot.png").string();
  const std::string dump = (dir_ / "dump.json").string();
  ASSERT_EQ(Run("at 100 menu 40005\n"
                "at 200 shot " +
                shot +
                "\n"
                "at 250 dump " +
                dump +
                "\n"
                "at 300 menu 40050\n+0 msgbox cancel\n"
                "at 400 close\n+0 msgbox cancel\n"
                "at 500 click 10 10\n"),
            1)
      << output_;
  const auto sizes = Trace("size");
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back(), "size 960x600 restored");
  const std::string quit =
      "msgbox \"Vela Story Series Vol.2 「蛍」\" \"終了します。\\nよろしいですか？\" cancel";
  EXPECT_EQ(Trace("msgbox"), (std::vector<std::string>{quit, quit}));
  const std::string json = Read(dump);
  EXPECT_NE(json.find("\"ScreenMode\":40005"), std::string::npos) << json;
  EXPECT_NE(json.find("\"ClientWidth\":960"), std::string::npos) << json;
  // The capture is the 960 × 600 client area: width and height in the PNG header.
  const std::string png = Read(shot);
  ASSERT_GE(png.size(), 24u);
  auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) |
           (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(be32(16), 960);
  EXPECT_EQ(be32(20), 600);
  EXPECT_EQ(Trace("exit"), (std::vector<std::string>{"exit 1"}));
}

TEST_F(WindowE2E, QuitAnsweredOkEndsTheRunAndUntilEndsAWaitWithThree) {
  EXPECT_EQ(Run("at 300 close\n+0 msgbox ok\n"), 1) << output_;
  EXPECT_EQ(ReadLines(dir_ / "trace.txt").back(), "300 exit 1");
  EXPECT_EQ(Run("", {"--until", "1000"}), 3) << output_;
  EXPECT_EQ(ReadLines(dir_ / "trace.txt").back(), "1000 exit 3");
}

}  // namespace
