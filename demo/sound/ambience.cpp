#include "ambience.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demo_sound {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// A value of 0 … 1 from the noise.
double Chance(Noise& noise) { return (noise.Next() + 1) / 2; }

// Rain: a soft low hiss, and drops: short high ticks at random pitches and moments, so many a
// second. Without the hiss it is quiet rain dripping; the hiss costs the encoder
// many bits, the drops few.
struct Rain {
  double drops_per_second;
  bool hiss;
  float low = 0;
  float lower = 0;
  double drop_age = 1;
  double drop_pitch = 2000;
  double drop_gain = 0;

  float Next(Noise& noise, double rate) {
    low += 0.12f * (noise.Next() - low);
    lower += 0.12f * (low - lower);
    if (Chance(noise) < drops_per_second / rate) {
      drop_age = 0;
      drop_pitch = 1200 + 2800 * Chance(noise);
      drop_gain = 0.3 + 0.7 * Chance(noise);
    }
    const double a = drop_age;
    drop_age += 1 / rate;
    const double tick = drop_gain * std::sin(kTwoPi * drop_pitch * a) * std::exp(-a * 250);
    return static_cast<float>((hiss ? 0.8 * lower : 0.0) + 0.5 * tick);
  }
};

// Water running by: bubbles, short tones whose pitch rises as they fade.
struct Water {
  double bubble_age = 1;
  double bubble_pitch = 400;

  float Next(Noise& noise, double rate) {
    if (bubble_age > 0.06 && Chance(noise) < 9 / rate) {
      bubble_age = 0;
      bubble_pitch = 300 + 500 * Chance(noise);
    }
    const double a = bubble_age;
    bubble_age += 1 / rate;
    const double bubble = std::sin(kTwoPi * bubble_pitch * (a + 4 * a * a)) * std::exp(-a * 50);
    return static_cast<float>(bubble);
  }
};

// Crackle: sharp ticks at high random pitches, densest in the middle of the span (the
// sparkler at its height).
struct Sparks {
  double age = 1;
  double pitch = 3000;
  double gain = 0;

  float Next(Noise& noise, double along, double rate) {
    const double density = 2 + 15 * std::pow(std::sin(std::numbers::pi * along), 2);
    if (Chance(noise) < density / rate) {
      age = 0;
      pitch = 2500 + 4000 * Chance(noise);
      gain = 0.4 + 0.6 * Chance(noise);
    }
    const double a = age;
    age += 1 / rate;
    return static_cast<float>(gain * std::sin(kTwoPi * pitch * a) * std::exp(-a * 900));
  }
};

}  // namespace

void AddAmbience(Samples& out, int rate, Ambience kind, double start, double seconds, float gain) {
  const auto first = static_cast<std::size_t>(std::lround(start * rate));
  const auto count = static_cast<std::size_t>(std::lround(seconds * rate));
  if (out.size() < first + count) out.resize(first + count, 0.0f);
  Noise noise(static_cast<std::uint32_t>(101 + 7 * static_cast<int>(kind) + first));
  float low = 0;
  float lower = 0;
  Rain rain{kind == Ambience::kRain ? 30.0 : 8.0, kind == Ambience::kRain};
  Water water;
  Sparks sparks;
  const double r = rate;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / r;
    const double swell = std::min({1.0, t / 1.5, (seconds - t) / 1.5});
    float v = 0;
    switch (kind) {
      case Ambience::kRain:
      case Ambience::kDrips: v = rain.Next(noise, r); break;
      case Ambience::kWater: v = water.Next(noise, r); break;
      case Ambience::kSparks: v = sparks.Next(noise, t / seconds, r); break;
      case Ambience::kThunder: {
        low += 0.02f * (noise.Next() - low);
        lower += 0.02f * (low - lower);
        const double roll = 0.6 + 0.4 * std::sin(kTwoPi * 1.3 * t) * std::sin(kTwoPi * 0.4 * t);
        v = static_cast<float>(lower * 12 * roll * std::min(1.0, t / 0.15) * std::exp(-t * 0.7));
        break;
      }
    }
    const double shape = kind == Ambience::kThunder ? 1.0 : std::max(0.0, swell);
    out[first + i] += gain * static_cast<float>(v * shape);
  }
}

}  // namespace demo_sound
