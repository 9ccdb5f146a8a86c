// Glyph drawing into the shown picture, and the text layer's pixel operations.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/sine_table.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/font.h"
#include "text/text_layer.h"

namespace {

using hotaru_test::Bytes;

class GlyphTest : public hotaru_test::ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    FillScreen(0x30);  // a colour no glyph uses, so that every write shows
  }
  // A font whose glyph 1 has ink exactly at the given pixels (column, row).
  void FontWithGlyph1(const std::vector<std::array<int, 2>>& ink) {
    Bytes font(2 * 72, 0);
    for (const auto& [i, j] : ink)
      font[(i / 8) * 24 + j] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    hotaru_test::InstallFont(font);
  }
  static void FillScreen(std::uint8_t colour) {
    std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
    std::memset(p + core::kPixelOffset, colour, core::kPixelBytes);
    core::MemUnlock(core::Screen.VmemDIB);
  }
  static std::vector<std::uint8_t> Screen() {
    std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
    std::vector<std::uint8_t> pixels(p + core::kPixelOffset,
                                     p + core::kPixelOffset + core::kPixelBytes);
    core::MemUnlock(core::Screen.VmemDIB);
    return pixels;
  }
  static std::uint8_t At(const std::vector<std::uint8_t>& screen, int x, int y) {
    return screen[core::PixelOffset(x, y) - core::kPixelOffset];
  }
  // The pixels that differ from the fill, as (x, y, colour).
  static std::vector<std::array<int, 3>> Changes() {
    const std::vector<std::uint8_t> screen = Screen();
    std::vector<std::array<int, 3>> out;
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) {
        if (At(screen, x, y) != 0x30) out.push_back({x, y, At(screen, x, y)});
      }
    }
    return out;
  }
  static void ResetUpdateRect() { core::Screen.UpdateRect = core::kEmptyUpdateRect; }
  static void ExpectUpdateRect(LONG l, LONG t, LONG r, LONG b) {
    EXPECT_EQ(core::Screen.UpdateRect.left, l);
    EXPECT_EQ(core::Screen.UpdateRect.top, t);
    EXPECT_EQ(core::Screen.UpdateRect.right, r);
    EXPECT_EQ(core::Screen.UpdateRect.bottom, b);
  }
  using Changed = std::vector<std::array<int, 3>>;
};

TEST_F(GlyphTest, InkAndShadowLandWhereTheBitmapSays) {
  FontWithGlyph1({{0, 0}});
  ResetUpdateRect();
  text::DrawGlyph(10, 20, 1, 8, 4);
  EXPECT_EQ(Changes(), (Changed{{10, 20, 8}, {12, 22, 4}}));
  ExpectUpdateRect(10, 20, 36, 46);

  // Ink covers the shadow of an earlier pixel of the same glyph; a bit of the right strip
  // lands in its own column.
  FillScreen(0x30);
  FontWithGlyph1({{0, 0}, {2, 2}, {23, 23}});
  text::DrawGlyph(100, 50, 1, 15, 0);
  EXPECT_EQ(Changes(),
            (Changed{{100, 50, 15}, {102, 52, 15}, {104, 54, 0}, {123, 73, 15}, {125, 75, 0}}));
}

TEST_F(GlyphTest, BlanksDrawNothingButWidenTheUpdateRect) {
  FontWithGlyph1({{0, 0}});
  struct Case {
    std::int16_t glyph;
    const char* what;
  } cases[] = {{0, "the blank"},
               {2, "just past the font's end"},
               {8191, "far past it"},
               {-5, "a negative number"}};
  for (const Case& c : cases) {
    ResetUpdateRect();
    text::DrawGlyph(100, 50, c.glyph, 15, 0);
    EXPECT_TRUE(Changes().empty()) << c.what;
    ExpectUpdateRect(100, 50, 126, 76);
  }
}

TEST_F(GlyphTest, CellsReachingOutOfThePictureAreClipped) {
  FontWithGlyph1({{0, 0}, {23, 23}});
  text::DrawGlyph(620, 380, 1, 15, 0);  // ink (643, 403) and every shadow outside
  text::DrawGlyph(-23, -23, 1, 9, 1);   // ink (-23, -23) outside, (0, 0) inside
  text::DrawGlyph(-2, -2, 1, 7, 2);     // the shadow of ink (-2, -2) lands at (0, 0)
  EXPECT_EQ(
      Changes(),
      (Changed{{0, 0, 2}, {2, 2, 1}, {21, 21, 7}, {23, 23, 2}, {620, 380, 15}, {622, 382, 0}}));
}

TEST_F(GlyphTest, TextLayerClearingKeepsTheBackgroundBits) {
  std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
  *core::PixelAt(p, 0, 0) = 8;
  *core::PixelAt(p, 1, 0) = 13;
  *core::PixelAt(p, 2, 0) = 4;
  *core::PixelAt(p, 639, 399) = 255;
  core::MemUnlock(core::Screen.VmemDIB);
  text::ClearTextLayer(core::Screen.VmemDIB);
  const std::vector<std::uint8_t> screen = Screen();
  EXPECT_EQ(At(screen, 0, 0), 0);
  EXPECT_EQ(At(screen, 1, 0), 1);
  EXPECT_EQ(At(screen, 2, 0), 0);
  EXPECT_EQ(At(screen, 639, 399), 3);
  EXPECT_EQ(At(screen, 300, 200), 0x30 & 3);
}

TEST_F(GlyphTest, SavedRectanglesComeBackPixelForPixelAndClipAtTheEdges) {
  std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x) *core::PixelAt(p, x, y) = static_cast<std::uint8_t>(x * 7 + y);
  }
  core::MemUnlock(core::Screen.VmemDIB);
  const std::vector<std::uint8_t> before = Screen();
  const core::MemHandle buffer = core::MemAlloc(26 * 26, "cursor buf 1");

  // Rows are stored top row first, `width` bytes each.
  text::SaveRect(buffer, core::Screen.VmemDIB, 5, 7, 26, 26);
  const auto* saved = static_cast<const std::uint8_t*>(core::MemLock(buffer));
  EXPECT_EQ(saved[0], At(before, 5, 7));
  EXPECT_EQ(saved[26 * 3 + 2], At(before, 7, 10));
  core::MemUnlock(buffer);

  for (const std::array<int, 2> at :
       {std::array{5, 7}, std::array{630, 390}, std::array{-10, -20}}) {
    text::SaveRect(buffer, core::Screen.VmemDIB, static_cast<std::int16_t>(at[0]),
                   static_cast<std::int16_t>(at[1]), 26, 26);
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    text::DrawGlyph(static_cast<std::int16_t>(at[0]), static_cast<std::int16_t>(at[1]), 223, 15, 0);
    ResetUpdateRect();
    text::RestoreRect(core::Screen.VmemDIB, buffer, static_cast<std::int16_t>(at[0]),
                      static_cast<std::int16_t>(at[1]), 26, 26);
    EXPECT_EQ(Screen(), before) << at[0] << "," << at[1];
    ExpectUpdateRect(at[0], at[1], at[0] + 26, at[1] + 26);
  }
  core::MemFree(buffer);
}

TEST(SineTable, QuarterCircleAndItsFolding) {
  EXPECT_EQ(core::SineTable[0], 0);
  EXPECT_EQ(core::SineTable[360], 32767);
  EXPECT_EQ(core::SineTable[120], 16383);  // 30°: 32767 / 2 rounded down
  for (int k = 0; k <= 360; ++k) {
    const double exact = 32767.0 * std::sin(k / 4.0 * std::acos(-1.0) / 180.0);
    EXPECT_LE(core::SineTable[k], exact + 1e-6) << k;
    EXPECT_GT(core::SineTable[k], exact - 1.0) << k;
  }
  struct Case {
    std::uint32_t degrees;
    std::int32_t value;
  } cases[] = {{0, 0},
               {30, 16383},
               {90, 32767},
               {150, 16383},
               {180, 0},
               {210, -16383},
               {270, -32767},
               {360, 0},
               {390, 16383},
               {720, 0},
               {721, core::SineTable[4]}};
  for (const Case& c : cases) EXPECT_EQ(core::SineDegrees(c.degrees), c.value) << c.degrees;
}

}  // namespace
