#include "effects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demo_sound {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

Samples Sized(double seconds) {
  return Samples(static_cast<std::size_t>(seconds * kEffectRate), 0.0f);
}

double TimeOf(std::size_t i) { return static_cast<double>(i) / kEffectRate; }

// Sound 1: a wind chime, a few high bells struck at random.
Samples WindChime() {
  Samples s;
  Noise pick(11);
  static const char* kNotes[] = {"E6", "G6", "A6", "C7", "D7"};
  double at = 0;
  for (int i = 0; i < 7; ++i) {
    const int note = static_cast<int>((pick.Next() + 1) * 2.49);
    AddNote(s, kEffectRate, Instrument::kBell, NoteFrequency(kNotes[note]), at, 0.1, 0.4f);
    at += 0.12 + 0.1 * (pick.Next() + 1);
  }
  Normalise(s, 0.6f);
  return s;
}

// Sound 2: four footsteps on a path: short dull thumps of filtered noise.
Samples Footsteps() {
  Samples s = Sized(2.0);
  Noise noise(23);
  for (int step = 0; step < 4; ++step) {
    const auto start = static_cast<std::size_t>((0.1 + step * 0.45) * kEffectRate);
    float low = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(0.12 * kEffectRate); ++i) {
      low += 0.15f * (noise.Next() - low);
      const double t = TimeOf(i);
      s[start + i] += static_cast<float>(low * std::exp(-t * 40) * 4 +
                                         0.5 * std::sin(kTwoPi * 90 * t) * std::exp(-t * 30));
    }
  }
  Normalise(s, 0.7f);
  return s;
}

// Sound 3: the ground shaking: a low rumble that judders, about as long as the screen's
// shake (seven moves of 40 ms) and a little after.
Samples Rumble() {
  Samples s = Sized(0.5);
  Noise noise(31);
  float low = 0;
  float lower = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    low += 0.04f * (noise.Next() - low);
    lower += 0.2f * (low - lower);
    // The judder: one swell per move of the shake.
    const double judder = 0.6 + 0.4 * std::cos(kTwoPi * 25 * t);
    const double shape = std::min(1.0, t / 0.02) * std::exp(-t * 4);
    s[i] = static_cast<float>((lower * 4 + 0.35 * std::sin(kTwoPi * 38 * t)) * judder * shape);
  }
  Normalise(s, 0.7f);
  return s;
}

// Sound 4: wind in the grass, an ambience that loops: its swell has whole periods over the
// length, so the end meets the start.
Samples Wind() {
  constexpr double kSeconds = 4.0;
  Samples s = Sized(kSeconds);
  Noise noise(47);
  float low = 0;
  float lower = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    low += 0.08f * (noise.Next() - low);
    lower += 0.3f * (low - lower);
    const double swell =
        0.55 + 0.3 * std::sin(kTwoPi * t / kSeconds) + 0.15 * std::sin(kTwoPi * 3 * t / kSeconds);
    s[i] = static_cast<float>(lower * swell);
  }
  Normalise(s, 0.5f);
  return s;
}

// Sound 5: a firework bursting far off: a boom and a crackle.
Samples FireworkBurst() {
  Samples s = Sized(0.9);
  Noise noise(59);
  float low = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    low += 0.1f * (noise.Next() - low);
    const double boom = std::sin(kTwoPi * 55 * t) * std::exp(-t * 7);
    const double crackle = (noise.Next() > 0.93f ? 1.0 : 0.0) * std::exp(-t * 3) * 0.6;
    s[i] = static_cast<float>(boom + low * 2.5 * std::exp(-t * 9) + crackle * (t > 0.15));
  }
  Normalise(s, 0.7f);
  return s;
}

// Sound 18: a claw tearing through the air: a hiss sweeping down, sharp at the start.
Samples ClawSlash() {
  Samples s = Sized(0.45);
  Noise noise(83);
  float previous = 0;
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const float n = noise.Next();
    const float high = n - previous;  // the hiss: noise without its low part
    previous = n;
    phase += kTwoPi * (2400 * std::exp(-t * 5) + 200) / kEffectRate;
    const double shape = std::min(1.0, t / 0.01) * std::exp(-t * 9);
    s[i] = static_cast<float>((high * 0.8 + 0.3 * std::sin(phase)) * shape);
  }
  Normalise(s, 0.7f);
  return s;
}

// Sound 6: Hotaru humming, her voice: a short wordless tune with the mouth closed, a
// soft fundamental with a few weak harmonics, a slow vibrato and a breath at each note.
Samples Humming() {
  static const char* kTune[] = {"A4", "C5", "D5", "C5", "A4", "G4", "A4"};
  static const double kBeats[] = {1, 1, 2, 1, 1, 1, 3};
  constexpr double kBeat = 0.3;
  Samples s = Sized(3.3);
  Noise breath(47);
  double at = 0.05;
  for (std::size_t n = 0; n < std::size(kTune); ++n) {
    const double f = NoteFrequency(kTune[n]);
    const double length = kBeats[n] * kBeat;
    const auto start = static_cast<std::size_t>(at * kEffectRate);
    const auto count = static_cast<std::size_t>(length * kEffectRate);
    double phase = 0;
    for (std::size_t i = 0; i < count && start + i < s.size(); ++i) {
      const double t = TimeOf(i);
      // Swell in, fall away at the end of the note; the vibrato grows as it is held.
      const double shape = std::min(1.0, t / 0.06) * std::min(1.0, (length - t) / 0.08);
      phase += kTwoPi * f * (1 + 0.006 * std::min(1.0, t * 2) * std::sin(kTwoPi * 5.5 * t)) /
               kEffectRate;
      const double tone = std::sin(phase) + 0.35 * std::sin(2 * phase) +
                          0.12 * std::sin(3 * phase) + 0.05 * std::sin(4 * phase);
      s[start + i] += static_cast<float>((tone + 0.03 * breath.Next()) * shape);
    }
    at += length;
  }
  Normalise(s, 0.5f);
  return s;
}

}  // namespace

const std::vector<Effect>& Effects() {
  static const std::vector<Effect> effects = {
      {1, "wind chime", WindChime},   {2, "footsteps", Footsteps},
      {3, "rumble", Rumble},          {4, "wind", Wind},
      {5, "firework", FireworkBurst}, {6, "humming", Humming},
      {18, "claw", ClawSlash},
  };
  return effects;
}

}  // namespace demo_sound
