// The main theme's versions. The theme grows out of the maker's chime (music 0: C E G C,
// then the high E): its first bar climbs the chime, its sixth reaches the high E.
#include "piece.h"

namespace demo_sound {
namespace {

constexpr const char* kTheme =
    "C5 - E5 - G5 - C6 - | B5 - - A5 G5 - E5 - | F5 - - E5 D5 - C5 - | D5 - - - - - . . | "
    "C5 - E5 - G5 - C6 - | E6 - - D6 C6 - A5 - | G5 - - E5 D5 - E5 - | C5 - - - - - . .";
// The theme's chords, a bar each (two in the seventh).
constexpr const char* kThemeChords =
    "C4+E4+G4:8 E4+G4+B4:8 F3+A3+C4:8 G3+B3+D4:8 "
    "C4+E4+G4:8 A3+C4+E4:8 F3+A3+C4:4 G3+B3+D4:4 C4+E4+G4:8";
constexpr const char* kThemeBass = "C2:8 E2:8 F2:8 G2:8 C2:8 A2:8 F2:4 G2:4 C2:8";
// The piano's left hand under the theme, broken chords in eighths.
constexpr const char* kThemeLeftHand =
    "C3 G3 E4 G3 C3 G3 E4 G3 | E3 B3 G4 B3 E3 B3 G4 B3 | F3 C4 A4 C4 F3 C4 A4 C4 | "
    "G3 D4 B4 D4 G3 D4 B4 D4 | C3 G3 E4 G3 C3 G3 E4 G3 | A2 E3 C4 E3 A2 E3 C4 E3 | "
    "F3 C4 A4 C4 G3 D4 B4 D4 | C3 G3 E4 G3 C3 - - -";

const Piece kPianoTheme = {
    4,
    "Firefly light (piano)",
    0.34,
    {
        {Instrument::kPiano, 0.45f, kTheme},
        {Instrument::kPiano, 0.26f, kThemeLeftHand},
        // Second time round the tune climbs higher and ends on the chime itself.
        {Instrument::kPiano, 0.45f,
         "E5 - G5 - C6 - E6 - | D6 - - C6 B5 - G5 - | A5 - - G5 F5 - E5 - | "
         "D5 - E5 - F5 - G5 - | C5 E5 G5 C6 - - - - | E6:8",
         1, 64},
        {Instrument::kPiano, 0.26f,
         "C3 G3 E4 G3 C3 G3 E4 G3 | G2 D3 B3 D3 G2 D3 B3 D3 | F3 C4 A4 C4 F3 C4 A4 C4 | "
         "G3 D4 B4 D4 G3 D4 B4 D4 | C3+G3+E4:8 | C3+G3+C4:8",
         1, 64},
        {Instrument::kPad, 0.1f, "C4+E4+G4:16", 1, 96},
    }};

const Piece kOpeningTheme = {
    9,
    "A distant summer day",
    0.3,
    {
        // The chime again, in G, calls the opening in.
        {Instrument::kBell, 0.4f, "G5 B5 D6 G6 - - - - | B6:8"},
        {Instrument::kPad, 0.12f, "G3+B3+D4:16"},
        {Instrument::kOcarina, 0.35f,
         "D5 - G5 - A5 - B5 - | D6 - - B5 A5 - G5 - | E5 - - G5 A5 - B5 A5 | G5 - - - E5 - D5 - | "
         "D5 - G5 - A5 - B5 - | D6 - - E6 D6 - B5 - | C6 - B5 - A5 - G5 A5 | G5 - - - - - . .",
         1, 16},
        {Instrument::kPluck, 0.28f,
         "G3 D4 G4 B4 D5 B4 G4 D4 | E3 B3 E4 G4 B4 G4 E4 B3 | C4 G4 C5 E5 G4 E5 C5 G4 | "
         "D4 A4 D5 F#5 A4 F#5 D5 A4 | G3 D4 G4 B4 D5 B4 G4 D4 | E3 B3 E4 G4 B4 G4 E4 B3 | "
         "C4 G4 C5 E5 D4 A4 D5 F#5 | G3 D4 G4 B4 D5 - - -",
         1, 16},
        {Instrument::kPad, 0.1f,
         "G3+B3+D4:8 E3+G3+B3:8 C4+E4+G4:8 D4+F#4+A4:8 G3+B3+D4:8 E3+G3+B3:8 "
         "C4+E4+G4:4 D4+F#4+A4:4 G3+B3+D4:8",
         1, 16},
        {Instrument::kBass, 0.3f, "G2:8 E2:8 C2:8 D2:8 G2:8 E2:8 C2:4 D2:4 G2:8", 1, 16},
    }};

const Piece kEndingTheme = {
    14,
    "Until next summer",
    0.4,
    {
        {Instrument::kOcarina, 0.35f,
         "C5 - F5 - G5 - A5 - | C6 - - A5 G5 - F5 - | Bb5 - - A5 G5 - F5 G5 | A5 - - - G5 - - - | "
         "F5 - A5 - C6 - D6 - | C6 - - A5 F5 - G5 A5 | G5 - - F5 E5 - F5 G5 | F5 - - - - - - -"},
        {Instrument::kPiano, 0.24f,
         "F3 C4 A4 C4 F3 C4 A4 C4 | D3 A3 F4 A3 D3 A3 F4 A3 | Bb2 F3 D4 F3 Bb2 F3 D4 F3 | "
         "C3 G3 E4 G3 C3 G3 E4 G3 | D3 A3 F4 A3 D3 A3 F4 A3 | Bb2 F3 D4 F3 Bb2 F3 D4 F3 | "
         "G2 D3 Bb3 D3 C3 G3 E4 G3 | F3 C4 A4 C4 F3 - - -"},
        {Instrument::kPad, 0.1f,
         "F3+A3+C4:8 D3+F3+A3:8 Bb3+D4+F4:8 C4+E4+G4:8 D3+F3+A3:8 Bb3+D4+F4:8 "
         "G3+Bb3+D4:4 C4+E4+G4:4 F3+A3+C4:24"},
        {Instrument::kBass, 0.3f, "F2:8 D2:8 Bb1:8 C2:8 D2:8 Bb1:8 G1:4 C2:4 F2:8"},
        // The chime, in F, closes the summer.
        {Instrument::kBell, 0.35f, "F5 A5 C6 F6 - - - - | A6:8", 1, 64},
    }};

const Piece kClosingTheme = {
    25,
    "Firefly light - last chapter",
    0.4,
    {
        {Instrument::kOcarina, 0.32f, kTheme},
        {Instrument::kPad, 0.14f, kThemeChords},
        {Instrument::kBass, 0.3f, kThemeBass},
        // Bells on the bars' first beats, like the fireflies' last lights.
        {Instrument::kBell, 0.16f, "C6:8 B5:8 A5:8 G5:8 C6:8 E6:8 F5:4 G5:4 C6:8"},
        {Instrument::kBell, 0.38f, "C5 E5 G5 C6 - - - - | E6:16", 1, 64},
        {Instrument::kPad, 0.14f, "C4+E4+G4:24", 1, 64},
        {Instrument::kBass, 0.3f, "C2:16", 1, 64},
    }};

}  // namespace

const std::vector<Piece>& ThemePieces() {
  static const std::vector<Piece> pieces = {kPianoTheme, kOpeningTheme, kEndingTheme,
                                            kClosingTheme};
  return pieces;
}

}  // namespace demo_sound
