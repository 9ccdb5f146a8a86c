// Sound devices and the loaded PCM sample. Process lifetime.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"

namespace sound {

// The loaded PCM file's block; 0 while no sound is loaded.
extern resources::MemHandle PcmBlock;

// 0 stopped, 1 playing, 2 playing with a fade-out pending for the next scene change.
extern std::uint32_t CdPlaying;

// Timer ticks (60 ms) until the next status poll of the CD; counted down by the window
// timer.
extern std::uint16_t CdPollCountdown;

// No sample loaded, the CD stopped and no countdown to a poll running.
void ResetSoundState();

}  // namespace sound
