#include "visuals/background.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/format_text.h"
#include "core/memory_blocks.h"
#include "core/screen_state.h"
#include "resources/picture_decoder.h"
#include "scenario/event_pictures.h"
#include "visuals/palette_fades.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;
using Pixels = std::vector<std::uint8_t>;

constexpr int W = core::kPictureWidth;
constexpr int H = core::kPictureHeight;

PALETTEENTRY FromNibbles(int r, int g, int b) {
  return PALETTEENTRY{static_cast<BYTE>(r * 17), static_cast<BYTE>(g * 17),
                      static_cast<BYTE>(b * 17), PC_RESERVED};
}

class BackgroundTest : public hotaru_test::VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    StartWindow();
  }
  // A full-screen background whose every pixel depends on its place and on `salt`.
  void WriteBackground(int picture, int salt) {
    WritePicture(core::FormatString("S%02d.VGR", picture), 0, 0, W, H, [salt](int x, int y) {
      return static_cast<std::uint8_t>((x / 8 + y + salt) % 16);
    });
  }
  static Pixels BackgroundPixels(int salt) {
    Pixels out(static_cast<std::size_t>(W * H));
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x)
        out[static_cast<std::size_t>(y * W + x)] =
            static_cast<std::uint8_t>((x / 8 + y + salt) % 16);
    }
    return out;
  }
  // A 64 × 32 character at (8, 16) of its file, colour 5 transparent around a square of
  // colour `colour`.
  void WriteCharacter(int picture, std::uint8_t colour) {
    WritePicture(
        core::FormatString("C%02x.VGR", picture), 8, 16, 64, 32,
        [colour](int x, int y) {
          return x >= 16 && x < 48 && y >= 8 && y < 24 ? colour : std::uint8_t{5};
        },
        5);
  }
  static void Scribble(core::MemHandle picture, std::uint8_t v) {
    core::FillPictureRect(picture, 0, 0, W - 1, H - 1, v);
  }
  static std::vector<int> Layers() { return {SlotLayer(0), SlotLayer(1), SlotLayer(2)}; }
  static std::vector<int> Pictures() { return {SlotPicture(0), SlotPicture(1), SlotPicture(2)}; }
  static bool HasBlock(const char* name) {
    for (int i = 0; i < core::Memory.MemBlockCount; ++i) {
      if (std::string(core::Memory.MemBlockTable[i].name).rfind(name, 0) == 0) return true;
    }
    return false;
  }
  static void ExpectPalette(const PALETTEENTRY* actual, const PALETTEENTRY* expected,
                            const char* what) {
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(ToRgb(actual[i]), ToRgb(expected[i])) << what << " " << i;
  }
};

TEST(BackgroundTableRecords, FollowTheVariantsWithTheirExceptions) {
  using R = BackgroundRecordBytes;
  struct Case {
    int n;
    R record;
  } const cases[] = {
      {0, R{}},
      {50, R{}},
      {100, R{}},
      {150, R{}},
      {1, R{1, 3, 4, 3, 7, 9, 8, 13, 15, 12}},
      {49, R{49, 3, 4, 3, 7, 9, 8, 13, 15, 12}},
      {55, R{5, 6, 3, 2, 11, 7, 3, 15, 12, 5}},
      {105, R{5, 3, 2, 5, 4, 4, 8, 6, 6, 12}},
      {155, R{5, 3, 4, 2, 7, 8, 5, 14, 13, 8}},
      {33, R{33, 2, 0, 3, 3, 0, 6, 5, 0, 9}},
      {183, R{33, 2, 0, 3, 3, 0, 6, 5, 0, 9}},
      {84, R{34, 3, 2, 5, 4, 4, 8, 6, 6, 12}},
      {138, R{38, 6, 0, 0, 8, 0, 0, 10, 0, 1}},
      {39, R{39, 1, 2, 3, 2, 3, 6, 3, 4, 9}},
      {192, R{42, 1, 2, 3, 2, 3, 6, 3, 4, 9}},
      {90, R{40, 8, 0, 0, 8, 0, 0, 8, 0, 0}},
      {141, R{41, 3, 1, 0, 5, 2, 0, 6, 3, 1}},
      {197, R{47, 0, 0, 4, 0, 0, 4, 0, 0, 4}},
      {147, R{47, 3, 2, 5, 4, 4, 8, 6, 6, 12}},
      {47, R{47, 3, 4, 3, 7, 9, 8, 13, 15, 12}},
      {43, R{43, 3, 4, 3, 7, 9, 8, 13, 15, 12}},
      {199, R{49, 3, 4, 2, 7, 8, 5, 14, 13, 8}},
  };
  for (const Case& c : cases) EXPECT_EQ(BackgroundTable[c.n], c.record) << "background " << c.n;
  for (int n = 0; n < kBackgroundCount; ++n) EXPECT_EQ(BackgroundTable[n][0], n % 50) << n;
}

TEST_F(BackgroundTest, BackgroundPaletteTakesTheBasePaletteOfItsRange) {
  struct Case {
    int n;
    const PALETTEENTRY* base;
  } const cases[] = {{0, core::BasePalette1.data()},   {99, core::BasePalette1.data()},
                     {100, core::BasePalette2.data()}, {149, core::BasePalette2.data()},
                     {150, core::BasePalette1.data()}, {196, core::BasePalette1.data()},
                     {197, core::BasePalette2.data()}, {199, core::BasePalette1.data()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    PALETTEENTRY p[16];
    std::fill(p, p + 16, PALETTEENTRY{9, 9, 9, 0});
    BuildBackgroundPalette(static_cast<std::uint8_t>(c.n), p);
    EXPECT_EQ(ToRgb(p[0]), (Rgb{0, 0, 0}));
    const auto& record = BackgroundTable[c.n];
    for (int colour = 1; colour <= 3; ++colour) {
      EXPECT_EQ(ToRgb(p[colour]), ToRgb(FromNibbles(record[3 * colour - 2], record[3 * colour - 1],
                                                    record[3 * colour])));
    }
    for (int i = 4; i < 16; ++i) EXPECT_EQ(ToRgb(p[i]), ToRgb(c.base[i])) << "entry " << i;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i].peFlags, PC_RESERVED);
  }
}

TEST_F(BackgroundTest, ShowBackgroundComposesThePictureWithTheTableColours) {
  WriteBackground(5, 3);
  WriteCharacter(1, 9);
  ShowBackground(50);  // picture 0: black
  ShowCharacter(0, 1);
  core::SetU8(core::GameState, core::field::kShownHPicture, 7);
  SetColourEffect(4);
  core::Screen.ScreenPalette[2] = PALETTEENTRY{1, 2, 3, PC_RESERVED};
  PALETTEENTRY before[16];
  std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, before);

  ShowBackground(105);

  EXPECT_EQ(Screen(core::Screen.VbufDIB), BackgroundPixels(3));
  PALETTEENTRY expected[16];
  BuildBackgroundPalette(105, expected);
  expected[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  ExpectPalette(core::Screen.ScreenPalette, expected, "ScreenPalette");
  ExpectPalette(core::Screen.BackgroundPalette, expected, "BackgroundPalette");
  ExpectPalette(core::Screen.PlainPalette, expected, "PlainPalette");
  ExpectPalette(core::Screen.PreviousPalette, before, "PreviousPalette");
  EXPECT_EQ(BackgroundNumber(), 105);
  EXPECT_EQ(StoredBackground(), 105);
  EXPECT_EQ(Layers(), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(Pictures(), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(scenario::ShownHPicture(), 255);
  EXPECT_EQ(scenario::ShownVPicture(), 255);
  EXPECT_EQ(ColourEffect(), 0);
  ASSERT_NE(BackgroundCopy, 0u);
  EXPECT_TRUE(HasBlock("BACK GRP"));
  EXPECT_EQ(GlobalSize(BackgroundCopy), core::kPixelBytes);
  EXPECT_TRUE(IsBackgroundShown(105));
}

// Another colouring of the kept picture is not read again: the file may be gone.
TEST_F(BackgroundTest, SamePictureIsReusedAcrossColourings) {
  struct Case {
    int first, second;
  } const cases[] = {{5, 55}, {5, 5}, {155, 105}, {0, 50}, {100, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
    WriteBackground(5, 7);
    ShowBackground(static_cast<std::uint8_t>(c.first));
    const Pixels composed = Screen(core::Screen.VbufDIB);
    std::filesystem::remove(dir() / "S05.VGR");
    Scribble(core::Screen.VbufDIB, 12);
    ShowCharacter(2, 255);
    SetSlotLayer(1, 0);
    SetSlotPicture(1, 4);

    ShowBackground(static_cast<std::uint8_t>(c.second));

    EXPECT_EQ(Screen(core::Screen.VbufDIB), composed) << "restored from the kept copy";
    PALETTEENTRY expected[16];
    BuildBackgroundPalette(static_cast<std::uint8_t>(c.second), expected);
    expected[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
    ExpectPalette(core::Screen.ScreenPalette, expected, "ScreenPalette");
    EXPECT_EQ(BackgroundNumber(), c.second);
    EXPECT_EQ(StoredBackground(), c.second);
    EXPECT_EQ(Layers(), (std::vector<int>{255, 255, 255}));
    EXPECT_TRUE(backend().message_boxes().empty());
  }
}

TEST_F(BackgroundTest, WhiteScreenIsColourZeroInSixteenWhitesAndNeverReused) {
  WriteBackground(5, 1);
  for (int round = 0; round < 2; ++round) {
    Scribble(core::Screen.VbufDIB, 3);
    ShowBackground(kWhiteBackground);
    EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(static_cast<std::size_t>(W * H), 0));
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[i]), (Rgb{255, 255, 255})) << i;
    ExpectPalette(core::Screen.BackgroundPalette, core::Screen.ScreenPalette, "BackgroundPalette");
    EXPECT_EQ(BackgroundNumber(), 254);
    EXPECT_EQ(StoredBackground(), 254);
  }
  // After the white screen a background is read from its file again.
  ShowBackground(5);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), BackgroundPixels(1));
}

// Numbers without a record are taken as background 0, and play goes on.
TEST_F(BackgroundTest, NumbersBeyondTheTableShowTheBlackBackground) {
  PALETTEENTRY black_scene[16];
  BuildBackgroundPalette(0, black_scene);
  black_scene[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  for (int n : {200, 201, 249, 253, 255}) {
    SCOPED_TRACE(n);
    WriteBackground(5, 2);
    ShowBackground(5);
    ShowBackground(static_cast<std::uint8_t>(n));
    EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(static_cast<std::size_t>(W * H), 0));
    ExpectPalette(core::Screen.ScreenPalette, black_scene, "ScreenPalette");
    EXPECT_EQ(BackgroundNumber(), 0);
    EXPECT_EQ(StoredBackground(), 0);
  }
  // A damaged saved game may hold such a number as the kept background.
  SetStoredBackground(231);
  ShowBackground(50);
  EXPECT_EQ(BackgroundNumber(), 50);
  EXPECT_TRUE(backend().message_boxes().empty());
}

TEST_F(BackgroundTest, MissingAndDamagedPictureFiles) {
  EXPECT_EQ(ExpectFatal([] { ShowBackground(7); }), "ファイルが見つかりません[PACK] : S07.VGR");
  StartWindow();  // the program ended: a new one

  WriteBytes(dir() / "S08.VGR", std::vector<std::uint8_t>(60, 0x41));
  Scribble(core::Screen.VbufDIB, 4);
  ShowBackground(58);
  ASSERT_EQ(backend().message_boxes().size(), 1u);
  EXPECT_EQ(backend().message_boxes().back().caption, resources::kPictureErrorCaption);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(static_cast<std::size_t>(W * H), 0))
      << "left cleared";
  PALETTEENTRY expected[16];
  BuildBackgroundPalette(58, expected);
  expected[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  ExpectPalette(core::Screen.ScreenPalette, expected, "palette from the table");
  EXPECT_EQ(BackgroundNumber(), 58);

  EXPECT_EQ(ExpectFatal([] { ShowCharacter(1, 0x2b); }),
            "ファイルが見つかりません[PACK] : C2B.VGR");
}

TEST_F(BackgroundTest, RestoreBackgroundCopiesItsPartAndEmptiesItsSlots) {
  struct Case {
    int mode;
    int left, right;  // restored columns, right exclusive
    std::vector<int> layers_after;
  } const cases[] = {
      {0, 0, 640, {255, 255, 255}},   {1, 0, 320, {255, 1, 2}}, {2, 320, 640, {0, 255, 2}},
      {3, 160, 480, {255, 255, 255}},  // all slots, though only the centre half comes back
      {4, 0, 0, {0, 1, 2}},
  };
  WriteBackground(5, 6);
  for (int picture = 1; picture <= 3; ++picture)
    WriteCharacter(picture, static_cast<std::uint8_t>(picture));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ShowBackground(5);
    for (int slot = 0; slot < 3; ++slot)
      ShowCharacter(static_cast<std::uint8_t>(slot), static_cast<std::uint8_t>(slot + 1));
    ASSERT_EQ(Layers(), (std::vector<int>{0, 1, 2}));
    Scribble(core::Screen.VbufDIB, 14);
    SetBackgroundNumber(255);
    core::Screen.ScreenPalette[3] = PALETTEENTRY{1, 1, 1, PC_RESERVED};

    RestoreBackground(static_cast<std::uint8_t>(c.mode));

    const Pixels background = BackgroundPixels(6);
    const Pixels screen = Screen(core::Screen.VbufDIB);
    for (int y = 0; y < H; y += 7) {
      for (int x = 0; x < W; ++x) {
        const std::size_t at = static_cast<std::size_t>(y * W + x);
        ASSERT_EQ(screen[at], x >= c.left && x < c.right ? background[at] : 14) << x << "," << y;
      }
    }
    EXPECT_EQ(Layers(), c.layers_after);
    for (int slot = 0; slot < 3; ++slot) {
      EXPECT_EQ(SlotPicture(slot),
                c.layers_after[static_cast<std::size_t>(slot)] == 255 ? 255 : slot + 1);
    }
    EXPECT_EQ(BackgroundNumber(), c.mode == 0 ? 5 : 255) << "mode 0 takes the kept number";
    ExpectPalette(core::Screen.ScreenPalette, core::Screen.BackgroundPalette, "ScreenPalette");
  }

  // Without a kept background there is nothing to restore from: VbufDIB is cleared.
  ForgetBackground();
  EXPECT_EQ(StoredBackground(), 255);
  EXPECT_FALSE(HasBlock("BACK GRP"));
  Scribble(core::Screen.VbufDIB, 9);
  RestoreBackground(1);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(static_cast<std::size_t>(W * H), 0));
  // And the next background is read from its file again.
  std::filesystem::remove(dir() / "S05.VGR");
  EXPECT_EQ(ExpectFatal([] { ShowBackground(55); }), "ファイルが見つかりません[PACK] : S05.VGR");
}

TEST_F(BackgroundTest, FillBackgroundPaintsColourModSixteenAndEmptiesTheSlots) {
  WriteCharacter(1, 2);
  ShowCharacter(1, 1);
  FillBackground(0x13);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(static_cast<std::size_t>(W * H), 3));
  EXPECT_EQ(Layers(), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(Pictures(), (std::vector<int>{255, 255, 255}));
}

TEST_F(BackgroundTest, CharactersAreDrawnAtTheirSlotOffsetWithTheSceneColours) {
  WriteBackground(5, 0);
  WriteCharacter(0x1c, 11);
  ShowBackground(55);
  PALETTEENTRY scene[16];
  std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, scene);

  for (int slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE(slot);
    RestoreBackground(0);
    ShowCharacter(static_cast<std::uint8_t>(slot), 0x1c);
    const int x0 = SlotX[slot] + 8;
    Pixels expected = BackgroundPixels(0);
    for (int y = 24; y < 40; ++y) {
      for (int x = x0 + 16; x < x0 + 48; ++x) expected[static_cast<std::size_t>(y * W + x)] = 11;
    }
    EXPECT_EQ(Screen(core::Screen.VbufDIB), expected) << "colour 5 is transparent";
    ExpectPalette(core::Screen.ScreenPalette, scene, "the scene palette, not the file's");
    EXPECT_EQ(SlotPicture(slot), 0x1c);
    EXPECT_EQ(SlotLayer(slot), 2);
  }

  // Picture 255 and slots that do not exist change nothing.
  const Pixels before = Screen(core::Screen.VbufDIB);
  const auto layers = Layers();
  ShowCharacter(1, 255);
  ShowCharacter(3, 0x1c);
  ShowCharacter(200, 0x1c);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), before);
  EXPECT_EQ(Layers(), layers);
  EXPECT_EQ(Pictures(), (std::vector<int>{255, 255, 0x1c}));
}

TEST_F(BackgroundTest, NewCharacterBecomesTheTopLayerAndTheOthersCloseUp) {
  struct Case {
    const char* steps;  // slot digits drawn in order; 'r' restores the left half (slot 0)
    std::vector<int> layers;
  } const cases[] = {
      {"012", {0, 1, 2}},  {"0120", {2, 0, 1}},   {"1", {255, 2, 255}},   {"20", {2, 255, 0}},
      {"0121", {0, 2, 1}}, {"01r2", {255, 0, 2}}, {"000", {2, 255, 255}},
  };
  WriteBackground(5, 0);
  WriteCharacter(1, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.steps);
    ShowBackground(5);
    for (const char* s = c.steps; *s; ++s) {
      if (*s == 'r') {
        RestoreBackground(1);
      } else {
        ShowCharacter(static_cast<std::uint8_t>(*s - '0'), 1);
      }
    }
    EXPECT_EQ(Layers(), c.layers);
  }
  // A damaged saved game with two slots on one layer: they get layers of their own.
  SetSlotLayer(0, 1);
  SetSlotLayer(1, 1);
  SetSlotLayer(2, 255);
  ShowCharacter(2, 1);
  EXPECT_EQ(Layers(), (std::vector<int>{0, 1, 2}));
}

}  // namespace
