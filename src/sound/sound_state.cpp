#include "sound/sound_state.h"

namespace sound {

SoundState Sound;

void ResetSoundState() { Sound = SoundState{}; }

const std::array<std::uint8_t, 26> TrackMap = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                               13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};

}  // namespace sound
