// The message text interpreter: glyphs laid out and presented one by one at reading speed,
// the reader waits, the settings that cut waits short, and the page bookkeeping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/flags.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "flow/game_flow.h"
#include "scenario/message_text.h"
#include "scenario/scenario_loader.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/font.h"
#include "text/page_drawing.h"
#include "text/text_state.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::kCodeStart;
using hotaru_test::ScenarioBuilder;
using Lines = std::vector<std::string>;

// Glyph n as message text.
Bytes G(int n) { return {static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)}; }
Bytes Glyphs(int count, int first = 40) {
  Bytes out;
  for (int i = 0; i < count; ++i) {
    const Bytes g = G(first + i);
    out.insert(out.end(), g.begin(), g.end());
  }
  return out;
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const Bytes kEnd = {0xAF};

class MessageTextTest : public hotaru_test::ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
  }
  void Start(const std::string& script) {
    Restart(script);
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
  }
  // Shows `text` as message 0 of scenario 1 through the script (0x50 0), then sets flag 10,
  // whose op line tells when the message ended.
  void ShowMessage(const Bytes& text, bool seen_before = false) {
    ScenarioBuilder s;
    s.Label(1).Code({0x50, 0, 0x4B, 10, 1, 0x20});
    s.Message(0, text);
    WriteScenario(1, s);
    if (seen_before) scenario::MarkScenarioSeen(core::GameState, 1);
    RunLabel(1, 1);
    message_offset_ = static_cast<std::uint16_t>(s.MessageBlock()[2] | s.MessageBlock()[3] << 8);
  }
  // A text of the program's own, shown directly.
  const std::uint8_t* ShowOwn(const Bytes& text, bool present_each = true) {
    own_ = text;
    return scenario::ShowText(16, 10, own_.data(), 15, 0, present_each, false);
  }
  std::uint32_t MessageEndedAt() {
    for (const auto& line : TimedTraceOf("op")) {
      if (line.details.find(" set 10 1") != std::string::npos) return line.ms;
    }
    ADD_FAILURE() << "the script did not go on after the message";
    return 0;
  }
  Lines Presents() const { return TraceOf("present"); }
  static std::uint8_t Pixel(int x, int y) { return ShownPixel(x, y); }
  static text::TextPen Pen() { return text::LoadPen(core::GameState); }
  static std::string Rect(int x, int y, int glyphs = 1) {
    return std::to_string(x) + ' ' + std::to_string(y) + ' ' +
           std::to_string(x + 24 * (glyphs - 1) + 26) + ' ' + std::to_string(y + 26);
  }

  std::uint16_t message_offset_ = 0;
  Bytes own_;
};

TEST_F(MessageTextTest, EachGlyphIsPresentedThenWaitedFor) {
  ShowMessage(G(38) + G(39) + kEnd);
  const auto presents = TimedTraceOf("present");
  ASSERT_EQ(presents.size(), 2u);
  EXPECT_EQ(presents[0].details, Rect(16, 10));
  EXPECT_EQ(presents[1].details, Rect(40, 10));
  // A glyph delay of 3 waits until more than 30 ms have passed.
  EXPECT_GE(presents[1].ms - presents[0].ms, 31u);
  EXPECT_LE(presents[1].ms - presents[0].ms, 33u);
  EXPECT_GE(MessageEndedAt() - presents[1].ms, 31u);
  EXPECT_LE(MessageEndedAt() - presents[1].ms, 34u);
  EXPECT_EQ(Pixel(16, 10), 15);
  EXPECT_EQ(Pixel(40, 10), 15);
  EXPECT_EQ(Pixel(18, 12), 0);  // the shadow

  // The answer is the address after the end code.
  const std::uint8_t* after = ShowOwn(G(38) + kEnd + Bytes{0x99});
  EXPECT_EQ(after, own_.data() + 3);
}

TEST_F(MessageTextTest, LayoutWrapsNewLinesMarginsAndBlanks) {
  struct Case {
    const char* what;
    Bytes text;
    int last_x, last_y;  // where the last drawn glyph's ink starts
    int pen_x, pen_y;
  } cases[] = {
      {"the 25th glyph wraps", Glyphs(25), 16, 40, 40, 40},
      {"a new line right after a wrap adds none", Glyphs(25) + Bytes{0xB0}, 16, 40, 40, 40},
      {"a new line after a later glyph does", Glyphs(26) + Bytes{0xB0}, 40, 40, 16, 70},
      {"x 160 is the margin of every line", Bytes{0xB9, 20} + Glyphs(19), 160, 40, 184, 40},
      {"a return goes to x 0 and down", G(40) + Bytes{0xB1} + G(41), 0, 40, 24, 40},
      {"y is set whole", G(40) + Bytes{0xBA, 0x2C, 0x01} + G(41), 40, 300, 64, 300},
      {"blanks advance the pen", G(40) + G(0) + G(0x1FFF) + G(41), 88, 10, 112, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ShowOwn(c.text + kEnd, false);
    EXPECT_EQ(Pixel(c.last_x, c.last_y), 15);
    EXPECT_EQ(Pen().x, c.pen_x);
    EXPECT_EQ(Pen().y, c.pen_y);
    core::ClearPicture(core::Screen.VmemDIB);
  }

  // 0 draws and widens nothing; 0x1FFF widens the update rectangle only.
  core::Screen.UpdateRect = core::kEmptyUpdateRect;
  ShowOwn(G(0) + kEnd, false);
  EXPECT_EQ(core::Screen.UpdateRect.right, 0);
  ShowOwn(G(0x1FFF) + kEnd, false);
  EXPECT_EQ(core::Screen.UpdateRect.left, 16);
  EXPECT_EQ(core::Screen.UpdateRect.right, 42);
  EXPECT_EQ(Pixel(16, 10), 0);
}

TEST_F(MessageTextTest, SeenTextFastAndSkipModeDropTheWaits) {
  // Seen text shown fast: no glyph waits and no presents.
  core::Settings.Skip = 1;
  ShowMessage(Glyphs(3) + kEnd, true);
  EXPECT_EQ(core::Scenario.SkipAllowed, 1);
  EXPECT_TRUE(Presents().empty());
  EXPECT_LT(MessageEndedAt(), 10u);

  // Skipping (which entering an unseen scenario would end): not even the reader waits
  // wait, and the text is presented once, whole.
  Start("");
  core::Input.SkipMode = 1;
  ShowMessage(Glyphs(3) + Bytes{0xB2} + Glyphs(2) + Bytes{0xB3} + G(50) + kEnd, true);
  // (the page wait moved the pen back to the top left for the last glyph)
  EXPECT_EQ(Presents(), (Lines{Rect(16, 10, 5)}));
  EXPECT_LT(MessageEndedAt(), 10u);
}

TEST_F(MessageTextTest, SeenTextFastKeepsPageWaitsAndLowKeepsOnlyThem) {
  const Bytes text = G(40) + Bytes{0xB2} + G(41) + Bytes{0xB3} + kEnd;
  struct Case {
    const char* what;
    bool skip, low;
    std::uint32_t ends_after;
  } cases[] = {
      {"both waits wait", false, false, 1000},
      {"seen text fast passes the line wait", true, false, 500},
      {"low passes the line wait", false, true, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start("at 500 click\nat 1000 click\n");
    core::Settings.Skip = c.skip ? 1 : 0;
    core::Settings.Low = c.low ? 1 : 0;
    ShowMessage(text, true);
    EXPECT_GT(MessageEndedAt(), c.ends_after);
    EXPECT_LT(MessageEndedAt(), c.ends_after + 100);
  }
}

TEST_F(MessageTextTest, APressCompletesTheLineUnlessTheHurryLockIsOn) {
  // Presents of one glyph cell on the first line.
  const auto glyph_presents = [this] {
    const Lines presents = Presents();
    return std::count_if(presents.begin(), presents.end(), [](const std::string& p) {
      for (int x = 16; x < 16 + 24 * 10; x += 24) {  // not the cursor after them
        if (p == Rect(x, 10)) return true;
      }
      return false;
    });
  };
  Start("at 100 click\nat 2000 click\n");
  ShowMessage(Glyphs(10) + Bytes{0xB2} + kEnd);
  // About three glyphs one by one, then the rest of the line at once at the wait.
  const Lines hurried = Presents();
  EXPECT_LE(glyph_presents(), 5);
  EXPECT_NE(std::find(hurried.begin(), hurried.end(), Rect(16 + 24 * 4, 10, 6)), hurried.end());
  EXPECT_GT(MessageEndedAt(), 2000u);

  Start("at 100 click\nat 2000 click\n");
  ShowMessage(Bytes{0xB8} + Glyphs(10) + Bytes{0xB2} + kEnd);
  EXPECT_GE(glyph_presents(), 10);
  EXPECT_GT(MessageEndedAt(), 2000u);
}

TEST_F(MessageTextTest, ClickWaitBlinksThenRestoresTheCellAndSpaceShowsThePicture) {
  Start("at 200 key space\nat 400 click\nat 700 click\n");
  // A background that every pixel of the cursor cell can be checked against.
  std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x)
      *core::PixelAt(p, x, y) = static_cast<std::uint8_t>((x + 3 * y) % 13);
  }
  core::MemUnlock(core::Screen.VmemDIB);
  const core::MemHandle shown = core::Screen.VmemDIB;
  ShowMessage(G(40) + Bytes{0xBA, 200, 0, 0xB2} + kEnd);  // the cursor at (40, 200)

  const auto presents = TimedTraceOf("present");
  std::vector<std::uint32_t> cursor, whole;
  for (const auto& line : presents) {
    if (line.details == Rect(40, 200)) cursor.push_back(line.ms);
    if (line.details == "all") whole.push_back(line.ms);
  }
  // Drawn, then hidden and shown every four rounds of 30 ms, then taken away.
  ASSERT_GE(cursor.size(), 4u);
  EXPECT_NEAR(static_cast<double>(cursor[1] - cursor[0]), 4 * 31, 8);
  EXPECT_GT(cursor.back(), 700u);  // the cell put back after the last click
  // Space: the picture without text, then the text again.
  ASSERT_EQ(whole.size(), 2u);
  EXPECT_NEAR(whole[0], 200, 40);
  EXPECT_NEAR(whole[1], 400, 40);
  EXPECT_EQ(core::Screen.VmemDIB, shown);
  EXPECT_GT(MessageEndedAt(), 700u);
  for (int y = 200; y < 226; ++y) {
    for (int x = 40; x < 66; ++x) ASSERT_EQ(Pixel(x, y), (x + 3 * y) % 13) << x << "," << y;
  }
}

TEST_F(MessageTextTest, TheMenuAtAReaderWaitRedrawsThePageAndWaitsAgain) {
  const Bytes text = G(40) + G(41) + Bytes{0xB2} + G(42) + kEnd;
  // The second cancel leaves the menu.
  Start("at 300 rclick\nat 3000 rclick\nat 4000 click\n");
  core::Phase.GamePhase = core::kPhasePlaying;
  ShowMessage(text);
  EXPECT_GT(MessageEndedAt(), 4000u);
  // The menu left the pen anywhere: the redraw brought it back to the wait's place.
  EXPECT_EQ(Pen().x, 88);
  EXPECT_EQ(Pen().y, 10);

  // Outside play a cancel just ends the wait.
  Start("at 300 rclick\nat 600 click\n");
  core::Phase.GamePhase = core::kPhaseTitle;
  ShowMessage(text);
  EXPECT_GT(MessageEndedAt(), 300u);
  EXPECT_LT(MessageEndedAt(), 600u);
}

TEST_F(MessageTextTest, PageStartAndSaveSnapshotFollowTheMessage) {
  Start("at 300 click\n");
  core::SetFlag(33, 7);
  ShowMessage(G(40) + G(41) + Bytes{0xB3} + G(42) + kEnd);
  // The snapshot is the state as the message began: on its instruction, at its start.
  EXPECT_EQ(core::GetU16(core::SaveImage, core::field::kEventPC), kCodeStart);
  EXPECT_EQ(text::PageStart(core::SaveImage), message_offset_);
  EXPECT_EQ(core::SaveImage[core::field::kFlags + 33], 7);
  // After the page wait the page starts after it, at the top left, where the next glyph went.
  EXPECT_EQ(text::PageStart(core::ResumeState), message_offset_ + 5);
  EXPECT_EQ(text::PageStart(core::GameState), message_offset_ + 5);
  EXPECT_EQ(text::LoadPen(core::ResumeState).x, 16);
  EXPECT_EQ(text::LoadPen(core::ResumeState).y, 10);
  EXPECT_EQ(Pen().x, 40);
  EXPECT_EQ(Pen().y, 10);
}

TEST_F(MessageTextTest, EmbeddedCodesSetFlagsAndAShownBackgroundIsLeftAlone) {
  core::GameState[core::field::kBackgroundNumber] = 5;
  ShowMessage(Bytes{0xC8, 1, 2, 0xCC, 0, 1, 0x4B, 12, 7, 0x4C, 12, 250, 0xBD, 5, 0, 0} + G(40) +
              kEnd);
  EXPECT_EQ(Flag(117), 1);
  EXPECT_EQ(Flag(118), 1);
  EXPECT_EQ(Flag(119), 2);
  EXPECT_EQ(Flag(120), 1);
  EXPECT_EQ(Flag(121), 0);
  EXPECT_EQ(Flag(122), 1);
  EXPECT_EQ(Flag(12), 1);  // 7 + 250 modulo 256
  // No wipe, no wait: one glyph's present and its wait.
  EXPECT_EQ(Presents(), (Lines{Rect(16, 10)}));
  EXPECT_LT(MessageEndedAt(), 40u);
}

TEST_F(MessageTextTest, AStoredMessageIsDrawnWithAPenOfItsOwn) {
  ScenarioBuilder s;
  s.Label(1).Code({0x20});
  s.Message(3, Bytes{0xB9, 4} + Glyphs(25) + kEnd);
  s.Message(4, kEnd);
  WriteScenario(1, s);
  scenario::EnterScenario(1, false);
  text::StorePen(core::GameState, text::TextPen{});
  const auto* base = static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.MessageData));
  const auto message = [base](int n) { return base + (base[2 + 2 * n] | base[3 + 2 * n] << 8); };
  text::DrawMessageBlock(16, 10, message(3), 15, 0);
  // Code 185 with 4: x and the margin at 32, so the wrapped 25th glyph starts at 32.
  EXPECT_EQ(Pixel(32, 10), 15);
  EXPECT_EQ(Pixel(584, 10), 15);
  EXPECT_EQ(Pixel(32, 40), 15);
  EXPECT_EQ(Pixel(16, 10), 0);
  // The live text state is not the block's.
  EXPECT_EQ(Pen().x, text::kPageLeft);
  EXPECT_EQ(Pen().y, text::kPageTop);
  // A message that begins with its end draws nothing.
  core::ClearPicture(core::Screen.VmemDIB);
  text::DrawMessageBlock(16, 10, message(4), 15, 0);
  EXPECT_EQ(Pixel(16, 10), 0);
  core::MemUnlock(core::Scenario.MessageData);
}

}  // namespace
