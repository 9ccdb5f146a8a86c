// PCM sound and voice: one loaded sample ("HT_VD%02d.P16", mono 16-bit at 22050 Hz) played
// through the wave output device.
#pragma once

#include <cstdint>

namespace sound {

// Loads sound n; any previous sound is stopped and released.
void PcmLoad(std::uint8_t n);
// Plays the loaded sound `loops` times (0 endless) with `param`.
void PcmPlay(std::uint16_t loops, std::uint16_t param);
// Stops the playing sound (also at the end of a sound reported by the wave device).
void PcmStop();
// Stops and releases the loaded sound.
void PcmUnload();
// Fades out an endless sound, or waits until a counted one has ended.
void PcmFinish();

}  // namespace sound
