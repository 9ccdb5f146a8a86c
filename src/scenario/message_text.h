// The message text interpreter: draws a message (glyphs and control codes, ended by 0xAF)
// into the shown picture glyph by glyph, waits at reading speed and for the reader, and
// carries out the scene changes, sounds and effects the text embeds.
#pragma once

#include <cstdint>

namespace scenario {

// Draws `text` from pen position (x, y). Answers the address after the text's 0xAF, or null
// when a reader wait was cut short by ScriptStop. `present_each` shows every glyph as it
// is drawn; `scenario_message` marks a message of MESSAGE DATA shown by the script or a
// choice (page bookkeeping, save snapshot, in-game menu at reader waits).
//
// A text inside MESSAGE DATA is read no further than the block's end: one that reaches it
// without its 0xAF ends the program as a broken scenario. Any other text is the program's
// own and always ends.
const std::uint8_t* ShowText(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                             std::uint16_t colour, std::uint16_t shadow, bool present_each,
                             bool scenario_message);

// ShowText of a text of the program's own, not a scenario message and not presented,
// without the per-glyph wait (as if it began with glyph delay 0): what the item selector
// draws appears in one piece, and a press made meanwhile is not taken as a hurry.
const std::uint8_t* ShowTextAtOnce(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                                   std::uint16_t colour, std::uint16_t shadow);

}  // namespace scenario
