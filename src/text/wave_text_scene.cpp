#include "text/wave_text_scene.h"

namespace text {

// placeholder; waits for the text area's wave scenes
void WaveTextScene(std::uint8_t, std::uint8_t, std::uint8_t, WaveDirection) {}

}  // namespace text
