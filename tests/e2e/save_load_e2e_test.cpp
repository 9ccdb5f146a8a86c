// Saving and loading end to end: a save at the second page into slot 1 through the in-game
// menu, play goes on, then a load of slot 1 through the menu brings the second page back as
// it was when saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/runner_fixture.h"
#include "support/scenario_builder.h"
#include "support/test_font.h"

namespace {

using hotaru_test::ScenarioBuilder;
using SaveLoadE2E = hotaru_test::RunnerTest;

constexpr const char* kThreePages = R"(
L0:
    end
L1:
    bg 0
    palette
    cd_play 2
    set 20 5
    msg "<g40>{wait_page}"
    set 21 6
    msg "<g41><g42>{wait_page}"
    set 22 7
    msg "<g43>{wait_page}"
    set 10 1
    end
)";

// The game state record of a dump, as its hex digits.
std::string Record(const std::string& dump, const char* name) {
  const std::string key = std::string("\"") + name + "\":\"";
  const std::size_t at = dump.find(key);
  return at == std::string::npos ? "" : dump.substr(at + key.size(), 8412);
}

TEST_F(SaveLoadE2E, ASaveAtAPageLoadsBackIntoThatPageAsItWasShown) {
  Pack(ScenarioBuilder::Assemble(kThreePages), hotaru_test::MakeTestFont(1024));
  // The menu's items stack from (224, 80), 34 pixels apart; slot 1's box is (64, 160) –
  // (576, 280); the question's yes is at (272, 166).
  ASSERT_EQ(Run("at 1000 click\n"  // the second page
                "at 4000 shot {saved.png}\n"
                "at 4000 dump {saved.json}\n"
                "at 4500 rclick\n"
                "at 7000 click 230 161\n"   // save
                "at 9000 click 300 220\n"   // slot 1
                "at 11000 click 280 175\n"  // yes
                "at 13000 click\n"          // after the confirmation
                "at 15000 rclick\n"         // out of the menu
                "at 17000 click\n"          // the third page
                "at 19000 dump {later.json}\n"
                "at 19500 rclick\n"
                "at 22000 click 230 127\n"  // load
                "at 24000 click 300 220\n"  // slot 1
                "at 26000 click 280 175\n"  // yes
                "at 32000 shot {loaded.png}\n"
                "at 32000 dump {loaded.json}\n"
                "at 33000 click\n"
                "at 35000 click\n"),
            1)
      << output();

  const std::string saved = ReadFile("saved.json");
  const std::string later = ReadFile("later.json");
  const std::string loaded = ReadFile("loaded.json");
  ASSERT_FALSE(saved.empty());
  ASSERT_FALSE(loaded.empty());
  EXPECT_EQ(StateByte(later, 60 + 22), 7);
  EXPECT_EQ(StateByte(loaded, 60 + 22), 0) << "the third page's flag is gone again";
  EXPECT_EQ(StateByte(loaded, 60 + 21), 6);
  // The same record but for the save's date and time (flags 106 … 112), which a save
  // stamps into its flag area.
  std::string expected = Record(saved, "state");
  std::string got = Record(loaded, "state");
  ASSERT_EQ(got.size(), expected.size());
  got.replace(2 * 166, 14, 14, '-');
  expected.replace(2 * 166, 14, 14, '-');
  EXPECT_EQ(got, expected);
  // The same picture, every pixel but the click-wait cursor's cell after the text (at
  // (64, 10), 26 pixels square with its shadow), which blinks on a clock of its own.
  const std::vector<Rgb> shown = Shot("loaded.png");
  const std::vector<Rgb> wanted = Shot("saved.png");
  ASSERT_EQ(shown.size(), wanted.size());
  int differ = 0;
  std::string first;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const std::size_t x = i % 640, y = i / 640;
    if (shown[i] == wanted[i] || (x >= 64 && x < 90 && y >= 10 && y < 36)) continue;
    if (differ++ == 0)
      first = std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(shown[i].r) +
              " not " + std::to_string(wanted[i].r);
  }
  EXPECT_EQ(differ, 0) << "first at " << first;
  const Rgb white{255, 255, 255};
  EXPECT_EQ(shown[10 * 640 + 16], white) << "the page's first glyph";
  EXPECT_EQ(shown[10 * 640 + 40], white) << "and its second";
  EXPECT_TRUE(Trace("msgbox").empty());
  // The play went on from the loaded page to the end.
  bool finished = false;
  for (const auto& op : Trace("op")) finished |= op.details.find("set 10 1") != std::string::npos;
  EXPECT_TRUE(finished);
  EXPECT_EQ(ReadFile("ZEN2_01.SAV").size(), 4206u);
}

}  // namespace
