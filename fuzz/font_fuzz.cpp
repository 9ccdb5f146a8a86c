// Font data and glyph drawing from outside: the first bytes are a font file of any size, the
// rest records of (x, y, glyph) as three signed 16-bit numbers, each drawn into the shown
// picture with its shadow. Glyphs the font does not hold and cells reaching outside the
// picture must never read or write outside their blocks (ASan, UBSan).
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/memory_blocks.h"
#include "harness/game_harness.h"
#include "text/font.h"

namespace {

std::int16_t Read16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The font's length in bytes comes first (so fonts of every size, whole glyphs or not).
  const std::size_t font_size =
      std::min<std::size_t>(static_cast<std::uint16_t>(Read16(data)), size - 2);
  platform::headless::Options options = harness::InProcessOptions();
  options.ini_path = "/dev/null";
  harness::GameHarness game(options);
  game.OpenWindow();

  if (font_size > 0) {
    text::Text.FontData =
        core::MemAlloc(static_cast<std::uint32_t>(font_size), text::kFontFileName);
    std::memcpy(core::MemLock(text::Text.FontData), data + 2, font_size);
    core::MemUnlock(text::Text.FontData);
  }
  for (std::size_t at = 2 + font_size; at + 6 <= size; at += 6) {
    text::DrawGlyph(Read16(data + at), Read16(data + at + 2), Read16(data + at + 4),
                    data[at] & 0x1F, data[at + 1] & 0x1F);
  }
  return 0;
}
