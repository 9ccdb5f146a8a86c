// The typewriter of the wave scenes, stepped frame by frame: its pacing on both kinds of
// display, the delay counter, a press that hurries it, its own reader waits with the
// blinking cursor, the settings that pass the waits, and text that ends badly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/flags.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/typewriter.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

Bytes G(int n) { return {static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)}; }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const Bytes kEnd = {0xAF};
const Bytes kLineWait = {0xB2};
const Bytes kPageWait = {0xB3};

// The background bits the screen starts with (no text bits).
std::uint8_t Backdrop(int x, int y) { return static_cast<std::uint8_t>((x + y) % 4); }

class TypewriterTest : public hotaru_test::ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    FillBackdrop();
  }
  static void FillBackdrop() {
    std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
    for (int y = 0; y < core::kPictureHeight; ++y) {
      for (int x = 0; x < core::kPictureWidth; ++x) *core::PixelAt(p, x, y) = Backdrop(x, y);
    }
    core::MemUnlock(core::Screen.VmemDIB);
  }
  void TearDown() override {
    core::Window.DisplayBits = 8;
    ScenarioTest::TearDown();
  }

  // Loads `text` as message 0 of MESSAGE DATA (scenario 1) and starts the typewriter on it
  // at (16, 10).
  void Start(const Bytes& text) {
    ScenarioBuilder s;
    s.Label(1).Code({0x20});
    s.Message(0, text);
    LoadMessages(s);
    const auto* block = static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.MessageData));
    text::TypeStart(16, 10, block + (block[2] | block[3] << 8), 15, 0);
    core::MemUnlock(core::Scenario.MessageData);
  }
  static void LoadMessages(const ScenarioBuilder& s) {
    const Bytes file = s.Build();
    scenario::InstallScenario(1, file.data(), static_cast<std::uint32_t>(file.size()));
    core::Scenario.SkipAllowed = 0;
  }
  // Steps `frames` frames; the pen's x after each.
  static std::vector<int> StepXs(int frames) {
    std::vector<int> xs;
    for (int i = 0; i < frames; ++i) {
      text::TypeStep();
      xs.push_back(text::Text.Typewriter.pen.x);
    }
    return xs;
  }
  static std::uint8_t Pixel(int x, int y) { return ShownPixel(x, y); }
  // Whether every pixel of the 26 × 26 cell at (x, y), clipped, passes `test`.
  template <typename Test>
  static bool AllOfCell(int x, int y, Test test) {
    for (int j = y; j < y + 26 && j < core::kPictureHeight; ++j) {
      for (int i = x; i < x + 26 && i < core::kPictureWidth; ++i) {
        if (!test(i, j, Pixel(i, j))) return false;
      }
    }
    return true;
  }
  static bool CellIsBackdrop(int x, int y) {
    return AllOfCell(x, y, [](int i, int j, std::uint8_t v) { return v == Backdrop(i, j); });
  }
  // The text layer gone from the cell: each pixel modulo 4. (A pixel the cursor covered has
  // lost its background bits; the wave scene's next frame brings them back.)
  static bool CellHasNoText(int x, int y) {
    return AllOfCell(x, y,
                     [](int i, int j, std::uint8_t v) { return v == Backdrop(i, j) || v == 0; });
  }
};

TEST_F(TypewriterTest, TypesOneItemPerFrameOnAPaletteDisplayAndFourOnADeeperOne) {
  // Six items: three glyphs, a colour code, a blank, the end.
  const Bytes text = G(40) + G(41) + G(42) + Bytes{0xB4, 9} + G(0) + kEnd;
  struct Case {
    int bits;
    std::vector<int> xs;  // the pen after each frame until the end
  } cases[] = {
      {8, {40, 64, 88, 88, 112, 112}},
      {32, {88, 112}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    core::Window.DisplayBits = static_cast<std::uint16_t>(c.bits);
    FillBackdrop();
    Start(text);
    ASSERT_TRUE(text::Text.Typewriter.active);
    const std::vector<int> xs = StepXs(static_cast<int>(c.xs.size()));
    EXPECT_EQ(xs, c.xs);
    EXPECT_FALSE(text::Text.Typewriter.active);
    EXPECT_EQ(text::Text.Typewriter.pen.colour, 9);  // kept, though the layer colours draw
    // The text layer: ink 8, shadow 4; the pixels around keep the background.
    EXPECT_EQ(Pixel(16, 10), 8);
    EXPECT_EQ(Pixel(18, 12), 4);
    EXPECT_EQ(Pixel(17, 10), Backdrop(17, 10));
    EXPECT_EQ(Pixel(64, 10), 8);
    EXPECT_EQ(Pixel(88, 10), Backdrop(88, 10));  // the blank drew nothing
    // An inactive typewriter stays as it is.
    text::TypeStep();
    EXPECT_EQ(text::Text.Typewriter.pen.x, c.xs.back());
  }
}

TEST_F(TypewriterTest, TheDelayCounterHoldsEachDrawnGlyphForItsFrames) {
  // Delay 2: a drawn glyph lets two frames pass; a blank sets no delay.
  Start(Bytes{0xB6, 2} + G(40) + G(0) + G(41) + kEnd);
  EXPECT_EQ(StepXs(8), (std::vector<int>{16, 40, 40, 40, 64, 88, 88, 88}));
  EXPECT_TRUE(text::Text.Typewriter.active);
  text::TypeStep();
  EXPECT_FALSE(text::Text.Typewriter.active);
}

TEST_F(TypewriterTest, ADecideHurriesTheStepToTheNextWait) {
  Start(Bytes{0xB6, 5} + G(40) + G(41) + G(42) + kLineWait + G(43) + kEnd);
  EXPECT_EQ(StepXs(2), (std::vector<int>{16, 40}));
  // A decide waiting in the input: the delay runs out first, then the rest up to the wait
  // comes in one frame, its delays notwithstanding.
  core::Input.InputEvents = core::kInputDecide;
  EXPECT_EQ(StepXs(5), (std::vector<int>(5, 40)));
  EXPECT_EQ(core::Input.InputEvents, core::kInputDecide);
  text::TypeStep();
  EXPECT_EQ(text::Text.Typewriter.pen.x, 88);
  EXPECT_TRUE(text::Text.Typewriter.waiting);
  EXPECT_EQ(text::Text.Typewriter.cursor, 223);
  EXPECT_EQ(core::Input.InputEvents, 0);
  EXPECT_EQ(text::Text.Typewriter.delay_counter, 5);  // the last glyph's
}

TEST_F(TypewriterTest, AReaderWaitBlinksItsCursorUntilAPress) {
  Start(G(40) + kLineWait + G(41) + kPageWait + G(42) + kEnd);
  text::TypeStep();
  text::TypeStep();
  ASSERT_TRUE(text::Text.Typewriter.waiting);
  EXPECT_EQ(text::Text.Typewriter.cursor, 223);

  // The cursor, a block in the test font, comes after 5 frames and toggles every 5.
  const auto cursor_shown = [] { return Pixel(40 + 8, 10 + 4) == 8; };
  std::string blink;
  for (int frame = 0; frame < 20; ++frame) {
    text::TypeStep();
    blink += cursor_shown() ? '#' : '.';
  }
  EXPECT_EQ(blink, "....#####.....#####.");
  for (int frame = 0; frame < 5; ++frame) text::TypeStep();
  ASSERT_TRUE(cursor_shown());
  EXPECT_EQ(Pixel(40 + 16, 10 + 20), 4);  // its shadow

  // A decide takes the cursor away, the cell left with the background alone, and typing
  // goes on where the cursor stood.
  core::Input.InputEvents = core::kInputDecide;
  text::TypeStep();
  EXPECT_FALSE(text::Text.Typewriter.waiting);
  EXPECT_FALSE(text::Text.Typewriter.cursor_shown);
  EXPECT_EQ(core::Input.InputEvents, 0);
  EXPECT_TRUE(CellHasNoText(40, 10));
  text::TypeStep();
  EXPECT_EQ(Pixel(40, 10), 8);

  // The page wait has the page cursor; cancel ends it as well.
  text::TypeStep();
  ASSERT_TRUE(text::Text.Typewriter.waiting);
  EXPECT_EQ(text::Text.Typewriter.cursor, 226);
  for (int frame = 0; frame < 5; ++frame) text::TypeStep();
  EXPECT_EQ(Pixel(64 + 8, 10 + 4), 8);
  core::Input.InputEvents = core::kInputCancel;
  text::TypeStep();
  EXPECT_FALSE(text::Text.Typewriter.waiting);
  EXPECT_TRUE(CellHasNoText(64, 10));
  EXPECT_EQ(StepXs(2), (std::vector<int>{88, 88}));
  EXPECT_FALSE(text::Text.Typewriter.active);
}

TEST_F(TypewriterTest, SkippingAndSeenTextFastPassTheWaits) {
  const Bytes text = G(40) + kLineWait + G(41) + kPageWait + G(42) + kEnd;
  struct Case {
    const char* what;
    bool skip_mode, skip, seen;
    int x;  // the pen after the first frame
    bool active, waiting;
    std::int16_t cursor;
  } cases[] = {
      {"skipping types it all in one frame", true, false, false, 88, false, false, 0},
      {"seen text fast goes on to the page wait", false, true, true, 64, true, true, 226},
      {"fast text of an unseen scenario keeps its pace", false, true, false, 40, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::Input.SkipMode = 0;
    core::Settings.Skip = 0;
    Start(text);
    core::Input.SkipMode = c.skip_mode ? 1 : 0;
    core::Settings.Skip = c.skip ? 1 : 0;
    core::Scenario.SkipAllowed = c.seen ? 1 : 0;
    text::TypeStep();
    EXPECT_EQ(text::Text.Typewriter.pen.x, c.x);
    EXPECT_EQ(text::Text.Typewriter.active, c.active);
    EXPECT_EQ(text::Text.Typewriter.waiting, c.waiting);
    if (c.waiting) {
      EXPECT_EQ(text::Text.Typewriter.cursor, c.cursor);
    }
  }

  // Skipping that begins during a wait ends it at the next frame.
  core::Input.SkipMode = 0;
  core::Settings.Skip = 0;
  Start(text);
  StepXs(2);
  ASSERT_TRUE(text::Text.Typewriter.waiting);
  core::Input.SkipMode = 1;
  text::TypeStep();
  EXPECT_FALSE(text::Text.Typewriter.waiting);
  text::TypeStep();
  EXPECT_FALSE(text::Text.Typewriter.active);
  EXPECT_EQ(text::Text.Typewriter.pen.x, 88);
  core::Input.SkipMode = 0;
}

TEST_F(TypewriterTest, WaveCodesInTypedTextArmTheScenes) {
  Start(Bytes{0xC8, 1, 2} + Bytes{0xCC, 2, 0} + kEnd);
  text::TypeStep();
  EXPECT_EQ(Flag(117), 1);
  EXPECT_EQ(Flag(118), 1);
  EXPECT_EQ(Flag(119), 2);
  EXPECT_EQ(Flag(120), 0);
  text::TypeStep();
  EXPECT_EQ(Flag(120), 1);
  EXPECT_EQ(Flag(121), 2);
  EXPECT_EQ(Flag(122), 0);
}

TEST_F(TypewriterTest, TextThatEndsBadlyStopsTheTypewriter) {
  // The last message of the block, without its end code: typing stops at the block's end.
  struct Case {
    const char* what;
    Bytes text;
    int frames_typed;
  } cases[] = {
      {"no end code", G(40) + G(41), 2},
      {"half a glyph at the end", G(40) + Bytes{0x01}, 1},
      {"a code without its operand", G(40) + Bytes{0xB6}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start(c.text);
    for (int i = 0; i < c.frames_typed; ++i) text::TypeStep();
    EXPECT_TRUE(text::Text.Typewriter.active);
    text::TypeStep();
    EXPECT_FALSE(text::Text.Typewriter.active);
  }

  // A text that is not in MESSAGE DATA, or no MESSAGE DATA at all: nothing to type.
  FillBackdrop();
  Start(G(40) + kEnd);
  const Bytes own = G(40) + kEnd;
  text::TypeStart(16, 10, own.data(), 15, 0);
  EXPECT_FALSE(text::Text.Typewriter.active);
  text::TypeStart(16, 10, nullptr, 15, 0);
  EXPECT_FALSE(text::Text.Typewriter.active);
  const core::MemHandle messages = core::Scenario.MessageData;
  core::Scenario.MessageData = 0;
  text::TypeStart(16, 10, own.data(), 15, 0);
  EXPECT_FALSE(text::Text.Typewriter.active);
  text::TypeStep();
  core::Scenario.MessageData = messages;
  EXPECT_TRUE(CellIsBackdrop(16, 10));
}

TEST_F(TypewriterTest, ACursorAtTheEdgeIsClipped) {
  // x 624 and y 392: the cursor cell reaches past the right and the bottom.
  Start(Bytes{0xB9, 78, 0xBA, 0x88, 0x01} + kLineWait + kEnd);
  text::TypeStep();
  text::TypeStep();
  text::TypeStep();
  ASSERT_TRUE(text::Text.Typewriter.waiting);
  for (int frame = 0; frame < 5; ++frame) text::TypeStep();
  EXPECT_EQ(Pixel(632, 396), 8);
  EXPECT_EQ(Pixel(639, 399), 8);
  core::Input.InputEvents = core::kInputDecide;
  text::TypeStep();
  EXPECT_TRUE(CellHasNoText(624, 392));
}

}  // namespace
