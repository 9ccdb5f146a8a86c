// Colour effects on the scene palette: grey, red, green, blue, negative and dim, computed
// from the background's plain colouring and optionally cross-faded onto the screen.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace visuals {

enum ColourEffectKind : std::uint8_t {
  kEffectNone = 0,
  kEffectGrey = 1,
  kEffectRed = 2,
  kEffectGreen = 3,
  kEffectBlue = 4,
  kEffectNegative = 5,
  kEffectDim = 6,
};

// Transforms entries 0–14 of `palette` with effect 1–6 (0 and 7 and above change nothing);
// entry 15 is left as it is.
void TransformPalette(std::uint8_t kind, PALETTEENTRY* palette);

// Recomputes the scene palette with colour effect `kind` (ScreenPalette and
// BackgroundPalette), cross-fading the screen to it when `fade` is set (10 ms a step).
// Kinds 7–255 are only recorded in ColourEffect; no colour changes.
void ApplyColourEffect(std::uint8_t kind, bool fade);

}  // namespace visuals
