// Drawing a picture file of the data folder or pack into a Picture.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"

namespace visuals {

// Loads file `name` (a missing file ends the program with the loader's message), decodes it
// into `picture` at (x, y) plus the file's own placement, and releases the file. A damaged
// file is told in the decoder's message box and draws nothing. Answers the decoder's result.
int DrawPictureFile(core::MemHandle picture, const char* name, std::int16_t x, std::int16_t y);

}  // namespace visuals
