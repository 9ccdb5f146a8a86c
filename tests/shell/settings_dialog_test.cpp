// The settings dialog under scripted answers.
#include <gtest/gtest.h>

#include <string>

#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "support/platform_fixture.h"

namespace {

class SettingsDialogTest : public hotaru_test::PlatformTest {
 protected:
  void Start(const std::string& script) {
    RestartBackend(platform::headless::Options{}, script);
    ASSERT_TRUE(OpenWindow());
    core::Settings.Music = core::Settings.Pcm = core::Settings.Skip = core::Settings.Mmv = 1;
    core::Settings.Low = 0;
  }
  void PumpUntil(DWORD ms) {
    while (GetTickCount() < ms) core::PumpMessage();
  }
  bool TraceHas(const std::string& line) {
    for (const auto& l : backend().trace_lines()) {
      if (l == line) return true;
    }
    return false;
  }
};

TEST_F(SettingsDialogTest, OkTakesTheBoxesAndWritesAllFiveSettings) {
  WriteText(ini_path(), "[蛍]\nHotaruDir=/data\n");
  Start("at 10 menu 40020\nat 50 dialog Music=0 Mmv=0 ok\n");
  PumpUntil(60);
  EXPECT_EQ(core::Settings.Music, 0);
  EXPECT_EQ(core::Settings.Pcm, 1);
  EXPECT_EQ(core::Settings.Skip, 1);
  EXPECT_EQ(core::Settings.Mmv, 0);
  EXPECT_EQ(ReadText(ini_path()),
            "[蛍]\nHotaruDir=/data\nMusic=OFF\nPcm=ON\nSkip=ON\nMmv=OFF\nLow=OFF\n");
  EXPECT_TRUE(TraceHas("10 dialog open \"環境設定\""));
  EXPECT_TRUE(TraceHas("50 dialog close 0 Music=0 Pcm=1 Skip=1 Mmv=0"));
  EXPECT_EQ(core::Window.DialogDepth, 0);
}

TEST_F(SettingsDialogTest, CancelKeepsTheValuesButStillRewritesTheFile) {
  Start("at 10 menu 40020\nat 20 dialog Music=0 Pcm=0 cancel\n");
  PumpUntil(30);
  EXPECT_EQ(core::Settings.Music, 1);
  EXPECT_EQ(core::Settings.Pcm, 1);
  EXPECT_NE(ReadText(ini_path()).find("Music=ON"), std::string::npos);
}

TEST_F(SettingsDialogTest, TheGameWaitsWhileTheDialogIsOpenAndInputToItIsDropped) {
  Start("at 10 menu 40020\nat 20 click\nat 30 key enter\nat 500 dialog ok\n");
  const DWORD start = GetTickCount();
  core::Wait(2);  // a 20 ms wait of the game, interrupted by the dialog for half a second
  EXPECT_GE(GetTickCount() - start, 500u);
  EXPECT_EQ(core::Input.InputEvents, 0);
}

TEST_F(SettingsDialogTest, NoScriptedAnswerCancels) {
  Start("at 10 menu 40020\n");
  PumpUntil(20);
  EXPECT_TRUE(TraceHas("10 dialog no scripted answer: cancel"));
  EXPECT_EQ(core::Settings.Music, 1);
}

}  // namespace
