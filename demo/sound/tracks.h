// The demo's music: disc tracks 2 to 27 (music numbers 0 to 25, every piece of the music
// mode), written as scores for the synthesiser. All but the maker's chime are loops.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "synth.h"

namespace demo_sound {

constexpr int kTrackRate = 22050;

struct Track {
  int number;  // disc track; music number + 2
  const char* title;
  std::function<Samples()> make;
};

// The fireflies' tune (music 2), heard again by the water at night.
inline constexpr const char* kFirefliesTune =
    "A5 - - - E5 - - - G5 - - - E5 - D5 - | C5 - - - - - - - . . . . . . . . | "
    "A5 - - - C6 - - - D6 - - - C6 - A5 - | G5 - - - E5 - - - - - - - . . . .";

// Every track, in the order of their numbers.
const std::vector<Track>& Tracks();

// The story's own pieces (music 1 to 3), tracks 3 to 5.
const std::vector<Track>& StoryTracks();

}  // namespace demo_sound
