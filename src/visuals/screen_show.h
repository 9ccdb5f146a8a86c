// Showing the screen pictures in the window.
#pragma once

#include "core/memory_blocks.h"

namespace visuals {

// Copies the composed picture onto the shown one and repaints the whole window.
void ShowComposed();
// Clears a picture to colour 0 and repaints the whole window; UpdateRect stays as it is.
void ClearPictureAndShow(core::MemHandle picture);

}  // namespace visuals
