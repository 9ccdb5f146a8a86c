// Palette fades and flashes: the window palette moved between black, the scene colours,
// white and the dimmed scene. Pixels never change here, only ShownPalette entries 0–15;
// PaletteState (core/screen_state.h) follows each operation.
//
// `cs` is the length of one fade step in 10-ms units. A full fade has FadeSteps + 1 steps.
// In SkipMode every fade is replaced by its end state at once.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace visuals {

// PaletteState values.
constexpr std::uint16_t kPaletteBlack = 0;
constexpr std::uint16_t kPaletteNormal = 1;
constexpr std::uint16_t kPaletteWhite = 2;
constexpr std::uint16_t kPaletteDim = 3;

// Hands ShownPalette to the window palette; on a display deeper than 8 bits also repaints
// the whole window, since only a repaint shows a palette change there.
void ApplyShownPalette();

// One channel v of the scene palette shown at `level` of FadeSteps, then lightened towards
// white by `white` of FadeSteps: w = v × level / N; w += (255 − w) × white / N.
std::uint8_t LevelChannel(std::uint8_t v, std::int16_t level, std::int16_t white);
// Entries 0–15 of ScreenPalette shown at a level (see LevelChannel); PaletteState unchanged.
void SetPaletteLevel(std::int16_t level, std::int16_t white);
// The same for entries 0–14; entry 15 shows ScreenPalette entry 15 unchanged.
void SetPaletteLevel15(std::int16_t level, std::int16_t white);

void ApplyScreenPalette();             // scene palette at once; state normal
void ApplyBlack();                     // black at once; state black
void FadeIn(std::uint16_t cs);         // black → scene; state normal
void FadeOut(std::uint16_t cs);        // scene → black; state black
void FadeFromWhite(std::uint16_t cs);  // white → scene; state normal
void FadeToWhite(std::uint16_t cs);    // scene → white; state white
void Dim();                            // scene → 10/15 brightness, 10 ms a step; state dim
void Undim();                          // 10/15 brightness → scene, 10 ms a step; state normal
void FadeInDim(std::uint16_t cs);      // black → scene at 10/15; state dim
void FadeOutDim(std::uint16_t cs);     // scene at 10/15 → black; state black
// The shown colours move from `old_palette` to `new_palette` (16 entries each; entry 15
// stays white), at 10/15 brightness while the state is dim. ScreenPalette is not changed,
// except in SkipMode, where it becomes new_palette and is applied at once (state normal).
void CrossFadePalette(const PALETTEENTRY* old_palette, const PALETTEENTRY* new_palette,
                      std::uint16_t cs);
void SavePalette();     // SavedPalette = ScreenPalette
void RestorePalette();  // ScreenPalette = SavedPalette, not applied

}  // namespace visuals
