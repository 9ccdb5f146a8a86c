// The demo's sound effects: PCM files "HT_VD%02d.P16" (22050 Hz mono 16-bit, no header).
// None peaks above -3 dBFS: they sound over the music, and the two need room together.
#pragma once

#include <vector>

#include "synth.h"

namespace demo_sound {

constexpr int kEffectRate = 22050;

struct Effect {
  int number;  // sound number of the file name
  const char* title;
  Samples (*make)();
};

const std::vector<Effect>& Effects();

}  // namespace demo_sound
