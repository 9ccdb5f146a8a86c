#include "scenario/event_pictures.h"

#include <filesystem>
#include <vector>

#include "core/screen_state.h"
#include "visuals/background.h"
#include "visuals/colour_effects.h"
#include "visuals_fixture.h"

namespace {

using namespace visuals;
using Pixels = std::vector<std::uint8_t>;

class EventPictureTest : public hotaru_test::VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    StartWindow();
    // Both kinds of picture: full screen, the number in the pattern.
    for (const char* name : {"H03.VGR", "H80.VGR", "V05.VGR", "V79.VGR"}) {
      const int salt = name[1] + name[2];
      WritePicture(name, 0, 0, 640, 400,
                   [salt](int x, int y) { return static_cast<std::uint8_t>((x + y + salt) % 16); });
    }
    WritePicture("S05.VGR", 0, 0, 640, 400, [](int, int) { return std::uint8_t{2}; });
  }
  static Pixels Expected(const char* name) {
    const int salt = name[1] + name[2];
    Pixels out(640 * 400);
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 640; ++x)
        out[static_cast<std::size_t>(y * 640 + x)] = static_cast<std::uint8_t>((x + y + salt) % 16);
    }
    return out;
  }
  static int SeenByte(std::uint8_t first, int n) {
    return core::GameState[core::field::kFlags + first + n / 8];
  }
};

TEST_F(EventPictureTest, PictureReplacesTheBackgroundAndIsRecordedAsSeen) {
  ShowBackground(5);
  SetColourEffect(3);
  scenario::ShowEventPictureV(5);  // the other kind, gone when an "H" picture comes

  scenario::ShowEventPictureH(3);

  EXPECT_EQ(Screen(core::Screen.VbufDIB), Expected("H03.VGR"));
  EXPECT_EQ(BackgroundNumber(), kNoBackground);
  EXPECT_EQ(StoredBackground(), kNoBackground);
  EXPECT_EQ(BackgroundCopy, 0u) << "the kept background is released";
  EXPECT_EQ(scenario::ShownHPicture(), 3);
  EXPECT_EQ(scenario::ShownVPicture(), core::kNoEventPicture);
  EXPECT_TRUE(scenario::IsHPictureShown(3));
  EXPECT_TRUE(scenario::HPictureSeen(core::GameState, 3));
  EXPECT_EQ(SeenByte(scenario::kSeenHPictures, 0), 0x08);
  EXPECT_EQ(ColourEffect(), 0);
  // The file's own colours (greys from white down), entry 15 white.
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[1]), (Rgb{238, 238, 238}));
  EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[15]), (Rgb{255, 255, 255}));
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(ToRgb(core::Screen.PlainPalette[i]), ToRgb(core::Screen.ScreenPalette[i])) << i;

  // The same picture again: nothing is drawn.
  core::FillPictureRect(core::Screen.VbufDIB, 0, 0, 639, 399, 9);
  scenario::ShowEventPictureH(3);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(640 * 400, 9));

  // The other kind: its own seen bits.
  scenario::ShowEventPictureV(79);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Expected("V79.VGR"));
  EXPECT_EQ(scenario::ShownHPicture(), core::kNoEventPicture);
  EXPECT_TRUE(scenario::VPictureSeen(core::GameState, 79));
  EXPECT_EQ(SeenByte(scenario::kSeenVPictures, 79), 0x80);
  EXPECT_EQ(SeenByte(scenario::kSeenHPictures, 0), 0x08);
}

TEST_F(EventPictureTest, PictureZeroIsAnEmptySceneAndHighNumbersAreNotRecorded) {
  core::FillPictureRect(core::Screen.VbufDIB, 0, 0, 639, 399, 6);
  scenario::ShowEventPictureH(0);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(640 * 400, 0));
  EXPECT_EQ(scenario::ShownHPicture(), 0);
  core::FillPictureRect(core::Screen.VbufDIB, 0, 0, 639, 399, 6);
  scenario::ShowEventPictureH(0);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Pixels(640 * 400, 6)) << "already shown: nothing";

  std::uint8_t flags_before[128];
  std::copy_n(core::GameState + core::field::kFlags, 128, flags_before);
  scenario::ShowEventPictureH(80);
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Expected("H80.VGR"));
  EXPECT_TRUE(std::equal(flags_before, flags_before + 128, core::GameState + core::field::kFlags))
      << "picture 80 has no seen bit";
  EXPECT_FALSE(scenario::HPictureSeen(core::GameState, 80));

  EXPECT_EQ(ExpectFatal([] { scenario::ShowEventPictureV(12); }),
            "ファイルが見つかりません[PACK] : V12.VGR");
}

TEST_F(EventPictureTest, PendingColourEffectIsAppliedToThePicture) {
  SetPendingColourEffect(1);
  scenario::ShowEventPictureV(5);
  EXPECT_EQ(ColourEffect(), 1);
  EXPECT_EQ(PendingColourEffect(), 0);
  PALETTEENTRY grey[16];
  std::copy(core::Screen.PlainPalette, core::Screen.PlainPalette + 16, grey);
  TransformPalette(1, grey);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(ToRgb(core::Screen.ScreenPalette[i]), ToRgb(grey[i])) << i;
}

}  // namespace
