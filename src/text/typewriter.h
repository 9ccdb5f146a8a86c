// The typewriter of the wave scenes: a message of MESSAGE DATA typed into the text layer of
// the shown picture one frame at a time, with a blinking cursor of its own at the reader
// waits. Glyphs are drawn with ink 8 and shadow 4 (bits 2 and 3 of a pixel), so the scene
// can move the background under them.
#pragma once

#include <cstdint>

#include "text/text_state.h"

namespace text {

// The typewriter's run is Text.Typewriter (text_state.h).

// Frames the cursor stays shown, and hidden, is one more than this.
constexpr std::uint8_t kTypeBlinkFrames = 4;
// Items one frame types: one on a palette display, four on a deeper one.
constexpr int kTypeItemsShallow = 1;
constexpr int kTypeItemsDeep = 4;

// Starts the typewriter at (x, y), x being the left margin, on the message at `text`, an
// address in MESSAGE DATA; the per-glyph delay starts at 0. A text outside the block
// leaves the typewriter inactive.
void TypeStart(std::uint16_t x, std::uint16_t y, const std::uint8_t* text, std::uint16_t colour,
               std::uint16_t shadow);
// One frame of typing: lets the delay run out, or blinks at a reader wait, or types the
// next item (four above 8 bits per pixel; the rest up to the next wait or the end when a
// decide came, in SkipMode, or when seen text is shown fast). The end code, or a message
// that runs off its block, makes the typewriter inactive.
void TypeStep();
// One frame of the reader wait: a decide or cancel ends it and takes the cursor away;
// otherwise the cursor toggles every kTypeBlinkFrames + 1 frames.
void TypeBlink();

}  // namespace text
