#include "text/font.h"

#include "core/picture.h"
#include "core/screen_state.h"

namespace text {

namespace {

bool InsidePicture(int x, int y) {
  return x >= 0 && x < core::kPictureWidth && y >= 0 && y < core::kPictureHeight;
}

// Writes one glyph's set bits, strips left to right, rows top down, bits 7 to 0. A pixel's
// shadow goes down before its ink, and the walk reaches a pixel's upper-left neighbours
// first, so within one glyph ink always covers shadow.
void DrawBits(std::uint8_t* picture, const std::uint8_t* bitmap, int x, int y, std::uint8_t colour,
              std::uint8_t shadow) {
  // A cell wholly inside needs no test per pixel: the common case of every text line.
  const bool inside = InsidePicture(x, y) && InsidePicture(x + kGlyphCell - 1, y + kGlyphCell - 1);
  for (int strip = 0; strip < 3; ++strip) {
    for (int row = 0; row < kGlyphSize; ++row) {
      const std::uint8_t bits = bitmap[strip * kGlyphSize + row];
      if (bits == 0) continue;
      const int py = y + row;
      for (int bit = 0; bit < 8; ++bit) {
        if ((bits & (0x80 >> bit)) == 0) continue;
        const int px = x + strip * 8 + bit;
        if (inside) {
          *core::PixelAt(picture, px + kShadowOffset, py + kShadowOffset) = shadow;
          *core::PixelAt(picture, px, py) = colour;
          continue;
        }
        if (InsidePicture(px + kShadowOffset, py + kShadowOffset)) {
          *core::PixelAt(picture, px + kShadowOffset, py + kShadowOffset) = shadow;
        }
        if (InsidePicture(px, py)) *core::PixelAt(picture, px, py) = colour;
      }
    }
  }
}

}  // namespace

void DrawGlyph(std::int16_t x, std::int16_t y, std::int16_t glyph, std::uint8_t colour,
               std::uint8_t shadow) {
  if (glyph > 0) {
    const auto* font = static_cast<const std::uint8_t*>(core::MemLock(Text.FontData));
    const std::size_t offset = static_cast<std::size_t>(glyph - 1) * kGlyphBytes;
    const bool in_font = font != nullptr && offset + kGlyphBytes <= GlobalSize(Text.FontData);
    std::uint8_t* picture = in_font ? core::LockPicture(core::Screen.VmemDIB) : nullptr;
    if (picture != nullptr) {
      DrawBits(picture, font + offset, x, y, colour, shadow);
      core::MemUnlock(core::Screen.VmemDIB);
    }
    if (font != nullptr) core::MemUnlock(Text.FontData);
  }
  core::RectExtend(&core::Screen.UpdateRect, x, y, x + kGlyphCell, y + kGlyphCell);
}

}  // namespace text
