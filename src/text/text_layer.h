// Pixel rectangles of a Picture saved and put back (the click-wait cursor), and the text
// layer of the typewriter and the wave scenes.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"

namespace text {

// Every pixel of the picture ANDed with 3: the text layer's ink and shadow disappear and
// the background's colours 0 to 3 stay.
void ClearTextLayer(core::MemHandle picture);

// Copies the rectangle (x, y, width, height) of `picture` into `buffer` row by row, top row
// first, `width` bytes per row. Pixels outside the picture are left out (their buffer bytes
// keep what they held), as is anything that would not fit in the buffer.
void SaveRect(core::MemHandle buffer, core::MemHandle picture, std::int16_t x, std::int16_t y,
              std::int16_t width, std::int16_t height);
// The reverse copy, then UpdateRect widened by the rectangle.
void RestoreRect(core::MemHandle picture, core::MemHandle buffer, std::int16_t x, std::int16_t y,
                 std::int16_t width, std::int16_t height);

}  // namespace text
