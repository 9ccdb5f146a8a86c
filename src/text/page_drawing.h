// Drawing stored text again in one go: the current page (after the in-game menu, after a
// load) and a whole message (the backlog). Only layout codes act; the rest are skipped
// with their operands.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_blocks.h"

namespace text {

// Draws the current page again, from the page start kept in ResumeState up to `end` (an
// address in MESSAGE DATA), and makes it the live text state; the page start itself stays
// as it is. Then the whole window is repainted.
void RedrawPage(const std::uint8_t* end);

// Draws message `text` (an address in MESSAGE DATA) up to its end code from (x, y), x
// being the left margin, with a pen of its own: the live text state is not touched. Then
// the whole window is repainted.
void DrawMessageBlock(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                      std::uint16_t colour, std::uint16_t shadow);
// The same for a text at `offset` in the message block `block` (MESSAGE DATA of another
// scenario, as the backlog keeps it). An offset outside the block draws nothing.
void DrawMessageBlock(core::MemHandle block, std::uint16_t x, std::uint16_t y, std::size_t offset,
                      std::uint16_t colour, std::uint16_t shadow);

}  // namespace text
