// Text drawing speed: glyphs drawn into the shown picture, and a full 13-line page shown by
// the message interpreter with a present per glyph (no glyph delay) or once at its end.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "harness/game_harness.h"
#include "scenario/message_text.h"
#include "text/font.h"

namespace {

constexpr int kGlyphs = 400;

// The window on the headless backend and a font of kGlyphs glyphs, about a third of whose
// bits are ink (a dense kanji has about that much).
class TextBench {
 public:
  TextBench() {
    platform::headless::Options options = harness::InProcessOptions();
    options.ini_path = "/dev/null";
    game_.emplace(options);
    game_->OpenWindow();
    std::vector<std::uint8_t> font(kGlyphs * 72);
    std::uint32_t seed = 12345;
    for (std::uint8_t& b : font) {
      seed = seed * 1103515245 + 12345;
      const std::uint32_t r = seed >> 8;
      b = static_cast<std::uint8_t>((r & 0xFF) & ((r >> 8) & 0xFF));  // ~1/4 of the bits
      b |= static_cast<std::uint8_t>((r >> 16) & (r >> 20) & 0x11);
    }
    text::Text.FontData = core::MemAlloc(static_cast<std::uint32_t>(font.size()), "KNJ_ALL.KNJ");
    std::memcpy(core::MemLock(text::Text.FontData), font.data(), font.size());
    core::MemUnlock(text::Text.FontData);
  }

 private:
  std::optional<harness::GameHarness> game_;
};

void BM_DrawGlyph(benchmark::State& state) {
  TextBench bench;
  int k = 0;
  for (auto _ : state) {
    text::DrawGlyph(static_cast<std::int16_t>(16 + 24 * (k % 24)),
                    static_cast<std::int16_t>(10 + 30 * (k / 24 % 13)),
                    static_cast<std::int16_t>(1 + k % kGlyphs), 15, 0);
    ++k;
  }
  state.counters["glyphs_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawGlyph);

// 13 lines of 24 glyphs wrapped by position, without glyph delay.
std::vector<std::uint8_t> FullPage() {
  std::vector<std::uint8_t> text = {0xB6, 0};
  for (int k = 0; k < 13 * 24; ++k) {
    const int glyph = 1 + k % kGlyphs;
    text.push_back(static_cast<std::uint8_t>(glyph >> 8));
    text.push_back(static_cast<std::uint8_t>(glyph));
  }
  text.push_back(0xAF);
  return text;
}

void BM_FullPage(benchmark::State& state) {
  TextBench bench;
  const bool present_each = state.range(0) == 1;
  core::Input.SkipMode = present_each ? 0 : 1;  // skipping presents the page once, at its end
  const std::vector<std::uint8_t> page = FullPage();
  for (auto _ : state) scenario::ShowText(16, 10, page.data(), 15, 0, present_each, false);
  core::Input.SkipMode = 0;
}
BENCHMARK(BM_FullPage)->Arg(1)->Arg(0)->ArgName("present_each")->Unit(benchmark::kMillisecond);

}  // namespace
