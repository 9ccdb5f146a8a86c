#include "piece.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace demo_sound {

Samples Loop(Samples samples, int rate, double seconds) {
  const auto length = static_cast<std::size_t>(std::lround(seconds * rate));
  Samples loop(samples.begin(),
               samples.begin() + static_cast<std::ptrdiff_t>(std::min(length, samples.size())));
  loop.resize(length, 0.0f);
  for (std::size_t i = length; i < samples.size(); ++i) loop[i % length] += samples[i];
  Normalise(loop, kMusicPeak);
  return loop;
}

Samples Render(const Piece& piece, int rate) {
  // A sound of the place that lasts the whole piece runs on past the end by its swell, so
  // that its fading out, wrapped onto the start, meets its fading in.
  constexpr double kLayerOverlap = 1.5;
  int steps_long = 0;
  Samples s;
  for (const Voice& voice : piece.voices) {
    const int steps = ScoreSteps(voice.score);
    steps_long = std::max(steps_long, voice.from + voice.times * steps);
    for (int k = 0; k < voice.times; ++k) {
      AddVoice(s, rate, voice.instrument, voice.score, piece.step,
               (voice.from + k * steps) * piece.step, voice.gain);
    }
  }
  const double seconds = steps_long * piece.step;
  for (const Layer& layer : piece.layers) {
    const double along = layer.seconds > 0 ? layer.seconds : seconds - layer.from + kLayerOverlap;
    AddAmbience(s, rate, layer.kind, layer.from, along, layer.gain);
  }
  return Loop(std::move(s), rate, seconds);
}

}  // namespace demo_sound
