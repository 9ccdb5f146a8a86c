// Display effects: showing VbufDIB on the screen in styles, whole or by area, and the
// scene-clearing effects. An area is 0 left half, 1 right half, 2 centre half.
#pragma once

#include <cstdint>

namespace visuals {

void ShowArea(std::uint8_t area);
void ShowInterlaced();
void ShowAreaInterlaced(std::uint8_t area);
void ShowDither();
void ShowAreaDither(std::uint8_t area);
void ShowBlinds();
void ShowAreaBlinds(std::uint8_t area);
// Clears the scene from the screen with effect n.
void ClearScene(std::uint16_t n);

}  // namespace visuals
