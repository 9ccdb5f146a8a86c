// The demo's music: disc tracks 2 to 5 (music numbers 0 to 3), short loops written as
// scores for the synthesiser.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

namespace demo_sound {

constexpr int kTrackRate = 22050;

struct Track {
  int number;  // disc track; music number + 2
  const char* title;
  Samples (*make)();
};

const std::vector<Track>& Tracks();

}  // namespace demo_sound
