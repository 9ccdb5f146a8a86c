// The real program's sound on an X display of its own, through SDL's disk audio driver,
// which writes what the mixer hands to the driver into a file at real speed: music while a
// track plays, silence after CdStop, a sound three times as long when played three times.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "programs/x_session.h"
#include "support/audio_files.h"
#include "support/run_program.h"
#include "support/scenario_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using hotaru_test::Bytes;

// A stretch of sound in the driver's output: from and to in milliseconds.
struct Stretch {
  double from_ms;
  double to_ms;
  double Length() const { return to_ms - from_ms; }
};

// The stretches of the output (44100 Hz, 16-bit stereo) louder than a whisper, measured in
// windows of 10 ms; gaps shorter than 50 ms do not split a stretch.
std::vector<Stretch> SoundingRuns(const Bytes& raw) {
  constexpr std::size_t kFrame = 4;
  constexpr std::size_t kWindow = 441;
  std::vector<Stretch> runs;
  const std::size_t windows = raw.size() / (kFrame * kWindow);
  for (std::size_t w = 0; w < windows; ++w) {
    double sum = 0;
    for (std::size_t f = 0; f < kWindow; ++f) {
      const std::size_t at = (w * kWindow + f) * kFrame;
      const auto left = static_cast<std::int16_t>(raw[at] | (raw[at + 1] << 8));
      sum += static_cast<double>(left) * left;
    }
    if (std::sqrt(sum / kWindow) < 200) continue;
    const double from = static_cast<double>(w) * 10;
    if (!runs.empty() && from - runs.back().to_ms <= 50) {
      runs.back().to_ms = from + 10;
    } else {
      runs.push_back({from, from + 10});
    }
  }
  return runs;
}

class HotaruAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!hotaru_test::HaveProgram("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    program_ = fs::path(HOTARU_HEADLESS_PATH).parent_path() / "hotaru";
    ASSERT_TRUE(fs::exists(program_)) << program_;
    if (!x_.Start(1024, 768)) GTEST_SKIP() << "no X display could be started";
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-audio-" + std::to_string(rd()));
    fs::create_directories(dir_ / "data");
    fs::create_directories(dir_ / "src");
    fs::create_directories(dir_ / "config" / "hotaru");
    std::ofstream(dir_ / "config" / "hotaru" / "hotaru.ini")
        << "[蛍]\nHotaruDir=" << (dir_ / "data").string() << "\n";
    std::ofstream(dir_ / "lsan.supp") << "leak:libdbus-1.so\n";
  }
  void TearDown() override {
    program_run_.Kill();
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  hotaru_test::XServer x_;
  fs::path program_;
  fs::path dir_;
  hotaru_test::Spawned program_run_;
};

TEST_F(HotaruAudio, MusicIsHeardUntilStoppedAndASoundPlayedThreeTimesLastsThreeTimesAsLong) {
  // Music 3 is track 5: a tone longer than it is let play. Sound 1: 400 ms of another tone.
  Write(dir_ / "data" / "track05.wav", hotaru_test::WavFile(5000, 8000));
  Write(dir_ / "src" / "HT_VD01.P16", hotaru_test::ToneSamples(400, 8000));
  Write(dir_ / "src" / "KNJ_ALL.KNJ", Bytes(72, 0));
  Write(dir_ / "src" / "000.SCN", hotaru_test::ScenarioBuilder::Assemble(R"(
    .event
    L0:
        end
    L1:
        wait 50
        cd_play 3
        wait 100
        cd_stop
        wait 100
        pcm_load 1
        pcm_play 1 0
        pcm_finish
        wait 50
        pcm_play 3 0
        pcm_finish
        wait 50
        end
  )"));
  std::string out;
  ASSERT_EQ(hotaru_test::RunProgram(
                HOTARU_TOOL_PATH,
                {"pack", "build", (dir_ / "data" / "ZEN2DATA.PAK").string(),
                 (dir_ / "src" / "KNJ_ALL.KNJ").string(), (dir_ / "src" / "000.SCN").string(),
                 (dir_ / "src" / "HT_VD01.P16").string()},
                {}, &out),
            0)
      << out;
  const fs::path raw = dir_ / "output.raw";
  ASSERT_TRUE(
      program_run_.Start(program_.string(),
                         {{"DISPLAY", x_.display()},
                          {"HOME", dir_.string()},
                          {"XDG_CONFIG_HOME", (dir_ / "config").string()},
                          {"HOTARU_START", "new-game"},
                          {"SDL_AUDIODRIVER", "disk"},
                          {"SDL_DISKAUDIOFILE", raw.string()},
                          {"LSAN_OPTIONS", "suppressions=" + (dir_ / "lsan.supp").string()}},
                         dir_ / "hotaru.log"));
  ASSERT_EQ(program_run_.Wait(30s), std::optional<int>(1));
  std::ifstream in(raw, std::ios::binary);
  const Bytes output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<Stretch> runs = SoundingRuns(output);
  ASSERT_EQ(runs.size(), 3u) << "output of " << output.size() << " bytes";
  // The track sounds for the second it is let play, and not after the stop.
  EXPECT_NEAR(runs[0].Length(), 1000, 60);
  EXPECT_GE(runs[1].from_ms - runs[0].to_ms, 900);
  // Once, then three times.
  EXPECT_NEAR(runs[1].Length(), 400, 30);
  EXPECT_NEAR(runs[2].Length(), 1200, 40);
  EXPECT_NEAR(runs[2].Length() / runs[1].Length(), 3.0, 0.15);
}

}  // namespace
