// Backgrounds composed in VbufDIB: the background picture with its table colours, the kept
// copy of its pixels from which parts of the scene are restored, and a plain fill. The
// character slots and colour effects that complete a scene are in their own headers,
// included here for the callers that compose whole scenes.
#pragma once

#include <cstdint>

#include "visuals/background_table.h"
#include "visuals/character_slots.h"
#include "visuals/colour_effects.h"
#include "visuals/scene_state.h"

namespace visuals {

// Composes background n alone in VbufDIB and sets the scene palette; empties the slots.
// 254 is the white screen; 0 and every n mod 50 = 0 a black one. A number without a record
// is taken as 0. The same picture in another colouring is not read again.
void ShowBackground(std::uint8_t n);
// Copies the kept background back: 0 whole picture, 1 left half, 2 right half, 3 centre
// half (this one empties all slots), emptying the slots restored; other modes copy nothing.
// Without a kept copy VbufDIB is cleared. ScreenPalette is reset to BackgroundPalette.
void RestoreBackground(std::uint8_t mode);
// Releases the kept background copy.
void ForgetBackground();
// Empties all slots and fills VbufDIB with colour mod 16 (not shown).
void FillBackground(std::uint8_t colour);

}  // namespace visuals
