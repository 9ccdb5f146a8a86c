#include "support/test_font.h"

#include <cstring>

#include "text/font.h"

namespace hotaru_test {

std::vector<std::uint8_t> MakeTestFont(int glyphs) {
  std::vector<std::uint8_t> font(static_cast<std::size_t>(glyphs) * 72, 0);
  for (int n = 1; n <= glyphs; ++n) {
    std::uint8_t* bitmap = &font[static_cast<std::size_t>(n - 1) * 72];
    bitmap[0] = 0x80;                                // strip 0, row 0: pixel (0, 0)
    bitmap[48 + 23] = static_cast<std::uint8_t>(n);  // strip 2, row 23
    if (n == 223 || n == 226) {
      for (int row = 4; row < 20; ++row) bitmap[24 + row] = 0xFF;  // strip 1: a block
    }
  }
  return font;
}

core::MemHandle InstallFont(const std::vector<std::uint8_t>& font) {
  const core::MemHandle block =
      core::MemAlloc(static_cast<std::uint32_t>(font.size()), text::kFontFileName);
  std::memcpy(core::MemLock(block), font.data(), font.size());
  core::MemUnlock(block);
  text::Text.FontData = block;
  return block;
}

bool GlyphBit(const std::uint8_t* bitmap, int i, int j) {
  return (bitmap[(i / 8) * 24 + j] >> (7 - i % 8)) & 1;
}

}  // namespace hotaru_test
