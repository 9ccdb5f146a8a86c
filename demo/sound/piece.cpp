#include "piece.h"

#include <cmath>

namespace demo_sound {

Samples Render(const Piece& piece, int rate) {
  Samples s;
  for (const Voice& voice : piece.voices) {
    const int steps = ScoreSteps(voice.score);
    for (int k = 0; k < voice.times; ++k) {
      AddVoice(s, rate, voice.instrument, voice.score, piece.step,
               (voice.from + k * steps) * piece.step, voice.gain);
    }
  }
  for (const Layer& layer : piece.layers) {
    const double seconds = layer.seconds > 0 ? layer.seconds : piece.seconds - layer.from;
    AddAmbience(s, rate, layer.kind, layer.from, seconds, layer.gain);
  }
  // The loop's length, its last second fading so that the restart is clean.
  s.resize(static_cast<std::size_t>(piece.seconds * rate), 0.0f);
  const auto fade = static_cast<std::size_t>(rate);
  for (std::size_t i = 0; i < fade && i < s.size(); ++i) {
    s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
  }
  Normalise(s, 0.7f);
  return s;
}

}  // namespace demo_sound
