#include "authoring/glyph_bitmap.h"

namespace authoring {

GlyphStrips PackGlyph(const GlyphPixels& pixels) {
  GlyphStrips strips{};
  for (int y = 0; y < kGlyphSide; ++y) {
    for (int x = 0; x < kGlyphSide; ++x) {
      if (pixels[static_cast<std::size_t>(y * kGlyphSide + x)] == 0) continue;
      const int strip = x / 8;
      strips[static_cast<std::size_t>(strip * kGlyphSide + y)] |=
          static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return strips;
}

GlyphPixels UnpackGlyph(std::span<const std::uint8_t, kGlyphBytes> strips) {
  GlyphPixels pixels{};
  for (int y = 0; y < kGlyphSide; ++y) {
    for (int x = 0; x < kGlyphSide; ++x) {
      const std::uint8_t row = strips[static_cast<std::size_t>((x / 8) * kGlyphSide + y)];
      pixels[static_cast<std::size_t>(y * kGlyphSide + x)] = (row >> (7 - x % 8)) & 1;
    }
  }
  return pixels;
}

GlyphPixels FontGlyph(std::span<const std::uint8_t> font, std::uint16_t glyph) {
  if (glyph == 0 || glyph > FontGlyphCount(font)) return GlyphPixels{};
  return UnpackGlyph(font.subspan((glyph - 1u) * kGlyphBytes).first<kGlyphBytes>());
}

}  // namespace authoring
