// One glyph of the kanji font: 24 × 24 pixels, one bit each, stored in 72 bytes as three
// vertical strips 8 pixels wide, left to right; a strip is 24 bytes, one per pixel row from
// the top; in each byte bit 7 is the strip's leftmost pixel. Glyph n (n ≥ 1) of a font file
// lies at byte (n − 1) × 72; the file has no header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace authoring {

inline constexpr int kGlyphSide = 24;
inline constexpr std::size_t kGlyphBytes = 72;

// A glyph as pixels: (x, y) at index y × 24 + x, top row first; 1 is ink, 0 none.
using GlyphPixels = std::array<std::uint8_t, kGlyphSide * kGlyphSide>;
using GlyphStrips = std::array<std::uint8_t, kGlyphBytes>;

GlyphStrips PackGlyph(const GlyphPixels& pixels);
GlyphPixels UnpackGlyph(std::span<const std::uint8_t, kGlyphBytes> strips);

// Glyph n of a font file's bytes; a blank glyph for 0 and for numbers past the end.
GlyphPixels FontGlyph(std::span<const std::uint8_t> font, std::uint16_t glyph);

// The number of glyphs of a font file: its size divided by 72.
inline std::size_t FontGlyphCount(std::span<const std::uint8_t> font) {
  return font.size() / kGlyphBytes;
}

}  // namespace authoring
