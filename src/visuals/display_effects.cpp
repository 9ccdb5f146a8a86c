#include "visuals/display_effects.h"

namespace visuals {

void ShowArea(std::uint8_t) {}  // placeholder; waits for the display effects
void ShowInterlaced() {}  // placeholder; waits for the display effects
void ShowAreaInterlaced(std::uint8_t) {}  // placeholder; waits for the display effects
void ShowDither() {}  // placeholder; waits for the display effects
void ShowAreaDither(std::uint8_t) {}  // placeholder; waits for the display effects
void ShowBlinds() {}  // placeholder; waits for the display effects
void ShowAreaBlinds(std::uint8_t) {}  // placeholder; waits for the display effects
void ClearScene(std::uint16_t) {}  // placeholder; waits for the display effects

}  // namespace visuals
