// The demo's music and sounds as the build writes them: a track file for every piece of the
// music mode, each one sounding from start to end and as long as its place in the story
// needs; the loops meeting their start without a gap; every track and sound below full scale.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Decoded {
  int rate = 0;
  std::vector<float> samples;  // the first channel
};

// The whole file decoded; an empty result with a message for a file that is not Vorbis.
Decoded Decode(const fs::path& path, std::string* error) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) {
    *error = "not an Ogg Vorbis file";
    return {};
  }
  Decoded out;
  out.rate = static_cast<int>(ov_info(&file, -1)->rate);
  int section = 0;
  for (;;) {
    float** pcm = nullptr;
    const long count = ov_read_float(&file, &pcm, 4096, &section);
    if (count < 0) {
      *error = "damaged at sample " + std::to_string(out.samples.size());
      break;
    }
    if (count == 0) break;
    out.samples.insert(out.samples.end(), pcm[0], pcm[0] + count);
  }
  ov_clear(&file);
  return out;
}

fs::path TrackPath(int music) {
  char name[16];
  std::snprintf(name, sizeof name, "track%02d.ogg", music + 2);
  return fs::path(HOTARU_DEMO_DATA_DIR) / name;
}

Decoded DecodeTrack(int music) {
  std::string error;
  Decoded track = Decode(TrackPath(music), &error);
  EXPECT_EQ(error, "") << TrackPath(music);
  return track;
}

double Rms(const std::vector<float>& samples, std::size_t from, std::size_t count) {
  double energy = 0;
  for (std::size_t i = from; i < from + count; ++i) energy += samples[i] * samples[i];
  return std::sqrt(energy / static_cast<double>(count));
}

float Peak(const std::vector<float>& samples) {
  float peak = 0;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  return peak;
}

// The longest run of equal neighbouring samples near the sound's own peak: a clipped or
// limited sound flattens there, a natural one never holds a value at its crest.
std::size_t FlatRunAtPeak(const std::vector<float>& samples) {
  const float near_peak = 0.9f * Peak(samples);
  std::size_t longest = 1;
  std::size_t run = 1;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    run = samples[i] == samples[i - 1] && std::fabs(samples[i]) >= near_peak ? run + 1 : 1;
    longest = std::max(longest, run);
  }
  return longest;
}

// Music 1 carries the opening into the title and its menus (the title comes up 15 s into
// it on the runner, the opening played through); music 2 carries the whole of the credits
// (130 s from its start to the last page, whose click the reader may give late).
constexpr double kOpeningAndTitleSeconds = 120.0;
constexpr double kCreditsSeconds = 160.0;

TEST(DemoMusic, EveryPieceOfTheMusicModeSoundsForItsWholeLength) {
  for (int music = 0; music < 26; ++music) {
    SCOPED_TRACE(TrackPath(music).filename().string());
    ASSERT_TRUE(fs::exists(TrackPath(music)));
    const Decoded track = DecodeTrack(music);
    ASSERT_GT(track.rate, 0);

    const double seconds = static_cast<double>(track.samples.size()) / track.rate;
    switch (music) {
      case 0: EXPECT_LT(seconds, 6.0); break;  // the maker's chime
      case 1: EXPECT_GE(seconds, kOpeningAndTitleSeconds); break;
      case 2: EXPECT_GE(seconds, kCreditsSeconds); break;
      case 3: EXPECT_GE(seconds, 10.0); break;  // the festival, a short round
      default: EXPECT_GE(seconds, 20.0); EXPECT_LE(seconds, 60.0);
    }
    EXPECT_GT(Peak(track.samples), 0.4f);
    // Every piece but the maker's chime (played once, ringing out) repeats: no silent
    // stretch anywhere in the loop.
    if (music == 0) continue;
    const auto second = static_cast<std::size_t>(track.rate);
    for (std::size_t at = 0; at + second <= track.samples.size(); at += second) {
      EXPECT_GT(Rms(track.samples, at, second), 0.01) << "silent from " << at / second << " s";
    }
  }
}

// A loop restarts where it ended: it neither starts nor ends in silence, its end still
// sounds (no fade), and the step from its last sample to its first is no bigger than the
// steps a note's attack makes inside it.
TEST(DemoMusic, LoopsMeetTheirStartWithoutAGapOrAFade) {
  for (int music = 1; music < 26; ++music) {
    SCOPED_TRACE(TrackPath(music).filename().string());
    const Decoded track = DecodeTrack(music);
    const std::vector<float>& s = track.samples;
    ASSERT_GT(s.size(), static_cast<std::size_t>(track.rate));

    const float silent = 1.0f / 32768;
    const auto few_ms = static_cast<std::size_t>(track.rate / 200);  // 5 ms
    std::size_t lead = 0;
    while (lead < s.size() && std::fabs(s[lead]) < silent) ++lead;
    std::size_t trail = 0;
    while (trail < s.size() && std::fabs(s[s.size() - 1 - trail]) < silent) ++trail;
    EXPECT_LE(lead, few_ms) << "silent start";
    EXPECT_LE(trail, few_ms) << "silent end";

    const auto window = static_cast<std::size_t>(track.rate / 20);
    EXPECT_GT(Rms(s, s.size() - window, window), 0.012 * Rms(s, 0, s.size()))
        << "the last 50 ms fade away";

    float largest_step = 0;
    for (std::size_t i = 1; i < s.size(); ++i) {
      largest_step = std::max(largest_step, std::fabs(s[i] - s[i - 1]));
    }
    EXPECT_LE(std::fabs(s.front() - s.back()), largest_step) << "a click at the restart";
  }
}

// The story's loops are whole bars to the sample: 128 s of the walk (eight steps of a
// quarter second a bar, 64 bars), 168 s of the fireflies and 12 s of the festival.
TEST(DemoMusic, TheStorysLoopsAreWholeBarsToTheSample) {
  const std::size_t kSamples[] = {128 * 22050, 168 * 22050, 12 * 22050};
  for (int music = 1; music <= 3; ++music) {
    SCOPED_TRACE(TrackPath(music).filename().string());
    EXPECT_EQ(DecodeTrack(music).samples.size(), kSamples[music - 1]);
  }
}

// Music and sounds play together: each keeps its peak at -1 dBFS or below, and none
// flattens at its peak (the sign of a clipped or limited render).
TEST(DemoMusic, TracksAndSoundsLeaveHeadroomAndNeverFlattenAtTheirPeaks) {
  const float kCeiling = 0.891f;  // -1 dBFS
  for (int music = 0; music < 26; ++music) {
    SCOPED_TRACE(TrackPath(music).filename().string());
    const Decoded track = DecodeTrack(music);
    EXPECT_LE(Peak(track.samples), kCeiling);
    EXPECT_LT(FlatRunAtPeak(track.samples), 3u);
  }
  int sounds = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(HOTARU_DEMO_DATA_DIR) / "sound")) {
    if (entry.path().extension() != ".P16") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++sounds;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<float> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      const auto low = static_cast<unsigned char>(bytes[i]);
      const auto high = static_cast<unsigned char>(bytes[i + 1]);
      samples.push_back(static_cast<std::int16_t>(low | high << 8) / 32768.0f);
    }
    EXPECT_LE(Peak(samples), kCeiling);
    EXPECT_LT(FlatRunAtPeak(samples), 3u);
  }
  EXPECT_EQ(sounds, 7);
}

}  // namespace
