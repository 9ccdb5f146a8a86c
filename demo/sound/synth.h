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
  kBell,     // struck: a sine and a bright inharmonic partial, long decay
  kPluck,    // plucked string (Karplus–Strong)
  kPad,      // soft chord tone: detuned sines, slow attack and release
  kBass,     // round low note with a short pluck
  kFlute,    // breathy sine with vibrato
  kPiano,    // hammered strings: harmonics that fade faster the higher they are
  kDrum,     // a taiko's low thump, its pitch falling as it sounds
  kWood,     // a dry wooden clack (clappers, a woodblock)
  kCicada,   // a pulsing buzz around the note, as insects sing
  kOcarina,  // a round, pure flute tone with vibrato and no breath
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
// is a note name with octave ("C4", "F#5", "Bb3"), notes joined by "+" for a chord
// ("A3+C4+E4"), "." for a rest, or "-" to hold the note before for one more step; a note,
// chord or rest followed by ":n" lasts n steps ("C4:8", ".:4"). Tokens are separated by
// spaces; "|" bar lines are ignored. Throws std::invalid_argument naming a token that is
// none of these.
void AddVoice(Samples& out, int rate, Instrument instrument, std::string_view score, double step,
              double start, float gain);

// How many steps a voice's score lasts.
int ScoreSteps(std::string_view score);

// Frequency of a note name such as "A4" (440 Hz); 0 for a name that is not a note.
double NoteFrequency(std::string_view name);

// Scales the samples so that the loudest reaches `peak`.
void Normalise(Samples& samples, float peak);

}  // namespace demo_sound
