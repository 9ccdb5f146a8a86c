// The music of scenes: places, weather and the summer's evenings.
#include "piece.h"
#include "tracks.h"

namespace demo_sound {
namespace {

// Cicadas in the heat: two min-min cicadas, "miin miin miin mii…", one answering the
// other, set the rhythm over a hazy drone.
const Piece kCicadas = {
    6,
    "Cicada shower",
    0.16,
    {
        {Instrument::kCicada, 0.5f, "A7 - . A7 - . A7 - . A7 - - - - . . | .:16", 4},
        {Instrument::kCicada, 0.35f, ".:16 | E7 - . E7 - . E7 - . E7 - - - - - - -", 4},
        {Instrument::kPad, 0.12f, "A3+E4+B4:16 F3+C4+G4:16 D3+A3+E4:16 E3+B3+G#4:16", 2},
        {Instrument::kPluck, 0.25f,
         "A3 E4 . B4 . E4 . . | A3 E4 . B4 . E4 . . | F3 C4 . G4 . C4 . . | F3 C4 . G4 . C4 . . | "
         "D3 A3 . E4 . A3 . . | D3 A3 . E4 . A3 . . | E3 B3 . G#4 . B3 . . | E3 B3 . G#4 . B3 . .",
         2},
        {Instrument::kBell, 0.18f, "E6:4 .:4 D6:4 B5:4 | C6:8 .:8 | A5:4 .:4 B5:4 C6:4 | B5:8 .:8",
         2},
    }};

// An evening shower: the rain comes in hard, thunder rolls, a piano hurries home.
constexpr const char* kShowerLeftHand =
    "E3 B3 G4 B3 E3 B3 G4 B3 | C3 G3 E4 G3 C3 G3 E4 G3 | A2 E3 C4 E3 A2 E3 C4 E3 | "
    "B2 F#3 D#4 F#3 B2 F#3 D#4 F#3";
const Piece kShower = {
    7,
    "Evening shower",
    0.16,
    {
        {Instrument::kPiano, 0.3f, kShowerLeftHand, 4},
        {Instrument::kPiano, 0.4f,
         ".:32 | B5 - - G5 F#5 - E5 - | G5 - - E5 D#5 - B4 - | C6 - - B5 A5 - G5 - | "
         "F#5 - - - D#5 - B4 - | B5 - - G5 F#5 - E5 - | C6 - - B5 A5 - G5 E5 | "
         "F#5 - - E5 D#5 - F#5 - | E5:8 | .:32",
         1},
        {Instrument::kBass, 0.3f, "E2:8 C2:8 A1:8 B1:8", 4},
    },
    {{Ambience::kDrips, 0.15f, 0, 0},
     {Ambience::kRain, 0.2f, 5, 11},
     {Ambience::kThunder, 0.5f, 5.5, 6},
     {Ambience::kThunder, 0.35f, 13.5, 6}}};

// One road through the rice fields: an easy walk in the five-note scale.
const Piece kRiceFields = {
    8,
    "The road through the rice fields",
    0.33,
    {
        {Instrument::kOcarina, 0.33f,
         "D5 - E5 - G5 - - - | A5 - G5 - E5 - D5 - | E5 - G5 - A5 - B5 - | A5 - - - - - . . | "
         "D5 - E5 - G5 - A5 - | B5 - A5 - G5 - E5 - | D5 - E5 - A4 - B4 - | G4 - - - - - . ."},
        {Instrument::kPluck, 0.25f,
         "G3 B3 D4 B3 G3 B3 D4 B3 | C4 E4 G4 E4 C4 E4 G4 E4 | E3 G3 B3 G3 E3 G3 B3 G3 | "
         "D3 F#3 A3 F#3 D3 F#3 A3 F#3",
         2},
        {Instrument::kBass, 0.3f,
         "G2 . . . G2 . . . | C2 . . . C2 . . . | E2 . . . E2 . . . | "
         "D2 . . . D2 . . .",
         2},
        // In the second half a bell answers the flute.
        {Instrument::kBell, 0.14f, ".:4 B5 - D6 - | .:4 C6 - E6 - | .:4 F#5 - A5 - | G5:8", 1, 32},
    }};

// The summer festival at night: taiko, the clappers and the bamboo flute.
const Piece kFestivalNight = {
    10,
    "Festival night",
    0.13,
    {
        {Instrument::kDrum, 0.7f, "C2 . . C2 . . C2 . C2 . . C2 C2 . C2 .", 10},
        {Instrument::kDrum, 0.3f, ". . . . G2 . . . . . . . G2 . G2 G2", 10},
        {Instrument::kWood, 0.2f, "A6 . A6 A6 . A6 . . A6 . A6 A6 . A6 . .", 10},
        {Instrument::kOcarina, 0.33f,
         "D6 - - C6 A5 - G5 - A5 - C6 - D6 - - - | F6 - D6 - C6 - A5 - G5 - A5 - - - . . | "
         "A5 - C6 - D6 - F6 - G6 - F6 - D6 - C6 - | D6 - - - C6 A5 G5 - D5 - - - - - . .",
         2, 32},
        {Instrument::kPluck, 0.2f, "D4 . A4 . D4 . A4 . C4 . G4 . D4 . A4 .", 8, 32},
    }};

// An afternoon under the leaves: sunlight in bells over gently turning chords.
const Piece kLeafLight = {
    13,
    "Afternoon sun through the leaves",
    0.33,
    {
        {Instrument::kPluck, 0.26f,
         "D4 A4 C#5 E5 F#5 E5 C#5 A4 | G3 D4 F#4 B4 D5 B4 F#4 D4 | B3 F#4 A4 D5 F#5 D5 A4 F#4 | "
         "A3 E4 G4 C#5 E5 C#5 G4 E4",
         2},
        {Instrument::kPad, 0.11f, "D4+F#4+C#5:8 G3+B3+F#4:8 B3+D4+A4:8 A3+C#4+G4:8", 2},
        {Instrument::kBell, 0.25f,
         "F#6:4 E6:4 | D6:4 A5:4 | B5:6 C#6:2 | A5:8 | "
         "D6:4 F#6:4 | B5:8 | A5:4 C#6:4 | D6:8"},
        {Instrument::kBass, 0.25f, "D2:8 G2:8 B1:8 A1:8", 2},
    }};

// The Milky Way: wide still chords, stars in high bells, crickets in the grass.
const Piece kMilkyWay = {
    17,
    "The Milky Way",
    0.4,
    {
        {Instrument::kPad, 0.14f,
         "F3+C4+E4+A4:8 G3+B3+D4+A4:8 A3+C4+E4+B4:8 E3+B3+D4+G4:8 "
         "F3+C4+E4+A4:8 G3+B3+D4+A4:8 D3+A3+C4+F4:8 C3+G3+E4+A4:8"},
        {Instrument::kBell, 0.24f,
         "C6 - - - - - G6 - | E6:8 | B5 - - - D6 - - - | A5:8 | "
         "C6 - - - E6 - A6 - | B6:8 | A6 - - G6 - - E6 - | G6:8"},
        {Instrument::kBell, 0.1f, ".:6 A6 . | .:3 E6 .:4 | .:5 B6 . . | .:8", 2},
        {Instrument::kBass, 0.22f, "F2:8 G2:8 A2:8 E2:8 F2:8 G2:8 D2:8 C2:8"},
        {Instrument::kCicada, 0.05f, "B7 . B7 .:5 | .:8", 4},
    }};

// A sparkler: a fragile tune while the sparks crackle, and the last glowing drop.
const Piece kSparkler = {
    18,
    "Sparkler",
    0.35,
    {
        {Instrument::kPiano, 0.38f,
         "E6 - - - D6 - C6 - | B5 - - - - - . . | C6 - - - B5 - A5 - | G5 - - - - - . . | "
         "A5 - - - C6 - E6 - | D6 - - - C6 - B5 - | A5:8 | .:8"},
        {Instrument::kPad, 0.1f,
         "A3+C4+E4:8 E3+G3+B3:8 F3+A3+C4:8 C4+E4+G4:8 D3+F3+A3:8 E3+G#3+B3:8 A3+C4+E4:16"},
        {Instrument::kPiano, 0.2f, "A2:8 E2:8 F2:8 C3:8 D3:8 E2:8 A2:8"},
        // The glowing drop falls.
        {Instrument::kBell, 0.25f, "A4:4", 1, 56},
    },
    {{Ambience::kSparks, 0.25f, 0.5, 19}}};

// A moonlit path: slow steps of the bass under a quiet piano, and crickets.
const Piece kMoonlitPath = {
    20,
    "The moonlit path",
    0.35,
    {
        {Instrument::kPiano, 0.4f,
         "B4 - E5 - G5 - F#5 - | E5 - - - B4 - - - | A4 - C5 - E5 - D5 - | B4 - - - - - . . | "
         "B4 - E5 - G5 - B5 - | A5 - - G5 F#5 - E5 - | F#5 - - - D#5 - - - | E5 - - - - - . ."},
        {Instrument::kBass, 0.33f,
         "E2 - B2 - E3 - B2 - | C2 - G2 - C3 - G2 - | A1 - E2 - A2 - E2 - | B1 - F#2 - B2 - F#2 - "
         "| "
         "E2 - B2 - E3 - B2 - | C2 - G2 - C3 - G2 - | B1 - F#2 - A2 - F#2 - | E2 - B2 - E2 - . ."},
        {Instrument::kPad, 0.08f,
         "E3+G3+B3:8 C3+E3+G3:8 A2+C3+E3:8 B2+D#3+F#3:8 E3+G3+B3:8 C3+E3+G3:8 B2+D#3+A3:8 "
         "E3+G3+B3:8"},
        {Instrument::kCicada, 0.05f, "B7 . B7 . .:4 | .:8", 4},
    }};

// Quiet rain: drops from the eaves and a slow piano in A minor.
const Piece kQuietRain = {
    21,
    "Quiet rain",
    0.45,
    {
        {Instrument::kPiano, 0.4f,
         "E5 - - - - - C5 D5 | E5 - - - G5 - - - | F5 - - - E5 - D5 - | E5 - - - - - - - | "
         "A5 - - - G5 - E5 - | D5 - - - - - C5 - | B4 - - - C5 - D5 - | A4 - - - - - - -"},
        {Instrument::kPiano, 0.2f,
         "A2 - - - E3+A3+C4 - - - | C3 - - - G3+C4+E4 - - - | D3 - - - A3+D4+F4 - - - | "
         "E3 - - - B3+E4+G#4 - - - | F2 - - - C3+F3+A3 - - - | G2 - - - D3+G3+B3 - - - | "
         "D3 - - - E3+G#3+B3 - - - | A2 - - - E3+A3+C4 - - -"},
        {Instrument::kPad, 0.07f,
         "A3+C4+E4:16 D3+F3+A3:16 F3+A3+C4:8 G3+B3+D4:8 E3+G#3+B3:8 A3+C4+E4:8"},
    },
    {{Ambience::kDrips, 0.15f, 0, 0}}};

// By the water at night: the fireflies' tune again, slower, over the stream and crickets.
const Piece kWatersideNight = {
    23,
    "The waterside at night",
    0.4,
    {
        {Instrument::kPiano, 0.36f, kFirefliesTune},
        {Instrument::kPad, 0.12f,
         "A3+C4+E4:8 F3+A3+C4:8 C4+E4+G4:8 G3+B3+D4:8 A3+C4+E4:8 F3+A3+C4:8 G3+B3+D4:8 "
         "A3+C4+E4:8"},
        {Instrument::kBass, 0.25f, "A1:8 F1:8 C2:8 G1:8 A1:8 F1:8 G1:8 A1:8"},
        {Instrument::kCicada, 0.04f, "B7 . B7 .:5 | .:8", 4},
    },
    {{Ambience::kWater, 0.2f, 0, 0}}};

// A room where the wind chime rings: glass bells stirred by the breeze over a still air.
const Piece kWindChimeRoom = {
    24,
    "The room of the wind chime",
    0.4,
    {
        {Instrument::kBell, 0.22f,
         ". . B6 . . . . . | . . . . . F#6 . A6 | . . . . . . . . | E6 . . B6 . . . . | "
         ". . . C#7 . . . . | . . . . A6 . . . | . F#6 . . . . . . | . . . . . . . ."},
        {Instrument::kPad, 0.12f, "A3+C#4+E4:8 F#3+A3+C#4:8 D3+F#3+A3:8 E3+G#3+B3:8", 2},
        {Instrument::kPluck, 0.3f,
         "C#5 - E5 - - - A4 - | F#5 - - - E5 - C#5 - | D5 - - - F#5 - A5 - | G#5 - - - - - . . | "
         "A5 - - - F#5 - E5 - | C#5 - - - E5 - F#5 - | D5 - - - B4 - - - | A4 - - - - - . ."},
        {Instrument::kBass, 0.22f, "A2:8 F#2:8 D2:8 E2:8", 2},
    }};

}  // namespace

const std::vector<Piece>& ScenePieces() {
  static const std::vector<Piece> pieces = {
      kCicadas,  kShower,      kRiceFields, kFestivalNight,  kLeafLight,    kMilkyWay,
      kSparkler, kMoonlitPath, kQuietRain,  kWatersideNight, kWindChimeRoom};
  return pieces;
}

}  // namespace demo_sound
