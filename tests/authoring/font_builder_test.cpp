#include "authoring/font_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "authoring/glyph_bitmap.h"

namespace {

using authoring::GlyphPixels;
using authoring::kGlyphSide;

std::uint8_t& Pixel(GlyphPixels& pixels, int x, int y) {
  return pixels[static_cast<std::size_t>(y * kGlyphSide + x)];
}
int PixelAt(const GlyphPixels& pixels, int x, int y) {
  return pixels[static_cast<std::size_t>(y * kGlyphSide + x)];
}

TEST(GlyphBitmapTest, StripsAreEightColumnsWideRowsTopDownBitSevenLeftmost) {
  struct Case {
    int x, y;
    std::size_t byte;
    std::uint8_t bits;
  };
  const Case cases[] = {
      {0, 0, 0, 0x80},  {7, 0, 0, 0x01},   {0, 1, 1, 0x80},    {8, 0, 24, 0x80},
      {9, 5, 29, 0x40}, {16, 1, 49, 0x80}, {23, 23, 71, 0x01}, {15, 23, 47, 0x01},
  };
  for (const auto& c : cases) {
    GlyphPixels pixels{};
    Pixel(pixels, c.x, c.y) = 1;
    const authoring::GlyphStrips strips = authoring::PackGlyph(pixels);
    for (std::size_t i = 0; i < strips.size(); ++i) {
      EXPECT_EQ(strips[i], i == c.byte ? c.bits : 0)
          << "pixel " << c.x << "," << c.y << " byte " << i;
    }
    EXPECT_EQ(authoring::UnpackGlyph(strips), pixels);
  }

  GlyphPixels pattern{};
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = (i * 7919 % 13) < 5;
  EXPECT_EQ(authoring::UnpackGlyph(authoring::PackGlyph(pattern)), pattern);
}

TEST(GlyphBitmapTest, FontGlyphNumbersFromOneAndBlanksOutsideTheFont) {
  std::vector<std::uint8_t> font(2 * authoring::kGlyphBytes, 0);
  font[authoring::kGlyphBytes] = 0x80;  // glyph 2, pixel (0, 0)
  EXPECT_EQ(authoring::FontGlyphCount(font), 2u);
  EXPECT_EQ(PixelAt(authoring::FontGlyph(font, 2), 0, 0), 1);
  EXPECT_EQ(authoring::FontGlyph(font, 1), GlyphPixels{});
  EXPECT_EQ(authoring::FontGlyph(font, 0), GlyphPixels{});
  EXPECT_EQ(authoring::FontGlyph(font, 3), GlyphPixels{});
}

class FontBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(authoring::FindJapaneseFont(&ttf_), "") << "scripts/install-deps.sh installs one";
  }
  std::filesystem::path ttf_;
};

struct Ink {
  int left = kGlyphSide, right = -1, top = kGlyphSide, bottom = -1;
};
Ink InkBox(const GlyphPixels& pixels) {
  Ink ink;
  for (int y = 0; y < kGlyphSide; ++y) {
    for (int x = 0; x < kGlyphSide; ++x) {
      if (!PixelAt(pixels, x, y)) continue;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

TEST_F(FontBuilderTest, DrawsEachCharacterCentredInItsCell) {
  authoring::Charset charset;
  ASSERT_EQ(authoring::Charset::Parse("3=一\n5=－\n6=国\n7=。\n", "t", &charset), "");
  std::vector<std::uint8_t> font;
  std::vector<std::string> warnings;
  ASSERT_EQ(authoring::BuildFont(charset, ttf_, &font, &warnings), "");
  EXPECT_TRUE(warnings.empty());
  ASSERT_EQ(font.size(), 7 * authoring::kGlyphBytes) << "as many glyphs as the largest number";
  for (std::uint16_t blank : {1, 2, 4}) EXPECT_EQ(authoring::FontGlyph(font, blank), GlyphPixels{});

  // The horizontal strokes: ink across the middle rows, none near the corners, centred.
  for (std::uint16_t glyph : {3, 5}) {
    const GlyphPixels pixels = authoring::FontGlyph(font, glyph);
    const Ink ink = InkBox(pixels);
    EXPECT_GE(ink.top, 8) << glyph;
    EXPECT_LE(ink.bottom, 15) << glyph;
    EXPECT_NEAR(ink.left, kGlyphSide - 1 - ink.right, 1) << glyph;
    EXPECT_TRUE(PixelAt(pixels, 12, (ink.top + ink.bottom) / 2)) << glyph;
    for (int y : {0, 1, 2, 21, 22, 23})
      for (int x : {0, 1, 22, 23}) EXPECT_FALSE(PixelAt(pixels, x, y)) << glyph;
  }
  // A full ideograph fills most of the cell and sits in its middle both ways.
  const Ink box = InkBox(authoring::FontGlyph(font, 6));
  EXPECT_GE(box.right - box.left, 17);
  EXPECT_GE(box.bottom - box.top, 17);
  EXPECT_NEAR(box.left, kGlyphSide - 1 - box.right, 1);
  EXPECT_NEAR(box.top, kGlyphSide - 1 - box.bottom, 1);
  // The full stop keeps its place in the lower left of the em.
  const Ink stop = InkBox(authoring::FontGlyph(font, 7));
  EXPECT_LT(stop.right, 12);
  EXPECT_GT(stop.top, 12);
}

TEST_F(FontBuilderTest, CharactersMissingFromTheFontFailTheBuildByName) {
  authoring::Charset charset;
  ASSERT_EQ(authoring::Charset::Parse("1=あ\n2=\U0010FFFD\n", "t", &charset), "");
  std::vector<std::uint8_t> font = {9};
  std::vector<std::string> warnings;
  const std::string error = authoring::BuildFont(charset, ttf_, &font, &warnings);
  EXPECT_NE(error.find("glyph 2 (line 2): '\U0010FFFD' (U+10FFFD)"), std::string::npos) << error;
  EXPECT_EQ(error.find("glyph 1"), std::string::npos) << error;
  EXPECT_EQ(font, std::vector<std::uint8_t>{9});
}

TEST_F(FontBuilderTest, ThresholdDecidesHowMuchCoverageIsInk) {
  authoring::Charset charset;
  ASSERT_EQ(authoring::Charset::Parse("1=国\n", "t", &charset), "");
  auto ink_count = [&](int threshold) {
    std::vector<std::uint8_t> font;
    std::vector<std::string> warnings;
    EXPECT_EQ(authoring::BuildFont(charset, ttf_, &font, &warnings, {threshold}), "");
    const GlyphPixels pixels = authoring::FontGlyph(font, 1);
    return std::count(pixels.begin(), pixels.end(), 1);
  };
  EXPECT_GT(ink_count(20), ink_count(112));
  EXPECT_GT(ink_count(112), ink_count(240));
  std::vector<std::uint8_t> font;
  std::vector<std::string> warnings;
  EXPECT_NE(authoring::BuildFont(charset, ttf_, &font, &warnings, {0}), "");
}

}  // namespace
