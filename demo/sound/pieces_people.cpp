// The characters' themes.
#include "piece.h"

namespace demo_sound {
namespace {

// Grandmother on the veranda: a koto-like pluck in the old five-note scale, in three.
constexpr const char* kVerandaTune =
    "D5 - E5 - G5 - | A5 - - - G5 E5 | D5 - - - B4 - | A4 - - - - - | "
    "D5 - E5 - G5 A5 | B5 - - A5 G5 - | E5 - G5 - E5 D5 | D5 - - - - -";
const Piece kGrandmother = {
    5,
    "Grandmother on the veranda",
    0.27,
    {
        {Instrument::kPluck, 0.45f, kVerandaTune},
        {Instrument::kOcarina, 0.3f, kVerandaTune, 1, 48},
        {Instrument::kPluck, 0.22f,
         "D3 . A3 . D4 . | D3 . A3 . D4 . | G3 . D4 . G4 . | A3 . E4 . A4 . | "
         "D3 . A3 . D4 . | G3 . D4 . G4 . | A3 . E4 . A4 . | D3 . A3 . D4 .",
         2},
        {Instrument::kBass, 0.22f, "D2:12 G2:6 A2:6 D2:6 G2:6 A2:6 D2:6", 2},
    }};

// The girl in the white dress: a light waltz.
const Piece kWhiteDress = {
    11,
    "The white dress",
    0.25,
    {
        {Instrument::kOcarina, 0.35f,
         "B5 - - - D6 - | C6 - B5 - A5 - | G5 - - - A5 B5 | A5 - - - - - | "
         "B5 - - - D6 - | E6 - D6 - C6 - | B5 - A5 - G5 A5 | G5 - - - - - | "
         "E6 - - - D6 - | C6 - B5 - A5 - | B5 - - - G5 - | A5 - - - D5 - | "
         "B5 - - - D6 - | E6 - F#6 - G6 - | F#6 - E6 - D6 - | G6 - - - - -"},
        {Instrument::kPluck, 0.25f,
         "G3 . B3+D4 . B3+D4 . | C4 . E4+G4 . E4+G4 . | E3 . G3+B3 . G3+B3 . | "
         "D3 . F#3+A3 . F#3+A3 . | G3 . B3+D4 . B3+D4 . | C4 . E4+G4 . E4+G4 . | "
         "D3 . F#3+A3 . F#3+A3 . | G3 . B3+D4 . B3+D4 . | C4 . E4+G4 . E4+G4 . | "
         "A3 . C4+E4 . C4+E4 . | E3 . G3+B3 . G3+B3 . | D3 . F#3+A3 . F#3+A3 . | "
         "G3 . B3+D4 . B3+D4 . | C4 . E4+G4 . E4+G4 . | D3 . F#3+A3 . F#3+A3 . | G3 . B3+D4 . . ."},
        {Instrument::kBass, 0.25f,
         "G2:6 C2:6 E2:6 D2:6 G2:6 C2:6 D2:6 G2:6 C2:6 A1:6 E2:6 D2:6 G2:6 C2:6 D2:6 G2:6"},
    }};

// A shy profile: a tune that hesitates, piano alone and then with a bell above it.
constexpr const char* kShyTune =
    "A5 - . C6 . A5 G5 - | F5 - - - . . . . | G5 - . A5 . G5 F5 - | E5 - - - . . C5 - | "
    "A5 - . C6 . D6 C6 - | A5 - - G5 F5 - D5 - | F5 - - - G5 - - E5 | F5 - - - - - . .";
const Piece kShyProfile = {
    12,
    "A shy profile",
    0.34,
    {
        {Instrument::kPiano, 0.42f, kShyTune},
        // The second half, a bell above the piano.
        {Instrument::kBell, 0.12f,
         "A6 - . C7 . D7 C7 - | A6 - - G6 F6 - D6 - | F6 - - - G6 - - E6 | F6 - - - - - . .", 1,
         32},
        {Instrument::kPiano, 0.22f,
         "F3 . C4 . A3 . C4 . | D3 . A3 . F3 . A3 . | Bb2 . F3 . D3 . F3 . | C3 . G3 . E3 . G3 . | "
         "F3 . C4 . A3 . C4 . | D3 . A3 . F3 . A3 . | Bb2 . F3 . C3 . G3 . | F3 . C4 . A3 . . ."},
        {Instrument::kPad, 0.08f,
         "F3+A3+C4:8 D3+F3+A3:8 Bb3+D4+F4:8 C4+E4+G4:8 F3+A3+C4:8 D3+F3+A3:8 "
         "Bb3+D4+F4:4 C4+E4+G4:4 F3+A3+C4:8"},
    }};

// The boy from the city: seventh chords, a walking bass and a syncopated guitar.
const Piece kCityBoy = {
    15,
    "The boy from the city",
    0.18,
    {
        {Instrument::kPiano, 0.4f,
         "E5 G5 . B5 - A5 G5 . | A5 - C6 . B5 A5 G5 E5 | F5 . A5 C6 - B5 A5 . | G5 - - . D5 E5 F5 "
         "G5 | "
         "E5 G5 . B5 - A5 G5 . | A5 - C6 . E6 D6 C6 A5 | F5 . A5 . G5 . B4 D5 | C5 - - . . . . .",
         2},
        {Instrument::kBass, 0.35f,
         "C3 - E3 - G3 - A3 - | A2 - C3 - E3 - G3 - | D3 - F3 - A3 - C4 - | G2 - B2 - D3 - F3 - | "
         "C3 - E3 - G3 - A3 - | A2 - C3 - E3 - G3 - | D3 - F3 - G2 - B2 - | C3 - G2 - C3 - . .",
         2},
        {Instrument::kPluck, 0.18f,
         ". C4+E4+B4 . . . C4+E4+B4 . . | . A3+C4+G4 . . . A3+C4+G4 . . | "
         ". D4+F4+C5 . . . D4+F4+C5 . . | . G3+B3+F4 . . . G3+B3+F4 . . | "
         ". C4+E4+B4 . . . C4+E4+B4 . . | . A3+C4+G4 . . . A3+C4+G4 . . | "
         ". D4+F4+C5 . . . G3+B3+F4 . . | . C4+E4+G4 . . . . . .",
         2},
        {Instrument::kWood, 0.1f, ". . E6 . . . E6 .", 16},
    }};

// The sweet shop's old keeper: an oom-pah with a chuckle in it.
const Piece kSweetShop = {
    16,
    "The sweet shop's keeper",
    0.18,
    {
        {Instrument::kOcarina, 0.3f,
         "C5 . F5 . A5 . F5 . | G5 . E5 . C5 - - . | D5 . E5 . F5 . G5 . | A5 . F5 . C5 - - . | "
         "C5 . F5 . A5 . C6 . | Bb5 . G5 . E5 . C5 . | D5 . C#5 . D5 . E5 . | F5 . C5 . F4 - . .",
         2},
        {Instrument::kBass, 0.35f,
         "F2 . . . C3 . . . | C2 . . . G2 . . . | C2 . . . G2 . . . | F2 . . . C3 . . . | "
         "F2 . . . C3 . . . | C2 . . . G2 . . . | C2 . . . G2 . . . | F2 . . . C2 . . .",
         2},
        {Instrument::kPluck, 0.2f,
         ". . F3+A3+C4 . . . F3+A3+C4 . | . . E3+G3+Bb3 . . . E3+G3+Bb3 . | "
         ". . E3+G3+Bb3 . . . E3+G3+Bb3 . | . . F3+A3+C4 . . . F3+A3+C4 . | "
         ". . F3+A3+C4 . . . F3+A3+C4 . | . . E3+G3+Bb3 . . . E3+G3+Bb3 . | "
         ". . E3+G3+Bb3 . . . E3+G3+Bb3 . | . . F3+A3+C4 . . . . .",
         2},
        {Instrument::kWood, 0.16f, ". . C6 . . . G5 .", 16},
    }};

// Memories of an older brother: a flute in D minor over slow broken chords.
const Piece kBrother = {
    19,
    "My brother's shadow",
    0.45,
    {
        {Instrument::kOcarina, 0.33f,
         "A5 - - - - - F5 G5 | A5 - - - Bb5 - A5 - | G5 - - - - - E5 F5 | G5 - - - A5 - - - | "
         "D6 - - - - - C6 Bb5 | A5 - - - G5 - F5 - | E5 - - - F5 - G5 E5 | D5 - - - - - - -"},
        {Instrument::kPiano, 0.22f,
         "D3 A3 D4 F4 A4 F4 D4 A3 | Bb2 F3 Bb3 D4 F4 D4 Bb3 F3 | G2 D3 G3 Bb3 D4 Bb3 G3 D3 | "
         "A2 E3 A3 C#4 E4 C#4 A3 E3 | Bb2 F3 Bb3 D4 F4 D4 Bb3 F3 | F2 C3 F3 A3 C4 A3 F3 C3 | "
         "G2 D3 G3 Bb3 A2 E3 A3 C#4 | D3 A3 D4 F4 A4 - - -"},
        {Instrument::kPad, 0.1f,
         "D3+F3+A3:8 Bb2+D3+F3:8 G2+Bb2+D3:8 A2+C#3+E3:8 Bb2+D3+F3:8 F3+A3+C4:8 "
         "G2+Bb2+D3:4 A2+C#3+E3:4 D3+F3+A3:8"},
    }};

// A pinky promise: a music box's tune, simple as a children's song.
constexpr const char* kPromiseTune =
    "E6 - G6 - A6 - G6 - | E6 - D6 - C6 - - - | D6 - E6 - G6 - E6 - | D6 - - - - - . . | "
    "E6 - G6 - A6 - C7 - | A6 - G6 - E6 - - - | D6 - E6 - D6 - C6 - | C6 - - - - - . .";
const Piece kPromise = {
    22,
    "A pinky promise",
    0.34,
    {
        {Instrument::kBell, 0.3f, kPromiseTune},
        // The second half, sung along an octave below.
        {Instrument::kOcarina, 0.18f,
         "E5 - G5 - A5 - C6 - | A5 - G5 - E5 - - - | D5 - E5 - D5 - C5 - | C5 - - - - - . .", 1,
         32},
        {Instrument::kPluck, 0.25f,
         "C4 - G4 - E5 - G4 - | A3 - E4 - C5 - E4 - | F3 - C4 - A4 - C4 - | G3 - D4 - B4 - D4 - | "
         "C4 - G4 - E5 - G4 - | A3 - E4 - C5 - E4 - | F3 - C4 - G3 - D4 - | C4 - G4 - C5 - . ."},
        {Instrument::kPad, 0.08f,
         "C4+E4+G4:8 A3+C4+E4:8 F3+A3+C4:8 G3+B3+D4:8 C4+E4+G4:8 A3+C4+E4:8 "
         "F3+A3+C4:4 G3+B3+D4:4 C4+E4+G4:8"},
    }};

}  // namespace

const std::vector<Piece>& CharacterPieces() {
  static const std::vector<Piece> pieces = {kGrandmother, kWhiteDress, kShyProfile, kCityBoy,
                                            kSweetShop,   kBrother,    kPromise};
  return pieces;
}

}  // namespace demo_sound
