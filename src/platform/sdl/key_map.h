// SDL keys as the virtual-key codes of the Win32 keyboard functions.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// 0 for a key the program has no code for.
int VirtualKey(SDL_Keycode key);

}  // namespace platform::sdl
