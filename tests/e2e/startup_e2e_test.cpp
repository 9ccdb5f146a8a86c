// The runner end to end: start-up and shutdown on archives made with the pack tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using hotaru_test::ReadLines;
using hotaru_test::RunProgram;

const std::string kCaption = "\"Vela Story Series Vol.2 「蛍」\"";

class StartupE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-e2e-" + std::to_string(rd()));
    fs::create_directories(dir_ / "src");
    ini_ = dir_ / "hotaru.ini";
    trace_ = dir_ / "trace.txt";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Packs the named files (written into src/ first) into ZEN2DATA.PAK in the data folder.
  void Pack(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<std::string> args = {"pack", "build", (dir_ / "ZEN2DATA.PAK").string()};
    for (const auto& [name, bytes] : files) {
      Write(dir_ / "src" / name, bytes);
      args.push_back((dir_ / "src" / name).string());
    }
    std::string out;
    ASSERT_EQ(RunProgram(HOTARU_TOOL_PATH, args, {}, &out), 0) << out;
  }
  void WriteIni(const std::string& extra = "") {
    Write(ini_, "[蛍]\nHotaruDir=" + dir_.string() + "\n" + extra);
  }
  int Run(std::vector<std::string> args, const fs::path& cwd = {}) {
    // Start-up and shutdown alone: the game itself is not run.
    args.insert(args.begin(), {"--ini", ini_.string(), "--trace", trace_.string(), "--no-game"});
    std::string out;
    int status = RunProgram(HOTARU_HEADLESS_PATH, args, cwd, &out);
    output_ = out;
    return status;
  }
  // The trace lines of the kinds start-up is about (message boxes, other windows, the
  // display, the exit).
  std::vector<std::string> Trace() {
    std::vector<std::string> out;
    for (const auto& line : ReadLines(trace_)) {
      const auto kind_start = line.find(' ') + 1;
      const std::string kind = line.substr(kind_start, line.find(' ', kind_start) - kind_start);
      if (kind == "msgbox" || kind == "window" || kind == "display" || kind == "exit") {
        out.push_back(line);
      }
    }
    return out;
  }

  fs::path dir_, ini_, trace_;
  std::string output_;
  const std::string font_ = std::string(72, '\0');
};

TEST_F(StartupE2E, NormalStartAndEndExitsWithOneAndNoMessage) {
  Pack({{"KNJ_ALL.KNJ", font_}});
  WriteIni();
  EXPECT_EQ(Run({}), 1) << output_;
  EXPECT_EQ(Trace(), (std::vector<std::string>{"0 exit 1"}));
}

TEST_F(StartupE2E, FatalDataErrorsShowTheirMessageAndExitWithOne) {
  struct Case {
    const char* what;
    std::string archive;  // empty: no archive
    std::string message;
  } cases[] = {
      {"no archive", "", "ファイルが開けません : "},
      {"wrong magic", "VELAPACX\0\0", "ファイルが違います : "},
      {"no font", "pack", "ファイルが見つかりません[PACK] : KNJ_ALL.KNJ"},
  };
  for (const auto& c : cases) {
    fs::remove(dir_ / "ZEN2DATA.PAK");
    if (c.archive == "pack") {
      Pack({{"OTHER.DAT", "x"}});
    } else if (!c.archive.empty()) {
      Write(dir_ / "ZEN2DATA.PAK", std::string(c.archive.data(), 10));
    }
    WriteIni();
    EXPECT_EQ(Run({}), 1) << c.what << output_;
    auto trace = Trace();
    ASSERT_EQ(trace.size(), 2u) << c.what;
    EXPECT_EQ(trace[0].rfind("0 msgbox \"終了します\" \"" + c.message, 0), 0u)
        << c.what << ": " << trace[0];
    EXPECT_EQ(trace[1], "0 exit 1");
  }
}

TEST_F(StartupE2E, LooseFontStandsInForAPackWithoutOne) {
  Pack({{"OTHER.DAT", "x"}});
  Write(dir_ / "knj_all.knj", font_);
  WriteIni();
  EXPECT_EQ(Run({}), 1) << output_;
  EXPECT_EQ(Trace(), (std::vector<std::string>{"0 exit 1"}));
}

TEST_F(StartupE2E, RunningCopyIsRaisedAndTheSecondEndsWithZero) {
  struct Case {
    std::string window;
    bool found;
  } cases[] = {
      {"Vela Story Series Vol.2 「蛍」－ほたる－", true},
      {"!Vela Story Series Vol.2 「蛍」－ほたる－", true},         // minimised
      {"Vela Story Series Vol.2 「蛍」－ほたる－ [debug]", true},  // longer title
      {"Vela Story Series Vol.2 「蛍」", false},                   // shorter
      {"vela story series vol.2 「蛍」－ほたる－", false},         // case differs
  };
  Pack({{"KNJ_ALL.KNJ", font_}});
  WriteIni();
  for (const auto& c : cases) {
    int status = Run({"--window", "Terminal", "--window", c.window});
    auto trace = Trace();
    if (!c.found) {
      EXPECT_EQ(status, 1) << c.window;
      EXPECT_EQ(trace, (std::vector<std::string>{"0 exit 1"})) << c.window;
      continue;
    }
    EXPECT_EQ(status, 0) << c.window;
    std::string title = c.window[0] == '!' ? c.window.substr(1) : c.window;
    std::vector<std::string> expected = {"0 msgbox " + kCaption + " \"既に実行されています\" ok"};
    if (c.window[0] == '!') expected.push_back("0 window restore \"" + title + "\"");
    expected.push_back("0 window raise \"" + title + "\"");
    expected.push_back("0 exit 0");
    EXPECT_EQ(trace, expected);
  }
}

TEST_F(StartupE2E, WithoutIniFileSettingsTakeTheirDefaultsAndDataIsTheCurrentFolder) {
  Pack({{"KNJ_ALL.KNJ", font_}});
  fs::remove(ini_);
  const fs::path dump = dir_ / "state.json";
  EXPECT_EQ(Run({"--dump-at-exit", dump.string()}, dir_), 1) << output_;
  std::ifstream in(dump);
  std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* field :
       {"\"DataDir\":\"\"", "\"Music\":1", "\"Pcm\":1", "\"Skip\":1", "\"Mmv\":1", "\"Low\":0",
        "\"GamePhase\":0", "\"ScreenMode\":40003", "\"ClientWidth\":640", "\"ClientHeight\":400"}) {
    EXPECT_NE(json.find(field), std::string::npos) << field << " in " << json;
  }
  // 4206 bytes of state as hex digits.
  auto start = json.find("\"state\":\"") + 9;
  EXPECT_EQ(json.find('"', start) - start, 8412u);
  EXPECT_FALSE(fs::exists(ini_));  // reading never creates the file
}

TEST_F(StartupE2E, ColourDepthOfferIsHonouredOnATrueColourDisplay) {
  Pack({{"KNJ_ALL.KNJ", font_}});
  WriteIni();
  const std::string question =
      "0 msgbox " + kCaption +
      " \"当ソフトは２５６色モードでの起動を推奨します。\\n２５６色モードに変更しますか？\" ";
  Write(dir_ / "input.txt", "at 0 msgbox cancel\n");
  EXPECT_EQ(Run({"--display-bits", "32", "--input", (dir_ / "input.txt").string()}), 1);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"0 display set bits=8 test -> 0",
                                               question + "cancel", "0 exit 1"}));

  EXPECT_EQ(Run({"--display-bits", "32"}), 1);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"0 display set bits=8 test -> 0", question + "ok",
                                               "0 display set bits=8 store -> 0", "0 exit 1"}));

  EXPECT_EQ(Run({"--display-bits", "8"}), 1);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"0 exit 1"}));
}

TEST_F(StartupE2E, BadCommandLinesAndScriptsAreRefusedWithUsage) {
  WriteIni();
  Write(dir_ / "bad.txt", "at 0 fly\n");
  const std::vector<std::vector<std::string>> bad = {{"--until"},
                                                     {"--screen", "10x10"},
                                                     {"--display-bits", "7"},
                                                     {"--bogus"},
                                                     {"--input", (dir_ / "bad.txt").string()},
                                                     {"--input", (dir_ / "missing.txt").string()}};
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), 2) << args[0];
    EXPECT_NE(output_.find("hotaru-headless:"), std::string::npos) << output_;
  }
}

}  // namespace
