// The palettes and the screen pictures: what the scene wants shown, what the window palette
// holds, the shown and the work picture, the held background and the area the next present
// repaints.
#pragma once

#include <array>
#include <cstdint>

#include "core/memory_blocks.h"
#include "core/picture.h"
#include "platform/win32.h"

namespace core {

// The built-in palettes with 8-bit channels (v × 255 / 15 of their 4-bit tables, flags
// PC_RESERVED): BasePalette1 is the window's first palette and that of most backgrounds,
// BasePalette2 that of backgrounds 100 to 149 and 197.
extern const std::array<PALETTEENTRY, 16> BasePalette1;
extern const std::array<PALETTEENTRY, 16> BasePalette2;

// Sixteen black entries, as a stored palette starts.
#define HOTARU_BLACK_ENTRY \
  { 0, 0, 0, PC_RESERVED }
#define HOTARU_BLACK_16                                                                 \
  {                                                                                     \
    HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY,     \
        HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, \
        HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, \
        HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY, HOTARU_BLACK_ENTRY  \
  }

struct ScreenState {
  // The scene's target colours (entry 15 always white) and what the window palette holds;
  // set by the window's creation.
  PALETTEENTRY ScreenPalette[16] = {};
  PALETTEENTRY ShownPalette[32] = {};
  // The scene palette with its colour effect (ScreenPalette is reset from it after a decode
  // has overwritten ScreenPalette).
  PALETTEENTRY BackgroundPalette[16] = HOTARU_BLACK_16;
  // ScreenPalette as it was when the last background change began (the cross-fade
  // transition fades from it).
  PALETTEENTRY PreviousPalette[16] = HOTARU_BLACK_16;
  // The one copy SavePalette keeps.
  PALETTEENTRY SavedPalette[16] = HOTARU_BLACK_16;
  // The palette of the current background or event picture before any colour effect.
  PALETTEENTRY PlainPalette[16] = HOTARU_BLACK_16;
  // The window's logical palette (32 entries); created with the window.
  HPALETTE WindowPalette = nullptr;
  // Number of the last step of a full fade: 15 above 8 bits per pixel, 47 on a palette
  // display (the window's creation decides).
  std::uint16_t FadeSteps = 47;
  // 0 black, 1 normal, 2 white, 3 dimmed.
  std::uint16_t PaletteState = 0;

  // The shown and the work picture; 0 until the window is created.
  MemHandle VmemDIB = 0;
  MemHandle VbufDIB = 0;
  // Addresses of the shown picture's header and pixels, refreshed by every paint and by
  // every drawing into it.
  std::uint8_t* ShownHeader = nullptr;
  std::uint8_t* ShownPixels = nullptr;
  // The current background's pixels ("BACK GRP"); 0 while none is held.
  MemHandle BackgroundBlock = 0;

  // The screen area the next present repaints: left, top, right, bottom in picture
  // coordinates, right and bottom exclusive. The present sets it back to the empty value
  // after repainting.
  RECT UpdateRect = kEmptyUpdateRect;

  bool operator==(const ScreenState&) const = default;
};

#undef HOTARU_BLACK_16
#undef HOTARU_BLACK_ENTRY

// Process lifetime.
extern ScreenState Screen;
void ResetScreenState();

}  // namespace core
