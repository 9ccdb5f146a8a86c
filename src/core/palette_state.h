// Palettes and the screen pictures' blocks. Process lifetime; start values set by
// ResetPaletteState and by the window's creation.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"
#include "platform/win32.h"

namespace visuals {

// The built-in palettes with 8-bit channels (flags PC_RESERVED): BasePalette1 is the
// window's first palette and that of most backgrounds, BasePalette2 that of backgrounds
// 100 to 149 and 197.
extern PALETTEENTRY BasePalette1[16];
extern PALETTEENTRY BasePalette2[16];

// The scene's target colours (entry 15 always white) and what the window palette holds.
extern PALETTEENTRY ScreenPalette[16];
extern PALETTEENTRY ShownPalette[32];
// The scene palette with its colour effect (ScreenPalette is reset from it after a decode
// has overwritten ScreenPalette).
extern PALETTEENTRY BackgroundPalette[16];
// ScreenPalette as it was when the last background change began (the cross-fade
// transition fades from it).
extern PALETTEENTRY PreviousPalette[16];
// The one copy SavePalette keeps.
extern PALETTEENTRY SavedPalette[16];
// The palette of the current background or event picture before any colour effect.
extern PALETTEENTRY PlainPalette[16];
// The window's logical palette (32 entries); created with the window.
extern HPALETTE WindowPalette;
// Number of the last step of a full fade: 15 above 8 bits per pixel, 47 on a palette display.
extern std::uint16_t FadeSteps;
// 0 black, 1 normal, 2 white, 3 dimmed.
extern std::uint16_t PaletteState;

// The shown and the work picture; 0 until the window is created.
extern resources::MemHandle VmemDIB;
extern resources::MemHandle VbufDIB;
// Addresses of the shown picture's header and pixels, refreshed by every paint and by every
// drawing into it.
extern std::uint8_t* ShownHeader;
extern std::uint8_t* ShownPixels;
// The current background's pixels ("BACK GRP"); 0 while none is held.
extern resources::MemHandle BackgroundBlock;

// Fills BasePalette1 and BasePalette2 from their 4-bit tables (v × 255 / 15).
void BuildBasePalettes();

// The scene's stored palettes black, the palette state 0, the built-in palettes built and
// no background held. What the window's creation sets (the window palette, the screen
// pictures, FadeSteps, the shown palette) is left to it.
void ResetPaletteState();

}  // namespace visuals
