// The story's own music: the evening walk (which also carries the opening into the title),
// the fireflies (which also carry the credits) and the festival. Each is a loop, its last
// bar leading back into its first.
#include <string>
#include <vector>

#include "piece.h"
#include "tracks.h"

namespace demo_sound {
namespace {

// A chord of a bar: its tones joined by "+" and its bass note.
struct Chord {
  const char* tones;
  const char* root;
};
using Chords = std::vector<Chord>;

// The chords held a bar each.
std::string Held(const Chords& chords, int bar) {
  std::string score;
  for (const Chord& chord : chords)
    score += std::string(chord.tones) + ":" + std::to_string(bar) + " ";
  return score;
}

// The bass on each bar's first and middle step.
std::string Bass(const Chords& chords, int bar) {
  std::string score;
  for (const Chord& chord : chords) {
    for (int half = 0; half < 2; ++half) {
      score += std::string(chord.root) + ":" + std::to_string(bar / 2) + " ";
    }
  }
  return score;
}

// The chords broken, a tone a step: low, middle, high, middle, twice a bar of eight.
std::string Broken(const Chords& chords) {
  std::string score;
  for (const Chord& chord : chords) {
    std::vector<std::string> tones;
    std::string tone;
    for (const char* c = chord.tones;; ++c) {
      if (*c == '+' || *c == '\0') {
        tones.push_back(tone);
        tone.clear();
        if (*c == '\0') break;
      } else {
        tone += *c;
      }
    }
    for (int k = 0; k < 2; ++k) {
      score += tones[0] + " " + tones[1] + " " + tones[2] + " " + tones[1] + " ";
    }
  }
  return score;
}

// Writes voices into a piece section by section: `bar` steps a bar, eight bars a section.
class Sections {
 public:
  Sections(double step, int bar) : step_(step), bar_(bar) {}

  void Add(int section, Instrument instrument, const std::string& score, float gain) {
    AddVoice(samples_, kTrackRate, instrument, score, step_, section * 8 * bar_ * step_, gain);
  }
  // The chords of a section as a soft pad and a bass.
  void AddHarmony(int section, const Chords& chords, float pad, float bass) {
    Add(section, Instrument::kPad, Held(chords, bar_), pad);
    Add(section, Instrument::kBass, Bass(chords, bar_), bass);
  }
  Samples Finish(int sections) {
    return Loop(std::move(samples_), kTrackRate, sections * 8 * bar_ * step_);
  }

 private:
  double step_;
  int bar_;
  Samples samples_;
};

// --- Music 1: the evening walk ------------------------------------------------------------
// Its first section is the walk the story knows, and the opening's. The title comes up as it
// ends, and the walk goes on under the title and its menus: the tune answered by a flute, a
// bridge, the tune on bells, a still interlude, the bridge again, the tune on the piano and a
// close that turns back to the start. Two minutes and eight seconds.

const Chords kWalkChords = {{"C4+E4+G4", "C2"}, {"A3+C4+E4", "A2"}, {"F3+A3+C4", "F2"},
                            {"G3+B3+D4", "G2"}, {"C4+E4+G4", "C2"}, {"A3+C4+E4", "A2"},
                            {"G3+B3+D4", "G2"}, {"C4+E4+G4", "C2"}};
const Chords kWalkBridgeChords = {{"F3+A3+C4", "F2"}, {"C4+E4+G4", "C2"}, {"D3+F3+A3", "D2"},
                                  {"G3+B3+D4", "G2"}, {"F3+A3+C4", "F2"}, {"C4+E4+G4", "C2"},
                                  {"D3+F3+A3", "D2"}, {"G3+B3+D4", "G2"}};
const Chords kWalkStillChords = {{"A3+C4+E4", "A2"}, {"A3+C4+E4", "A2"}, {"F3+A3+C4", "F2"},
                                 {"F3+A3+C4", "F2"}, {"C4+E4+G4", "C2"}, {"C4+E4+G4", "C2"},
                                 {"G3+B3+D4", "G2"}, {"G3+B3+D4", "G2"}};
const Chords kWalkCloseChords = {{"F3+A3+C4", "F2"}, {"G3+B3+D4", "G2"}, {"E3+G3+B3", "E2"},
                                 {"A3+C4+E4", "A2"}, {"F3+A3+C4", "F2"}, {"C4+E4+G4", "C2"},
                                 {"D3+F3+A3", "D2"}, {"G3+B3+D4", "G2"}};

constexpr const char* kWalkTune =
    "E5 - G5 - A5 - G5 E5 D5 - E5 - . . . . | C5 - D5 - E5 - G5 - A5 - - - G5 - . . | "
    "E5 - G5 - A5 - C6 - A5 G5 E5 - D5 - . . | E5 - D5 - C5 - - - . . . . . . . .";
constexpr const char* kWalkAnswer =
    "E5 - G5 - A5 - G5 E5 D5 - E5 - G5 - - - | C5 - D5 - E5 - G5 - A5 - C6 - G5 - - - | "
    "E5 - G5 - A5 - C6 - D6 - C6 - A5 - G5 - | A5 - G5 - E5 - D5 - C5 - - - - - . .";
constexpr const char* kWalkBridge =
    "A5 - - - G5 - F5 - | E5 - - - G5 - - - | F5 - - - E5 - D5 - | D5 - - - B4 - - - | "
    "A5 - - - C6 - A5 - | G5 - - - E5 - C5 - | D5 - F5 - A5 - F5 - | D5 - - - B4 - D5 -";
constexpr const char* kWalkStill =
    "E5:8 | A5:6 G5:2 | F5:8 | A5:4 C6:4 | G5:8 | E5:4 C5:4 | D5:8 | B4:4 D5:4";
constexpr const char* kWalkStillBells =
    ".:4 E6:4 | .:8 | .:4 C6:4 | .:8 | .:4 G6:4 | .:8 | .:4 D6:4 | .:8";
constexpr const char* kWalkClose =
    "C6 - - - A5 - F5 - | D5 - - - G5 - B5 - | B5 - - - G5 - E5 - | C6 - - - B5 - A5 - | "
    "A5 - - - C6 - A5 - | G5 - - - E5 - G5 - | F5 - - - E5 - D5 - | D5 - - - - - . .";

Samples EveningWalk() {
  Sections s(0.25, 8);
  s.Add(0, Instrument::kPluck, kWalkTune, 0.55f);
  s.AddHarmony(0, kWalkChords, 0.12f, 0.35f);

  s.Add(1, Instrument::kOcarina, kWalkAnswer, 0.33f);
  s.Add(1, Instrument::kPluck, Broken(kWalkChords), 0.2f);
  s.AddHarmony(1, kWalkChords, 0.1f, 0.32f);

  s.Add(2, Instrument::kPiano, kWalkBridge, 0.42f);
  s.Add(2, Instrument::kPluck, Broken(kWalkBridgeChords), 0.16f);
  s.AddHarmony(2, kWalkBridgeChords, 0.1f, 0.3f);

  s.Add(3, Instrument::kBell, kWalkTune, 0.36f);
  s.Add(3, Instrument::kPluck, Broken(kWalkChords), 0.2f);
  s.AddHarmony(3, kWalkChords, 0.12f, 0.32f);

  s.Add(4, Instrument::kFlute, kWalkStill, 0.3f);
  s.Add(4, Instrument::kBell, kWalkStillBells, 0.14f);
  s.AddHarmony(4, kWalkStillChords, 0.13f, 0.22f);

  s.Add(5, Instrument::kOcarina, kWalkBridge, 0.33f);
  s.Add(5, Instrument::kPluck, Broken(kWalkBridgeChords), 0.2f);
  s.AddHarmony(5, kWalkBridgeChords, 0.1f, 0.32f);

  s.Add(6, Instrument::kPiano, kWalkAnswer, 0.42f);
  s.Add(6, Instrument::kPluck, Broken(kWalkChords), 0.18f);
  s.AddHarmony(6, kWalkChords, 0.12f, 0.35f);

  s.Add(7, Instrument::kPiano, kWalkClose, 0.4f);
  s.AddHarmony(7, kWalkCloseChords, 0.12f, 0.3f);
  return s.Finish(8);
}

// --- Music 2: the fireflies ------------------------------------------------------------------
// Slow bells over a minor drift: the fireflies' scene by the river, and the whole of the
// credits. Its first section is the tune the story knows; then the flute takes it, a brighter
// middle on the piano, the bells again over the piano's chords, a still section, the middle
// on the flute, and the tune once more to close, ending on the chord that leads back in.
// Two minutes and forty-eight seconds: the credits and their last page.

const Chords kFirefliesChords = {{"A3+C4+E4", "A1"}, {"F3+A3+C4", "F1"}, {"C4+E4+G4", "C2"},
                                 {"G3+B3+D4", "G1"}, {"A3+C4+E4", "A1"}, {"F3+A3+C4", "F1"},
                                 {"G3+B3+D4", "G1"}, {"A3+C4+E4", "A1"}};
const Chords kFirefliesMiddleChords = {{"F3+A3+C4", "F1"},  {"G3+B3+D4", "G1"}, {"E3+G3+B3", "E2"},
                                       {"A3+C4+E4", "A1"},  {"F3+A3+C4", "F1"}, {"G3+B3+D4", "G1"},
                                       {"E3+G#3+B3", "E2"}, {"A3+C4+E4", "A1"}};
const Chords kFirefliesCloseChords = {{"A3+C4+E4", "A1"}, {"F3+A3+C4", "F1"}, {"C4+E4+G4", "C2"},
                                      {"G3+B3+D4", "G1"}, {"A3+C4+E4", "A1"}, {"F3+A3+C4", "F1"},
                                      {"D3+F3+A3", "D2"}, {"E3+G#3+B3", "E2"}};

constexpr const char* kFirefliesMiddle =
    "C6 - - - A5 - - - | B5 - - - D6 - - - | E6 - - - B5 - G5 - | A5 - - - - - - - | "
    "F5 - - - A5 - C6 - | D6 - - - B5 - G5 - | G#5 - - - B5 - - - | A5 - - - - - . .";
constexpr const char* kFirefliesStill = "E5:8 | F5:8 | E5:8 | D5:8 | C5:8 | A4:8 | B4:8 | C5:8";
constexpr const char* kFirefliesSparks =
    ".:4 E6:4 | .:2 C6:6 | .:4 G6:4 | .:8 | .:4 A6:4 | .:2 F6:6 | .:4 D6:4 | .:8";
constexpr const char* kFirefliesCloseLow = "E5:8 | F5:8 | E5:8 | D5:8 | C5:8 | A4:8 | A4:8 | B4:8";

Samples Fireflies() {
  Sections s(0.375, 8);
  s.Add(0, Instrument::kBell, kFirefliesTune, 0.4f);
  s.Add(0, Instrument::kPad, Held(kFirefliesChords, 8), 0.16f);

  s.Add(1, Instrument::kOcarina, kFirefliesTune, 0.3f);
  s.Add(1, Instrument::kPluck, Broken(kFirefliesChords), 0.18f);
  s.AddHarmony(1, kFirefliesChords, 0.12f, 0.25f);

  s.Add(2, Instrument::kPiano, kFirefliesMiddle, 0.4f);
  s.AddHarmony(2, kFirefliesMiddleChords, 0.12f, 0.25f);

  s.Add(3, Instrument::kBell, kFirefliesTune, 0.38f);
  s.Add(3, Instrument::kPiano, Broken(kFirefliesChords), 0.16f);
  s.AddHarmony(3, kFirefliesChords, 0.1f, 0.25f);

  s.Add(4, Instrument::kOcarina, kFirefliesStill, 0.22f);
  s.Add(4, Instrument::kPluck, kFirefliesSparks, 0.2f);
  s.AddHarmony(4, kFirefliesChords, 0.14f, 0.18f);

  s.Add(5, Instrument::kOcarina, kFirefliesMiddle, 0.3f);
  s.Add(5, Instrument::kPluck, Broken(kFirefliesMiddleChords), 0.18f);
  s.AddHarmony(5, kFirefliesMiddleChords, 0.12f, 0.25f);

  s.Add(6, Instrument::kBell, kFirefliesTune, 0.4f);
  s.Add(6, Instrument::kOcarina, kFirefliesCloseLow, 0.18f);
  s.AddHarmony(6, kFirefliesCloseChords, 0.14f, 0.22f);
  return s.Finish(7);
}

// --- Music 3: the festival ---------------------------------------------------------------------
// A flute over plucked chords, twelve seconds round and round.

const Chords kFestivalChords = {{"D4+F#4+A4", "D2"}, {"B3+D4+F#4", "B2"}, {"G3+B3+D4", "G2"},
                                {"A3+C#4+E4", "A2"}, {"D4+F#4+A4", "D2"}, {"B3+D4+F#4", "B2"},
                                {"A3+C#4+E4", "A2"}, {"D4+F#4+A4", "D2"}};

Samples Festival() {
  Sections s(0.1875, 8);
  s.Add(0, Instrument::kFlute,
        "D5 E5 F#5 - A5 - F#5 E5 D5 - B4 - A4 - - - | D5 E5 F#5 - A5 - B5 - A5 - F#5 - E5 - - - | "
        "F#5 A5 B5 - D6 - B5 A5 F#5 - E5 - D5 - E5 - | F#5 - E5 - D5 - - - - - - - . . . .",
        0.35f);
  s.Add(0, Instrument::kPluck, Broken(kFestivalChords), 0.3f);
  std::string bass;
  for (const Chord& chord : kFestivalChords) bass += std::string(chord.root) + ":8 ";
  s.Add(0, Instrument::kBass, bass, 0.3f);
  return s.Finish(1);
}

}  // namespace

const std::vector<Track>& StoryTracks() {
  static const std::vector<Track> tracks = {
      {3, "Evening walk", EveningWalk},
      {4, "Fireflies", Fireflies},
      {5, "Festival", Festival},
  };
  return tracks;
}

}  // namespace demo_sound
