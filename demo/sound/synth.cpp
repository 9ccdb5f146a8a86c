#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace demo_sound {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Attack-decay-release shape over a note of `length` seconds, at time t.
double Envelope(Instrument instrument, double t, double length) {
  switch (instrument) {
    case Instrument::kBell: return std::min(1.0, t / 0.004) * std::exp(-t * 2.2);
    case Instrument::kPluck: return std::min(1.0, t / 0.002) * std::exp(-t * 3.0);
    case Instrument::kBass: return std::min(1.0, t / 0.01) * std::exp(-t * 1.6);
    case Instrument::kPad: {
      const double attack = std::min(1.0, t / 0.35);
      const double release = std::clamp((length - t) / 0.4, 0.0, 1.0);
      return attack * release;
    }
    case Instrument::kFlute: {
      const double attack = std::min(1.0, t / 0.06);
      const double release = std::clamp((length - t) / 0.08, 0.0, 1.0);
      return attack * release;
    }
  }
  return 0;
}

// How long a note sounds past its written length.
double Tail(Instrument instrument) {
  switch (instrument) {
    case Instrument::kBell: return 1.8;
    case Instrument::kPluck: return 1.2;
    case Instrument::kBass: return 0.6;
    case Instrument::kPad: return 0.0;
    case Instrument::kFlute: return 0.0;
  }
  return 0;
}

}  // namespace

float Noise::Next() {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<float>(static_cast<double>(state_ >> 8) / 8388608.0 - 1.0);
}

void AddNote(Samples& out, int rate, Instrument instrument, double frequency, double start,
             double seconds, float gain) {
  const double sounding = instrument == Instrument::kPad || instrument == Instrument::kFlute
                              ? seconds
                              : seconds + Tail(instrument);
  const auto first = static_cast<std::size_t>(std::lround(start * rate));
  const auto count = static_cast<std::size_t>(std::lround(sounding * rate));
  if (out.size() < first + count) out.resize(first + count, 0.0f);

  if (instrument == Instrument::kPluck) {
    // A delay line of one period filled with noise, averaged as it circulates.
    const auto period = std::max<std::size_t>(2, static_cast<std::size_t>(rate / frequency));
    std::vector<float> line(period);
    Noise noise(static_cast<std::uint32_t>(frequency * 1000));
    for (float& s : line) s = noise.Next();
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = i % period;
      const float next = line[(at + 1) % period];
      const float value = line[at];
      line[at] = 0.498f * (value + next);
      const double t = static_cast<double>(i) / rate;
      out[first + i] += gain * value * static_cast<float>(std::min(1.0, (sounding - t) / 0.05));
    }
    return;
  }

  Noise breath(7);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double phase = kTwoPi * frequency * t;
    double v = 0;
    switch (instrument) {
      case Instrument::kBell:
        v = std::sin(phase) + 0.35 * std::sin(phase * 2.76) * std::exp(-t * 4) +
            0.15 * std::sin(phase * 5.40) * std::exp(-t * 8);
        break;
      case Instrument::kBass:
        v = std::sin(phase) + 0.3 * std::sin(2 * phase) * std::exp(-t * 6);
        break;
      case Instrument::kPad:
        v = (std::sin(phase) + std::sin(phase * 1.003) + 0.5 * std::sin(phase * 2.001)) / 2.5;
        break;
      case Instrument::kFlute: {
        const double vibrato = 1 + 0.004 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, t / 0.3);
        v = std::sin(phase * vibrato) + 0.2 * std::sin(2 * phase * vibrato) + 0.04 * breath.Next();
        break;
      }
      case Instrument::kPluck: break;
    }
    out[first + i] += gain * static_cast<float>(v * Envelope(instrument, t, sounding));
  }
}

double NoteFrequency(std::string_view name) {
  if (name.size() < 2) return 0;
  static constexpr int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name[0] < 'A' || name[0] > 'G') return 0;
  int semitone = kSemitones[name[0] - 'A'];
  std::size_t at = 1;
  if (name[at] == '#') {
    ++semitone;
    ++at;
  } else if (name[at] == 'b') {
    --semitone;
    ++at;
  }
  if (at + 1 != name.size() || name[at] < '0' || name[at] > '8') return 0;
  const int midi = (name[at] - '0' + 1) * 12 + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void AddVoice(Samples& out, int rate, Instrument instrument, std::string_view score, double step,
              double start, float gain) {
  std::vector<std::string> tokens;
  std::size_t at = 0;
  while (at < score.size()) {
    const std::size_t end = std::min(score.find(' ', at), score.size());
    if (end > at && score.substr(at, end - at) != "|") {
      tokens.emplace_back(score.substr(at, end - at));
    }
    at = end + 1;
  }
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const double frequency = NoteFrequency(tokens[i]);
    if (frequency == 0) continue;
    std::size_t held = 1;
    while (i + held < tokens.size() && tokens[i + held] == "-") ++held;
    AddNote(out, rate, instrument, frequency, start + static_cast<double>(i) * step,
            static_cast<double>(held) * step, gain);
  }
}

void Normalise(Samples& samples, float peak) {
  float loudest = 0;
  for (float s : samples) loudest = std::max(loudest, std::fabs(s));
  if (loudest == 0) return;
  for (float& s : samples) s *= peak / loudest;
}

}  // namespace demo_sound
