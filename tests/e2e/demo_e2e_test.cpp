// The demo story as the build packs it: it passes the audit and plays to its end on the
// headless runner with a click every two seconds, showing text over its scenes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/runner_fixture.h"

namespace {

namespace fs = std::filesystem;

// A click every two seconds, through the story and past its credits, with an arrow half a
// second before each: at the choice the arrow highlights an option (down the first, up the
// last), which the click then takes; elsewhere arrows do nothing.
std::string clicks(const char* arrow) {
  std::string input;
  for (int t = 2000; t <= 480000; t += 2000) {
    input += "at " + std::to_string(t - 500) + " key " + arrow + "\n";
    input += "at " + std::to_string(t) + " click\n";
  }
  return input;
}

class DemoE2E : public hotaru_test::RunnerTest {
 protected:
  void SetUp() override {
    RunnerTest::SetUp();
    // The runner's data folder is the build's demo folder.
    std::ofstream(dir() / "hotaru.ini") << "[蛍]\nHotaruDir=" << HOTARU_DEMO_DATA_DIR << "\n";
  }
};

TEST_F(DemoE2E, TheStoryPassesTheAuditAndPlaysToItsEnd) {
  const fs::path pack = fs::path(HOTARU_DEMO_DATA_DIR) / "ZEN2DATA.PAK";
  ASSERT_TRUE(fs::exists(pack)) << pack;
  std::string audit;
  EXPECT_EQ(hotaru_test::RunProgram(HOTARU_TOOL_PATH, {"scn", "audit", pack.string()}, {}, &audit),
            0)
      << audit;

  ASSERT_EQ(Run(clicks("down") + "at 5700 shot {street.png}\n", {"--until", "500000"}), 1)
      << output();
  EXPECT_TRUE(Trace("msgbox").empty());
  const auto ops = Trace("op");
  ASSERT_FALSE(ops.empty());
  EXPECT_NE(ops.back().details.find(" end"), std::string::npos) << ops.back().details;
  // Both wave scenes ran.
  int waves = 0;
  for (const auto& op : ops) waves += op.details.find(" sub ") != std::string::npos;
  EXPECT_EQ(waves, 2);

  // The choice was made, and the branch of its first option taken.
  const auto branch_taken = [this] {
    for (const auto& op : Trace("op")) {
      if (op.details.find(" choice ") != std::string::npos) continue;
      if (op.details.find(" jump ") != std::string::npos) return 0;  // the first branch's end
    }
    return 1;
  };
  EXPECT_EQ(branch_taken(), 0);

  // The first page over the street: the white text in its top rows, the scene below.
  const std::vector<Rgb> street = Shot("street.png");
  ASSERT_EQ(street.size(), 640u * 400u);
  int white = 0;
  for (int i = 0; i < 640 * 40; ++i)
    white += street[static_cast<std::size_t>(i)] == Rgb{255, 255, 255};
  EXPECT_GT(white, 500);
  int lit = 0;
  for (std::size_t i = 640 * 200; i < street.size(); ++i)
    lit += street[i].r + street[i].g + street[i].b > 0;
  EXPECT_GT(lit, 640 * 100);

  // The other option leads through the other branch to the same end.
  ASSERT_EQ(Run(clicks("up"), {"--until", "500000"}), 1) << output();
  EXPECT_NE(Trace("op").back().details.find(" end"), std::string::npos);
  EXPECT_EQ(branch_taken(), 1);
}

TEST_F(DemoE2E, TheStoryPlaysItsSynthesisedMusicAndSounds) {
  ASSERT_EQ(Run(clicks("down"), {"--until", "500000"}), 1) << output();
  std::vector<std::string> plays;
  int fade_steps = 0;
  for (const auto& line : Trace("cd")) {
    if (line.details.rfind("play ", 0) == 0) plays.push_back(line.details);
    if (line.details.rfind("volume ", 0) == 0) ++fade_steps;
  }
  // Every music number the story names has its track; the walk repeats before it fades.
  ASSERT_GE(plays.size(), 5u);
  EXPECT_EQ(plays.front(), "play 3 4");
  for (const std::string& play : plays) EXPECT_EQ(play.find("refused"), std::string::npos);
  EXPECT_NE(std::find(plays.begin(), plays.end(), "play 4 5"), plays.end());
  EXPECT_NE(std::find(plays.begin(), plays.end(), "play 5 6"), plays.end());
  EXPECT_GE(fade_steps, 3 * 33);  // three fades of 32 steps and a restore
  // The ambience loops until it is finished with a fade; the firework bursts three times.
  std::vector<std::string> wave;
  for (const auto& line : Trace("wave")) wave.push_back(line.details);
  const auto endless = std::find(wave.begin(), wave.end(), "write 176400 loops endless");
  ASSERT_NE(endless, wave.end());
  EXPECT_EQ(*(endless + 1), "volume 63487 63487");
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 39690 loops 3"), wave.end());
  // The bad dream: the shake's rumble over the silence after the fireworks, and the first
  // claw attack's slash.
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 22050 loops 1"), wave.end());
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 19844 loops 1"), wave.end());
}

}  // namespace
