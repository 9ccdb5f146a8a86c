// A small synthesiser for the demo's music and sounds: notes on instruments mixed into a
// buffer of float samples at one rate, from scores written as text. Deterministic: the same
// score gives the same samples (noise comes from a fixed-seed generator).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace demo_sound {

using Samples = std::vector<float>;

enum class Instrument {
  kBell,   // struck: a sine and a bright inharmonic partial, long decay
  kPluck,  // plucked string (Karplus–Strong)
  kPad,    // soft chord tone: detuned sines, slow attack and release
  kBass,   // round low note with a short pluck
  kFlute,  // breathy sine with vibrato
};

// Repeatable noise in -1 … 1.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  float Next();

 private:
  std::uint32_t state_;
};

// Adds one note of `seconds` at `start` (seconds) to `out`, growing it as needed.
void AddNote(Samples& out, int rate, Instrument instrument, double frequency, double start,
             double seconds, float gain);

// Adds a voice written as text: one token per step of `step` seconds, from `start`. A token
// is a note name with octave ("C4", "F#5", "Bb3"), "." for a rest, or "-" to hold the note
// before for one more step. Tokens are separated by spaces; "|" bar lines are ignored.
void AddVoice(Samples& out, int rate, Instrument instrument, std::string_view score, double step,
              double start, float gain);

// Frequency of a note name such as "A4" (440 Hz); 0 for a name that is not a note.
double NoteFrequency(std::string_view name);

// Scales the samples so that the loudest reaches `peak`.
void Normalise(Samples& samples, float peak);

}  // namespace demo_sound
