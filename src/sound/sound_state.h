// Sound devices and the loaded PCM sample. Process lifetime.
#pragma once

#include "resources/memory_blocks.h"

namespace sound {

// The loaded PCM file's block; 0 while no sound is loaded.
extern resources::MemHandle PcmBlock;

// Opens the CD audio device at start-up and closes it at the end. The CD music player is
// not in the program yet: both do nothing until it is.
void CdOpenAtStartup();
void CdClose();

}  // namespace sound
