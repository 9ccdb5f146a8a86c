// The backlog end to end: three pages of story, the in-game menu opened at the third, its
// backlog item, then older and newer by keys, mouse and click, and back to the story.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/runner_fixture.h"
#include "support/scenario_builder.h"
#include "support/test_font.h"

namespace {

using hotaru_test::ScenarioBuilder;
using BacklogE2E = hotaru_test::RunnerTest;

// Page n has n + 1 glyphs; the test font inks each glyph's top-left pixel.
constexpr const char* kThreePages = R"(
L0:
    end
L1:
    bg 0
    palette
    msg "<g40>{wait_page}"
    msg "<g41><g42>{wait_page}"
    msg "<g43><g44><g45>{wait_page}"
    set 10 1
    end
)";

TEST_F(BacklogE2E, ThreePagesReadBackOlderAndNewerThenTheStoryGoesOn) {
  Pack(ScenarioBuilder::Assemble(kThreePages), hotaru_test::MakeTestFont());
  ASSERT_EQ(Run("at 1000 click\nat 2000 click\n"
                "at 3000 rclick\n"             // the menu at the third page
                "at 6000 click 240 190\n"      // its backlog item
                "at 8000 shot {last.png}\n"    // the page before the current one
                "at 8500 key up\n"             // older: the first page
                "at 9000 shot {first.png}\n"   //
                "at 9200 key up\n"             // nothing older: no change
                "at 9500 move 300 300\n"       // the lower half selects newer
                "at 10000 shot {newer.png}\n"  //
                "at 10500 click\n"             // newer: the second page again
                "at 11000 shot {again.png}\n"
                "at 11100 wheel 1\n"  // the wheel away: older at once
                "at 11200 shot {wheel_up.png}\n"
                "at 11300 wheel -1\n"               // and towards: newer
                "at 11400 shot {wheel_down.png}\n"  //
                "at 11500 key escape\n"             // out of the backlog, into the menu
                "at 15000 rclick\n"                 // out of the menu: the page comes back
                "at 17000 shot {story.png}\n"       //
                "at 17500 click\n"),
            1)
      << output();

  const auto ink = [this](const std::string& shot, int x, int y) {
    const std::vector<Rgb> pixels = Shot(shot);
    return pixels.at(static_cast<std::size_t>(y * 640 + x));
  };
  const Rgb white{255, 255, 255};
  const Rgb black{0, 0, 0};
  // The page before the current one: two glyphs; older lit, nothing newer.
  EXPECT_EQ(ink("last.png", 16, 10), white);
  EXPECT_EQ(ink("last.png", 40, 10), white);
  EXPECT_EQ(ink("last.png", 64, 10), black);
  EXPECT_EQ(ink("last.png", 608, 4), white);
  EXPECT_EQ(ink("last.png", 608, 372), black);
  // The first page: one glyph; nothing older, newer offered (colours 4 and 15 are both
  // white in this scene's palette).
  EXPECT_EQ(ink("first.png", 16, 10), white);
  EXPECT_EQ(ink("first.png", 40, 10), black);
  EXPECT_EQ(ink("first.png", 608, 4), black);
  EXPECT_NE(ink("first.png", 608, 372), black);
  // The mouse in the lower half selects newer.
  EXPECT_EQ(ink("newer.png", 608, 372), white);
  EXPECT_EQ(ink("newer.png", 40, 10), black);
  EXPECT_EQ(ink("again.png", 40, 10), white);
  EXPECT_EQ(ink("again.png", 64, 10), black);
  EXPECT_EQ(ink("wheel_up.png", 40, 10), black);
  EXPECT_EQ(ink("wheel_up.png", 16, 10), white);
  EXPECT_EQ(ink("wheel_down.png", 40, 10), white);
  // Back in the story: the third page, whole.
  EXPECT_EQ(ink("story.png", 64, 10), white);
  EXPECT_EQ(ink("story.png", 608, 4), black);
}

}  // namespace
