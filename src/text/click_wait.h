// The reader wait of the text: a blinking cursor glyph at the pen until a press.
#pragma once

#include <cstdint>

namespace text {

// Opens the in-game menu on cancel during play; set by the scenario engine's owner at
// start-up (shell::ConnectLayers) to scenario::InGameMenu.
extern void (*OpenInGameMenuHook)();

// Waits for the reader with `cursor` (223 line, 226 page) drawn at (x, y). Decide ends the
// wait; cancel ends it too and, when `menu_allowed` during play, opens the in-game menu
// first; Space shows the picture without text until the next press. Answers 1 when the menu
// was opened (the caller redraws the page and waits again), else 0. Returns 0 at once in
// SkipMode, and for the line cursor when seen text is shown fast in a scenario seen before.
int ClickWait(std::int16_t x, std::int16_t y, std::int16_t cursor, std::uint8_t colour,
              std::uint8_t shadow, bool menu_allowed);

}  // namespace text
