// A small font for text tests: every glyph has ink at its top-left pixel and its number's
// low byte in the bottom row of its right strip; the two click-wait cursors are solid
// blocks, so that drawing and restoring them changes many pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_blocks.h"

namespace hotaru_test {

constexpr int kTestFontGlyphs = 240;

// The font file's bytes (72 per glyph, glyph n at (n − 1) × 72).
std::vector<std::uint8_t> MakeTestFont(int glyphs = kTestFontGlyphs);

// Loads `font` into a block and makes it the game's FontData.
core::MemHandle InstallFont(const std::vector<std::uint8_t>& font);

// Whether glyph pixel (i, j) (column, row) of a 72-byte bitmap is ink.
bool GlyphBit(const std::uint8_t* bitmap, int i, int j);

}  // namespace hotaru_test
