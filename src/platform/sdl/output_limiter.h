// The last stage of the mix: music and sound added at full precision can pass full scale,
// where the 16-bit output would clip (a flat top at ±32767, heard as crackle). A look-ahead
// limiter lowers the gain of all channels together before a peak that would pass its
// threshold, holds it over the peak so that the wave keeps its shape, and lets it return
// smoothly; below the threshold the samples pass untouched, only delayed by the look-ahead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::sdl::mixer {

class OutputLimiter {
 public:
  // Peaks at or under this magnitude pass unchanged; louder ones are bent below the ceiling,
  // which the output never reaches.
  static constexpr double kThreshold = 24000;
  static constexpr double kCeiling = 32600;

  // The gain returns after a peak with a time constant of 50 ms; the look-ahead is 3 ms.
  OutputLimiter(int rate, int channels);
  // How many frames the output lags behind the sums.
  std::size_t LatencyFrames() const { return window_ - 1; }
  // `frames` frames of interleaved sums to 16-bit samples.
  void Process(const std::int32_t* sums, std::int16_t* out, std::size_t frames);

 private:
  std::size_t channels_;
  std::size_t window_;
  double release_;
  double released_gain_ = 1;
  std::size_t at_ = 0;
  // The last `window_` input frames, the gains they need, and the released gains.
  std::vector<std::int32_t> delayed_;
  std::vector<double> needed_;
  std::vector<double> released_;
  // How many of those gains are below 1: while none is, the window need not be scanned, so
  // the quiet mix (nearly all of it) costs the audio thread a few operations a frame.
  std::size_t needing_ = 0;
  std::size_t lowered_ = 0;
};

}  // namespace platform::sdl::mixer
