#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
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
    case Instrument::kFlute:
    case Instrument::kOcarina: {
      const double attack = std::min(1.0, t / 0.06);
      const double release = std::clamp((length - t) / 0.08, 0.0, 1.0);
      return attack * release;
    }
    case Instrument::kPiano: {
      // The damper falls at the end of the written note.
      const double release = std::clamp((length - t) / 0.25, 0.0, 1.0);
      return std::min(1.0, t / 0.003) * std::exp(-t * 0.9) * release;
    }
    case Instrument::kDrum: return std::min(1.0, t / 0.002) * std::exp(-t * 7);
    case Instrument::kWood: return std::min(1.0, t / 0.001) * std::exp(-t * 45);
    case Instrument::kCicada: {
      const double attack = std::min(1.0, t / 0.05);
      const double release = std::clamp((length - t) / 0.1, 0.0, 1.0);
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
    case Instrument::kPiano: return 0.25;
    case Instrument::kDrum: return 0.5;
    case Instrument::kWood: return 0.12;
    case Instrument::kCicada: return 0.0;
    case Instrument::kOcarina: return 0.0;
  }
  return 0;
}

// Sustained instruments sound for the written length only; struck ones ring on.
bool Sustained(Instrument instrument) {
  return instrument == Instrument::kPad || instrument == Instrument::kFlute ||
         instrument == Instrument::kCicada || instrument == Instrument::kOcarina;
}

// One piano string: harmonics up to below half the rate (higher ones would fold back as
// false tones), each dying away faster than the one below. The harmonics come from the
// angle-sum recurrence, not a sine each, and their decays are powers of one factor.
double PianoTone(double phase, double frequency, int rate, double t) {
  const double s1 = std::sin(phase);
  const double c1 = std::cos(phase);
  const double decay = std::exp(-t * 1.5);
  double sh = s1;
  double ch = c1;
  double fade = 1;
  double v = 0;
  for (int h = 1; h <= 5 && h * frequency < rate / 2.0; ++h) {
    v += sh * fade / (h * std::sqrt(h));
    const double next = sh * c1 + ch * s1;
    ch = ch * c1 - sh * s1;
    sh = next;
    fade *= decay;
  }
  return v;
}

}  // namespace

float Noise::Next() {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<float>(static_cast<double>(state_ >> 8) / 8388608.0 - 1.0);
}

void AddNote(Samples& out, int rate, Instrument instrument, double frequency, double start,
             double seconds, float gain) {
  const double sounding = Sustained(instrument) ? seconds : seconds + Tail(instrument);
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
      case Instrument::kPiano:
        v = 0.7 * PianoTone(phase, frequency, rate, t) +
            0.3 * PianoTone(phase * 1.0015, frequency, rate, t);
        break;
      case Instrument::kDrum: {
        // The skin's pitch falls from 1.6 times the note: the phase of that glide.
        const double glide = kTwoPi * frequency * (t + 0.6 * (1 - std::exp(-t * 30)) / 30);
        v = std::sin(glide) + 0.4 * breath.Next() * std::exp(-t * 50);
        break;
      }
      case Instrument::kWood: v = std::sin(phase) + 0.5 * std::sin(phase * 2.3); break;
      case Instrument::kCicada: {
        // Two close tones beating, chopped into fast pulses: a buzz, and tones rather than
        // hiss so that the encoder spends few bits on it.
        const double pulse = 0.5 + 0.5 * std::sin(kTwoPi * 45 * t);
        const double waver = 0.7 + 0.3 * std::sin(kTwoPi * 5 * t);
        v = (std::sin(phase) + 0.6 * std::sin(phase * 1.06)) * pulse * pulse * pulse * waver;
        break;
      }
      case Instrument::kOcarina: {
        const double vibrato = 1 + 0.004 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, t / 0.3);
        v = std::sin(phase * vibrato) + 0.12 * std::sin(2 * phase * vibrato);
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

namespace {

// One note or chord of a voice, in steps from the voice's start.
struct Event {
  std::vector<double> frequencies;
  std::size_t at;
  std::size_t steps;
};

std::vector<std::string> Tokens(std::string_view score) {
  std::vector<std::string> tokens;
  std::size_t at = 0;
  while (at < score.size()) {
    const std::size_t end = std::min(score.find(' ', at), score.size());
    if (end > at && score.substr(at, end - at) != "|") {
      tokens.emplace_back(score.substr(at, end - at));
    }
    at = end + 1;
  }
  return tokens;
}

// The notes and chords of a score with their places; `length` receives its steps.
std::vector<Event> Events(std::string_view score, std::size_t& length) {
  std::vector<Event> events;
  std::size_t at = 0;
  for (const std::string& token : Tokens(score)) {
    if (token == "-") {
      if (!events.empty() && events.back().at + events.back().steps == at) ++events.back().steps;
      ++at;
      continue;
    }
    std::string_view body = token;
    std::size_t steps = 1;
    if (const std::size_t colon = body.find(':'); colon != std::string_view::npos) {
      const std::string count(body.substr(colon + 1));
      if (count.empty() || count.size() > 3 ||
          count.find_first_not_of("0123456789") != std::string::npos || std::stoi(count) == 0) {
        throw std::invalid_argument("score token \"" + token +
                                    "\" needs a count of steps (1 to 999) after ':'");
      }
      steps = static_cast<std::size_t>(std::stoi(count));
      body = body.substr(0, colon);
    }
    if (body != ".") {
      Event event{{}, at, steps};
      for (std::size_t from = 0; from <= body.size();) {
        const std::size_t plus = std::min(body.find('+', from), body.size());
        const double frequency = NoteFrequency(body.substr(from, plus - from));
        if (frequency == 0) {
          throw std::invalid_argument("score token \"" + token + "\" is not a note");
        }
        event.frequencies.push_back(frequency);
        from = plus + 1;
      }
      events.push_back(std::move(event));
    }
    at += steps;
  }
  length = at;
  return events;
}

}  // namespace

void AddVoice(Samples& out, int rate, Instrument instrument, std::string_view score, double step,
              double start, float gain) {
  std::size_t length = 0;
  for (const Event& event : Events(score, length)) {
    for (const double frequency : event.frequencies) {
      AddNote(out, rate, instrument, frequency, start + static_cast<double>(event.at) * step,
              static_cast<double>(event.steps) * step, gain);
    }
  }
}

int ScoreSteps(std::string_view score) {
  std::size_t length = 0;
  Events(score, length);
  return static_cast<int>(length);
}

void Normalise(Samples& samples, float peak) {
  float loudest = 0;
  for (float s : samples) loudest = std::max(loudest, std::fabs(s));
  if (loudest == 0) return;
  for (float& s : samples) s *= peak / loudest;
}

}  // namespace demo_sound
