// The player's command line: parsing, the game folder, the demo's place, the folder in
// place of the ini's for one run, and the real program's answers.
#include "shell/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "core/program_identity.h"
#include "core/settings.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

TEST(PlayerCommandLine, ReadsFoldersAndSwitchesAndRefusesWhatItDoesNotKnow) {
  struct Case {
    std::vector<const char*> args;
    std::string error;  // a part of the error; "" when the line is good
    std::string game_dir;
    bool demo, fullscreen, help, version;
  } cases[] = {
      {{}, "", "", false, false, false, false},
      {{"games/hotaru"}, "", "games/hotaru", false, false, false, false},
      {{"--fullscreen", "/g"}, "", "/g", false, true, false, false},
      {{"/g", "--fullscreen"}, "", "/g", false, true, false, false},
      {{"--demo"}, "", "", true, false, false, false},
      {{"--help"}, "", "", false, false, true, false},
      {{"--version"}, "", "", false, false, false, true},
      {{"--", "--demo"}, "", "--demo", false, false, false, false},  // a folder named so
      {{"-"}, "", "-", false, false, false, false},
      {{"--full"}, "unknown option --full", "", false, false, false, false},
      {{"-h"}, "unknown option -h", "", false, false, false, false},
      {{"--demo=yes"}, "--demo takes no value", "", false, false, false, false},
      {{"/a", "/b"}, "only one game folder", "", false, false, false, false},
      {{"--demo", "/a"}, "a game folder or --demo, not both", "", false, false, false, false},
      {{""}, "empty name", "", false, false, false, false},
      {{"--record"}, "--record", "", false, false, false, false},
      {{"--record="}, "--record needs a FILE", "", false, false, false, false},
  };
  for (const Case& c : cases) {
    shell::PlayerCommandLine line;
    const std::string error = shell::ParsePlayerCommandLine(c.args, &line);
    std::string shown;
    for (const char* a : c.args) shown += std::string("[") + a + "]";
    if (!c.error.empty()) {
      EXPECT_NE(error.find(c.error), std::string::npos) << shown << ": " << error;
      continue;
    }
    EXPECT_EQ(error, "") << shown;
    EXPECT_EQ(line.game_dir, c.game_dir) << shown;
    EXPECT_EQ(line.demo, c.demo) << shown;
    EXPECT_EQ(line.fullscreen, c.fullscreen) << shown;
    EXPECT_EQ(line.help, c.help) << shown;
    EXPECT_EQ(line.version, c.version) << shown;
  }
  shell::PlayerCommandLine recorded;
  const std::vector<const char*> record = {"--record", "play.txt", "/g"};
  EXPECT_EQ(shell::ParsePlayerCommandLine(record, &recorded), "");
  EXPECT_EQ(recorded.record_path, "play.txt");
  EXPECT_EQ(recorded.game_dir, "/g");
}

TEST(PlayerCommandLine, AnOptionWithAValueTakesTheNextArgumentOrWhatFollowsTheEqualsSign) {
  // A table with an option that takes a value, as a new row of the program's table would.
  const shell::PlayerOption options[] = {
      {"--into", "DIR", "a folder",
       [](shell::PlayerCommandLine* l, const char* value) -> std::string {
         if (*value == '\0') return "--into needs a folder";
         l->game_dir = value;
         return "";
       }},
      {"--demo", nullptr, "the demo",
       [](shell::PlayerCommandLine* l, const char*) -> std::string {
         l->demo = true;
         return "";
       }},
  };
  struct Case {
    std::vector<const char*> args;
    std::string result;  // game_dir, or the error
  } cases[] = {
      {{"--into", "/g"}, "/g"},
      {{"--into=/g"}, "/g"},
      {{"--into", "--demo"}, "--demo"},  // the value, not the switch
      {{"--into=a=b"}, "a=b"},
      {{"--into"}, "--into needs DIR"},
      {{"--into="}, "--into needs a folder"},
      {{"--fullscreen"}, "unknown option --fullscreen"},
  };
  for (const Case& c : cases) {
    shell::PlayerCommandLine line;
    const std::string error = shell::ParsePlayerCommandLine(c.args, &line, options);
    EXPECT_EQ(error.empty() ? line.game_dir : error, c.result) << c.args[0];
  }
}

TEST(PlayerCommandLine, HelpNamesEveryOption) {
  const std::string usage = shell::PlayerUsage();
  EXPECT_TRUE(usage.starts_with("usage: hotaru [OPTION]... [GAME_DIR]\n")) << usage;
  for (const shell::PlayerOption& option : shell::PlayerOptions()) {
    EXPECT_NE(usage.find(std::string("  ") + option.name), std::string::npos) << option.name;
  }
  EXPECT_TRUE(shell::PlayerVersion().starts_with("hotaru ")) << shell::PlayerVersion();
}

// The man page is the player's other reference: it names every option (in roff, each dash
// escaped), the keys of our own, and the settings the program keeps beside the original's.
TEST(PlayerCommandLine, ManPageNamesEveryOptionAndTheProgramsOwnSettings) {
  std::ifstream in(HOTARU_PLAYER_MAN_PAGE);
  const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(page.empty());
  for (const shell::PlayerOption& option : shell::PlayerOptions()) {
    const std::string name = std::string(option.name).substr(2);
    EXPECT_NE(page.find("\\-\\-" + name), std::string::npos) << option.name;
  }
  for (const char* named : {"F12", "[hotaru]", "Scaling", "Filter", "表示"}) {
    EXPECT_NE(page.find(named), std::string::npos) << named;
  }
}

class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-folder-" + std::to_string(rd()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }
  fs::path dir_;
};

TEST_F(GameFolderTest, AFolderCountsWhenItHoldsThePackInAnyCase) {
  struct Case {
    const char* pack;  // the pack's file name in the folder; null: none
    const char* folder_arg;
    std::string error;
  } cases[] = {
      {"ZEN2DATA.PAK", "game", ""},
      {"zen2data.pak", "game/", ""},
      {"Zen2Data.Pak", "game/./", ""},
      {nullptr, "game", "game: no game data here (ZEN2DATA.PAK not found)"},
      {"ZEN2DATA.PAK", "elsewhere", "elsewhere: no such folder"},
      {"ZEN2DATA.PAK", "game/x.txt", "game/x.txt: not a folder"},
  };
  for (const Case& c : cases) {
    fs::remove_all(dir_ / "game");
    Touch(dir_ / "game" / "x.txt");
    if (c.pack) Touch(dir_ / "game" / c.pack);
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    std::string data_dir = "unchanged";
    const std::string error = shell::CheckGameFolder(c.folder_arg, &data_dir);
    fs::current_path(cwd);
    if (c.error.empty()) {
      EXPECT_EQ(error, "") << c.folder_arg;
      EXPECT_EQ(data_dir, (dir_ / "game").string()) << c.folder_arg;
    } else {
      EXPECT_TRUE(error.starts_with(c.error)) << error;
      EXPECT_EQ(data_dir, "unchanged");
    }
  }
}

TEST_F(GameFolderTest, APackThatIsNoReadableFileIsRefusedWithItsOwnMessage) {
  const std::string expected =
      ": ZEN2DATA.PAK here is not a file the game can read (a folder, a pipe or no permission)";
  std::string data_dir = "unchanged";
  fs::create_directories(dir_ / "game" / "ZEN2DATA.PAK");
  const std::string as_folder = shell::CheckGameFolder((dir_ / "game").string(), &data_dir);
  EXPECT_TRUE(as_folder.ends_with(expected)) << as_folder;
  fs::remove_all(dir_ / "game" / "ZEN2DATA.PAK");
  // A pipe must not block the check.
  ASSERT_EQ(::mkfifo((dir_ / "game" / "ZEN2DATA.PAK").c_str(), 0600), 0);
  const std::string as_pipe = shell::CheckGameFolder((dir_ / "game").string(), &data_dir);
  EXPECT_TRUE(as_pipe.ends_with(expected)) << as_pipe;
  EXPECT_EQ(data_dir, "unchanged");
}

TEST_F(GameFolderTest, AFolderTheGameCannotNameIsRefusedNotCut) {
  // DataDir holds 255 bytes; a longer path would be cut to another folder.
  fs::path deep = dir_;
  while (deep.string().size() < 300) deep /= "a_long_folder_name";
  Touch(deep / "ZEN2DATA.PAK");
  std::string data_dir;
  EXPECT_NE(shell::CheckGameFolder(deep.string(), &data_dir).find("longer than the game can hold"),
            std::string::npos);
  // `\` separates the game's folders, so a folder named with one cannot be reached.
  Touch(dir_ / "a\\b" / "ZEN2DATA.PAK");
  EXPECT_NE(shell::CheckGameFolder((dir_ / "a\\b").string(), &data_dir).find("backslash"),
            std::string::npos);
}

TEST_F(GameFolderTest, TheDemoIsFoundBesideTheBuiltProgramAndPlayedThere) {
  std::string data_dir;
  // The build tree: build/<preset>/src/hotaru and build/<preset>/demo.
  Touch(dir_ / "build" / "demo" / "ZEN2DATA.PAK");
  EXPECT_EQ(shell::FindDemoFolder(dir_ / "build" / "src" / "hotaru", dir_ / "home", &data_dir), "");
  EXPECT_EQ(data_dir, (dir_ / "build" / "demo").string());
  EXPECT_FALSE(fs::exists(dir_ / "home"));
  // Neither that nor an installed one: the error says where it looked.
  const std::string error =
      shell::FindDemoFolder(dir_ / "opt" / "bin" / "hotaru", dir_ / "home", &data_dir);
  EXPECT_NE(error.find("the demo is not installed"), std::string::npos) << error;
  EXPECT_NE(error.find((dir_ / "opt" / "share" / "hotaru" / "demo").string()), std::string::npos)
      << error;
}

// Installed, the demo's files are the system's: the player plays from a folder of links to
// them in their own data folder, where the saves can be written.
TEST_F(GameFolderTest, TheInstalledDemoIsPlayedFromLinksInThePlayersOwnFolder) {
  const fs::path installed = dir_ / "usr" / "share" / "hotaru" / "demo";
  const fs::path own = dir_ / "home" / "hotaru" / "demo";
  Touch(installed / "ZEN2DATA.PAK");
  Touch(installed / "track02.ogg");
  Touch(own / "ZEN2_00.SAV");  // a save of an earlier run
  fs::create_symlink(dir_ / "old" / "track09.ogg", own / "track09.ogg");  // gone since
  fs::create_symlink(dir_ / "old" / "track02.ogg", own / "track02.ogg");  // pointed elsewhere
  std::string data_dir;
  EXPECT_EQ(shell::FindDemoFolder(dir_ / "usr" / "bin" / "hotaru", dir_ / "home", &data_dir), "");
  EXPECT_EQ(data_dir, own.string());
  EXPECT_EQ(fs::read_symlink(own / "ZEN2DATA.PAK"), installed / "ZEN2DATA.PAK");
  EXPECT_EQ(fs::read_symlink(own / "track02.ogg"), installed / "track02.ogg");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(own / "track09.ogg")));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(own / "ZEN2_00.SAV")));
  // A second start finds everything in place.
  EXPECT_EQ(shell::FindDemoFolder(dir_ / "usr" / "bin" / "hotaru", dir_ / "home", &data_dir), "");
  EXPECT_EQ(data_dir, own.string());
}

class DataFolderOverrideTest : public hotaru_test::PlatformTest {
 protected:
  void TearDown() override {
    shell::Shell.DataDirOverride.clear();
    PlatformTest::TearDown();
  }
};

TEST_F(DataFolderOverrideTest, TheFolderServesThisRunAndTheIniKeepsItsOwnAndItsSettings) {
  // The ini names a folder without data; the command line names one with.
  const fs::path game = dir() / "game";
  fs::create_directories(game);
  ASSERT_EQ(authoring::WritePack(game / "ZEN2DATA.PAK",
                                 {{"KNJ_ALL.KNJ", std::vector<std::uint8_t>(72, 0)}}),
            "");
  WriteText(ini_path(), "[蛍]\nHotaruDir=/nowhere\nMusic=OFF\nLow=ON\n");
  shell::Shell.DataDirOverride = game.string();
  ASSERT_TRUE(OpenWindow());
  ASSERT_EQ(shell::InitResources(), 1);
  EXPECT_EQ(std::string(core::Settings.DataDir), game.string());
  EXPECT_EQ(core::Settings.Music, 0);
  EXPECT_EQ(core::Settings.Low, 1);
  core::Settings.Pcm = 0;
  shell::WriteSettings();
  auto key = [](const char* name) {
    char value[256];
    GetPrivateProfileStringA(core::kIniSection, name, "", value, sizeof value, core::kIniFile);
    return std::string(value);
  };
  EXPECT_EQ(key("HotaruDir"), "/nowhere");
  EXPECT_EQ(key("Pcm"), "OFF");
  EXPECT_EQ(key("Music"), "OFF");
  shell::ReleaseResources();
}

// The real program answers the command line before it needs a display: with none, a good
// folder gets as far as starting SDL and a folder without data never does.
TEST_F(GameFolderTest, TheProgramSaysWhatIsWrongWithTheFolderBeforeOpeningAWindow) {
  const std::string program = (fs::path(HOTARU_HEADLESS_PATH).parent_path() / "hotaru").string();
  auto run = [&](std::vector<std::string> args, std::string* out) {
    args.insert(args.begin(), {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER=x11",
                               "HOME=" + dir_.string(), program});
    return hotaru_test::RunProgram("/usr/bin/env", args, {}, out);
  };
  fs::create_directories(dir_ / "empty");
  Touch(dir_ / "game" / "zen2data.pak");
  std::string out;
  EXPECT_EQ(run({(dir_ / "empty").string()}, &out), 2);
  EXPECT_NE(out.find("no game data here (ZEN2DATA.PAK not found)"), std::string::npos) << out;
  EXPECT_EQ(run({(dir_ / "game").string()}, &out), 1);
  EXPECT_NE(out.find("cannot start SDL video"), std::string::npos) << out;
  EXPECT_EQ(run({"--bogus"}, &out), 2);
  EXPECT_NE(out.find("unknown option --bogus"), std::string::npos) << out;
  EXPECT_EQ(run({"--help"}, &out), 0);
  EXPECT_NE(out.find("--fullscreen"), std::string::npos) << out;
  EXPECT_EQ(run({"--version"}, &out), 0);
  EXPECT_TRUE(out.starts_with("hotaru ")) << out;
  // From the build tree the demo is the one built beside it.
  EXPECT_EQ(run({"--demo"}, &out), 1);
  EXPECT_NE(out.find("cannot start SDL video"), std::string::npos) << out;
}

}  // namespace
