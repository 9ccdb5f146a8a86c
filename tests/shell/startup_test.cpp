// Start-up pieces in process: text comparison, settings, the reset, the exit.
#include <gtest/gtest.h>

#include <cstring>

#include "core/exit_program.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/program_identity.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "sound/sound_state.h"
#include "support/platform_fixture.h"
#include "text/font.h"
#include "text/typewriter.h"
#include "text/wave_text_scene.h"

namespace {

using hotaru_test::PlatformTest;

TEST(StrEqual, FoldsOnlyAsciiLettersAndOnlyWhenAsked) {
  struct Case {
    const char* a;
    const char* b;
    int case_sensitive;
    int equal;
  } cases[] = {
      {"ON", "ON", 1, 1},  {"on", "ON", 0, 1},
      {"On", "ON", 0, 1},  {"on", "ON", 1, 0},
      {"ONE", "ON", 0, 0}, {"", "ON", 0, 0},
      {"", "", 1, 1},      {"\xC3\xA9", "\xC3\x89", 0, 0},  // bytes of 0x80 and above never fold
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell::StrEqual(c.a, c.b, c.case_sensitive), c.equal) << c.a << " / " << c.b;
  }
}

TEST(StrLenSjis, CountsLeadBytesAsPairsAndNeverPassesTheEnd) {
  EXPECT_EQ(shell::StrLenSjis(""), 0);
  EXPECT_EQ(shell::StrLenSjis("abc"), 3);
  EXPECT_EQ(shell::StrLenSjis("\x8C\x75"
                              "a"),
            3);
  // A lead byte as the last byte counts alone instead of swallowing the terminator.
  EXPECT_EQ(shell::StrLenSjis("a\x8C"), 2);
  // The window title in UTF-8 measures its own byte length.
  EXPECT_EQ(shell::StrLenSjis(core::kWindowTitle), std::strlen(core::kWindowTitle));
}

class SettingsTest : public PlatformTest {};

TEST_F(SettingsTest, OnlyOnInAnyCaseCountsAsOn) {
  struct Case {
    const char* ini;  // null: no ini file
    std::uint16_t music, pcm, skip, mmv, low;
  } cases[] = {
      {nullptr, 1, 1, 1, 1, 0},
      {"[蛍]\nMusic=on\nPcm=On\nSkip=1\nMmv=YES\nLow=\n", 1, 1, 0, 0, 0},
      {"[蛍]\nmusic = OFF\nLOW=oN\n", 0, 1, 1, 1, 1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(ini_path());
    if (c.ini) WriteText(ini_path(), c.ini);
    shell::ReadSettings();
    EXPECT_EQ(core::Settings.Music, c.music) << (c.ini ? c.ini : "no ini");
    EXPECT_EQ(core::Settings.Pcm, c.pcm);
    EXPECT_EQ(core::Settings.Skip, c.skip);
    EXPECT_EQ(core::Settings.Mmv, c.mmv);
    EXPECT_EQ(core::Settings.Low, c.low);
  }
}

TEST_F(SettingsTest, WriteSettingsWritesAllFiveInOrderAndKeepsTheDataFolder) {
  WriteText(ini_path(), "[蛍]\nHotaruDir=/games/hotaru\n\n[other]\nx=1\n");
  core::Settings.Music = 0;
  core::Settings.Pcm = 1;
  core::Settings.Skip = 1;
  core::Settings.Mmv = 0;
  core::Settings.Low = 1;
  shell::WriteSettings();
  EXPECT_EQ(ReadText(ini_path()),
            "[蛍]\nHotaruDir=/games/hotaru\nMusic=OFF\nPcm=ON\nSkip=ON\nMmv=OFF\nLow=ON\n\n"
            "[other]\nx=1\n");
  shell::ReadSettings();
  EXPECT_EQ(core::Settings.Music, 0);
  EXPECT_EQ(core::Settings.Low, 1);
}

TEST_F(SettingsTest, SettingsThatCannotBeWrittenAreKeptForTheRunAndTheReaderIsTold) {
  // A full disk: the ini is a link to a device that refuses every byte.
  std::filesystem::create_symlink("/dev/full", ini_path());
  core::Settings.Low = 1;
  shell::WriteSettings();
  ASSERT_EQ(backend().message_boxes().size(), 1u);
  EXPECT_TRUE(backend().message_boxes()[0].text.starts_with("設定を保存できませんでした。"));
  EXPECT_EQ(backend().message_boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(core::Settings.Low, 1);
}

TEST_F(SettingsTest, AnUnreadableIniEndsTheStartWithItsReason) {
  std::filesystem::create_directory(ini_path());
  const std::string shown = ExpectFatal([] { shell::InitResources(); });
  EXPECT_TRUE(shown.starts_with("設定ファイルが読めません : ")) << shown;
  EXPECT_NE(shown.find("is a folder"), std::string::npos) << shown;
}

TEST_F(SettingsTest, ResetGameStateSetsStartValuesAndCanRunTwice) {
  core::GameState[core::field::kFlags + 5] = 9;
  shell::ResetGameState();
  shell::ResetGameState();
  EXPECT_EQ(core::GameState[core::field::kFlags + 5], 0);
  EXPECT_EQ(core::GetU8(core::GameState, core::field::kBackgroundNumber), 255);
  EXPECT_EQ(core::GetU8(core::GameState, core::field::kPcmNumber), 255);
  // 4-bit channels become v × 17: colour 1 of the first palette is 0, 5, 4.
  EXPECT_EQ(core::BasePalette1[1].peGreen, 85);
  EXPECT_EQ(core::BasePalette1[1].peBlue, 68);
  EXPECT_EQ(core::BasePalette2[3].peBlue, 204);
  EXPECT_EQ(core::BasePalette1[15].peRed, 255);
  EXPECT_EQ(core::BasePalette1[15].peFlags, PC_RESERVED);
  EXPECT_EQ(core::Screen.SavedPalette[7].peRed, 0);
  EXPECT_EQ(core::Screen.SavedPalette[7].peFlags, PC_RESERVED);
  EXPECT_EQ(core::Settings.Skip, 0);
}

// A test or a fuzz input that starts the game again in one process finds what the last run
// left in every subsystem; the reset must take all of it back.
TEST_F(SettingsTest, ResetGameStateTakesBackWhatARunLeftInEverySubsystem) {
  core::Input.InputEvents = core::kInputDecide;
  core::Input.RandomState = 0x1234;
  sound::Sound.PcmBlock = 7;
  sound::Sound.CdPlaying = 2;
  sound::Sound.CdPollCountdown = 9;
  core::Screen.PaletteState = 3;
  core::Screen.BackgroundBlock = 7;
  core::Screen.PlainPalette[3].peRed = 200;
  core::Screen.UpdateRect = RECT{0, 0, 640, 400};
  text::Text.FontData = 7;
  text::Text.Typewriter.active = true;
  text::Text.Typewriter.offset = 99;
  text::Text.WaveMotions[1] = text::WaveMotion{90, 128};
  core::Scenario.ScriptStop = 2;
  core::Scenario.SkipAllowed = 1;
  core::Scenario.ResumeValid = 1;
  core::Scenario.EventData = 7;
  core::Scenario.MessageData = 7;
  core::SetU8(core::GameState, core::field::kCurrentScenario, 3);
  core::SaveImage[core::field::kFlags + 127] = 1;
  core::Phase.GamePhase = 4;
  core::Input.SkipMode = 1;
  core::Window.Exiting = true;
  core::Window.ClientWidth = 1280;

  shell::ResetGameState();

  EXPECT_EQ(core::Input.InputEvents, 0);
  EXPECT_EQ(core::Input.RandomState, 0);
  EXPECT_EQ(sound::Sound.PcmBlock, 0u);
  EXPECT_EQ(sound::Sound.CdPlaying, 0u);
  EXPECT_EQ(sound::Sound.CdPollCountdown, 0);
  EXPECT_EQ(core::Screen.PaletteState, 0);
  EXPECT_EQ(core::Screen.BackgroundBlock, 0u);
  EXPECT_EQ(core::Screen.PlainPalette[3].peRed, 0);
  EXPECT_EQ(core::Screen.UpdateRect.left, 640);
  EXPECT_EQ(core::Screen.UpdateRect.bottom, 0);
  EXPECT_EQ(text::Text.FontData, 0u);
  EXPECT_FALSE(text::Text.Typewriter.active);
  EXPECT_EQ(text::Text.Typewriter.offset, 0u);
  EXPECT_EQ(text::Text.WaveMotions[1].phase, 0);
  EXPECT_EQ(text::Text.WaveMotions[1].amplitude, 0);
  EXPECT_EQ(core::Scenario.ScriptStop, 0);
  EXPECT_EQ(core::Scenario.SkipAllowed, 0);
  EXPECT_EQ(core::Scenario.ResumeValid, 0);
  EXPECT_EQ(core::Scenario.EventData, 0u);
  EXPECT_EQ(core::Scenario.MessageData, 0u);
  EXPECT_EQ(core::GetU8(core::GameState, core::field::kCurrentScenario), 255);
  EXPECT_EQ(core::SaveImage[core::field::kFlags + 127], 0);
  EXPECT_EQ(core::Phase.GamePhase, 0);
  EXPECT_EQ(core::Input.SkipMode, 0);
  EXPECT_FALSE(core::Window.Exiting);
  EXPECT_EQ(core::Window.ClientWidth, 640);
}

TEST_F(SettingsTest, ExitProgramShowsItsMessageReleasesEverythingAndEndsWithOne) {
  text::Text.FontData = core::MemAlloc(72, "KNJ_ALL.KNJ");
  core::MemAlloc(10, "kept by nobody");
  std::string shown = ExpectFatal([] { core::ExitProgram("メモリ不足です"); });
  EXPECT_EQ(shown, "メモリ不足です");
  EXPECT_EQ(backend().message_boxes().back().caption, "終了します");
  EXPECT_EQ(backend().message_boxes().back().type, static_cast<UINT>(MB_ICONHAND));
  EXPECT_EQ(text::Text.FontData, 0u);
  EXPECT_EQ(core::Memory.MemBlockCount, 1);
  EXPECT_EQ(backend().trace_lines().back(), "0 exit 1");
}

TEST_F(SettingsTest, ExitProgramWithoutMessageShowsNoBox) {
  EXPECT_EQ(ExpectFatal([] { core::ExitProgram(nullptr); }), "");
}

}  // namespace
