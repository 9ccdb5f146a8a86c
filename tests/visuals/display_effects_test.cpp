// The show operations (VbufDIB brought onto the screen in styles), the scene clearing and the
// transition frame: where pixels go, how many presents, how long, and the plain forms that
// skipping and the low-load setting choose.
#include "visuals/display_effects.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/input_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "visuals/palette_fades.h"
#include "visuals/scene_state.h"
#include "visuals/screen_show.h"
#include "visuals/transition.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;

class DisplayEffectsTest : public hotaru_test::VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    StartWindow();
    Fill(core::Screen.VmemDIB, [](int, int) { return 1; });
    Fill(core::Screen.VbufDIB,
         [](int x, int y) { return static_cast<std::uint8_t>(2 + (x + y) % 13); });
  }
  // Runs `op` and answers how long it took on the virtual clock.
  static std::uint32_t Timed(const std::function<void()>& op) {
    const DWORD start = GetTickCount();
    op();
    return GetTickCount() - start;
  }
};

TEST_F(DisplayEffectsTest, ShowsBringTheComposedPictureInTheirStepsAndTimes) {
  struct Case {
    const char* what;
    std::function<void()> op;
    int x0, x1;  // columns that end copied; the rest stays
    int presents;
    std::uint32_t step_ms;  // per step, each ending on the first millisecond past its length
    int steps;
  } cases[] = {
      {"area 1", [] { ShowArea(1); }, 320, 640, 1, 0, 0},
      {"area 2", [] { ShowArea(2); }, 160, 480, 1, 0, 0},
      {"interlaced", [] { ShowInterlaced(); }, 0, 640, 400, 10, 200},
      {"dither", [] { ShowDither(); }, 0, 640, 16, 30, 16},
      {"area dither", [] { ShowAreaDither(0); }, 0, 320, 16, 30, 16},
      {"blinds", [] { ShowBlinds(); }, 0, 640, 41, 20, 41},
      {"area blinds", [] { ShowAreaBlinds(2); }, 160, 480, 41, 20, 41},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(core::Screen.VmemDIB, [](int, int) { return 1; });
    const int before = Presents();
    const std::uint32_t took = Timed(c.op);
    EXPECT_EQ(Presents() - before, c.presents);
    EXPECT_GE(took, c.step_ms * c.steps);
    EXPECT_LE(took, (c.step_ms + 2) * c.steps + 2);
    const std::vector<std::uint8_t> shown = Screen(core::Screen.VmemDIB);
    const std::vector<std::uint8_t> composed = Screen(core::Screen.VbufDIB);
    int wrong = 0;
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) {
        const std::size_t i = static_cast<std::size_t>(y * core::kPictureWidth + x);
        const bool copied = x >= c.x0 && x < c.x1;
        wrong += shown[i] != (copied ? composed[i] : 1);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(DisplayEffectsTest, SkippingAndLowShowEveryStyleAtOnce) {
  for (int which = 0; which < 2; ++which) {
    core::Input.SkipMode = which == 0 ? 1 : 0;
    core::Settings.Low = which == 1 ? 1 : 0;
    for (const auto& op :
         std::vector<std::function<void()>>{ShowDither, ShowBlinds, ShowInterlaced}) {
      Fill(core::Screen.VmemDIB, [](int, int) { return 1; });
      EXPECT_LE(Timed(op), 1u);
      EXPECT_EQ(Screen(core::Screen.VmemDIB), Screen(core::Screen.VbufDIB));
    }
    Fill(core::Screen.VmemDIB, [](int, int) { return 1; });
    EXPECT_LE(Timed([] { ShowAreaDither(0); }), 1u);
    EXPECT_EQ(Screen(core::Screen.VmemDIB)[100], Screen(core::Screen.VbufDIB)[100]);
    EXPECT_EQ(Screen(core::Screen.VmemDIB)[400], 1);  // the right half is not the area's
  }
}

TEST_F(DisplayEffectsTest, ClearingTheSceneEmptiesItAndTransitionsBringTheNewOne) {
  ApplyScreenPalette();
  SetBackgroundNumber(7);
  SetSlotPicture(1, 0x1C);
  core::GameState[core::field::kShownHPicture] = 3;

  // Effect 11 at once; everything that was the scene is forgotten.
  EXPECT_LE(Timed([] { ClearScene(11); }), 1u);
  EXPECT_EQ(Screen(core::Screen.VmemDIB),
            std::vector<std::uint8_t>(core::kPictureWidth * core::kPictureHeight, 0));
  EXPECT_EQ(Screen(core::Screen.VbufDIB),
            std::vector<std::uint8_t>(core::kPictureWidth * core::kPictureHeight, 0));
  EXPECT_EQ(BackgroundNumber(), kNoBackground);
  EXPECT_EQ(SlotPicture(1), kNoCharacter);
  EXPECT_EQ(core::GameState[core::field::kShownHPicture], 255);

  // Effect 0 fades the scene out: 48 steps of 10 ms on a palette display.
  Fill(core::Screen.VbufDIB, [](int x, int) { return static_cast<std::uint8_t>(x % 16); });
  ShowComposed();
  ApplyScreenPalette();
  const std::uint32_t fade = Timed([] { ClearScene(0); });
  EXPECT_GE(fade, 48u * 10);
  EXPECT_EQ(core::Screen.PaletteState, 0);
  EXPECT_EQ(Screen(core::Screen.VmemDIB)[5], 0);

  // Transition 0 fades the composed picture in; 11 (and any while skipping) shows it at once.
  Fill(core::Screen.VbufDIB, [](int x, int) { return static_cast<std::uint8_t>(x % 16); });
  EXPECT_GE(Timed([] { Transition(0); }), 48u * 10);
  EXPECT_EQ(Screen(core::Screen.VmemDIB), Screen(core::Screen.VbufDIB));
  EXPECT_EQ(core::Screen.PaletteState, 1);
  Fill(core::Screen.VbufDIB, [](int, int) { return 9; });
  core::Input.SkipMode = 1;
  EXPECT_LE(Timed([] { Transition(3); }), 1u);
  EXPECT_EQ(Screen(core::Screen.VmemDIB), Screen(core::Screen.VbufDIB));
}

}  // namespace
