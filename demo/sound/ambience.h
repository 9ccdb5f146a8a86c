// Sounds of the place under some of the demo's pieces: rain, running water, the crackle of
// a sparkler, thunder. Each is shaped noise from a fixed seed, so a piece comes out the same
// on every run.
#pragma once

#include "synth.h"

namespace demo_sound {

enum class Ambience {
  kRain,     // a downpour: a hiss with single drops in it
  kDrips,    // quiet rain: single drops falling from the eaves
  kWater,    // water running by: a low murmur and bubbles
  kSparks,   // a sparkler's crackle, thickening and then dying away
  kThunder,  // one roll of distant thunder
};

// Adds `seconds` of the ambience at `start`, swelling in and out at its ends.
void AddAmbience(Samples& out, int rate, Ambience kind, double start, double seconds, float gain);

}  // namespace demo_sound
