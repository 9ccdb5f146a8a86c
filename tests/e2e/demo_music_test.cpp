// The demo's music as the build writes it: a track file for every piece of the music mode,
// each one sounding from start to end and as long as a piece should be.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
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

TEST(DemoMusic, EveryPieceOfTheMusicModeSoundsForItsWholeLength) {
  // Music 0 to 3 are the story's (their lengths are in its golden runs); the others are
  // pieces of 20 to 60 seconds.
  const double kStoryLengths[] = {5.0, 16.0, 24.0, 12.0};
  for (int music = 0; music < 26; ++music) {
    char name[16];
    std::snprintf(name, sizeof name, "track%02d.ogg", music + 2);
    SCOPED_TRACE(name);
    const fs::path path = fs::path(HOTARU_DEMO_DATA_DIR) / name;
    ASSERT_TRUE(fs::exists(path));
    std::string error;
    const Decoded track = Decode(path, &error);
    ASSERT_EQ(error, "");
    ASSERT_GT(track.rate, 0);

    const double seconds = static_cast<double>(track.samples.size()) / track.rate;
    if (music < 4) {
      EXPECT_NEAR(seconds, kStoryLengths[music], 0.05);
    } else {
      EXPECT_GE(seconds, 20.0);
      EXPECT_LE(seconds, 60.0);
    }
    // Loud enough and not clipped.
    float peak = 0;
    for (float s : track.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 0.4f);
    EXPECT_LT(peak, 1.0f);
    // Every piece but the maker's chime (played once, ringing out) repeats: no silent
    // stretch in the loop, every second but the last (its fade) carries sound.
    if (music == 0) continue;
    const auto second = static_cast<std::size_t>(track.rate);
    for (std::size_t at = 0; at + 2 * second <= track.samples.size(); at += second) {
      double energy = 0;
      for (std::size_t i = at; i < at + second; ++i) energy += track.samples[i] * track.samples[i];
      EXPECT_GT(std::sqrt(energy / static_cast<double>(second)), 0.01)
          << "silent from " << at / second << " s";
    }
  }
}

}  // namespace
