#include "sound/sound_state.h"

namespace sound {

resources::MemHandle PcmBlock = 0;
std::uint32_t CdPlaying = 0;
std::uint16_t CdPollCountdown = 0;

void ResetSoundState() {
  PcmBlock = 0;
  CdPlaying = 0;
  CdPollCountdown = 0;
}

}  // namespace sound
