// The limiter at the end of the mix: sums past full scale come out below it without flat
// tops, the gain moves smoothly, and quiet material passes sample for sample (a few
// milliseconds late: the look-ahead).
#include "platform/sdl/output_limiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using platform::sdl::mixer::OutputLimiter;

constexpr int kRate = 44100;

// Stereo sums of two sines of the given amplitudes (a track and a sound together).
std::vector<std::int32_t> TwoTones(double a, double b, std::size_t frames) {
  std::vector<std::int32_t> sums;
  for (std::size_t f = 0; f < frames; ++f) {
    const double t = static_cast<double>(f) / kRate;
    const auto v = static_cast<std::int32_t>(
        std::lround(a * std::sin(2 * M_PI * 220 * t) + b * std::sin(2 * M_PI * 330 * t)));
    sums.push_back(v);
    sums.push_back(-v);
  }
  return sums;
}

std::vector<std::int16_t> Limit(OutputLimiter& limiter, const std::vector<std::int32_t>& sums) {
  std::vector<std::int16_t> out(sums.size());
  // In the buffers the audio thread hands over.
  for (std::size_t at = 0; at < sums.size(); at += 1024) {
    const std::size_t n = std::min<std::size_t>(1024, sums.size() - at);
    limiter.Process(sums.data() + at, out.data() + at, n / 2);
  }
  // Aligned with the sums: the first frames of the output are the look-ahead's silence.
  out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(limiter.LatencyFrames() * 2));
  out.resize(sums.size());
  return out;
}

TEST(OutputLimiter, FullScaleMusicAndSoundTogetherNeitherClipNorFlatten) {
  OutputLimiter limiter(kRate, 2);
  const std::vector<std::int32_t> sums = TwoTones(32767, 32767, kRate);
  const std::vector<std::int16_t> out = Limit(limiter, sums);
  ASSERT_LT(limiter.LatencyFrames(), static_cast<std::size_t>(kRate / 200));
  int longest_flat = 1;
  int flat = 1;
  double peak = 0;
  // The last frames are still in the look-ahead.
  for (std::size_t i = 2; i + 2 * limiter.LatencyFrames() < out.size(); i += 2) {
    peak = std::max(peak, std::fabs(static_cast<double>(out[i])));
    EXPECT_LT(std::abs(out[i]), 32767) << "sample " << i;
    flat = std::abs(out[i]) > 32000 && out[i] == out[i - 2] ? flat + 1 : 1;
    longest_flat = std::max(longest_flat, flat);
    // The output follows the sums' shape: it never has the other sign.
    if (std::abs(sums[i]) > 100) {
      EXPECT_EQ(out[i] > 0, sums[i] > 0) << "sample " << i;
    }
  }
  EXPECT_LT(longest_flat, 3);
  // Loud, still: the limiter lowers the peaks, it does not halve the music.
  EXPECT_GT(peak, 28000);
}

TEST(OutputLimiter, QuietMaterialPassesUnchangedAndALoudPeakIsReleasedSmoothly) {
  OutputLimiter limiter(kRate, 2);
  // Quiet, then a second of overload, then quiet again.
  std::vector<std::int32_t> sums = TwoTones(6000, 6000, kRate / 2);
  const std::vector<std::int32_t> loud = TwoTones(30000, 30000, kRate);
  const std::vector<std::int32_t> quiet = TwoTones(6000, 6000, kRate);
  sums.insert(sums.end(), loud.begin(), loud.end());
  sums.insert(sums.end(), quiet.begin(), quiet.end());
  const std::vector<std::int16_t> out = Limit(limiter, sums);
  const std::size_t loud_from = static_cast<std::size_t>(kRate / 2) * 2;
  const std::size_t quiet_from = loud_from + static_cast<std::size_t>(kRate) * 2;
  // Untouched until the look-ahead sees the overload coming.
  const std::size_t ahead = 2 * (limiter.LatencyFrames() + 1);
  for (std::size_t i = 0; i < loud_from - ahead; ++i) {
    ASSERT_EQ(out[i], sums[i]) << "sample " << i;
  }
  // After the overload the gain climbs back: within half a second the quiet part is itself.
  double previous_gain = 0;
  for (std::size_t i = quiet_from; i + 2 * limiter.LatencyFrames() < out.size(); i += 2) {
    if (std::abs(sums[i]) < 3000) continue;
    const double gain = static_cast<double>(out[i]) / sums[i];
    EXPECT_LE(gain, 1.0 + 1e-3);
    EXPECT_GE(gain, previous_gain - 2e-3) << "the gain falls back at sample " << i;
    previous_gain = gain;
  }
  for (std::size_t i = quiet_from + kRate; i + 2 * limiter.LatencyFrames() < out.size(); ++i) {
    ASSERT_EQ(out[i], sums[i]) << "sample " << i;
  }
}

}  // namespace
