#include "sound/sound_state.h"

namespace sound {

std::uint32_t CdState = 0;
std::uint32_t CdDevice = 0;
std::uint32_t CdPlaying = 0;
std::uint16_t CdLoop = 1;
std::uint16_t CdPollCountdown = 0;
const std::array<std::uint8_t, 26> TrackMap = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                               13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};

core::MemHandle PcmBlock = 0;
std::uint32_t PcmSize = 0;
HWAVEOUT WaveOut = nullptr;
WAVEHDR WaveHeader{};

void ResetSoundState() {
  CdState = 0;
  CdDevice = 0;
  CdPlaying = 0;
  CdLoop = 1;
  CdPollCountdown = 0;
  PcmBlock = 0;
  PcmSize = 0;
  WaveOut = nullptr;
  WaveHeader = WAVEHDR{};
}

}  // namespace sound
