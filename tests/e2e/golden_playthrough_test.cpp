// The golden playthroughs: every tests/golden/NAME.input is played on the headless runner
// over the build's demo data, from the logo to the title's quit, and the summary of its run
// (golden_summary.h) must equal the committed NAME.expect. Each playthrough is a test case
// of its own. With HOTARU_UPDATE_GOLDEN=1 the summaries are written into the .expect files
// instead (scripts/update-golden.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/png_io.h"
#include "support/golden_summary.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
namespace golden = hotaru_test::golden;

// The playthroughs, from the names of the .input files the build found.
std::vector<std::string> PlaythroughNames() {
  std::vector<std::string> names;
  std::istringstream list(HOTARU_GOLDEN_NAMES);
  for (std::string name; std::getline(list, name, ',');)
    if (!name.empty()) names.push_back(name);
  return names;
}

bool UpdateMode() {
  const char* update = std::getenv("HOTARU_UPDATE_GOLDEN");
  return update != nullptr && std::string(update) == "1";
}

// A run ends with the title's quit; this bound only stops a script that never gets there.
constexpr const char* kVirtualBound = "1800000";

class GoldenPlaythrough : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-golden-" + std::to_string(rd()));
    fs::create_directories(dir_);
    // The demo's pack and tracks seen from a data folder of the run's own, which starts
    // without save files and receives them, and where the shots are written.
    for (const auto& entry : fs::directory_iterator(HOTARU_DEMO_DATA_DIR)) {
      const std::string name = entry.path().filename().string();
      if (name == "ZEN2DATA.PAK" || name.rfind("track", 0) == 0)
        fs::create_symlink(entry.path(), dir_ / name);
    }
    std::ofstream(dir_ / "hotaru.ini") << "[蛍]\nHotaruDir=" << dir_.string() << "\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_P(GoldenPlaythrough, PlaysAsExpected) {
  const fs::path source(HOTARU_GOLDEN_DIR);
  const fs::path input = source / (GetParam() + ".input");
  const fs::path expect = source / (GetParam() + ".expect");
  ASSERT_TRUE(fs::exists(input)) << input;

  std::string output;
  const auto start = std::chrono::steady_clock::now();
  const int status = hotaru_test::RunProgram(
      HOTARU_HEADLESS_PATH,
      {"--ini", (dir_ / "hotaru.ini").string(), "--input", input.string(), "--trace",
       (dir_ / "trace.txt").string(), "--trace-ops", "--until", kVirtualBound},
      dir_, &output);
  const auto real_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
  const std::vector<std::string> summary =
      golden::Summarise(hotaru_test::ReadLines(dir_ / "trace.txt"),
                        golden::ShotNames(hotaru_test::ReadLines(input)), dir_);
  RecordProperty("real_ms", std::to_string(real_ms));
  std::cout << "[ golden   ] " << GetParam() << ": " << real_ms << " ms of real time for "
            << summary.back() << "\n";
  // 2 is the runner's refusal of its options or of the script (a line it cannot read).
  ASSERT_TRUE(status != -1 && status != 2)
      << "hotaru-headless did not play " << input.filename().string() << " (status " << status
      << ")\n"
      << output;

  if (UpdateMode()) {
    std::ofstream out(expect);
    for (const std::string& line : summary) out << line << "\n";
    ASSERT_TRUE(out.good()) << "cannot write " << expect;
    return;
  }
  ASSERT_TRUE(fs::exists(expect)) << expect
                                  << " is missing: write it with scripts/update-golden.sh";
  const std::vector<std::string> expected = hotaru_test::ReadLines(expect);
  EXPECT_TRUE(expected == summary)
      << "the run differs from " << expect.filename().string()
      << " (scripts/update-golden.sh rewrites it when the demo changed on purpose):\n"
      << golden::LineDiff(expected, summary);
}

// Test names may hold letters, digits and underscores only.
std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Demo, GoldenPlaythrough, ::testing::ValuesIn(PlaythroughNames()),
                         CaseName);

// The summary's own behaviour on a small trace of the test's own.
TEST(GoldenSummary, NamesTheFactsInTheirOrderAndLeavesOutWhatMovesWithEdits) {
  const std::vector<std::string> trace = {
      "0 cd open \"cdaudio\" device 1",
      "10 op 0 12 cd_play 1",
      "11 cd play 3 4",
      "12 cd status mode stop",
      "12 cd stop",
      "12 cd play 3 4",  // the music repeats: no new fact
      "20 op 0 30 pcm_load 2",
      "21 wave write 4410 loops 1",
      "22 slot read 0 empty",
      "30 op 0 40 choice 5 2 6 7 8 9",
      "31 choice question 5 option 1 of 2",
      "40 op 1 4 ending 2",
      "41 slot write 1 scenario 1",
      "41 slot progress 0 scenario 1",
      "42 op 1 6 end",
      "43 cd play 4 5",
      "44 cd status mode stop",
      "45 cd play 2 3",
      "50 exit 1",
  };
  const std::vector<std::string> summary = golden::Summarise(trace, {"none.png"}, "/nonexistent");
  const std::vector<std::string> expected = {
      "scenario 0",
      "music play 3 4",
      "sound load 2",
      "sound play 4410 loops 1",
      "load slot 1 (ZEN2_00.SAV): empty",
      "choice question 5 option 1 of 2",
      "scenario 1",
      "ending 2",
      "save slot 2 (ZEN2_01.SAV): scenario 1",
      "progress written to slot 1 (ZEN2_00.SAV): scenario 1",
      "music play 4 5",
      "music play 2 3",
      "last op 1 end",
      "exit 1",
      "shot none.png missing",
      "virtual length 50 ms (0:00)",
  };
  EXPECT_EQ(summary, expected) << golden::LineDiff(expected, summary);
  // A run stopped before its end says so.
  EXPECT_EQ(golden::Summarise({"5 op 0 1 end"}, {}, "/").at(2),
            "exit none: the run was stopped before the program ended");
}

TEST(GoldenSummary, ShotsAreFoundInBothFormsOfTheScriptsLines) {
  EXPECT_EQ(golden::ShotNames({"# shot not.png", "at 100 shot a.png", "+20 shot b.png  # why",
                               "at 200 click", "+5 dump c.json"}),
            (std::vector<std::string>{"a.png", "b.png"}));
}

// The hash is of the colours shown: the same picture with its palette in another order
// hashes the same, one pixel of another colour does not; more than 16 colours are fine.
TEST(GoldenSummary, AShotsHashIsOfItsColoursNotOfItsFile) {
  const fs::path dir =
      fs::temp_directory_path() / ("hotaru-golden-hash-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  authoring::IndexedImage picture;
  picture.width = 40;
  picture.height = 2;
  for (int i = 0; i < 40; ++i) {
    picture.palette.push_back({static_cast<std::uint8_t>(6 * i), 0, static_cast<std::uint8_t>(i)});
  }
  for (int i = 0; i < 80; ++i) picture.pixels.push_back(static_cast<std::uint8_t>(i % 40));
  authoring::IndexedImage reordered = picture;
  std::reverse(reordered.palette.begin(), reordered.palette.end());
  for (std::uint8_t& p : reordered.pixels) p = static_cast<std::uint8_t>(39 - p);
  authoring::IndexedImage changed = picture;
  changed.pixels[79] = 0;
  ASSERT_EQ(authoring::WriteIndexedPng(dir / "a.png", picture), "");
  ASSERT_EQ(authoring::WriteIndexedPng(dir / "b.png", reordered), "");
  ASSERT_EQ(authoring::WriteIndexedPng(dir / "c.png", changed), "");
  const std::string hash = golden::PixelHash(dir / "a.png");
  EXPECT_EQ(hash.substr(0, 5), "40x2 ") << hash;
  EXPECT_EQ(golden::PixelHash(dir / "b.png"), hash);
  EXPECT_NE(golden::PixelHash(dir / "c.png"), hash);
  std::ofstream(dir / "d.png") << "not a picture";
  EXPECT_EQ(golden::PixelHash(dir / "d.png").rfind("unreadable: ", 0), 0u);
  fs::remove_all(dir);
}

TEST(GoldenSummary, TheDiffShowsChangedLinesAfterTheLineBeforeThem) {
  EXPECT_EQ(golden::LineDiff({"a", "b", "c"}, {"a", "x", "c", "d"}),
            "  after: a\n- b\n+ x\n  after: c\n+ d\n");
  EXPECT_EQ(golden::LineDiff({"a"}, {"a"}), "");
}

}  // namespace
