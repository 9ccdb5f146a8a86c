// The kanji font: 24 × 24 glyphs of 72 bytes, loaded at start-up and held to the end, and
// the drawing of one glyph with its shadow into the shown picture.
#pragma once

#include <cstdint>

#include "text/text_state.h"

namespace text {

constexpr const char* kFontFileName = "KNJ_ALL.KNJ";
constexpr std::uint32_t kGlyphBytes = 72;
// The cell a glyph and its shadow cover, and the 2-pixel offset of the shadow.
constexpr int kGlyphSize = 24;
constexpr int kGlyphCell = 26;
constexpr int kShadowOffset = 2;
// Glyph numbers with a role of their own.
constexpr std::int16_t kBlankGlyph = 0;
constexpr std::int16_t kBlankGlyphAlias = 0x1FFF;  // message text shows it as a blank
constexpr std::int16_t kLineCursorGlyph = 223;
constexpr std::int16_t kPageCursorGlyph = 226;

// The font file's block is Text.FontData (text_state.h).

// Draws glyph `glyph` with its top-left corner at (x, y) of VmemDIB: ink in `colour`, the
// shadow 2 pixels right and down in `shadow`; the clear bits leave the picture as it is.
// Widens UpdateRect by the 26 × 26 cell. Pixels outside the picture are not written, and a
// glyph number the font does not hold (0, negative or past its end) draws as a blank.
void DrawGlyph(std::int16_t x, std::int16_t y, std::int16_t glyph, std::uint8_t colour,
               std::uint8_t shadow);

}  // namespace text
