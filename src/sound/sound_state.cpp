#include "sound/sound_state.h"

namespace sound {

resources::MemHandle PcmBlock = 0;

void CdOpenAtStartup() {}
void CdClose() {}
void CdPoll() {}
void PcmStop() {}

std::uint16_t CdPollCountdown = 0;

}  // namespace sound
