// The message text interpreter: draws a message (glyphs and control codes, ended by 0xAF)
// into the shown picture and carries out the scene changes and waits it embeds.
#pragma once

#include <cstdint>

namespace scenario {

// Draws `text` from pen position (x, y). Answers the address after the text's 0xAF, or null
// when a reader wait was cut short by ScriptStop. `scenario_message` marks a message of
// MESSAGE DATA shown by the script (page bookkeeping, save snapshot, in-game menu).
const std::uint8_t* ShowText(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                             std::uint16_t colour, std::uint16_t shadow, bool present_each,
                             bool scenario_message);

}  // namespace scenario
