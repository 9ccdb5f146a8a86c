// The game around the story on the headless runner, over the demo's data: the maker logo,
// the title screen and its items, the ending's credits and the way back to the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/settings.h"
#include "harness/game_harness.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "support/runner_fixture.h"
#include "support/scenario_builder.h"

namespace {

namespace fs = std::filesystem;

// Where the title's items are on screen (picture coordinates, the window at 640 × 400).
constexpr const char* kStartItem = "270 258";
constexpr const char* kClearItem = "270 292";
constexpr const char* kGalleryItem = "270 326";
constexpr const char* kQuitItem = "270 360";
constexpr const char* kMusicItem = "330 36";
// A click on none of them: the title's click wait takes it, the menu does not.
constexpr const char* kAside = "20 390";
// The music mode's commands.
constexpr const char* kPreviousMusic = "160 332";
constexpr const char* kPlayMusic = "300 332";
constexpr const char* kNextMusic = "460 332";

class TitleE2E : public hotaru_test::RunnerTest {
 protected:
  void SetUp() override {
    RunnerTest::SetUp();
    // The demo's pack and tracks, seen from a data folder of the test's own, which holds
    // the save files and any loose scenario the test writes.
    const fs::path demo(HOTARU_DEMO_DATA_DIR);
    for (const auto& entry : fs::directory_iterator(demo)) {
      const std::string name = entry.path().filename().string();
      if (name == "ZEN2DATA.PAK" || name.rfind("track", 0) == 0)
        fs::create_symlink(entry.path(), dir() / name);
    }
    StartFrom("--title");
  }

  // A scenario 000 of the test's own, as a loose file in front of the packed one.
  void WriteStory(const std::string& source) {
    const hotaru_test::Bytes bytes = hotaru_test::ScenarioBuilder::Assemble(source);
    std::ofstream(dir() / "000.SCN", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  // The music played and stopped, in order: "play FROM TO…" and "stop".
  std::vector<std::string> MusicCommands() const {
    std::vector<std::string> out;
    for (const auto& line : Trace("cd"))
      if (line.details.rfind("play ", 0) == 0 || line.details == "stop")
        out.push_back(line.details);
    return out;
  }

  // Saves written in-process, as the game's own save slot writes them: for each slot, the
  // V and H pictures it has seen.
  void WriteSaves(const std::vector<std::pair<std::vector<int>, std::vector<int>>>& seen) {
    platform::headless::Options options;
    harness::GameHarness game(options);
    std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s",
                  dir().string().c_str());
    for (std::size_t slot = 0; slot < seen.size(); ++slot) {
      std::fill(std::begin(core::SaveImage), std::end(core::SaveImage), 0);
      for (int n : seen[slot].first) core::SaveImage[130 + n / 8] |= 1 << (n % 8);
      for (int n : seen[slot].second) core::SaveImage[140 + n / 8] |= 1 << (n % 8);
      ASSERT_TRUE(scenario::SaveSlot(static_cast<int>(slot)));
    }
  }

  int CountWhite(const std::vector<Rgb>& shot, int top, int bottom) const {
    int white = 0;
    for (int i = top * 640; i < bottom * 640; ++i)
      white += shot[static_cast<std::size_t>(i)] == Rgb{255, 255, 255};
    return white;
  }
};

// The logo animation as the game runs it: entry e (5 … 13) after frame f has taken
// (f + e − 21) / 2 + 1 colour steps (none before its d = f + e − 20 reached 1), at most 25;
// each step adds the tint of its group of five.
hotaru_test::RunnerTest::Rgb LogoColour(int e, int f) {
  const int d = f + e - 20;
  const int steps = std::min(25, d >= 1 ? (d + 1) / 2 : 0);
  const int tints[5][3] = {{0, 0, -16}, {-16, 0, 16}, {16, -16, 0}, {0, 0, -16}, {-16, 0, 16}};
  hotaru_test::RunnerTest::Rgb c{255, 255, 255};
  for (int k = 0; k < steps; ++k) {
    c.r += tints[k / 5][0];
    c.g += tints[k / 5][1];
    c.b += tints[k / 5][2];
  }
  return c;
}

TEST_F(TitleE2E, TheLogoCyclesItsColoursFrameByFrameEvery50Ms) {
  StartFrom("");
  std::string input;
  for (int t = 1000; t <= 8000; t += 50)
    input += "at " + std::to_string(t) + " dump {d" + std::to_string(t) + ".json}\n";
  // A click cuts the opening short; the title then waits for one; quit.
  input += "at 10000 click " + std::string(kAside) + "\nat 13000 click " + std::string(kAside) +
           "\nat 17000 click " + std::string(kQuitItem) + "\n";
  ASSERT_EQ(Run(input, {"--until", "30000"}), 1) << output();
  EXPECT_TRUE(Trace("msgbox").empty());
  EXPECT_EQ(MusicCommands().front(), "play 2 3");  // music 0 with the logo

  // Each dump taken during the animation shows the nine cycled entries (and entry 14,
  // grey from frame 50) as they are after one frame; frames 8 … 63 each look different.
  // Dumps 50 ms apart show frames one apart.
  std::vector<std::pair<int, int>> frames;  // (time, frame)
  for (int t = 1000; t <= 8000; t += 50) {
    const std::string dump = ReadFile("d" + std::to_string(t) + ".json");
    std::vector<int> matching;
    for (int f = 0; f < 80; ++f) {
      bool all = (Shown(dump, 14) == Rgb{208, 208, 208}) == (f >= 50);
      for (int e = 5; e <= 13; ++e) all = all && Shown(dump, e) == LogoColour(e, f);
      if (all) matching.push_back(f);
    }
    if (matching.size() == 1) frames.emplace_back(t, matching[0]);
  }
  ASSERT_GE(frames.size(), 50u);
  EXPECT_LE(frames.front().second, 10);
  EXPECT_GE(frames.back().second, 60);
  for (std::size_t i = 1; i < frames.size(); ++i) {
    const int step = frames[i].second - frames[i - 1].second;
    const int expected = (frames[i].first - frames[i - 1].first) / 50;
    EXPECT_TRUE(step >= expected - 1 && step <= expected + 1) << "at " << frames[i].first << " ms";
  }
  const int span = (frames.back().first - frames.front().first) / 50;
  EXPECT_NEAR(frames.back().second - frames.front().second, span, 2);
}

TEST_F(TitleE2E, QuitEndsTheProgramFromTheTitle) {
  ASSERT_EQ(Run("at 2000 click " + std::string(kAside) + "\nat 5000 key escape\nat 6000 click " +
                    std::string(kQuitItem) + "\n",
                {"--until", "30000", "--dump-at-exit", (dir() / "exit.json").string()}),
            1)
      << output();
  EXPECT_TRUE(Trace("msgbox").empty());
  const auto exits = Trace("exit");
  ASSERT_EQ(exits.size(), 1u);
  EXPECT_EQ(exits[0].details, "1");
  EXPECT_LT(exits[0].ms, 30000u);
  // It ends from the title's phase.
  EXPECT_NE(ReadFile("exit.json").find("\"GamePhase\":0"), std::string::npos);
}

TEST_F(TitleE2E, MusicModePlaysStopsAndWrapsAndTheTitleRemembersIt) {
  std::string input = "at 2000 click " + std::string(kAside) + "\n";
  input += "+3000 click " + std::string(kMusicItem) + "\n";
  input += "+4000 click " + std::string(kNextMusic) + "\n";      // 01
  input += "+2000 click " + std::string(kPlayMusic) + "\n";      // plays music 1
  input += "+2000 click " + std::string(kPreviousMusic) + "\n";  // 00
  input += "+2000 click " + std::string(kPreviousMusic) + "\n";  // 25
  input += "+2000 click " + std::string(kPlayMusic) + "\n";      // plays music 25
  input += "+2000 key escape\n";                                 // back to the title
  input += "+4000 click " + std::string(kAside) + "\n";          // the title waits first
  input += "+3000 key escape\n";                                 // ignored
  input += "+1000 key enter\n";                                  // the music mode again
  input += "+4000 key escape\n+4000 click " + std::string(kAside) + "\n+3000 click " +
           std::string(kQuitItem) + "\n";
  ASSERT_EQ(Run(input, {"--until", "90000"}), 1) << output();
  EXPECT_TRUE(Trace("msgbox").empty());

  // Music 0 opens the mode; music 1 (track 3) and, past the wrap, music 25 (track 27) are
  // played; the mode opens again from the remembered item. Music 1 still plays when 25 is
  // chosen, so it is stopped first.
  const std::vector<std::string> music = MusicCommands();
  std::vector<std::string> plays;
  for (const std::string& m : music)
    if (m != "stop") plays.push_back(m.substr(0, m.find(' ', 5)));
  EXPECT_EQ(plays, (std::vector<std::string>{"play 2", "play 3", "play 27", "play 2"}))
      << ::testing::PrintToString(music);
  const auto play3 = std::find(music.begin(), music.end(), "play 3 4");
  ASSERT_NE(play3, music.end()) << ::testing::PrintToString(music);
  EXPECT_EQ(*(play3 + 1), "stop");
}

TEST_F(TitleE2E, MusicModeFindsADemoTrackForEveryPiece) {
  std::string input = "at 2000 click " + std::string(kAside) + "\n";
  input += "+3000 click " + std::string(kMusicItem) + "\n";
  // Play each of the 26 entries in turn, from 00 on.
  for (int i = 0; i < 26; ++i) {
    input += (i == 0 ? "+4000" : "+1500") + std::string(" click ") + kPlayMusic + "\n";
    input += "+1500 click " + std::string(kNextMusic) + "\n";
  }
  input += "+2000 key escape\n+4000 click " + std::string(kAside) + "\n+3000 click " +
           std::string(kQuitItem) + "\n";
  ASSERT_EQ(Run(input, {"--until", "150000"}), 1) << output();
  EXPECT_TRUE(Trace("msgbox").empty());

  // Music 0 as the mode opens, then music 0 to 25 played from their tracks 2 to 27, the
  // device refusing none for want of a file.
  std::vector<std::string> expected = {"play 2 3"};
  for (int track = 2; track <= 27; ++track)
    expected.push_back("play " + std::to_string(track) + " " + std::to_string(track + 1));
  std::vector<std::string> plays;
  for (const std::string& m : MusicCommands())
    if (m != "stop") plays.push_back(m);
  EXPECT_EQ(plays, expected);
}

TEST_F(TitleE2E, GalleryWithoutSaveFilesShowsNothingAndTheTitleIsRebuilt) {
  ASSERT_EQ(
      Run("at 1900 shot {title.png}\nat 2000 click " + std::string(kAside) + "\n+3000 click " +
              std::string(kGalleryItem) + "\n+2900 shot {again.png}\n+100 click " +
              std::string(kAside) + "\n+3000 click " + std::string(kQuitItem) + "\n",
          {"--until", "30000"}),
      1)
      << output();
  // Missing save files are empty slots, never the end of the program.
  EXPECT_TRUE(Trace("msgbox").empty());
  const auto title = Shot("title.png");
  ASSERT_EQ(title.size(), 640u * 400u);
  EXPECT_EQ(Shot("again.png"), title) << "the title is drawn again and waits for a click";
}

TEST_F(TitleE2E, TheEndingShowsItsFourteenPagesAndWaitsForAClick) {
  WriteStory(R"(
    L0:
        end
    L1:
        ending 2
        end
  )");
  StartFrom("--new-game");
  std::string input;
  for (int t = 1000; t <= 170000; t += 1000)
    input += "at " + std::to_string(t) + " dump {d" + std::to_string(t) + ".json}\n";
  input += "at 171000 shot {last.png}\nat 172000 click\n";
  ASSERT_EQ(Run(input, {"--until", "200000"}), 1) << output();
  EXPECT_TRUE(Trace("msgbox").empty());

  // The pages' backgrounds in their order (record byte 50 holds the background shown).
  std::vector<int> pages;
  for (int t = 1000; t <= 170000; t += 1000) {
    const int n =
        StateByte(ReadFile("d" + std::to_string(t) + ".json"), core::field::kBackgroundNumber);
    if (n != 255 && (pages.empty() || pages.back() != n)) pages.push_back(n);
  }
  EXPECT_EQ(pages, (std::vector<int>{1, 6, 7, 8, 9, 12, 15, 16, 17, 19, 24, 27, 45, 11}));
  // Music 2 once for the credits; the last page's text waits for the click.
  EXPECT_NE(std::find(MusicCommands().begin(), MusicCommands().end(), "play 4 5"),
            MusicCommands().end());
  EXPECT_GT(CountWhite(Shot("last.png"), 150, 230), 300);
  const auto exits = Trace("exit");
  ASSERT_EQ(exits.size(), 1u);
  EXPECT_GT(exits[0].ms, 172000u);
}

TEST_F(TitleE2E, GalleryShowsThePicturesSeenInAnySaveFileVBeforeH) {
  WriteSaves({{{3}, {}}, {{}, {2}}});
  std::string input =
      "at 2000 click " + std::string(kAside) + "\n+3000 click " + std::string(kGalleryItem) + "\n";
  input += "+3000 shot {v03.png}\n+100 click\n+3000 shot {h02.png}\n+100 click\n";
  input += "+4000 click " + std::string(kAside) + "\n+3000 click " + std::string(kQuitItem) + "\n";
  ASSERT_EQ(Run(input, {"--until", "40000"}), 1) << output();
  EXPECT_TRUE(Trace("msgbox").empty());
  const auto v03 = Shot("v03.png"), h02 = Shot("h02.png");
  ASSERT_EQ(v03.size(), 640u * 400u);
  EXPECT_NE(v03, h02);
  EXPECT_GT(std::count_if(v03.begin(), v03.end(), [](const Rgb& c) { return c.r + c.g + c.b > 0; }),
            640 * 200);
}

TEST_F(TitleE2E, StartWithAnEmptySlotPlaysTheStoryAndComesBackToTheTitle) {
  WriteStory(R"(
    L0:
        end
    L1:
        set 9 7
        end
  )");
  ASSERT_EQ(
      Run("at 2000 click " + std::string(kAside) + "\n+3000 click " + std::string(kStartItem) +
              "\n+3000 key enter\n+6000 shot {title.png}\n+100 click " + std::string(kAside) +
              "\n+3000 click " + std::string(kQuitItem) + "\n",
          {"--until", "40000", "--dump-at-exit", (dir() / "exit.json").string()}),
      1)
      << output();
  EXPECT_EQ(StateByte(ReadFile("exit.json"), 60 + 9), 7);
  const auto ops = Trace("op");
  ASSERT_FALSE(ops.empty());
  EXPECT_NE(ops.back().details.find(" end"), std::string::npos);
  EXPECT_GT(CountWhite(Shot("title.png"), 0, 400), 0) << "the title again";
}

TEST_F(TitleE2E, ASavedGameContinuesAndAFinishedOneStartsAgainKeepingItsFlags) {
  const std::string story = R"(
    L0:
        end
    L1:
        set 9 1
        end
    L2:
        set 9 2
        end
  )";
  WriteStory(story);
  struct Case {
    const char* what;
    std::uint8_t finished;  // flag 103 of the save
    int flag9;              // the label the game went on from
    int flag30;             // a persistent flag of the save
    const char* answer;     // to the continue question, when it is asked
  } cases[] = {
      {"a game in progress continues at its place", 0, 2, 30, "+2000 key enter\n"},
      {"a finished game starts again, unasked, keeping flags 20 … 127", 1, 1, 30, ""},
  };
  for (const Case& c : cases) {
    {
      // The save: scenario 0 at label 2, flag 30 set.
      platform::headless::Options options;
      harness::GameHarness game(options);
      std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s",
                    dir().string().c_str());
      const hotaru_test::Bytes file = hotaru_test::ScenarioBuilder::Assemble(story);
      scenario::InstallScenario(0, file.data(), static_cast<std::uint32_t>(file.size()));
      std::fill(std::begin(core::SaveImage), std::end(core::SaveImage), 0xFF);
      std::fill(core::SaveImage + core::field::kFlags, core::SaveImage + core::kGameStateSize, 0);
      core::SetU16(core::SaveImage, core::field::kEventPC, scenario::LabelOffset(2));
      core::SaveImage[core::field::kCurrentScenario] = 0;
      core::SaveImage[core::field::kFlags + 30] = 30;
      core::SaveImage[core::field::kFlags + 103] = c.finished;
      ASSERT_TRUE(scenario::SaveSlot(0)) << c.what;
    }
    // Start, slot 0, the answer, then back on the title, quit.
    ASSERT_EQ(Run("at 2000 click " + std::string(kAside) + "\n+3000 click " +
                      std::string(kStartItem) + "\n+3000 key enter\n" + c.answer + "+8000 click " +
                      std::string(kAside) + "\n+3000 click " + std::string(kQuitItem) + "\n",
                  {"--until", "40000", "--dump-at-exit", (dir() / "exit.json").string()}),
              1)
        << c.what << output();
    const std::string dump = ReadFile("exit.json");
    EXPECT_EQ(StateByte(dump, 60 + 9), c.flag9) << c.what;
    EXPECT_EQ(StateByte(dump, 60 + 30), c.flag30) << c.what;
  }
}

// The clear item's slot screen and question come and go over the title; the title menu
// afterwards looks as it did before (the same item lit under the pointer in both shots).
TEST_F(TitleE2E, ClearSlotAsksAndTheClearedSlotReadsEmpty) {
  WriteSaves({{{1}, {}}});
  const std::string on_clear = "move " + std::string(kClearItem) + "\n";
  ASSERT_EQ(Run("at 2000 click " + std::string(kAside) + "\n+3000 " + on_clear +
                    "+500 shot {before.png}\n+500 click " + std::string(kClearItem) +
                    "\n+3000 key enter\n+2000 key up\n+500 key enter\n+2000 click\n+3000 " +
                    on_clear + "+500 shot {after.png}\n+500 click " + std::string(kQuitItem) + "\n",
                {"--until", "40000"}),
            1)
      << output();
  EXPECT_TRUE(Shot("before.png") == Shot("after.png")) << "the title menu changed";
  platform::headless::Options options;
  harness::GameHarness game(options);
  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s",
                dir().string().c_str());
  EXPECT_FALSE(scenario::ReadSlotInfo(0).valid);
}

// After the credits the story offers its backstage chat with the game's own question, over
// whatever palette the ending left: its two answers (colour 15 lit, 4 not) must show apart,
// and an arrow key moves the light from one to the other.
TEST_F(TitleE2E, TheQuestionAfterTheCreditsShowsWhichAnswerIsLit) {
  StartFrom("--new-game");
  WriteStory(R"(
    L0:
        end
    L1:
        ending 2
        scenario 9 L1
  )");
  // The credits end waiting for a click; the offer's page, a click; the question.
  ASSERT_EQ(Run("at 150000 click\nat 156000 click\nat 160000 shot {no.png}\n+10 dump "
                "{question.json}\n+10 key up\n+500 shot {yes.png}\n+10 key enter\n",
                {"--until", "165000"}),
            3)
      << output();
  const std::string dump = ReadFile("question.json");
  EXPECT_NE(Shown(dump, 4), Shown(dump, 15));
  EXPECT_TRUE(Shot("no.png") != Shot("yes.png")) << "the arrow key lit nothing new";
  const auto answers = Trace("choice");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].details, "question yes");
}

TEST_F(TitleE2E, TheDemoFromTheLogoToTheCreditsAndBackToTheTitle) {
  StartFrom("");
  // The logo; the opening cut short by a click, then the title's click; start, the empty
  // first slot; the story clicked through (an arrow before each click takes the choices'
  // first options, which lead to the ending with the credits) into the credits, whose pages
  // take no clicks; after the last page a click; the offer of the backstage chat, and its
  // question answered no by a plain click (the answer highlighted at first); the title
  // again, quit.
  std::string input = "at 5000 shot {logo.png}\nat 10000 click " + std::string(kAside) +
                      "\nat 12900 shot {title.png}\n";
  input += "at 13000 click " + std::string(kAside) + "\n+3000 click " + std::string(kStartItem) +
           "\n+3000 key enter\n";
  for (int t = 25000; t <= 511000; t += 2000) {
    input += "at " + std::to_string(t - 500) + " key down\n";
    input += "at " + std::to_string(t) + " click\n";
  }
  input += "at 651000 shot {credits.png}\nat 654000 click\nat 660000 click\nat 663000 click\n";
  input += "at 671000 shot {again.png}\nat 672000 click " + std::string(kAside) +
           "\nat 676000 click " + std::string(kQuitItem) + "\n";
  ASSERT_EQ(Run(input, {"--until", "700000"}), 1) << output();
  EXPECT_TRUE(Trace("msgbox").empty());
  const auto ops = Trace("op");
  EXPECT_NE(std::find_if(ops.begin(), ops.end(),
                         [](const TraceLine& l) {
                           return l.details.find(" ending 2") != std::string::npos;
                         }),
            ops.end());
  // The logo over white; the last credits page waiting; the title as it was first drawn.
  EXPECT_GT(CountWhite(Shot("logo.png"), 0, 400), 640 * 200);
  EXPECT_GT(CountWhite(Shot("credits.png"), 150, 230), 300);
  EXPECT_EQ(Shot("again.png"), Shot("title.png"));
  EXPECT_EQ(Trace("exit").back().details, "1");
}

}  // namespace
