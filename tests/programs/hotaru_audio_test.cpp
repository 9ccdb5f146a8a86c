// The real program's sound on an X display of its own, through SDL's disk audio driver,
// which writes what the mixer hands to the driver into a file at real speed: music while a
// track plays, silence after CdStop, a sound three times as long when played three times; a
// looping track without a gap at its loops, also while the settings dialog holds the game;
// music and a sound at full scale together without a clipped sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
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

// The output's samples, left and right interleaved.
std::vector<std::int16_t> Samples(const Bytes& raw) {
  std::vector<std::int16_t> out(raw.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::int16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
  }
  return out;
}

// The longest run of frames with both channels at (nearly) digital silence between two
// frames, in milliseconds.
double LongestSilenceMs(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  std::size_t longest = 0;
  std::size_t run = 0;
  for (std::size_t f = from; f < to; ++f) {
    run = std::abs(s[2 * f]) <= 2 && std::abs(s[2 * f + 1]) <= 2 ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return static_cast<double>(longest) * 1000.0 / 44100.0;
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

  // Packs the scenario and sound 1 (if any) into the data folder and starts the program on
  // the disk driver, with a trace.
  bool StartGame(const std::string& scenario, const Bytes& sound) {
    Write(dir_ / "src" / "KNJ_ALL.KNJ", Bytes(72, 0));
    Write(dir_ / "src" / "000.SCN", hotaru_test::ScenarioBuilder::Assemble(scenario));
    std::vector<std::string> args = {"pack", "build", (dir_ / "data" / "ZEN2DATA.PAK").string(),
                                     (dir_ / "src" / "KNJ_ALL.KNJ").string(),
                                     (dir_ / "src" / "000.SCN").string()};
    if (!sound.empty()) {
      Write(dir_ / "src" / "HT_VD01.P16", sound);
      args.push_back((dir_ / "src" / "HT_VD01.P16").string());
    }
    std::string out;
    EXPECT_EQ(hotaru_test::RunProgram(HOTARU_TOOL_PATH, args, {}, &out), 0) << out;
    return program_run_.Start(program_.string(),
                              {{"DISPLAY", x_.display()},
                               {"HOME", dir_.string()},
                               {"XDG_CONFIG_HOME", (dir_ / "config").string()},
                               {"HOTARU_START", "new-game"},
                               {"HOTARU_TRACE", (dir_ / "trace.txt").string()},
                               {"SDL_AUDIODRIVER", "disk"},
                               {"SDL_DISKAUDIOFILE", (dir_ / "output.raw").string()},
                               {"LSAN_OPTIONS", "suppressions=" + (dir_ / "lsan.supp").string()}},
                              dir_ / "hotaru.log");
  }
  Bytes Output() const {
    std::ifstream in(dir_ / "output.raw", std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::vector<std::string> Trace() const { return hotaru_test::ReadLines(dir_ / "trace.txt"); }
  bool WaitForTrace(const std::string& part, std::chrono::milliseconds timeout) const {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      for (const std::string& line : Trace()) {
        if (line.find(part) != std::string::npos) return true;
      }
      std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }
  std::string Log() const {
    std::ifstream in(dir_ / "hotaru.log");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::string& line : Trace()) text += "\n" + line;
    return text;
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

// Track 5 (music 3): a second of a steady tone, without a fade; the game plays it from 0.5 s
// and stops it at 7.5 s (or when a dialog that held it past then closes).
constexpr const char* kLoopingScenario = R"(
    .event
    L0:
        end
    L1:
        wait 50
        cd_play 3
        wait 250
        wait 250
        wait 200
        cd_stop
        wait 50
        end
  )";

// The track sounded in one stretch from its play to its stop, and nowhere in it did digital
// silence last more than 20 ms; the game saw it end and played it again at least `replays`
// times.
void ExpectSeamlessMusic(const Bytes& output, const std::vector<std::string>& trace, int replays) {
  const auto plays = std::count_if(trace.begin(), trace.end(), [](const std::string& line) {
    return line.find(" cd play 5 6") != std::string::npos;
  });
  EXPECT_GE(plays, 1 + replays);
  const std::vector<Stretch> runs = SoundingRuns(output);
  ASSERT_EQ(runs.size(), 1u) << "output of " << output.size() << " bytes";
  // Several passes (the disk driver falls behind real time on a busy machine: its output is
  // shorter than the seven seconds the game let the music play).
  EXPECT_GT(runs[0].Length(), 3000);
  const std::vector<std::int16_t> samples = Samples(output);
  const auto frame = [](double ms) { return static_cast<std::size_t>(ms * 44.1); };
  EXPECT_LE(LongestSilenceMs(samples, frame(runs[0].from_ms + 20), frame(runs[0].to_ms - 20)),
            20.0);
}

// A track that the game loops (it polls the drive and plays the track again once it has
// stopped) sounds on without a pause at its loops.
TEST_F(HotaruAudio, ALoopingTrackHasNoGapAtItsLoops) {
  Write(dir_ / "data" / "track05.wav", hotaru_test::WavFile(1000, 8000));
  ASSERT_TRUE(StartGame(kLoopingScenario, {}));
  ASSERT_EQ(program_run_.Wait(30s), std::optional<int>(1)) << Log();
  ExpectSeamlessMusic(Output(), Trace(), 5);
}

// The settings dialog holds the game's polls while it is open: the track goes on under it,
// and a Cancel leaves it sounding as it was, neither stopped at its end nor started over.
TEST_F(HotaruAudio, ACancelledSettingsDialogLeavesTheLoopingMusicAsItWas) {
  Write(dir_ / "data" / "track05.wav", hotaru_test::WavFile(1000, 8000));
  ASSERT_TRUE(StartGame(kLoopingScenario, {}));
  const auto window =
      hotaru_test::WaitForWindow(x_.display(), "Vela Story Series Vol.2 「蛍」－ほたる－", 15s);
  ASSERT_TRUE(window) << Log();
  ASSERT_TRUE(WaitForTrace(" cd play 5 6", 15s)) << Log();
  // Into the third pass the dialog opens, stays over two ends of the track, and is cancelled.
  std::this_thread::sleep_for(2300ms);
  hotaru_test::RunOn(x_.display(),
                     "xdotool windowfocus " + std::to_string(window->id) + " sleep 0.05 key alt+c");
  ASSERT_TRUE(WaitForTrace(" dialog open ", 5s)) << Log();
  std::this_thread::sleep_for(2200ms);
  hotaru_test::RunOn(x_.display(), "xdotool key Escape");
  ASSERT_TRUE(WaitForTrace(" dialog close ", 5s)) << Log();
  ASSERT_EQ(program_run_.Wait(30s), std::optional<int>(1)) << Log();
  ExpectSeamlessMusic(Output(), Trace(), 3);
}

// Music and a sound both at full scale: their sum passes the 16-bit range, and the mix
// brings it back below full scale without flat tops; the music alone, at half scale, is
// heard at its own level.
TEST_F(HotaruAudio, MusicAndASoundAtFullScaleTogetherAreNotClipped) {
  // Tones of two pitches: their sum comes near 49000 at every beat, whatever their phases.
  Write(dir_ / "data" / "track05.wav", hotaru_test::WavFile(3000, 16384, 330));
  ASSERT_TRUE(StartGame(R"(
    .event
    L0:
        end
    L1:
        cd_play 3
        wait 100
        pcm_load 1
        pcm_play 1 0
        pcm_finish
        wait 50
        cd_stop
        wait 20
        end
  )",
                        hotaru_test::ToneSamples(1000, 32767)));
  ASSERT_EQ(program_run_.Wait(30s), std::optional<int>(1)) << Log();
  const Bytes output = Output();
  const std::vector<Stretch> runs = SoundingRuns(output);
  ASSERT_EQ(runs.size(), 1u) << "output of " << output.size() << " bytes";
  const std::vector<std::int16_t> samples = Samples(output);
  const auto frame = [](double ms) { return static_cast<std::size_t>(ms * 44.1); };
  // The music alone: its first 800 ms.
  int music_peak = 0;
  for (std::size_t i = 2 * frame(runs[0].from_ms + 50); i < 2 * frame(runs[0].from_ms + 800); ++i) {
    music_peak = std::max(music_peak, std::abs(static_cast<int>(samples[i])));
  }
  EXPECT_NEAR(music_peak, 16384, 16384 * 0.03);
  int peak = 0;
  std::size_t at_full_scale = 0;
  std::size_t flat = 1;
  std::size_t longest_flat = 1;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const int v = samples[i];
    peak = std::max(peak, std::abs(v));
    if (v <= -32767 || v >= 32767) ++at_full_scale;
    // A flat top: the same loud value on one channel three frames running.
    flat = i >= 2 && std::abs(v) > 30000 && v == samples[i - 2] ? flat + 1 : 1;
    longest_flat = std::max(longest_flat, flat);
  }
  EXPECT_EQ(at_full_scale, 0u);
  EXPECT_LT(longest_flat, 3u);
  // The sum is limited near full scale, not lowered as a whole.
  EXPECT_GT(peak, 24000);
}

}  // namespace
