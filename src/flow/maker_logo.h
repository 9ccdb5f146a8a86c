// The maker's logo: "VELA.VGR" appearing out of white, its colours cycling, closed by bars.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace flow {

// Red, green and blue increments (added modulo 256) of the five stages a logo colour goes
// through: from white to yellow, cyan, magenta, pink and last a pale blue.
extern const std::int8_t LogoColourTable[5][3];

// One colour change of the logo animation: a negative step k makes the entry white; else
// row k / 5 of LogoColourTable is added to it while that row exists.
void LogoColourStep(PALETTEENTRY* entry, std::int16_t k);

void MakerLogo();

}  // namespace flow
