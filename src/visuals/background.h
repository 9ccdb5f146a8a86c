// Backgrounds and character pictures composed in VbufDIB: the background picture, the
// three character slots, and the colour effects on the scene palette.
#pragma once

#include <cstdint>

namespace visuals {

// Composes background n ("S%02d.VGR") alone in VbufDIB and sets the scene palette.
void ShowBackground(std::uint8_t n);
// Copies the kept background back: 0 whole picture, 1 left half, 2 right half, 3 centre
// half, emptying the slots restored.
void RestoreBackground(std::uint8_t mode);
// Releases the kept background copy.
void ForgetBackground();
// Empties all slots and fills VbufDIB with colour mod 16 (not shown).
void FillBackground(std::uint8_t colour);
// Draws character picture n ("C%02x.VGR") into slot 0–2; 255 does nothing.
void ShowCharacter(std::uint8_t slot, std::uint8_t picture);
// Recomputes the scene palette with colour effect `kind`, cross-fading when `fade`.
void ApplyColourEffect(std::uint8_t kind, bool fade);

}  // namespace visuals
