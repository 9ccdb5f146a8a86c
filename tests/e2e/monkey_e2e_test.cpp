// A monkey plays the demo: seeded random clicks, right clicks, moves, keys, wheel turns,
// menu commands, dialog and message box answers and focus changes from the logo on, on
// the headless runner. A run must reach its time limit or end by the title's quit item, show
// no message box a reader's input cannot bring up (a fatal message above all), keep the
// virtual clock moving (a stuck clock is a hang, caught by a real-time limit), say nothing
// on its error output (the sanitizers report there in the asan build), and hold no more
// copies of a memory block at a point of play than it held there before.
//
// HOTARU_MONKEY_SEEDS=FIRST-LAST and HOTARU_MONKEY_MINUTES=N run a longer campaign
// (scripts/soak.sh); a failing seed does not stop it, and every failing seed is named at the
// end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDumpEveryMs = 5000;

struct Campaign {
  unsigned first_seed = 1;
  unsigned last_seed = 4;
  int minutes = 10;  // of virtual time per seed
};

Campaign CampaignFromEnvironment() {
  Campaign c;
  if (const char* seeds = std::getenv("HOTARU_MONKEY_SEEDS")) {
    unsigned first = 0, last = 0;
    if (std::sscanf(seeds, "%u-%u", &first, &last) == 2 && first <= last) {
      c.first_seed = first;
      c.last_seed = last;
    } else if (std::sscanf(seeds, "%u", &first) == 1) {
      c.first_seed = c.last_seed = first;
    }
  }
  if (const char* minutes = std::getenv("HOTARU_MONKEY_MINUTES")) c.minutes = std::atoi(minutes);
  if (c.minutes < 1) c.minutes = 1;
  return c;
}

// The input of one seed: an action every 100 ms to 1.5 s, mostly clicks (which read the
// story on), with everything else a reader can do. Quitting is left out: the run is to last.
std::string MonkeyScript(unsigned seed, int minutes, const fs::path& dumps) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  static const char* const kKeys[] = {"enter", "escape", "space", "home",
                                      "up",    "down",   "left",  "right"};
  // Window sizes, the settings dialog, skip to the next choice, the version box.
  static const int kMenus[] = {40000, 40001, 40003, 40005, 40009, 40020, 40030, 40040};
  std::string script;
  const int end_ms = minutes * 60000;
  int next_dump = kDumpEveryMs;
  for (int t = 500; t < end_ms; t += 100 + pick(1400)) {
    while (next_dump <= t) {
      script += "at " + std::to_string(next_dump) + " dump " +
                (dumps / ("d" + std::to_string(next_dump / kDumpEveryMs) + ".json")).string() +
                "\n";
      next_dump += kDumpEveryMs;
    }
    const std::string at = "at " + std::to_string(t) + " ";
    const int x = pick(640), y = pick(400);
    const int roll = pick(100);
    if (roll < 55) {
      script += at + "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
    } else if (roll < 62) {
      script += at + "rclick " + std::to_string(x) + " " + std::to_string(y) + "\n";
    } else if (roll < 72) {
      script += at + "move " + std::to_string(x) + " " + std::to_string(y) + "\n";
    } else if (roll < 88) {
      script += at + "key " + kKeys[pick(8)] + "\n";
    } else if (roll < 92) {
      const int notches = 1 + pick(3);
      script += at + "wheel " + std::to_string(pick(2) ? notches : -notches) + "\n";
    } else if (roll < 97) {
      const int menu = kMenus[pick(8)];
      if (menu == 40020) {
        script += at + "dialog Music=" + std::to_string(pick(2)) +
                  " Pcm=" + std::to_string(pick(2)) + " Skip=" + std::to_string(pick(2)) +
                  (pick(2) ? " ok" : " cancel") + "\n";
      } else {
        script += at + (pick(2) ? "msgbox ok\n" : "msgbox cancel\n");
      }
      script += at + "menu " + std::to_string(menu) + "\n";
    } else {
      script += at + (pick(2) ? "deactivate\n" : "activate\n");
    }
  }
  return script;
}

// The memory-block table of a dump and the point of play it was taken at: the game phase
// and the scenario running. Blocks are counted by name (their names as the dump writes them).
struct BlockTable {
  int phase = -1;
  int scenario = -1;
  std::map<std::string, int> copies;
};

// Reads a state dump; false when it holds no block table.
bool ReadBlockTable(const fs::path& dump, BlockTable* table) {
  std::ifstream in(dump);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::smatch m;
  if (!std::regex_search(text, m, std::regex("\"GamePhase\":(\\d+)"))) return false;
  table->phase = std::stoi(m[1]);
  // The running scenario is byte 42 of the live state record, 255 when there is none.
  if (!std::regex_search(text, m, std::regex("\"state\":\"([0-9a-f]{86})"))) return false;
  table->scenario = std::stoi(m[1].str().substr(84, 2), nullptr, 16);
  const auto at = text.find("\"blocks\":[");
  if (at == std::string::npos) return false;
  const std::regex entry("^\\[(\"(?:[^\"\\\\]|\\\\.)*\"),\\d+\\],?");
  table->copies.clear();
  for (auto i = text.cbegin() + static_cast<std::ptrdiff_t>(at + 10);
       std::regex_search(i, text.cend(), m, entry); i = m[0].second) {
    ++table->copies[m[1]];
  }
  return true;
}

// A leak is a block made again and again and never freed: back at the same point of play,
// the table holds more copies of it than it ever did there before. Compared only at equal
// points, the blocks that play gains as it moves on (the story's scenario data, the
// gallery's picture) and those that come and go (cursor buffers, a sound) are no leak. A
// description of the first growth, or "".
std::string BlockTableGrowth(const std::vector<BlockTable>& tables) {
  std::map<std::pair<int, int>, std::map<std::string, int>> most;  // by point of play
  for (std::size_t i = 0; i < tables.size(); ++i) {
    const BlockTable& t = tables[i];
    std::map<std::string, int>& before = most[{t.phase, t.scenario}];
    for (const auto& [name, copies] : t.copies) {
      int& held = before[name];
      if (held > 0 && copies > held) {
        return "dump " + std::to_string(i + 1) + " (phase " + std::to_string(t.phase) +
               ", scenario " + std::to_string(t.scenario) + ") holds " + std::to_string(copies) +
               " blocks " + name + " where earlier dumps there held " + std::to_string(held) +
               ": the memory-block table grew";
      }
      held = std::max(held, copies);
    }
  }
  return "";
}

// The last time stamp of a trace: how far the run got on the virtual clock.
std::uint32_t LastTraceTime(const fs::path& trace) {
  std::uint32_t last = 0;
  for (const std::string& line : hotaru_test::ReadLines(trace))
    last = std::max<std::uint32_t>(last, static_cast<std::uint32_t>(std::atol(line.c_str())));
  return last;
}

// The failures the running test has recorded so far.
int FailuresSoFar() {
  const ::testing::TestResult* result =
      ::testing::UnitTest::GetInstance()->current_test_info()->result();
  int failures = 0;
  for (int i = 0; i < result->total_part_count(); ++i)
    failures += result->GetTestPartResult(i).failed();
  return failures;
}

class MonkeyE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-monkey-" + std::to_string(rd()));
    fs::create_directories(dir_ / "data");
    // A data folder of its own: the monkey saves and clears slots.
    for (const auto& entry : fs::directory_iterator(HOTARU_DEMO_DATA_DIR)) {
      const std::string name = entry.path().filename().string();
      if (name == "ZEN2DATA.PAK" || name.starts_with("track"))
        fs::copy_file(entry.path(), dir_ / "data" / name);
    }
  }
  void TearDown() override {
    if (!HasFailure() && !std::getenv("HOTARU_MONKEY_KEEP")) fs::remove_all(dir_);
  }

  // Plays one seed: each run plays from the logo until its time is up or the monkey picks
  // the title's quit item (a normal end); then the next run goes on in the same data folder,
  // with its saves, until the seed's minutes are used. Stops at the seed's first failure.
  void PlaySeed(unsigned seed, int minutes) {
    const int failures_before = FailuresSoFar();
    const std::uint32_t total_ms = static_cast<std::uint32_t>(minutes) * 60000;
    std::uint32_t used_ms = 0;
    for (unsigned part = 0; used_ms < total_ms && FailuresSoFar() == failures_before; ++part) {
      const std::string name = "seed" + std::to_string(seed) + "-" + std::to_string(part);
      SCOPED_TRACE(name + " (HOTARU_MONKEY_SEEDS=" + std::to_string(seed) +
                   " replays it; its files stay in " + dir_.string() + ")");
      const fs::path run = dir_ / name;
      fs::create_directories(run);
      std::ofstream(run / "hotaru.ini") << "[蛍]\nHotaruDir=" << (dir_ / "data").string() << "\n";
      const std::uint32_t until = total_ms - used_ms;
      std::ofstream(run / "input.txt")
          << MonkeyScript(seed * 1000 + part, static_cast<int>((until + 59999) / 60000), run);
      // A stuck virtual clock never reaches --until: the real-time limit ends it.
      const int real_limit_s = 60 + minutes * 60;
      std::string output;
      const int status = hotaru_test::RunProgram(
          "/usr/bin/timeout",
          {std::to_string(real_limit_s), HOTARU_HEADLESS_PATH, "--ini",
           (run / "hotaru.ini").string(), "--input", (run / "input.txt").string(), "--trace",
           (run / "trace.txt").string(), "--until", std::to_string(until)},
          {}, &output);
      ASSERT_NE(status, 124) << "hung: the virtual clock stopped";
      ASSERT_TRUE(status == 3 || status == 1) << "status " << status << "\n" << output;
      EXPECT_EQ(output, "") << "the runner reported on its error output";
      // The only message boxes a reader's input can bring up here: the version, a window
      // size the screen refuses, the quit question. Anything else (a fatal message, a save
      // or the settings that could not be written, a picture error) is a fault.
      static const char* const kExpectedBoxes[] = {"\"Ｖｅｒｓｉｏｎ　１．０\"",
                                                   "\"このサイズには変更できません\"",
                                                   "\"終了します。\\nよろしいですか？\""};
      for (const std::string& line : hotaru_test::ReadLines(run / "trace.txt")) {
        EXPECT_EQ(line.find(" error "), std::string::npos) << line;
        if (line.find(" msgbox ") == std::string::npos) continue;
        bool expected = false;
        for (const char* box : kExpectedBoxes) expected |= line.find(box) != std::string::npos;
        EXPECT_TRUE(expected) << "an unexpected message box: " << line;
      }
      used_ms = status == 3
                    ? total_ms
                    : used_ms + std::max<std::uint32_t>(LastTraceTime(run / "trace.txt"), 1000);
      std::vector<BlockTable> tables;
      for (int n = 1; fs::exists(run / ("d" + std::to_string(n) + ".json")); ++n) {
        tables.emplace_back();
        ASSERT_TRUE(ReadBlockTable(run / ("d" + std::to_string(n) + ".json"), &tables.back()))
            << "dump " << n << " has no block table";
      }
      EXPECT_EQ(BlockTableGrowth(tables), "");
    }
  }

  fs::path dir_;
};

// Every seed of the campaign is played, whatever the seeds before it did.
TEST_F(MonkeyE2E, RandomPlayFromTheLogoEndsOnlyByQuittingOrWhenItsTimeIsUp) {
  const Campaign campaign = CampaignFromEnvironment();
  std::string failing;
  for (unsigned seed = campaign.first_seed; seed <= campaign.last_seed; ++seed) {
    const int failures_before = FailuresSoFar();
    PlaySeed(seed, campaign.minutes);
    if (FailuresSoFar() != failures_before)
      failing += (failing.empty() ? "" : " ") + std::to_string(seed);
  }
  if (!failing.empty())
    ADD_FAILURE() << "failing seeds: " << failing << " (scripts/soak.sh SEED MINUTES replays one)";
}

// The leak check on tables of its own: play that moves on, or blocks that come and go, is
// no leak; a block made again at the same point of play without the old one freed is.
TEST(MonkeyLeakCheck, OnlyMoreCopiesOfABlockAtTheSamePointOfPlayIsALeak) {
  const std::map<std::string, int> base = {
      {"\"VmemDIB\"", 1}, {"\"VbufDIB\"", 1}, {"\"PACK FILE INDEX\"", 1}};
  const auto with = [&](std::map<std::string, int> more) {
    more.insert(base.begin(), base.end());
    return more;
  };
  const auto title = [&](std::map<std::string, int> more = {}) {
    return BlockTable{0, 255, with(std::move(more))};
  };
  const auto story = [&](int scenario, std::map<std::string, int> more = {}) {
    more.insert({{"\"EVENT DATA\"", 1}, {"\"MESSAGE DATA\"", 1}, {"\"BACK GRP\"", 1}});
    return BlockTable{4, scenario, with(std::move(more))};
  };
  const std::map<std::string, int> cursors = {{"\"cursor buf 1\"", 1}, {"\"cursor buf 2\"", 1}};
  const struct {
    const char* what;
    std::vector<BlockTable> tables;
    bool leak;
  } cases[] = {
      {"title, story, title, gallery",
       {title(), title(), story(0), story(0, cursors), story(1, {{"\"pk:HT_VD02.P16\"", 1}}),
        story(0), title(), title({{"\"pk:HT_VD05.P16\"", 1}})},
       false},
      {"a picture held twice, each time somewhere else",
       {story(0, {{"\"pk:A\"", 1}}), story(1, {{"\"pk:A\"", 2}}), story(0, {{"\"pk:A\"", 1}})},
       false},
      {"cursor buffers never freed",
       {title(), story(0, cursors), story(0), story(0, {{"\"cursor buf 1\"", 2}})},
       true},
      {"the story's data kept from one new game to the next",
       {story(0), title({{"\"EVENT DATA\"", 1}}), title({{"\"EVENT DATA\"", 1}}),
        story(0, {{"\"EVENT DATA\"", 2}})},
       true},
  };
  for (const auto& c : cases) {
    const std::string growth = BlockTableGrowth(c.tables);
    EXPECT_EQ(!growth.empty(), c.leak) << c.what << ": " << growth;
  }
}

// A dump as the runner writes it reads back as its point of play and blocks.
TEST(MonkeyLeakCheck, ADumpReadsAsItsPointOfPlayAndBlocks) {
  const fs::path dump =
      fs::temp_directory_path() / ("hotaru-dump-" + std::to_string(std::random_device()()));
  std::ofstream(dump) << "{\"state\":\"" << std::string(84, '0') << "01" << std::string(40, 'f')
                      << "\",\"GamePhase\":4,\"blocks\":[[\"VmemDIB\",257064],"
                         "[\"cursor \\\"buf\\\" 1\",676],[\"VmemDIB\",8]]}";
  BlockTable table;
  ASSERT_TRUE(ReadBlockTable(dump, &table));
  fs::remove(dump);
  EXPECT_EQ(table.phase, 4);
  EXPECT_EQ(table.scenario, 1);
  EXPECT_EQ(table.copies,
            (std::map<std::string, int>{{"\"VmemDIB\"", 2}, {"\"cursor \\\"buf\\\" 1\"", 1}}));
}

}  // namespace
