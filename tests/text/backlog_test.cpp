// The message history and the backlog viewer's reading of it: what is recorded, and
// histories that do not fit the story data or the record.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "authoring/png_io.h"
#include "core/game_state.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/backlog.h"
#include "visuals/palette_fades.h"

namespace {

using core::GameState;
using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;
namespace field = core::field;
using Entries = std::vector<std::pair<int, int>>;

class BacklogTest : public hotaru_test::ScenarioTest {
 protected:
  void Start(const std::string& script) {
    Restart(script, 100000);
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    SetHistory({});
  }
  static void SetHistory(const Entries& entries) {
    core::SetU16(GameState, field::kHistoryCount, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      GameState[field::kHistory + 2 * i] = static_cast<std::uint8_t>(entries[i].first);
      GameState[field::kHistory + 2 * i + 1] = static_cast<std::uint8_t>(entries[i].second);
    }
  }
  static Entries History() {
    Entries out;
    const int count = core::GetU16(GameState, field::kHistoryCount);
    for (int i = 0; i < count; ++i) {
      out.emplace_back(GameState[field::kHistory + 2 * i], GameState[field::kHistory + 2 * i + 1]);
    }
    return out;
  }
  // The first present of a rectangle (the whole-screen ones clear the text).
  std::string FirstRectPresented() const {
    for (const std::string& p : TraceOf("present")) {
      if (p != "all") return p;
    }
    return "";
  }
  static int InkedPixels() {
    std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
    int inked = 0;
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 600; ++x) inked += *core::PixelAt(p, x, y) != 0;
    }
    core::MemUnlock(core::Screen.VmemDIB);
    return inked;
  }
};

TEST_F(BacklogTest, RecordingKeepsOneOfARepeatAndStopsWhenFull) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> shown;  // (current scenario, message)
    Entries recorded;
  };
  const Case cases[] = {
      {"a message again in a row is stored once", {{1, 5}, {1, 5}}, {{1, 5}}},
      {"A, B, A is three entries", {{1, 5}, {1, 6}, {1, 5}}, {{1, 5}, {1, 6}, {1, 5}}},
      {"the same number in another scenario is new", {{1, 5}, {2, 5}}, {{1, 5}, {2, 5}}},
  };
  for (const Case& c : cases) {
    Start("");
    for (const auto& [scenario_number, message] : c.shown) {
      GameState[field::kCurrentScenario] = static_cast<std::uint8_t>(scenario_number);
      text::RecordMessage(static_cast<std::uint8_t>(message));
    }
    EXPECT_EQ(History(), c.recorded) << c.what;
  }

  // The 2001st message is not stored, and the history's neighbours in the record stay.
  Start("");
  GameState[field::kCurrentScenario] = 3;
  for (int i = 0; i < 2001; ++i) text::RecordMessage(static_cast<std::uint8_t>(i % 2));
  EXPECT_EQ(core::GetU16(GameState, field::kHistoryCount), 2000);
  EXPECT_EQ(GameState[field::kHistory + 2 * 1999 + 1], 1);
}

TEST_F(BacklogTest, AHistoryOfOnlyTheCurrentMessageShowsNothing) {
  Start("");
  SetHistory({{1, 0}});
  const std::uint32_t before = GetTickCount();
  text::ShowBacklog();
  EXPECT_EQ(GetTickCount(), before);
  EXPECT_EQ(text::Text.ViewMessages, 0u);
}

TEST_F(BacklogTest, EntriesThatDoNotFitTheStoryDataDrawEmptyPages) {
  // Scenario 2's texts hold a table shorter than 256 entries and an entry pointing past
  // the block, as a history saved with other story data would find them.
  Bytes short_block = {0, 0, 0x04, 0x00, 0x00, 0x28, 0xAF};  // message 0 is one glyph
  Bytes wild_block(2 + 2 * 256, 0);
  wild_block[2 + 2 * 7] = 0xF0;
  wild_block[3 + 2 * 7] = 0xFF;
  wild_block.push_back(0xAF);
  WriteScenarioFile(2, ScenarioBuilder::File({0, 0}, short_block));
  WriteScenarioFile(3, ScenarioBuilder::File({0, 0}, wild_block));
  for (const auto& [scenario_number, message] : Entries{{2, 200}, {3, 7}}) {
    Start("at 1000 key escape\n");
    SetHistory({{scenario_number, message}, {1, 0}});
    core::ClearPicture(core::Screen.VbufDIB);
    text::ShowBacklog();
    EXPECT_GE(GetTickCount(), 1000u);
    EXPECT_EQ(text::Text.ViewMessages, 0u);  // released on leaving
    // Only the scroll marks were presented.
    EXPECT_EQ(FirstRectPresented(), "608 4 634 398") << scenario_number;
  }
  // The entry that fits is drawn: message 0 of scenario 2, one glyph.
  Start("at 1000 key escape\n");
  SetHistory({{2, 0}, {1, 0}});
  core::ClearPicture(core::Screen.VbufDIB);
  text::ShowBacklog();
  EXPECT_EQ(FirstRectPresented(), "16 4 634 398");
  EXPECT_EQ(InkedPixels(), 0);  // the screen is left without text
}

TEST_F(BacklogTest, EntriesWhoseScenarioIsMissingArePassedOverAndOnlyAWayOnIsMarked) {
  // Scenario 2 has message 0 of one glyph and message 1 of two; scenario 9 does not exist,
  // as in a history saved with other story data.
  WriteScenarioFile(2, ScenarioBuilder::Assemble("L1:\n    msg \"<g40>\"\n    msg \"<g41><g42>\"\n"
                                                 "    end\n"));
  const std::string first = (dir() / "first.png").string();
  const std::string older = (dir() / "older.png").string();
  Start("at 1000 shot " + first + "\nat 1100 key up\nat 2000 key up\nat 3000 shot " + older +
        "\nat 3100 key escape\n");
  const Entries history{{2, 0}, {9, 5}, {2, 1}, {9, 3}, {1, 0}};
  SetHistory(history);
  // The scene: colour 9 blue; 0 black, 4 grey, 15 white for text and marks.
  const PALETTEENTRY colours[] = {
      {0, 0, 0, 0}, {128, 128, 128, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};
  const int indices[] = {0, 4, 9, 15};
  for (int k = 0; k < 4; ++k) core::Screen.ScreenPalette[indices[k]] = colours[k];
  visuals::ApplyScreenPalette();
  core::FillPictureRect(core::Screen.VbufDIB, 0, 0, 639, 399, 9);
  text::ShowBacklog();
  EXPECT_GE(GetTickCount(), 3100u);
  EXPECT_EQ(History(), history) << "nothing is removed from the history";

  const auto pixel = [](const authoring::IndexedImage& image, int x, int y) {
    const authoring::Rgb8 c = image.palette.at(image.pixels.at(y * image.width + x));
    return std::string(c.r == 255 && c.g == 255 ? "white"
                       : c.r == 128             ? "grey"
                       : c.b == 255             ? "scene"
                                                : "black");
  };
  authoring::IndexedImage image;
  std::vector<std::string> warnings;
  // Opened: the newest readable entry, message 1 of scenario 2; older offered and selected,
  // nothing newer that can be read, so no mark there.
  ASSERT_EQ(authoring::ReadPng(first, &image, &warnings), "");
  ASSERT_EQ(image.width, 640);
  EXPECT_EQ(pixel(image, 16, 10), "white");
  EXPECT_EQ(pixel(image, 40, 10), "white");
  EXPECT_EQ(pixel(image, 608, 4), "white");
  EXPECT_EQ(pixel(image, 608, 372), "scene");
  // One step older passes over scenario 9: message 0. Nothing older: no mark; newer offered.
  // A second step older changes nothing.
  ASSERT_EQ(authoring::ReadPng(older, &image, &warnings), "");
  EXPECT_EQ(pixel(image, 16, 10), "white");
  EXPECT_EQ(pixel(image, 40, 10), "scene");
  EXPECT_EQ(pixel(image, 608, 4), "scene");
  EXPECT_EQ(pixel(image, 608, 372), "grey");

  // A history with nothing readable before the current message shows nothing.
  Start("");
  SetHistory({{9, 0}, {9, 1}, {1, 0}});
  const std::uint32_t before = GetTickCount();
  text::ShowBacklog();
  EXPECT_EQ(GetTickCount(), before);
}

TEST_F(BacklogTest, ACountBeyondTheHistoryIsReadAsAFullHistory) {
  // A record whose count says more than the 2000 entries it has room for.
  Start("at 1000 key escape\n");
  WriteScenarioFile(1, ScenarioBuilder::Assemble("L1:\n    end\n"));
  for (int i = 0; i < 2000; ++i) {
    GameState[field::kHistory + 2 * i] = 1;
    GameState[field::kHistory + 2 * i + 1] = 0;
  }
  core::SetU16(GameState, field::kHistoryCount, 65535);
  EXPECT_EQ(text::HistoryCount(), 2000);
  text::ShowBacklog();
  EXPECT_GE(GetTickCount(), 1000u);
  // Nothing is recorded past the end of the record.
  text::RecordMessage(9);
  EXPECT_EQ(core::GetU16(GameState, field::kHistoryCount), 65535);
}

}  // namespace
