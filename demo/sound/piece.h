// A piece of the demo's music written as data: voices of score text on instruments, and
// the sounds of the place under them. Rendered by the synthesiser to a loop of its length.
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
  double seconds;  // 0: to the end of the piece
};

struct Piece {
  int music;          // music number; the disc track is music + 2
  const char* title;  // the file's title tag
  double step;        // seconds per score step
  double seconds;     // length of the loop; its last second fades out
  std::vector<Voice> voices;
  std::vector<Layer> layers = {};
};

Samples Render(const Piece& piece, int rate);

// The pieces, each group in a file of its own: the main theme's versions, the characters'
// themes, and the music of scenes.
const std::vector<Piece>& ThemePieces();
const std::vector<Piece>& CharacterPieces();
const std::vector<Piece>& ScenePieces();

}  // namespace demo_sound
