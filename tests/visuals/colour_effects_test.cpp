#include "visuals/colour_effects.h"

#include <string>
#include <vector>

#include "core/screen_state.h"
#include "visuals/background.h"
#include "visuals/palette_fades.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;

TEST(TransformPalette, SixEffectsOnEntriesZeroToFourteen) {
  struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
  };
  struct Case {
    int kind;
    Rgb red, mixed;  // from (255, 0, 0) and from (10, 200, 30)
  } const cases[] = {
      {0, {255, 0, 0}, {10, 200, 30}},   {1, {77, 77, 77}, {124, 124, 124}},
      {2, {77, 0, 0}, {124, 0, 0}},      {3, {0, 77, 0}, {0, 124, 0}},
      {4, {0, 0, 77}, {0, 0, 124}},      {5, {0, 255, 255}, {245, 55, 225}},
      {6, {170, 0, 0}, {6, 133, 20}},    {7, {255, 0, 0}, {10, 200, 30}},
      {255, {255, 0, 0}, {10, 200, 30}},
  };
  for (const Case& c : cases) {
    PALETTEENTRY p[16];
    for (int i = 0; i < 16; ++i) p[i] = PALETTEENTRY{255, 0, 0, PC_RESERVED};
    p[7] = PALETTEENTRY{10, 200, 30, PC_RESERVED};
    TransformPalette(static_cast<std::uint8_t>(c.kind), p);
    auto rgb = [](const PALETTEENTRY& e) { return Rgb{e.peRed, e.peGreen, e.peBlue}; };
    EXPECT_EQ(rgb(p[0]), c.red) << "kind " << c.kind;
    EXPECT_EQ(rgb(p[14]), c.red) << "kind " << c.kind;
    EXPECT_EQ(rgb(p[7]), c.mixed) << "kind " << c.kind;
    EXPECT_EQ(rgb(p[15]), (Rgb{255, 0, 0})) << "entry 15 is left alone, kind " << c.kind;
  }
}

class ColourEffectTest : public hotaru_test::VisualsTest {
 protected:
  void Start(int bits) {
    StartWindow(bits);
    WritePicture("S05.VGR", 0, 0, 640, 400,
                 [](int x, int) { return static_cast<std::uint8_t>(x % 4); });
  }
  // The palette of background n with effect `kind` computed from the variant-0 colouring.
  static void Expected(int n, int kind, PALETTEENTRY* out) {
    BuildBackgroundPalette(static_cast<std::uint8_t>(n % 50), out);
    out[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
    TransformPalette(static_cast<std::uint8_t>(kind), out);
  }
  static void ExpectPalette(const PALETTEENTRY* actual, const PALETTEENTRY* expected,
                            const char* what) {
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(ToRgb(actual[i]), ToRgb(expected[i])) << what << " " << i;
  }
};

TEST_F(ColourEffectTest, EffectsStartFromTheVariantZeroColouringAndZeroTakesThemOff) {
  Start(8);
  ShowBackground(155);
  PALETTEENTRY plain[16];
  std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, plain);
  ApplyBlack();
  for (int kind = 1; kind <= 6; ++kind) {
    SCOPED_TRACE(kind);
    const DWORD start = GetTickCount();
    ApplyColourEffect(static_cast<std::uint8_t>(kind), false);
    EXPECT_EQ(GetTickCount(), start);
    PALETTEENTRY expected[16];
    Expected(155, kind, expected);
    ExpectPalette(core::Screen.ScreenPalette, expected, "ScreenPalette");
    ExpectPalette(core::Screen.BackgroundPalette, expected, "BackgroundPalette");
    ExpectPalette(core::Screen.PlainPalette, plain, "PlainPalette");
    EXPECT_EQ(ColourEffect(), kind);
    EXPECT_EQ(WindowEntry(2), (Rgb{0, 0, 0})) << "not shown before the next apply";
  }
  ApplyColourEffect(0, false);
  ExpectPalette(core::Screen.ScreenPalette, plain, "no effect: the background's own colouring");
  EXPECT_EQ(ColourEffect(), 0);
}

TEST_F(ColourEffectTest, EventPicturesAndTheWhiteScreenStartFromTheirOwnColours) {
  Start(8);
  SetBackgroundNumber(kNoBackground);
  for (int i = 0; i < 16; ++i) core::Screen.PlainPalette[i] = PALETTEENTRY{255, 0, 0, PC_RESERVED};
  core::Screen.PlainPalette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  ApplyColourEffect(1, false);
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[2]), (Rgb{77, 77, 77})) << "(30 × 255 + 50) / 100";
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[15]), (Rgb{255, 255, 255}));

  ShowBackground(kWhiteBackground);
  ApplyColourEffect(5, false);
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[i]), (Rgb{0, 0, 0})) << "negative white";
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[15]), (Rgb{255, 255, 255}));
}

TEST_F(ColourEffectTest, FadeCrossFadesTheScreenToTheEffect) {
  Start(32);
  ShowBackground(5);
  ApplyScreenPalette();
  const Rgb from = ToRgb(core::Screen.ScreenPalette[2]);
  PALETTEENTRY expected[16];
  Expected(5, 4, expected);
  const DWORD start = GetTickCount();
  const auto runs = Runs(Sample(2, 1000, [] { ApplyColourEffect(4, true); }));
  EXPECT_EQ(GetTickCount() - start, 16u * 11u) << "16 steps of 10 ms at FadeSteps 15";
  ASSERT_EQ(runs.size(), 16u);
  EXPECT_EQ(runs.front().first, from);
  EXPECT_EQ(runs.back().first, ToRgb(expected[2]));
  EXPECT_EQ(WindowEntry(2), ToRgb(expected[2]));
  ExpectPalette(core::Screen.ScreenPalette, expected, "ScreenPalette");
  EXPECT_EQ(core::Screen.PaletteState, kPaletteNormal);
}

TEST_F(ColourEffectTest, KindsAboveSixAreOnlyRecorded) {
  Start(32);
  ShowBackground(5);
  ApplyColourEffect(2, false);
  PALETTEENTRY screen[16], background[16];
  std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, screen);
  std::copy(core::Screen.BackgroundPalette, core::Screen.BackgroundPalette + 16, background);
  const int presents = Presents();
  const DWORD start = GetTickCount();
  ApplyColourEffect(9, true);
  EXPECT_EQ(GetTickCount(), start) << "no cross-fade";
  EXPECT_EQ(Presents(), presents);
  EXPECT_EQ(ColourEffect(), 9);
  ExpectPalette(core::Screen.ScreenPalette, screen, "ScreenPalette");
  ExpectPalette(core::Screen.BackgroundPalette, background, "BackgroundPalette");
}

TEST_F(ColourEffectTest, PendingEffectIsAppliedByTheNextBackgroundOnce) {
  Start(8);
  SetPendingColourEffect(2);
  ShowBackground(55);
  PALETTEENTRY expected[16];
  Expected(55, 2, expected);
  ExpectPalette(core::Screen.ScreenPalette, expected, "ScreenPalette");
  EXPECT_EQ(ColourEffect(), 2);
  EXPECT_EQ(PendingColourEffect(), 0);
  PALETTEENTRY plain[16];
  BuildBackgroundPalette(55, plain);
  plain[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  ExpectPalette(core::Screen.PlainPalette, plain, "PlainPalette");

  ShowBackground(5);
  EXPECT_EQ(ColourEffect(), 0) << "applied once";
}

}  // namespace
