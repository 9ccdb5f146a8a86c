#include "tracks.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "piece.h"

namespace demo_sound {
namespace {

// A note held for `steps` steps, as score text.
std::string Held(const std::string& note, int steps) {
  std::string out = note;
  for (int i = 1; i < steps; ++i) out += " -";
  return out + " ";
}

// Chords of three notes, each held for `steps`: three voices, one per chord tone.
void AddChords(Samples& out, Instrument instrument,
               const std::vector<std::vector<std::string>>& chords, int steps, double step,
               float gain) {
  for (std::size_t voice = 0; voice < 3; ++voice) {
    std::string score;
    for (const auto& chord : chords) score += Held(chord[voice], steps);
    AddVoice(out, kTrackRate, instrument, score, step, 0, gain);
  }
}

// Cuts a loop to its length, letting the last second fade so the restart is clean.
Samples Finish(Samples s, double seconds) {
  s.resize(static_cast<std::size_t>(seconds * kTrackRate), 0.0f);
  const std::size_t fade = kTrackRate;
  for (std::size_t i = 0; i < fade && i < s.size(); ++i) {
    s[s.size() - 1 - i] *= static_cast<float>(i) / fade;
  }
  Normalise(s, 0.7f);
  return s;
}

// Music 0: the maker's chime, played once.
Samples LogoChime() {
  Samples s;
  AddVoice(s, kTrackRate, Instrument::kBell, "C5 E5 G5 C6 - - - - E6 - - - - - - -", 0.18, 0, 0.5f);
  AddChords(s, Instrument::kPad, {{"C4", "E4", "G4"}}, 16, 0.18, 0.18f);
  return Finish(std::move(s), 5.0);
}

// Music 1: the walk home in the evening; a plucked tune over soft chords.
Samples EveningWalk() {
  constexpr double kStep = 0.25;
  Samples s;
  AddVoice(s, kTrackRate, Instrument::kPluck,
           "E5 - G5 - A5 - G5 E5 D5 - E5 - . . . . | C5 - D5 - E5 - G5 - A5 - - - G5 - . . | "
           "E5 - G5 - A5 - C6 - A5 G5 E5 - D5 - . . | E5 - D5 - C5 - - - . . . . . . . .",
           kStep, 0, 0.55f);
  const std::vector<std::vector<std::string>> chords = {
      {"C4", "E4", "G4"}, {"A3", "C4", "E4"}, {"F3", "A3", "C4"}, {"G3", "B3", "D4"},
      {"C4", "E4", "G4"}, {"A3", "C4", "E4"}, {"G3", "B3", "D4"}, {"C4", "E4", "G4"}};
  AddChords(s, Instrument::kPad, chords, 8, kStep, 0.12f);
  std::string bass;
  for (const auto& chord : chords) {
    const std::string root = chord[0].substr(0, chord[0].size() - 1) + "2";
    bass += root + " - - - " + root + " - - - ";
  }
  AddVoice(s, kTrackRate, Instrument::kBass, bass, kStep, 0, 0.35f);
  return Finish(std::move(s), 16.0);
}

// Music 2: fireflies by the river; slow bells over a minor drift.
Samples Fireflies() {
  constexpr double kStep = 0.375;
  Samples s;
  AddVoice(s, kTrackRate, Instrument::kBell, kFirefliesTune, kStep, 0, 0.4f);
  AddChords(s, Instrument::kPad,
            {{"A3", "C4", "E4"},
             {"F3", "A3", "C4"},
             {"C4", "E4", "G4"},
             {"G3", "B3", "D4"},
             {"A3", "C4", "E4"},
             {"F3", "A3", "C4"},
             {"G3", "B3", "D4"},
             {"A3", "C4", "E4"}},
            8, kStep, 0.16f);
  return Finish(std::move(s), 24.0);
}

// Music 3: the festival and its fireworks; a flute over plucked chords.
Samples Festival() {
  constexpr double kStep = 0.1875;
  Samples s;
  AddVoice(
      s, kTrackRate, Instrument::kFlute,
      "D5 E5 F#5 - A5 - F#5 E5 D5 - B4 - A4 - - - | D5 E5 F#5 - A5 - B5 - A5 - F#5 - E5 - - - | "
      "F#5 A5 B5 - D6 - B5 A5 F#5 - E5 - D5 - E5 - | F#5 - E5 - D5 - - - - - - - . . . .",
      kStep, 0, 0.35f);
  const std::vector<std::vector<std::string>> chords = {
      {"D4", "F#4", "A4"}, {"B3", "D4", "F#4"}, {"G3", "B3", "D4"},  {"A3", "C#4", "E4"},
      {"D4", "F#4", "A4"}, {"B3", "D4", "F#4"}, {"A3", "C#4", "E4"}, {"D4", "F#4", "A4"}};
  std::string arpeggio;
  std::string bass;
  for (const auto& chord : chords) {
    arpeggio += chord[0] + " " + chord[1] + " " + chord[2] + " " + chord[1] + " ";
    arpeggio += chord[0] + " " + chord[1] + " " + chord[2] + " " + chord[1] + " ";
    bass += Held(chord[0].substr(0, chord[0].size() - 1) + "2", 8);
  }
  AddVoice(s, kTrackRate, Instrument::kPluck, arpeggio, kStep, 0, 0.3f);
  AddVoice(s, kTrackRate, Instrument::kBass, bass, kStep, 0, 0.3f);
  return Finish(std::move(s), 12.0);
}

}  // namespace

const std::vector<Track>& Tracks() {
  static const std::vector<Track> tracks = [] {
    std::vector<Track> all = {
        {2, "Chime", LogoChime},
        {3, "Evening walk", EveningWalk},
        {4, "Fireflies", Fireflies},
        {5, "Festival", Festival},
    };
    for (const auto* group : {&ThemePieces(), &CharacterPieces(), &ScenePieces()}) {
      for (const Piece& piece : *group) {
        all.push_back(
            {piece.music + 2, piece.title, [&piece] { return Render(piece, kTrackRate); }});
      }
    }
    std::sort(all.begin(), all.end(),
              [](const Track& a, const Track& b) { return a.number < b.number; });
    return all;
  }();
  return tracks;
}

}  // namespace demo_sound
