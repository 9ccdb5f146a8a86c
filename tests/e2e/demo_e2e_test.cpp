// The demo story as the build packs it: it passes the audit and plays to its endings on
// the headless runner with a click every two seconds, showing text over its scenes.
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
// second before each: at a choice the arrow highlights an option (down the first, up the
// last), which the click then takes; elsewhere arrows do nothing. At the game's own yes/no
// questions either arrow highlights yes.
constexpr int kLastClick = 780000;
constexpr const char* kUntil = "800000";

std::string clicks(const char* arrow) {
  std::string input;
  for (int t = 2000; t <= kLastClick; t += 2000) {
    input += "at " + std::to_string(t - 500) + " key " + arrow + "\n";
    input += "at " + std::to_string(t) + " click\n";
  }
  return input;
}

class DemoE2E : public hotaru_test::RunnerTest {
 protected:
  void SetUp() override {
    RunnerTest::SetUp();
    // The demo's pack and tracks seen from a data folder of the test's own: the endings
    // write their progress into a save slot there.
    for (const auto& entry : fs::directory_iterator(HOTARU_DEMO_DATA_DIR)) {
      const std::string name = entry.path().filename().string();
      if (name == "ZEN2DATA.PAK" || name.rfind("track", 0) == 0)
        fs::create_symlink(entry.path(), dir() / name);
    }
    std::ofstream(dir() / "hotaru.ini") << "[蛍]\nHotaruDir=" << dir().string() << "\n";
  }

  // The scenarios entered, in order, from the ops' scenario numbers.
  std::vector<int> Scenarios() const {
    std::vector<int> entered;
    for (const auto& op : Trace("op")) {
      const int scenario = std::atoi(op.details.c_str());
      if (entered.empty() || entered.back() != scenario) entered.push_back(scenario);
    }
    return entered;
  }

  // How many executed instructions contain `text`.
  int Count(const std::string& text) const {
    int n = 0;
    for (const auto& op : Trace("op")) n += op.details.find(text) != std::string::npos;
    return n;
  }
};

TEST_F(DemoE2E, TheStoryPassesTheAuditAndPlaysToItsEnd) {
  const fs::path pack = fs::path(HOTARU_DEMO_DATA_DIR) / "ZEN2DATA.PAK";
  ASSERT_TRUE(fs::exists(pack)) << pack;
  std::string audit;
  EXPECT_EQ(hotaru_test::RunProgram(HOTARU_TOOL_PATH, {"scn", "audit", pack.string()}, {}, &audit),
            0)
      << audit;

  ASSERT_EQ(Run(clicks("down") + "at 5700 shot {street.png}\n", {"--until", kUntil}), 1)
      << output();
  EXPECT_TRUE(Trace("msgbox").empty());
  // The first options all the way: the girl followed, her name called in the dream, so the
  // evening leads to the ending with the credits, and on to the backstage chat, which ends
  // the play.
  EXPECT_EQ(Scenarios(), (std::vector<int>{0, 1, 2, 3, 4, 9}));
  EXPECT_EQ(Count(" ending 2"), 1);
  EXPECT_NE(Trace("op").back().details.find(" end"), std::string::npos);
  // Both wave scenes of the script ran, once each, and the dream did not repeat.
  EXPECT_EQ(Count(" sub 1 "), 1);
  EXPECT_EQ(Count(" sub 2 "), 1);
  EXPECT_EQ(Count(" resume"), 0);
  // The finished play is in the first slot.
  EXPECT_TRUE(fs::exists(dir() / "ZEN2_00.SAV"));

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

  // The last options all the way lead to the lonely ending, which ends on its last line
  // without the credits.
  ASSERT_EQ(Run(clicks("up"), {"--until", kUntil}), 1) << output();
  EXPECT_EQ(Scenarios(), (std::vector<int>{0, 1, 2, 3, 6}));
  EXPECT_EQ(Count(" ending "), 0);
  EXPECT_EQ(Count(" progress"), 1);
}

// Where a character stands in the middle (slot 2), the story's text keeps clear of her face:
// no text white over the eyes, nose and mouth, on any page of the way through the shrine,
// the river, the hill and the backstage chat. A picture is taken before every click; the
// engine's own choices and questions (answered by that click) have their fixed places and
// are left out, as are pictures without text under a dimmed scene.
TEST_F(DemoE2E, TheTextKeepsClearOfTheFaceInTheMiddle) {
  std::string input;
  for (int t = 2000; t <= kLastClick; t += 2000) {
    const std::string at = "at " + std::to_string(t - 1);
    input += at + " shot {p" + std::to_string(t) + ".png}\n";
    input += at + " dump {p" + std::to_string(t) + ".json}\n";
    input += "at " + std::to_string(t - 500) + " key down\nat " + std::to_string(t) + " click\n";
  }
  ASSERT_EQ(Run(input, {"--until", kUntil}), 1) << output();
  const auto answers = Trace("choice");
  int checked = 0;
  for (int t = 2000; t <= kLastClick; t += 2000) {
    const bool answered = std::any_of(answers.begin(), answers.end(), [t](const TraceLine& l) {
      return l.ms + 2 >= static_cast<std::uint32_t>(t) && l.ms <= static_cast<std::uint32_t>(t) + 2;
    });
    const std::string name = "p" + std::to_string(t);
    if (answered || !fs::exists(dir() / (name + ".json"))) continue;
    const std::string dump = ReadFile(name + ".json");
    constexpr std::size_t kMiddleSlotPicture = 56;
    if (StateByte(dump, kMiddleSlotPicture) == 255) continue;
    if (dump.find("\"PaletteState\":3") == std::string::npos) continue;
    const std::vector<Rgb> shot = Shot(name + ".png");
    int over_face = 0;
    for (int y = 146; y < 200; ++y)
      for (int x = 287; x < 353; ++x)
        over_face += shot[static_cast<std::size_t>(y * 640 + x)] == Rgb{255, 255, 255};
    EXPECT_EQ(over_face, 0) << "text over the face in the middle at " << t << " ms";
    ++checked;
  }
  EXPECT_GT(checked, 40) << "pages with a character in the middle";
}

TEST_F(DemoE2E, TheStoryPlaysItsSynthesisedMusicAndSounds) {
  ASSERT_EQ(Run(clicks("down"), {"--until", kUntil}), 1) << output();
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
  // Hotaru's humming, her voice: twice over by the river, endless on the hill until she
  // goes.
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 145530 loops 2"), wave.end());
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 145530 loops endless"), wave.end());
  // The bad dream: the shake's rumble over the silence after the fireworks, and the first
  // claw attack's slash.
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 22050 loops 1"), wave.end());
  EXPECT_NE(std::find(wave.begin(), wave.end(), "write 19844 loops 1"), wave.end());
}

}  // namespace
