// Sound devices and the loaded PCM sample. Process lifetime.
#pragma once

#include <cstdint>

#include "resources/memory_blocks.h"

namespace sound {

// The loaded PCM file's block; 0 while no sound is loaded.
extern resources::MemHandle PcmBlock;

// Opens the CD audio device at start-up and closes it at the end. The CD music player is
// not in the program yet: these do nothing until it is.
void CdOpenAtStartup();
void CdClose();
// Called by the message pump after every look at the queue: restarts a finished track.
void CdPoll();

// Stops the playing PCM sound (the end of a sound reported by the wave device). PCM
// playback is not in the program yet: there is never a sound to stop until it is.
void PcmStop();

// Timer ticks (60 ms) until the next status poll of the CD; counted down by the window
// timer.
extern std::uint16_t CdPollCountdown;

}  // namespace sound
