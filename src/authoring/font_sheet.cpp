#include "authoring/font_sheet.h"

#include <algorithm>
#include <string>

#include "authoring/glyph_bitmap.h"

namespace authoring {
namespace {

constexpr int kDigitWidth = 3;
constexpr int kDigitHeight = 5;
// Rows of 3 pixels, bit 2 the leftmost.
constexpr std::uint8_t kDigits[10][kDigitHeight] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

constexpr int kMargin = 4;
constexpr int kLabelHeight = kDigitHeight + 2;  // the digits and a gap below them
constexpr int kCellWidth = kGlyphSide + 6;
constexpr int kCellHeight = kLabelHeight + kGlyphSide + 4;

constexpr std::uint8_t kBackground = 0, kInk = 1, kSquare = 2, kNumber = 3;

void DrawNumber(int number, int x, int y, IndexedImage* image) {
  for (char c : std::to_string(number)) {
    for (int row = 0; row < kDigitHeight; ++row) {
      for (int column = 0; column < kDigitWidth; ++column) {
        if ((kDigits[c - '0'][row] >> (kDigitWidth - 1 - column)) & 1)
          image->pixels[static_cast<std::size_t>((y + row) * image->width + x + column)] = kNumber;
      }
    }
    x += kDigitWidth + 1;
  }
}

}  // namespace

SheetPoint FontSheetCellOrigin(int i, const FontSheetOptions& options) {
  const int columns = std::max(1, options.columns);
  return {kMargin + (i % columns) * kCellWidth,
          kMargin + (i / columns) * kCellHeight + kLabelHeight};
}

IndexedImage DrawFontSheet(std::span<const std::uint8_t> font,
                           std::span<const std::uint16_t> glyphs, const FontSheetOptions& options) {
  const int count = static_cast<int>(glyphs.size());
  const int columns = std::clamp(options.columns, 1, std::max(1, count));
  const int rows = std::max(1, (count + columns - 1) / columns);
  IndexedImage sheet;
  sheet.width = 2 * kMargin + columns * kCellWidth;
  sheet.height = 2 * kMargin + rows * kCellHeight;
  sheet.pixels.assign(static_cast<std::size_t>(sheet.width * sheet.height), kBackground);
  sheet.palette = {{255, 255, 255}, {0, 0, 0}, {220, 228, 240}, {160, 40, 40}};

  FontSheetOptions layout = options;
  layout.columns = columns;
  for (int i = 0; i < count; ++i) {
    const SheetPoint cell = FontSheetCellOrigin(i, layout);
    DrawNumber(glyphs[static_cast<std::size_t>(i)], cell.x, cell.y - kLabelHeight, &sheet);
    const GlyphPixels pixels = FontGlyph(font, glyphs[static_cast<std::size_t>(i)]);
    for (int y = 0; y < kGlyphSide; ++y) {
      for (int x = 0; x < kGlyphSide; ++x) {
        sheet.pixels[static_cast<std::size_t>((cell.y + y) * sheet.width + cell.x + x)] =
            pixels[static_cast<std::size_t>(y * kGlyphSide + x)] ? kInk : kSquare;
      }
    }
  }

  const int scale = std::clamp(options.scale, 1, 16);
  if (scale == 1) return sheet;
  IndexedImage scaled;
  scaled.width = sheet.width * scale;
  scaled.height = sheet.height * scale;
  scaled.palette = sheet.palette;
  scaled.pixels.resize(static_cast<std::size_t>(scaled.width * scaled.height));
  for (int y = 0; y < scaled.height; ++y) {
    for (int x = 0; x < scaled.width; ++x) {
      scaled.pixels[static_cast<std::size_t>(y * scaled.width + x)] =
          sheet.pixels[static_cast<std::size_t>((y / scale) * sheet.width + x / scale)];
    }
  }
  return scaled;
}

}  // namespace authoring
