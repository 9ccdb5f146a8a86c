// The screen transitions: for every number, where the pixels end, how many presents, how long
// on the virtual clock, and the pattern the screen shows during the first step.
#include "visuals/transition.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/screen_state.h"
#include "platform/headless/input_script.h"
#include "visuals/palette_fades.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;

constexpr int kOld = 1;
std::uint8_t Composed(int x, int y) { return static_cast<std::uint8_t>(2 + (x + y) % 13); }

class TransitionTest : public hotaru_test::VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    StartWindow(8);
  }
};

// Expected pixel of the screen during the first step; -1 where any value will do.
using MidPixel = std::function<int(int x, int y)>;
int CopiedIf(bool copied, int x, int y) { return copied ? Composed(x, y) : kOld; }

TEST_F(TransitionTest, EveryTransitionEndsOnTheComposedPictureInItsStepsAndPattern) {
  struct Case {
    std::uint16_t n;
    int presents;
    int steps;
    std::uint32_t step_ms;
    MidPixel mid;    // the screen 5 ms in; null: not checked
    int mid_copied;  // or only the number of pixels copied by then (-1: not checked)
  } cases[] = {
      {0, 1, 48, 10, [](int x, int y) { return CopiedIf(true, x, y); }, -1},
      // The spiral's innermost 8 blocks first: row 12, block columns 27 down to 20.
      {1, 126, 125, 20,
       [](int x, int y) { return CopiedIf(y / 16 == 12 && x / 16 >= 20 && x / 16 <= 27, x, y); },
       -1},
      {2, 33, 32, 10, nullptr, 256},
      // Ring 0: the centres of the diamond cells (cell row 12's centre is above the screen).
      {3, 33, 33, 30,
       [](int x, int y) { return CopiedIf(x % 32 == 16 && (383 - y) % 32 == 0, x, y); }, -1},
      {4, 52, 52, 30, [](int x, int y) { return CopiedIf(x == 16 && (383 - y) % 32 == 0, x, y); },
       -1},
      {5, 16, 16, 30, [](int x, int y) { return CopiedIf(y % 4 == 3 && x % 4 == 0, x, y); }, -1},
      {6, 41, 41, 20, [](int x, int y) { return CopiedIf(y == 0, x, y); }, -1},
      // Step 55 copies nothing and presents nothing, but still waits.
      {7, 55, 56, 20, [](int x, int y) { return CopiedIf(x == 0, x, y); }, -1},
      {8, 55, 56, 20,
       [](int x, int y) { return CopiedIf(x < 16 && y % 4 == 3 && x % 4 == 0, x, y); }, -1},
      // Drawn straight to the window; the shown picture takes the scene only at the end.
      {9, 1, 16, 30, [](int, int) { return kOld; }, -1},
      {10, 16, 16, 10, [](int x, int y) { return CopiedIf(x % 16 == 0, x, y); }, -1},
      {11, 1, 0, 0, nullptr, -1},
      {12, 16, 16, 30, [](int x, int y) { return CopiedIf(y % 4 == 3 && x % 4 == 0, x, y); }, -1},
      // The whole scene is in place but hidden behind the black bank, except a small disc.
      {13, 34, 32, 10,
       [](int x, int y) {
         const int dx = 2 * x + 1 - 640, dy = 2 * y + 1 - 400;  // twice the offset from the centre
         const int d2 = dx * dx + dy * dy;
         if (d2 < 4 * 16) return static_cast<int>(Composed(x, y));
         if (d2 > 4 * 49) return Composed(x, y) | 16;
         return -1;
       },
       -1},
      {14, 25, 25, 10, [](int x, int y) { return y >= 384 ? Composed(x, y - 384) : kOld; }, -1},
      {15, 40, 40, 10, [](int x, int y) { return x < 16 ? Composed(x + 624, y) : kOld; }, -1},
      {16, 25, 25, 10, [](int x, int y) { return y < 16 ? Composed(x, y + 384) : kOld; }, -1},
      {17, 40, 40, 10, [](int x, int y) { return x >= 624 ? Composed(x - 624, y) : kOld; }, -1},
      // Old and new in one pixel, old + 4 × new; the palette does the rest.
      {18, 3, 47, 20, [](int x, int y) { return (kOld | 4 * Composed(x, y)) & 0xFF; }, -1},
      {19, 25, 25, 20, nullptr, 16 * 640},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("transition " + std::to_string(c.n));
    ApplyBlack();
    Fill(core::Screen.VmemDIB, [](int, int) { return kOld; });
    Fill(core::Screen.VbufDIB, Composed);
    const int before = Presents();
    std::vector<std::uint8_t> mid;
    const std::uint32_t took = RunCapturing([&c] { Transition(c.n); }, 5, &mid);
    EXPECT_EQ(Presents() - before, c.presents);
    // Every step ends on the first millisecond past its length.
    EXPECT_GE(took, static_cast<std::uint32_t>(c.steps) * c.step_ms);
    EXPECT_LE(took, static_cast<std::uint32_t>(c.steps) * (c.step_ms + 1) + 2);
    EXPECT_EQ(Screen(core::Screen.VmemDIB), Screen(core::Screen.VbufDIB));
    EXPECT_EQ(core::Screen.PaletteState, kPaletteNormal);
    if (c.mid == nullptr && c.mid_copied < 0) continue;
    ASSERT_EQ(mid.size(), static_cast<std::size_t>(core::kPictureWidth * core::kPictureHeight));
    int wrong = 0, copied = 0;
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) {
        const int v = mid[static_cast<std::size_t>(y * core::kPictureWidth + x)];
        copied += v == Composed(x, y);
        if (c.mid == nullptr) continue;
        const int want = c.mid(x, y);
        wrong += want >= 0 && v != want;
      }
    }
    EXPECT_EQ(wrong, 0);
    if (c.mid_copied >= 0) {
      EXPECT_EQ(copied, c.mid_copied);
    }
  }
}

TEST_F(TransitionTest, RandomRowsTakeOneRowOfEveryBandPerStep) {
  Fill(core::Screen.VmemDIB, [](int, int) { return kOld; });
  Fill(core::Screen.VbufDIB, Composed);
  std::vector<std::uint8_t> mid;
  RunCapturing([] { Transition(19); }, 25, &mid);  // during the second step
  for (int band = 0; band < 16; ++band) {
    int rows = 0;
    for (int y = 25 * band; y < 25 * band + 25; ++y)
      rows += mid[static_cast<std::size_t>(y * core::kPictureWidth + 7)] == Composed(7, y);
    EXPECT_EQ(rows, 2) << "band " << band;
  }
}

TEST_F(TransitionTest, CrossFadeEndsOnTheLargerOfOldAndNewThenTheNewPalette) {
  for (int i = 0; i < 16; ++i) {
    core::Screen.PreviousPalette[i] =
        PALETTEENTRY{static_cast<BYTE>(60 * (i % 4)), 0, 200, PC_RESERVED};
    core::Screen.BackgroundPalette[i] =
        PALETTEENTRY{static_cast<BYTE>(255 - 50 * (i % 4)), 30, 0, PC_RESERVED};
  }
  Fill(core::Screen.VmemDIB, [](int x, int) { return x % 4; });
  Fill(core::Screen.VbufDIB, [](int, int y) { return y % 4; });
  std::vector<std::uint8_t> mid;
  // Last palette step: 47 steps of 21 ms, so the last one runs from 966 on.
  RunCapturing([] { Transition(18); }, 5, &mid);
  EXPECT_EQ(mid[0], 0 + 4 * 0);
  EXPECT_EQ(mid[static_cast<std::size_t>(3 * core::kPictureWidth + 2)], 2 + 4 * 3);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[i]), ToRgb(core::Screen.BackgroundPalette[i]));
    EXPECT_EQ(ToRgb(core::Screen.ShownPalette[i]), ToRgb(core::Screen.BackgroundPalette[i]));
  }
  EXPECT_EQ(Screen(core::Screen.VmemDIB), Screen(core::Screen.VbufDIB));
}

}  // namespace
