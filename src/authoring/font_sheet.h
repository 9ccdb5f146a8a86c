// A picture of glyphs of a kanji font, for a person to check a font: each glyph in its
// 24 × 24 cell on a pale square, its number in small digits above it.
#pragma once

#include <cstdint>
#include <span>

#include "authoring/png_io.h"

namespace authoring {

struct FontSheetOptions {
  int columns = 16;  // cells per row
  int scale = 1;     // every pixel drawn as scale × scale
};

// The glyphs in the order given (glyph 0 and numbers past the font's end show as blank
// cells). Palette: 0 background, 1 ink, 2 the cell square, 3 the numbers.
IndexedImage DrawFontSheet(std::span<const std::uint8_t> font,
                           std::span<const std::uint16_t> glyphs,
                           const FontSheetOptions& options = {});

// Where the top-left pixel of the glyph cell of sheet position `i` lies (unscaled).
struct SheetPoint {
  int x = 0;
  int y = 0;
};
SheetPoint FontSheetCellOrigin(int i, const FontSheetOptions& options);

}  // namespace authoring
