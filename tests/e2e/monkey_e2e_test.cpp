// A monkey plays the demo: seeded random clicks, right clicks, moves, keys, wheel turns,
// menu commands, dialog and message box answers and focus changes from the logo on, on
// the headless runner. A run must reach its time limit or end by the title's quit item, show
// no message box a reader's input cannot bring up (a fatal message above all), keep the
// virtual clock moving (a stuck clock is a hang, caught by a real-time limit), say nothing
// on its error output (the sanitizers report there in the asan build), and keep the
// memory-block table from growing over the run.
//
// HOTARU_MONKEY_SEEDS=FIRST-LAST and HOTARU_MONKEY_MINUTES=N run a longer campaign
// (scripts/soak.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>
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

// The blocks of a dump's table, not counting the backlog's cache of another scenario's
// messages: one block at most, made the first time the backlog reaches back past a
// scenario change and kept from then on, which a story of several scenarios meets late in
// a run without anything leaking.
int BlockCount(const fs::path& dump) {
  std::ifstream in(dump);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = text.find("\"blocks\":[");
  if (at == std::string::npos) return -1;
  int count = 0;
  int depth = 0;
  for (std::size_t i = at + 10; i < text.size(); ++i) {
    if (text[i] == '[' && depth++ == 0) count += text.compare(i + 1, 15, "\"VIEW MES DATA\"") != 0;
    if (text[i] == ']' && depth-- == 0) break;
  }
  return count;
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
  fs::path dir_;
};

// The last time stamp of a trace: how far the run got on the virtual clock.
std::uint32_t LastTraceTime(const fs::path& trace) {
  std::uint32_t last = 0;
  for (const std::string& line : hotaru_test::ReadLines(trace))
    last = std::max<std::uint32_t>(last, static_cast<std::uint32_t>(std::atol(line.c_str())));
  return last;
}

// Each run plays from the logo until its time is up or the monkey picks the title's quit
// item (a normal end); then the next run goes on in the same data folder, with its saves,
// until the seed's minutes are used.
TEST_F(MonkeyE2E, RandomPlayFromTheLogoEndsOnlyByQuittingOrWhenItsTimeIsUp) {
  const Campaign campaign = CampaignFromEnvironment();
  for (unsigned seed = campaign.first_seed; seed <= campaign.last_seed; ++seed) {
    const std::uint32_t total_ms = static_cast<std::uint32_t>(campaign.minutes) * 60000;
    std::uint32_t used_ms = 0;
    for (unsigned part = 0; used_ms < total_ms && !HasFailure(); ++part) {
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
      const int real_limit_s = 60 + campaign.minutes * 60;
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
      // Leaks grow the table steadily: the second half of a run must not need more blocks
      // than the first half did at its most.
      std::vector<int> counts;
      for (int n = 1; fs::exists(run / ("d" + std::to_string(n) + ".json")); ++n)
        counts.push_back(BlockCount(run / ("d" + std::to_string(n) + ".json")));
      if (counts.size() < 4) continue;
      int first_half = 0, second_half = 0;
      for (std::size_t i = 0; i < counts.size(); ++i) {
        ASSERT_GE(counts[i], 0) << "dump " << i + 1 << " has no block table";
        int& half = i < counts.size() / 2 ? first_half : second_half;
        half = std::max(half, counts[i]);
      }
      EXPECT_LE(second_half, first_half) << "the memory-block table grew over the run";
    }
  }
}

}  // namespace
