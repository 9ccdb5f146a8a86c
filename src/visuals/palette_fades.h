// Palette fades and flashes: the window palette moved between black, the scene colours,
// white and the dimmed scene. PaletteState (palette_state.h) follows each of them.
#pragma once

#include <cstdint>

namespace visuals {

void ApplyScreenPalette();
void ApplyBlack();
void FadeOut(std::uint16_t speed);
void FadeIn(std::uint16_t speed);
void SavePalette();
void RestorePalette();
void FadeToWhite(std::uint16_t speed);
void FadeFromWhite(std::uint16_t speed);
void Undim();
void Dim();
void FadeInDim(std::uint16_t speed);
void FadeOutDim(std::uint16_t speed);

}  // namespace visuals
