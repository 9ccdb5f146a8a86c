#include "visuals/palette_fades.h"

#include <functional>
#include <string>
#include <vector>

#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/menu_command_ids.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "flow/game_flow.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;

// Entry 1 of the test scene: red falls and green rises visibly at every level of a fade
// to black or to white.
constexpr PALETTEENTRY kProbe{255, 0, 120, PC_RESERVED};
constexpr int kProbeEntry = 1;

class PaletteFadeTest : public hotaru_test::VisualsTest {
 protected:
  void StartDisplay(int bits) {
    StartWindow(bits);
    for (int i = 0; i < 16; ++i) {
      core::Screen.ScreenPalette[i] =
          PALETTEENTRY{static_cast<BYTE>(17 * i), static_cast<BYTE>(255 - 17 * i),
                       static_cast<BYTE>(8 * i), PC_RESERVED};
    }
    core::Screen.ScreenPalette[kProbeEntry] = kProbe;
    core::Screen.ScreenPalette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  }
  // The scene palette as the given state shows it.
  static Rgb Shown(const PALETTEENTRY& e, int level, int white) {
    return {
        LevelChannel(e.peRed, static_cast<std::int16_t>(level), static_cast<std::int16_t>(white)),
        LevelChannel(e.peGreen, static_cast<std::int16_t>(level), static_cast<std::int16_t>(white)),
        LevelChannel(e.peBlue, static_cast<std::int16_t>(level), static_cast<std::int16_t>(white))};
  }
  static PALETTEENTRY Dimmed(const PALETTEENTRY& e) {
    return PALETTEENTRY{static_cast<BYTE>(e.peRed * 10 / 15),
                        static_cast<BYTE>(e.peGreen * 10 / 15),
                        static_cast<BYTE>(e.peBlue * 10 / 15), PC_RESERVED};
  }
};

TEST(PaletteLevel, ChannelAtALevelAndTowardsWhite) {
  struct Case {
    int steps, v, level, white, expected;
  } const cases[] = {
      {15, 255, 10, 0, 170},                          // the dim level of a 15-step display
      {15, 0, 15, 5, 85},                             // a third of the way to white
      {47, 255, 31, 0, 168},                          // the dim level of a palette display
      {47, 200, 47, 0, 200},                          // full level: the scene colour
      {15, 200, 0, 0, 0},                             // level 0: black
      {47, 123, 0, 47, 255},                          // white N: white whatever the level
      {15, 123, 15, 15, 255}, {47, 100, 20, 10, 87},  // 100 × 20 / 47 = 42; 42 + 213 × 10 / 47 = 87
  };
  const std::uint16_t saved = core::Screen.FadeSteps;
  for (const Case& c : cases) {
    core::Screen.FadeSteps = static_cast<std::uint16_t>(c.steps);
    EXPECT_EQ(LevelChannel(static_cast<std::uint8_t>(c.v), static_cast<std::int16_t>(c.level),
                           static_cast<std::int16_t>(c.white)),
              c.expected)
        << "N " << c.steps << " v " << c.v << " level " << c.level << " white " << c.white;
  }
  core::Screen.FadeSteps = saved;
}

// Every fade, on both kinds of display: the shown colours pass through exactly the levels
// of the fade, one step each cs × 10 ms of the virtual clock, and end in the fade's state.
TEST_F(PaletteFadeTest, FadesStepThroughTheirLevelsOnTheVirtualClock) {
  enum Curve { kLevelUp, kLevelDown, kWhiteUp, kWhiteDown, kDimDown, kDimUp };
  struct Case {
    const char* name;
    std::uint16_t start_state;
    std::function<void()> op;
    int cs;
    Curve curve;
    bool dimmed_scene;  // the fade runs on the scene palette at 10/15
    std::uint16_t end_state;
  } const cases[] = {
      {"FadeOut(2)", kPaletteNormal, [] { FadeOut(2); }, 2, kLevelDown, false, kPaletteBlack},
      {"FadeIn(1)", kPaletteBlack, [] { FadeIn(1); }, 1, kLevelUp, false, kPaletteNormal},
      {"FadeIn(1) from dim", kPaletteDim, [] { FadeIn(1); }, 1, kLevelUp, false, kPaletteNormal},
      {"FadeToWhite(1)", kPaletteNormal, [] { FadeToWhite(1); }, 1, kWhiteUp, false, kPaletteWhite},
      {"FadeFromWhite(3)", kPaletteWhite, [] { FadeFromWhite(3); }, 3, kWhiteDown, false,
       kPaletteNormal},
      {"Dim", kPaletteNormal, [] { Dim(); }, 1, kDimDown, false, kPaletteDim},
      {"Dim from white", kPaletteWhite, [] { Dim(); }, 1, kDimDown, false, kPaletteDim},
      {"Undim", kPaletteDim, [] { Undim(); }, 1, kDimUp, false, kPaletteNormal},
      {"FadeInDim(1)", kPaletteBlack, [] { FadeInDim(1); }, 1, kLevelUp, true, kPaletteDim},
      {"FadeOutDim(2)", kPaletteDim, [] { FadeOutDim(2); }, 2, kLevelDown, true, kPaletteBlack},
      {"FadeOutDim(1) from normal", kPaletteNormal, [] { FadeOutDim(1); }, 1, kLevelDown, true,
       kPaletteBlack},
  };
  for (int bits : {8, 32}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(bits) + " bits");
      StartDisplay(bits);
      const int n = bits > 8 ? 15 : 47;
      ASSERT_EQ(core::Screen.FadeSteps, n);
      const int dim = n * 10 / 15;
      const PALETTEENTRY probe = c.dimmed_scene ? Dimmed(kProbe) : kProbe;
      std::vector<Rgb> expected;
      switch (c.curve) {
        case kLevelUp:
          for (int l = 0; l <= n; ++l) expected.push_back(Shown(probe, l, 0));
          break;
        case kLevelDown:
          for (int l = n; l >= 0; --l) expected.push_back(Shown(probe, l, 0));
          break;
        case kWhiteUp:
          for (int w = 0; w <= n; ++w) expected.push_back(Shown(probe, n, w));
          break;
        case kWhiteDown:
          for (int w = n; w >= 0; --w) expected.push_back(Shown(probe, n, w));
          break;
        case kDimDown:
          for (int l = n; l >= dim; --l) expected.push_back(Shown(probe, l, 0));
          break;
        case kDimUp:
          for (int l = dim; l <= n; ++l) expected.push_back(Shown(probe, l, 0));
          break;
      }
      const int steps = static_cast<int>(expected.size());
      PALETTEENTRY scene[16];
      std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, scene);
      core::Screen.PaletteState = c.start_state;
      const int presents_before = Presents();
      const DWORD start = GetTickCount();

      const auto runs = Runs(Sample(kProbeEntry, 4000, c.op));

      // Each step waits until more than cs × 10 ms have passed: the first virtual
      // millisecond after that ends it.
      const DWORD elapsed = GetTickCount() - start;
      EXPECT_EQ(elapsed, static_cast<DWORD>(steps * (c.cs * 10 + 1)));
      EXPECT_GE(elapsed, static_cast<DWORD>(steps * c.cs * 10))
          << "shorter than its nominal length";
      ASSERT_EQ(runs.size(), expected.size());
      for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].first, expected[i]) << "step " << i;
        EXPECT_EQ(runs[i].second, c.cs * 10 + 1) << "step " << i;
      }
      EXPECT_EQ(WindowEntry(kProbeEntry), expected.back()) << "what the window palette holds";
      EXPECT_EQ(Presents() - presents_before, bits > 8 ? steps : 0)
          << "a full repaint per step only where the palette needs one";
      EXPECT_EQ(core::Screen.PaletteState, c.end_state);
      for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[i]), ToRgb(scene[i]))
            << "ScreenPalette entry " << i;
      }
      if (c.curve == kDimDown || c.curve == kDimUp) {
        EXPECT_EQ(ToRgb(core::Screen.ShownPalette[15]), (Rgb{255, 255, 255}))
            << "entry 15 is not dimmed";
      }
      for (int i = 16; i < 32; ++i) EXPECT_EQ(ToRgb(core::Screen.ShownPalette[i]), (Rgb{0, 0, 0}));
    }
  }
}

// A fade whose end state the screen already shows (and a dim outside the states it starts
// from) neither touches the palette nor waits.
TEST_F(PaletteFadeTest, FadesThatAreAlreadyDoneDoNothing) {
  struct Case {
    const char* name;
    std::uint16_t state;
    std::function<void()> op;
  } const cases[] = {
      {"FadeIn", kPaletteNormal, [] { FadeIn(1); }},
      {"FadeOut", kPaletteBlack, [] { FadeOut(2); }},
      {"FadeFromWhite", kPaletteNormal, [] { FadeFromWhite(1); }},
      {"FadeToWhite", kPaletteWhite, [] { FadeToWhite(1); }},
      {"Dim from black", kPaletteBlack, [] { Dim(); }},
      {"Dim from dim", kPaletteDim, [] { Dim(); }},
      {"Undim from normal", kPaletteNormal, [] { Undim(); }},
      {"Undim from black", kPaletteBlack, [] { Undim(); }},
      {"FadeInDim from dim", kPaletteDim, [] { FadeInDim(1); }},
      {"FadeInDim from normal", kPaletteNormal, [] { FadeInDim(1); }},
      {"FadeOutDim from black", kPaletteBlack, [] { FadeOutDim(1); }},
  };
  StartDisplay(32);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ApplyBlack();
    // Marks in ShownPalette that no apply has handed over.
    std::fill(core::Screen.ShownPalette, core::Screen.ShownPalette + 16,
              PALETTEENTRY{1, 2, 3, PC_RESERVED});
    core::Screen.PaletteState = c.state;
    const int presents_before = Presents();
    const DWORD start = GetTickCount();
    c.op();
    EXPECT_EQ(GetTickCount(), start) << "no wait";
    EXPECT_EQ(Presents(), presents_before);
    EXPECT_EQ(core::Screen.PaletteState, c.state);
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(ToRgb(core::Screen.ShownPalette[i]), (Rgb{1, 2, 3})) << "entry " << i;
      EXPECT_EQ(WindowEntry(i), (Rgb{0, 0, 0})) << "entry " << i;
    }
  }
}

// In SkipMode each fade is its end state at once.
TEST_F(PaletteFadeTest, SkipModeReplacesEveryFadeByItsEnd) {
  struct Case {
    const char* name;
    std::uint16_t start_state;
    std::function<void()> op;
    int level, white;  // the end state shown for entries 0–14
    bool dimmed_scene;
    std::uint16_t end_state;
  } const cases[] = {
      {"FadeIn", kPaletteBlack, [] { FadeIn(5); }, 15, 0, false, kPaletteNormal},
      {"FadeOut", kPaletteNormal, [] { FadeOut(5); }, 0, 0, false, kPaletteBlack},
      {"FadeFromWhite", kPaletteWhite, [] { FadeFromWhite(5); }, 15, 0, false, kPaletteNormal},
      {"FadeToWhite", kPaletteNormal, [] { FadeToWhite(5); }, 15, 15, false, kPaletteWhite},
      {"Dim", kPaletteNormal, [] { Dim(); }, 10, 0, false, kPaletteDim},
      {"Undim", kPaletteDim, [] { Undim(); }, 15, 0, false, kPaletteNormal},
      {"FadeInDim", kPaletteBlack, [] { FadeInDim(5); }, 15, 0, true, kPaletteDim},
      {"FadeOutDim", kPaletteDim, [] { FadeOutDim(5); }, 0, 0, true, kPaletteBlack},
  };
  StartDisplay(32);
  core::Input.SkipMode = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    core::Screen.PaletteState = c.start_state;
    const DWORD start = GetTickCount();
    c.op();
    EXPECT_EQ(GetTickCount(), start) << "no wait";
    EXPECT_EQ(core::Screen.PaletteState, c.end_state);
    for (int i = 0; i < 15; ++i) {
      const PALETTEENTRY scene =
          c.dimmed_scene ? Dimmed(core::Screen.ScreenPalette[i]) : core::Screen.ScreenPalette[i];
      EXPECT_EQ(WindowEntry(i), Shown(scene, c.level, c.white)) << "entry " << i;
    }
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    EXPECT_EQ(WindowEntry(15), c.end_state == kPaletteBlack ? black : white);
  }
  core::Input.SkipMode = 0;
}

// The skip command given in the middle of a fade: the remaining steps go by without waits.
TEST_F(PaletteFadeTest, SkipSwitchedOnDuringAFadeEndsItsWaits) {
  StartDisplay(8);
  core::Screen.PaletteState = kPaletteNormal;
  core::Phase.GamePhase = core::kPhasePlaying;
  core::Scenario.SkipAllowed = 1;
  const DWORD start = GetTickCount();
  platform::headless::InputScript script;
  std::string error;
  ASSERT_TRUE(platform::headless::ParseInputScript(
      "at " + std::to_string(start + 100) + " menu " + std::to_string(core::kCommandSkip), &script,
      &error))
      << error;
  backend().LoadScript(script);
  FadeOut(2);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(core::Input.SkipMode, 1);
  // Five steps of 21 ms, then each remaining step pumps once.
  EXPECT_LT(elapsed, 100u + 21u + 48u) << "the full fade takes 1008 ms";
  EXPECT_EQ(core::Screen.PaletteState, kPaletteBlack);
  EXPECT_EQ(WindowEntry(kProbeEntry), (Rgb{0, 0, 0}));
  core::Input.SkipMode = 0;
}

TEST_F(PaletteFadeTest, CrossFadeMovesFromOldToNewAndDimsInTheDimState) {
  PALETTEENTRY from[16], to[16];
  for (int i = 0; i < 16; ++i) {
    from[i] = PALETTEENTRY{0, 200, static_cast<BYTE>(10 * i), PC_RESERVED};
    to[i] = PALETTEENTRY{255, 20, static_cast<BYTE>(240 - 10 * i), PC_RESERVED};
  }
  for (std::uint16_t state : {kPaletteNormal, kPaletteDim}) {
    SCOPED_TRACE(state == kPaletteDim ? "dim" : "normal");
    StartDisplay(32);
    const int n = core::Screen.FadeSteps;
    PALETTEENTRY scene[16];
    std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, scene);
    core::Screen.PaletteState = state;
    auto mix = [&](int o, int w, int k) {
      const int v = (w * (n - k) + o * k) / n;
      return state == kPaletteDim ? v * 10 / 15 : v;
    };
    std::vector<Rgb> expected;
    for (int k = n; k >= 0; --k) {
      expected.push_back({mix(from[3].peRed, to[3].peRed, k),
                          mix(from[3].peGreen, to[3].peGreen, k),
                          mix(from[3].peBlue, to[3].peBlue, k)});
    }
    const DWORD start = GetTickCount();
    const auto runs = Runs(Sample(3, 1000, [&] { CrossFadePalette(from, to, 1); }));
    EXPECT_EQ(GetTickCount() - start, static_cast<DWORD>((n + 1) * 11));
    ASSERT_EQ(runs.size(), expected.size());
    for (std::size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i].first, expected[i]) << i;
    EXPECT_EQ(WindowEntry(15), (Rgb{255, 255, 255}));
    EXPECT_EQ(core::Screen.PaletteState, state);
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[i]), ToRgb(scene[i])) << "untouched";
  }

  // In SkipMode the new colours become the scene palette and are shown at once.
  core::Input.SkipMode = 1;
  core::Screen.PaletteState = kPaletteDim;
  const DWORD start = GetTickCount();
  CrossFadePalette(from, to, 1);
  EXPECT_EQ(GetTickCount(), start);
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[3]), ToRgb(to[3]));
  EXPECT_EQ(WindowEntry(3), ToRgb(to[3]));
  EXPECT_EQ(core::Screen.PaletteState, kPaletteNormal);
  core::Input.SkipMode = 0;
}

TEST_F(PaletteFadeTest, InstantChangesAndLevelsSetTheStateOnlyWhereTheyShould) {
  StartDisplay(8);
  core::Screen.ScreenPalette[15] = PALETTEENTRY{10, 20, 30, PC_RESERVED};

  core::Screen.PaletteState = kPaletteWhite;
  SetPaletteLevel(15, 0);
  EXPECT_EQ(core::Screen.PaletteState, kPaletteWhite) << "levels leave the state alone";
  EXPECT_EQ(WindowEntry(kProbeEntry), Shown(kProbe, 15, 0));

  SetPaletteLevel15(0, 0);
  EXPECT_EQ(WindowEntry(kProbeEntry), (Rgb{0, 0, 0}));
  EXPECT_EQ(WindowEntry(15), (Rgb{10, 20, 30})) << "entry 15 shows the scene's entry 15";
  EXPECT_EQ(core::Screen.PaletteState, kPaletteWhite);

  ApplyScreenPalette();
  EXPECT_EQ(core::Screen.PaletteState, kPaletteNormal);
  EXPECT_EQ(WindowEntry(kProbeEntry), ToRgb(kProbe));
  ApplyBlack();
  EXPECT_EQ(core::Screen.PaletteState, kPaletteBlack);
  EXPECT_EQ(WindowEntry(kProbeEntry), (Rgb{0, 0, 0}));
  EXPECT_EQ(WindowEntry(15), (Rgb{0, 0, 0}));

  // The saved copy comes back into ScreenPalette without being shown.
  SavePalette();
  core::Screen.ScreenPalette[kProbeEntry] = PALETTEENTRY{1, 1, 1, PC_RESERVED};
  RestorePalette();
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[kProbeEntry]), ToRgb(kProbe));
  EXPECT_EQ(WindowEntry(kProbeEntry), (Rgb{0, 0, 0}));
  EXPECT_EQ(core::Screen.PaletteState, kPaletteBlack);
}

}  // namespace
