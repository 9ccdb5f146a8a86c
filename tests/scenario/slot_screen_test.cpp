// The slot screen in its three modes: what each slot's box shows, the keys, the mouse at
// any client size, the pointer, cancel.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/fixed_texts.h"

namespace {

using hotaru_test::Bytes;

constexpr std::uint8_t kBackdrop = 9;
constexpr int kGlyphs = 1024;  // the fixed texts use glyphs beyond the first 240

class SlotScreenTest : public hotaru_test::ScenarioTest {
 protected:
  // Starts with this input; slot 1 holds a save with progress count 2 at the first code of
  // scenario 1, the others nothing.
  void Start(const std::string& input, std::uint8_t last_used = 1, bool mmv = false) {
    Restart(input, 60000, 8, 1920, 1200);
    hotaru_test::InstallFont(hotaru_test::MakeTestFont(kGlyphs));
    core::Settings.Mmv = mmv ? 1 : 0;
    core::Scenario.LastUsedSlot = last_used;
    WriteSave(1, 1);
    WriteScenarioFile(1, hotaru_test::ScenarioBuilder::Assemble("L1:\n    end\n"));
    core::FillPictureRect(core::Screen.VmemDIB, 0, 0, 639, 399, kBackdrop);
  }
  void WriteSave(int slot, std::uint8_t scenario_number) {
    std::array<std::uint8_t, core::kGameStateSize> r{};
    r[core::field::kCurrentScenario] = scenario_number;
    r[core::field::kEventPC] = scenario::kBlockTableEnd & 0xFF;
    r[core::field::kEventPC + 1] = scenario::kBlockTableEnd >> 8;
    r[core::field::kFlags + 113] = 2;
    r[core::field::kBackgroundNumber] = r[core::field::kPcmNumber] = 255;
    std::fill_n(r.begin() + core::field::kSlotPicture, 3, 255);
    const SYSTEMTIME date{1998, 7, 4, 9, 19, 5, 0, 0};
    scenario::SealSaveRecord(r, date);
    WriteBytes(dir() / core::FormatString("ZEN2_%02d.SAV", slot), Bytes(r.begin(), r.end()));
  }
  // The glyph drawn at (x, y) in ink `colour`, read from the test font's number strip.
  static int GlyphAt(int x, int y, std::uint8_t colour) {
    if (ShownPixel(x, y) != colour) return -1;
    int n = 0;
    for (int bit = 0; bit < 8; ++bit) {
      if (ShownPixel(x + 16 + bit, y + 23) == colour) n |= 0x80 >> bit;
    }
    return n;
  }
  // Its number as the strip holds it: the low byte.
  static int FirstGlyph(const std::uint8_t* text) { return text[1]; }
};

TEST_F(SlotScreenTest, EachModeShowsItsTitleAndTheSlotsWithTheirSavesOrTheEmptyText) {
  for (int mode = 0; mode < 3; ++mode) {
    Start("at 100 move 300 220\nat 1000 key escape\n");
    EXPECT_EQ(scenario::SlotScreen(mode), -1) << mode;
    EXPECT_EQ(core::Scenario.LastUsedSlot, 1) << "a cancel changes nothing";
    EXPECT_EQ(GlyphAt(64, 8, 15), FirstGlyph(text::kSlotTitles[mode])) << mode;

    // Slot 1 under the pointer, highlighted; the others in the plain colour, on shadows.
    EXPECT_EQ(ShownPixel(64, 160), 15);
    EXPECT_EQ(ShownPixel(575, 275), 15);
    EXPECT_EQ(ShownPixel(64, 40), 4);
    EXPECT_EQ(ShownPixel(64, 280), 4);
    EXPECT_EQ(ShownPixel(577, 100), 0) << "the frame's shadow";
    EXPECT_EQ(ShownPixel(577, 40), kBackdrop);
    EXPECT_EQ(ShownPixel(300, 150), kBackdrop) << "inside the box nothing is filled";

    EXPECT_EQ(GlyphAt(96, 56, 4), FirstGlyph(text::kSlotLabels[0]));
    EXPECT_EQ(GlyphAt(96, 176, 15), FirstGlyph(text::kSlotLabels[1]));
    EXPECT_EQ(GlyphAt(272, 86, 4), FirstGlyph(text::kSlotEmpty));
    EXPECT_EQ(GlyphAt(272, 326, 4), FirstGlyph(text::kSlotEmpty));
    // Slot 1: the count plus one, then 1998 年 07 月 09 日 and 19 時 05 分 00 秒, the
    // numbers in full-width digits (glyph 28 + digit), padded with the blank glyph.
    EXPECT_EQ(GlyphAt(272, 176, 15), 31);
    EXPECT_EQ(GlyphAt(296, 176, 15), FirstGlyph(text::kSlotCountSuffix));
    const int date_glyphs[] = {29,
                               37,
                               37,
                               36,
                               FirstGlyph(text::kUnitYear),
                               -1,
                               35,
                               FirstGlyph(text::kUnitMonth),
                               -1,
                               37,
                               FirstGlyph(text::kUnitDay)};
    const int time_glyphs[] = {29, 37, FirstGlyph(text::kUnitHour),
                               -1, 33, FirstGlyph(text::kUnitMinute),
                               -1, 28, FirstGlyph(text::kUnitSecond)};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(GlyphAt(272 + 24 * i, 206, 15), date_glyphs[i]) << i;
    for (int i = 0; i < 9; ++i) EXPECT_EQ(GlyphAt(272 + 24 * i, 236, 15), time_glyphs[i]) << i;
  }
}

TEST_F(SlotScreenTest, ADamagedSaveIsShownAsSuchAndCannotBePickedToLoad) {
  // Slot 2 holds a save of scenario 6, which this story does not have.
  for (int mode = 0; mode < 3; ++mode) {
    Start("at 100 move 300 320\nat 1000 click 300 320\nat 2000 key escape\n");
    WriteSave(2, 6);
    const Bytes file = ReadBytes(dir() / "ZEN2_02.SAV");
    const int answer = scenario::SlotScreen(mode);
    EXPECT_EQ(GlyphAt(272, 326, 15), FirstGlyph(text::kSlotDamaged)) << mode;
    EXPECT_EQ(GlyphAt(272, 86, 4), FirstGlyph(text::kSlotEmpty)) << mode;
    EXPECT_FALSE(scenario::ReadSlotInfo(2).valid);
    EXPECT_TRUE(scenario::ReadSlotInfo(2).damaged);
    EXPECT_EQ(ReadBytes(dir() / "ZEN2_02.SAV"), file) << "the save is kept";
    const std::vector<std::string> boxes = TraceOf("msgbox");
    if (mode == 0) {
      // Loading it is refused with a message; the screen stays until cancelled.
      EXPECT_EQ(answer, -1);
      EXPECT_EQ(core::Scenario.LastUsedSlot, 1);
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_NE(boxes[0].find("ロードできません"), std::string::npos) << boxes[0];
      EXPECT_NE(boxes[0].find("壊れている"), std::string::npos) << boxes[0];
      EXPECT_NE(boxes[0].find("ZEN2_02.SAV"), std::string::npos) << boxes[0];
    } else {
      // Saving over it or clearing it is the reader's choice.
      EXPECT_EQ(answer, 2) << mode;
      EXPECT_TRUE(boxes.empty()) << mode;
    }
  }
}

TEST_F(SlotScreenTest, KeysStepCyclicallyAndDecideAnswersTheHighlightedSlot) {
  struct Case {
    const char* keys;  // after the pointer is moved off the boxes
    int answer;
  };
  const Case cases[] = {
      {"key down\n+300 key enter", 0},  // from none: the first
      {"key up\n+300 key enter", 2},    // from none: the last
      {"key up\n+300 key up\n+300 key enter", 1},
      {"key down\n+300 key down\n+300 key down\n+300 key down\n+300 key enter", 0},
      {"key enter\n+300 key escape", -1},  // nothing highlighted: decide does nothing
  };
  for (const Case& c : cases) {
    // After the screen's fade in.
    Start(std::string("at 100 move 5 5\nat 1000 ") + c.keys + "\n", 2);
    EXPECT_EQ(scenario::SlotScreen(1), c.answer) << c.keys;
    EXPECT_EQ(core::Scenario.LastUsedSlot, c.answer < 0 ? 2 : c.answer) << c.keys;
  }
}

TEST_F(SlotScreenTest, TheMouseHitsTheBoxesAtEveryClientSizeAndThePointerGlidesToTheSlot) {
  struct Case {
    std::uint16_t command;
    int w, h;
  };
  const auto sized = [](const Case& c) {
    while (GetTickCount() < 200) core::PumpMessage();
    return core::Window.ClientWidth == c.w && core::Window.ClientHeight == c.h;
  };
  for (const Case c : {Case{40001, 320, 200}, Case{40007, 1280, 800}}) {
    // Slot 2's box is (64, 280) – (576, 400) on the screen.
    Start("at 100 menu " + std::to_string(c.command) + "\nat 2000 click " +
          std::to_string(400 * c.w / 640) + " " + std::to_string(300 * c.h / 400) + "\n");
    ASSERT_TRUE(sized(c));
    EXPECT_EQ(scenario::SlotScreen(0), 2) << c.w;
    EXPECT_EQ(core::Scenario.LastUsedSlot, 2);

    // With Mmv the pointer glides onto the highlighted slot: 16 pixels in from its box's
    // right and 32 down from its top.
    Start("at 100 menu " + std::to_string(c.command) + "\nat 2000 key escape\n", 1, true);
    ASSERT_TRUE(sized(c));
    EXPECT_EQ(scenario::SlotScreen(2), -1);
    EXPECT_EQ(core::Input.MouseX, 560 * c.w / 640) << c.w;
    EXPECT_EQ(core::Input.MouseY, 192 * c.h / 400) << c.w;
  }
}

}  // namespace
