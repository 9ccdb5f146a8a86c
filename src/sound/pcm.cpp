#include "sound/pcm.h"

namespace sound {

void PcmLoad(std::uint8_t) {}                  // placeholder; waits for PCM playback
void PcmPlay(std::uint16_t, std::uint16_t) {}  // placeholder; waits for PCM playback
void PcmStop() {}                              // placeholder; waits for PCM playback
void PcmUnload() {}                            // placeholder; waits for PCM playback
void PcmFinish() {}                            // placeholder; waits for PCM playback

}  // namespace sound
