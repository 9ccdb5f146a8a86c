// Story text end to end: a full page of a message drawn glyph by glyph by hotaru-headless,
// its capture compared pixel for pixel with a model of the layout and the glyph drawing.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/runner_fixture.h"
#include "support/scenario_builder.h"
#include "support/test_font.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

constexpr int W = 640;
constexpr int H = 400;
constexpr int kLines = 13;
constexpr int kPerLine = 24;
constexpr int kShadowColour = 4;

int GlyphOf(int k) { return 1 + k % 200; }

using TextE2E = hotaru_test::RunnerTest;

TEST_F(TextE2E, AFullPageIsDrawnGlyphByGlyphWhereTheLayoutSays) {
  // 13 lines of 24 glyphs, wrapped by position alone, with shadow colour 4, then a page wait.
  Bytes text = {0xB5, kShadowColour};
  for (int k = 0; k < kLines * kPerLine; ++k) {
    text.push_back(static_cast<std::uint8_t>(GlyphOf(k) >> 8));
    text.push_back(static_cast<std::uint8_t>(GlyphOf(k)));
  }
  text.insert(text.end(), {0xB3, 0xAF});
  ScenarioBuilder s;
  s.Label(0).Code({0x20});
  s.Label(1).Code({0x30, 0, 0x60, 0x50, 0, 0x20});  // a black scene, its palette, the message
  s.Message(0, text);
  const Bytes font = hotaru_test::MakeTestFont();
  Pack(s.Build(), font);
  ASSERT_EQ(Run("at 12000 shot {page.png}\nat 12000 dump {page.json}\n"
                "at 12500 key space\nat 12700 shot {bare.png}\nat 12900 click\n"
                "at 13200 shot {back.png}\nat 13200 dump {back.json}\nat 13500 click\n",
                {"--trace-presents"}),
            1)
      << output();

  // One present per glyph, each after the glyph before had its 30 ms.
  std::vector<std::uint32_t> glyph_presents;
  for (const auto& p : Trace("present")) {
    int l, t, r, b;
    if (std::sscanf(p.details.c_str(), "%d %d %d %d", &l, &t, &r, &b) == 4 && r - l == 26 &&
        t < 370 + 1 && !(l == 592 && t == 370)) {
      glyph_presents.push_back(p.ms);
    }
  }
  ASSERT_EQ(glyph_presents.size(), static_cast<std::size_t>(kLines * kPerLine));
  for (std::size_t i = 1; i < glyph_presents.size(); ++i) {
    ASSERT_GE(glyph_presents[i] - glyph_presents[i - 1], 31u) << i;
    ASSERT_LE(glyph_presents[i] - glyph_presents[i - 1], 34u) << i;
  }

  // The model: glyphs in order, each bit's shadow then its ink, on the black scene.
  std::vector<int> model(W * H, 0);
  for (int k = 0; k < kLines * kPerLine; ++k) {
    const int x = 16 + 24 * (k % kPerLine);
    const int y = 10 + 30 * (k / kPerLine);
    const std::uint8_t* bitmap = &font[static_cast<std::size_t>(GlyphOf(k) - 1) * 72];
    for (int i = 0; i < 24; i += 8) {
      for (int j = 0; j < 24; ++j) {
        for (int b = 0; b < 8; ++b) {
          if (!hotaru_test::GlyphBit(bitmap, i + b, j)) continue;
          model[(y + j + 2) * W + x + i + b + 2] = kShadowColour;
          model[(y + j) * W + x + i + b] = 15;
        }
      }
    }
  }
  const auto palette_of = [this](const std::string& dump_name) {
    const std::string dump = ReadFile(dump_name);
    std::array<Rgb, 16> p{};
    for (int i = 0; i < 16; ++i) p[static_cast<std::size_t>(i)] = Shown(dump, i);
    return p;
  };
  const std::array<Rgb, 16> palette = palette_of("page.json");
  ASSERT_EQ(palette[15], (Rgb{255, 255, 255}));
  ASSERT_NE(palette[kShadowColour], palette[0]);
  const auto in_cursor_cell = [](int x, int y) {
    return x >= 592 && x < 618 && y >= 370 && y < 396;
  };
  // After Space the scene is dimmed as text display has it; the pixels are the same.
  for (const auto& [shot, dump] :
       {std::pair{"page.png", "page.json"}, std::pair{"back.png", "back.json"}}) {
    const std::array<Rgb, 16> colours = palette_of(dump);
    const std::vector<Rgb> pixels = Shot(shot);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(W * H)) << shot;
    int wrong = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        if (in_cursor_cell(x, y)) continue;
        if (!(pixels[y * W + x] == colours[static_cast<std::size_t>(model[y * W + x])])) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << shot;
  }
  // Space showed the scene without its text.
  for (const Rgb& p : Shot("bare.png")) ASSERT_EQ(p, palette[0]);
}

}  // namespace
