// A piece of the demo's music written as data: voices of score text on instruments, and
// the sounds of the place under them. Rendered by the synthesiser to a loop as long as its
// longest voice: what rings on past that end sounds over the start.
#pragma once

#include <vector>

#include "ambience.h"
#include "synth.h"

namespace demo_sound {

struct Voice {
  Instrument instrument;
  float gain;
  const char* score;  // score text (see AddVoice)
  int times = 1;      // played this many times in a row
  int from = 0;       // first step, counted in the piece's steps
};

struct Layer {
  Ambience kind;
  float gain;
  double from;     // seconds
  double seconds;  // 0: all through the piece
};

struct Piece {
  int music;          // music number; the disc track is music + 2
  const char* title;  // the file's title tag
  double step;        // seconds per score step
  std::vector<Voice> voices;
  std::vector<Layer> layers = {};
};

Samples Render(const Piece& piece, int rate);

// The loudest sample of every track: music and sounds play together, so each keeps room
// below full scale (-4 dBFS; the encoder's ripple stays well under -1 dBFS).
inline constexpr float kMusicPeak = 0.63f;

// A loop of exactly `seconds` from what was written: whatever sounds past its end (the
// tails of the last notes) is added onto its start, where the loop plays it again, so the
// end flows into the start without a fade or a gap. Normalised to kMusicPeak.
Samples Loop(Samples samples, int rate, double seconds);

// The pieces, each group in a file of its own: the main theme's versions, the characters'
// themes, and the music of scenes.
const std::vector<Piece>& ThemePieces();
const std::vector<Piece>& CharacterPieces();
const std::vector<Piece>& ScenePieces();

}  // namespace demo_sound
