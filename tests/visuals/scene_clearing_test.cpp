// ClearScene: for every effect, what the screen, the composed picture, the slots, the
// background and the palette state end as, how many presents, how long, and for some the
// pattern during the first step.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/screen_state.h"
#include "platform/headless/input_script.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/scene_state.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;

std::uint8_t Scene(int x, int y) { return static_cast<std::uint8_t>(2 + (x * 3 + y) % 13); }

class SceneClearingTest : public hotaru_test::VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    StartWindow(8);
  }
  static std::vector<std::uint8_t> Uniform(std::uint8_t v) {
    return std::vector<std::uint8_t>(
        static_cast<std::size_t>(core::kPictureWidth * core::kPictureHeight), v);
  }
};

constexpr int kKept = -1;  // VbufDIB ends as the scene was

TEST_F(SceneClearingTest, EveryEffectEmptiesTheSceneInItsStepsAndColour) {
  struct Case {
    std::uint16_t n;
    std::uint8_t colour_effect;
    int presents;
    int steps;
    std::uint32_t step_ms;
    int screen;             // colour of every VmemDIB pixel at the end
    int composed;           // colour of every VbufDIB pixel at the end, or kKept
    std::uint16_t palette;  // PaletteState after, starting from black (normal for the fades)
    std::function<int(int, int)> mid;  // the screen 5 ms in (-1 any value); null: unchecked
  } cases[] = {
      {0, 0, 0, 48, 10, 0, 0, kPaletteBlack, nullptr},
      // The spiral's first 8 blocks: the top row, block columns 0 to 7.
      {1, 0, 126, 125, 20, 16, 0, kPaletteBlack,
       [](int x, int y) { return y < 16 && x < 128 ? 16 : Scene(x, y); }},
      {2, 0, 33, 32, 10, 16, 0, kPaletteBlack, nullptr},
      {3, 0, 33, 33, 30, 16, 0, kPaletteBlack,
       [](int x, int y) { return x % 32 == 16 && (383 - y) % 32 == 0 ? 16 : Scene(x, y); }},
      {4, 0, 52, 52, 30, 16, 0, kPaletteBlack, nullptr},
      {5, 0, 16, 16, 30, 0, 0, kPaletteBlack, nullptr},
      {5, 3, 16, 16, 30, 16, 16, kPaletteBlack,
       [](int x, int y) { return y % 4 == 3 && x % 4 == 0 ? 16 : Scene(x, y); }},
      {6, 0, 41, 41, 20, 0, 0, kPaletteBlack, nullptr},
      {6, 3, 41, 41, 20, 16, 16, kPaletteBlack, nullptr},
      {7, 0, 55, 56, 20, 16, 0, kPaletteBlack,
       [](int x, int y) { return x == 0 ? 16 : Scene(x, y); }},
      {8, 0, 55, 56, 20, 16, 0, kPaletteBlack, nullptr},
      // First step: 375 rows squeezed above 12 black ones, 13 black rows at the top.
      {9, 0, 16, 16, 10, 16, kKept, kPaletteNormal,
       [](int x, int y) {
         if (y >= 388 || y < 13) return 16;
         return static_cast<int>(Scene(x, 399 - (387 - y) * 400 / 375));
       }},
      {10, 0, 16, 16, 10, 16, 0, kPaletteNormal,
       [](int x, int y) { return x % 16 == 0 ? 16 : Scene(x, y); }},
      {11, 0, 0, 0, 0, 0, 0, kPaletteBlack, nullptr},
      // The composed picture painted 16 is cleared afterwards like any other.
      {11, 3, 1, 0, 0, 16, 0, kPaletteBlack, nullptr},
      {12, 0, 0, 48, 10, 0, 0, kPaletteBlack, nullptr},
      // First step: black outside the disc of radius 378, which reaches past top and bottom.
      {13, 0, 34, 32, 10, 0, 0, kPaletteNormal,
       [](int x, int y) {
         const int dx = 2 * x + 1 - 640, dy = 2 * y + 1 - 400;
         const int d2 = dx * dx + dy * dy;
         if (d2 < 4 * 370 * 370) return static_cast<int>(Scene(x, y));
         if (d2 > 4 * 380 * 380) return 16;
         return -1;
       }},
      {14, 0, 24, 24, 10, 0, 0, kPaletteBlack,
       [](int x, int y) { return y >= 384 ? 16 : Scene(x, y + 16); }},
      {15, 0, 39, 39, 10, 0, 0, kPaletteBlack,
       [](int x, int y) { return x < 16 ? 16 : Scene(x - 16, y); }},
      {16, 0, 24, 24, 10, 0, 0, kPaletteBlack,
       [](int x, int y) { return y < 16 ? 16 : Scene(x, y - 16); }},
      {17, 0, 39, 39, 10, 0, 0, kPaletteBlack,
       [](int x, int y) { return x >= 624 ? 16 : Scene(x + 16, y); }},
      {18, 0, 0, 48, 10, 0, 0, kPaletteBlack, nullptr},
      {19, 0, 25, 25, 20, 0, 0, kPaletteBlack, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("effect " + std::to_string(c.n) + " colour effect " +
                 std::to_string(c.colour_effect));
    const bool fades = c.n == 0 || c.n == 12 || c.n == 18;
    if (fades) {
      ApplyScreenPalette();
    } else {
      ApplyBlack();
    }
    SetColourEffect(c.colour_effect);
    Fill(core::Screen.VmemDIB, Scene);
    Fill(core::Screen.VbufDIB, Scene);
    SetBackgroundNumber(7);
    SetSlotPicture(1, 0x1C);
    SetSlotLayer(1, 0);
    core::GameState[core::field::kShownVPicture] = 4;
    const int before = Presents();
    std::vector<std::uint8_t> mid;
    const std::uint32_t took = RunCapturing([&c] { ClearScene(c.n); }, 5, &mid);

    EXPECT_EQ(Presents() - before, c.presents);
    EXPECT_GE(took, static_cast<std::uint32_t>(c.steps) * c.step_ms);
    EXPECT_LE(took, static_cast<std::uint32_t>(c.steps) * (c.step_ms + 1) + 2);
    EXPECT_EQ(Screen(core::Screen.VmemDIB), Uniform(static_cast<std::uint8_t>(c.screen)));
    const bool kept = c.composed == kKept;
    if (kept) {
      Fill(core::Screen.VmemDIB, Scene);  // what the composed picture must still hold
      EXPECT_EQ(Screen(core::Screen.VbufDIB), Screen(core::Screen.VmemDIB));
    } else {
      EXPECT_EQ(Screen(core::Screen.VbufDIB), Uniform(static_cast<std::uint8_t>(c.composed)));
    }
    EXPECT_EQ(SlotPicture(1), kept ? 0x1C : kNoCharacter);
    EXPECT_EQ(SlotLayer(1), kept ? 0 : kNoLayer);
    EXPECT_EQ(BackgroundNumber(), kNoBackground);
    EXPECT_EQ(core::GameState[core::field::kShownVPicture], 255);
    EXPECT_EQ(core::Screen.PaletteState, c.palette);
    if (c.mid == nullptr) continue;
    ASSERT_EQ(mid.size(), static_cast<std::size_t>(core::kPictureWidth * core::kPictureHeight));
    int wrong = 0;
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) {
        const int want = c.mid(x, y);
        wrong += want >= 0 && mid[static_cast<std::size_t>(y * core::kPictureWidth + x)] != want;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  SetColourEffect(0);
}

TEST_F(SceneClearingTest, RandomRowsPaintOneRowOfEveryBandPerStepInColourZero) {
  Fill(core::Screen.VmemDIB, Scene);
  Fill(core::Screen.VbufDIB, Scene);
  std::vector<std::uint8_t> mid;
  RunCapturing([] { ClearScene(19); }, 5, &mid);
  for (int band = 0; band < 16; ++band) {
    int rows = 0;
    for (int y = 25 * band; y < 25 * band + 25; ++y)
      rows += mid[static_cast<std::size_t>(y * core::kPictureWidth + 9)] == 0;
    EXPECT_EQ(rows, 1) << "band " << band;
  }
}

}  // namespace
