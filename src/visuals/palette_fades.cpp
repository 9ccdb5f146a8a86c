#include "visuals/palette_fades.h"

namespace visuals {

void ApplyScreenPalette() {}  // placeholder; waits for the palette fades
void ApplyBlack() {}  // placeholder; waits for the palette fades
void FadeOut(std::uint16_t) {}  // placeholder; waits for the palette fades
void FadeIn(std::uint16_t) {}  // placeholder; waits for the palette fades
void SavePalette() {}  // placeholder; waits for the palette fades
void RestorePalette() {}  // placeholder; waits for the palette fades
void FadeToWhite(std::uint16_t) {}  // placeholder; waits for the palette fades
void FadeFromWhite(std::uint16_t) {}  // placeholder; waits for the palette fades
void Undim() {}  // placeholder; waits for the palette fades
void Dim() {}  // placeholder; waits for the palette fades
void FadeInDim(std::uint16_t) {}  // placeholder; waits for the palette fades
void FadeOutDim(std::uint16_t) {}  // placeholder; waits for the palette fades

}  // namespace visuals
