#include "platform/sdl/output_limiter.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace platform::sdl::mixer {

OutputLimiter::OutputLimiter(int rate, int channels)
    : channels_(static_cast<std::size_t>(channels)),
      window_(static_cast<std::size_t>(std::max(1, rate * 3 / 1000))),
      release_(std::exp(-1.0 / (0.05 * rate))),
      delayed_(window_ * channels_, 0),
      needed_(window_, 1.0),
      released_(window_, 1.0) {}

void OutputLimiter::Process(const std::int32_t* sums, std::int16_t* out, std::size_t frames) {
  constexpr double kKnee = kCeiling - kThreshold;
  for (std::size_t f = 0; f < frames; ++f) {
    const std::int32_t* frame = sums + f * channels_;
    double peak = 0;
    for (std::size_t c = 0; c < channels_; ++c) {
      peak = std::max(peak, std::fabs(static_cast<double>(frame[c])));
    }
    // The gain this frame needs: a soft knee bends its peak towards the ceiling.
    const double needed =
        peak <= kThreshold ? 1.0
                           : (kThreshold + kKnee * std::tanh((peak - kThreshold) / kKnee)) / peak;
    needing_ = needing_ + (needed < 1.0) - (needed_[at_] < 1.0);
    needed_[at_] = needed;
    // The least gain any frame of the window needs, falling at once and rising slowly; its
    // mean over the window, applied to the frame that entered a window ago, is never above
    // what that frame needs, and changes smoothly.
    const double held = needing_ == 0 ? 1.0 : *std::min_element(needed_.begin(), needed_.end());
    released_gain_ =
        held < released_gain_ ? held : released_gain_ + (held - released_gain_) * (1 - release_);
    lowered_ = lowered_ + (released_gain_ < 1.0) - (released_[at_] < 1.0);
    released_[at_] = released_gain_;
    const double gain = lowered_ == 0 ? 1.0
                                      : std::accumulate(released_.begin(), released_.end(), 0.0) /
                                            static_cast<double>(window_);
    std::copy(frame, frame + channels_,
              delayed_.begin() + static_cast<std::ptrdiff_t>(at_ * channels_));
    at_ = (at_ + 1) % window_;
    const std::int32_t* oldest = delayed_.data() + at_ * channels_;
    for (std::size_t c = 0; c < channels_; ++c) {
      const long v = gain >= 1.0 ? oldest[c] : std::lround(oldest[c] * gain);
      out[f * channels_ + c] = static_cast<std::int16_t>(std::clamp(v, -32768L, 32767L));
    }
  }
}

}  // namespace platform::sdl::mixer
