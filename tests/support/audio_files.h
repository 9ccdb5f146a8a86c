// Audio files for tests: tones as 22050 Hz mono 16-bit samples, raw (a sound file's content)
// or wrapped as a WAV file (a disc track as a ripper writes it).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace hotaru_test {

using Bytes = std::vector<std::uint8_t>;

// `ms` of a quiet tone (440 Hz unless said) as 22050 Hz mono 16-bit samples, little-endian.
inline Bytes ToneSamples(std::uint32_t ms, int amplitude = 3000, double hz = 440) {
  const std::size_t count = static_cast<std::size_t>(ms) * 22050 / 1000;
  Bytes out;
  for (std::size_t i = 0; i < count; ++i) {
    const auto v = static_cast<std::int16_t>(amplitude * std::sin(i * 2 * 3.14159265 * hz / 22050));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  return out;
}

// A WAV file of those samples: what a ripper writes for a track.
inline Bytes WavFile(std::uint32_t ms, int amplitude = 3000, double hz = 440) {
  const Bytes samples = ToneSamples(ms, amplitude, hz);
  Bytes out;
  auto text = [&](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
  };
  auto le = [&](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  text("RIFF");
  le(static_cast<std::uint32_t>(36 + samples.size()), 4);
  text("WAVE");
  text("fmt ");
  le(16, 4);
  le(1, 2);
  le(1, 2);
  le(22050, 4);
  le(44100, 4);
  le(2, 2);
  le(16, 2);
  text("data");
  le(static_cast<std::uint32_t>(samples.size()), 4);
  for (std::uint8_t b : samples) out.push_back(b);
  return out;
}

}  // namespace hotaru_test
