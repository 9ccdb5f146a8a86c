// PCM sounds through the wave device on the virtual clock: a buffer plays for its length
// times its loop count, and its end reaches the window procedure as MM_WOM_DONE.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/settings.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "sound/pcm.h"
#include "sound/sound_state.h"
#include "sound_fixture.h"
#include "support/scenario_builder.h"

namespace {

using Lines = std::vector<std::string>;
using hotaru_test::Bytes;

// 10001 bytes: 10000 of them play, 226.8 ms at 44100 bytes a second.
constexpr std::size_t kFileBytes = 10001;
constexpr std::uint32_t kPlayMs = 227;

class PcmTest : public hotaru_test::SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    WriteSound();
  }
  void WriteSound() { WriteBytes(dir() / "HT_VD07.P16", Bytes(kFileBytes, 0x11)); }
  static bool Playing() { return core::GetU8(core::GameState, core::field::kPcmPlaying) != 0; }
  std::uint32_t TimeOfWave(const std::string& details) {
    for (const auto& line : TimedTraceOf("wave")) {
      if (line.details == details) return line.ms;
    }
    ADD_FAILURE() << "no wave line " << details;
    return 0;
  }
  static Lines FadeSteps() {
    Lines out;
    for (int i = 31; i >= 0; --i) {
      const int v = (65535 * i) >> 5;
      out.push_back("volume " + std::to_string(v) + " " + std::to_string(v));
    }
    return out;
  }
};

TEST_F(PcmTest, ACountedSoundPlaysItsLoopsThenTheWindowStopsIt) {
  struct Case {
    std::uint16_t loops;
    std::uint32_t ms;
  };
  for (const Case c : {Case{1, kPlayMs}, Case{3, 681}}) {
    SCOPED_TRACE(c.loops);
    Start("");
    WriteSound();
    sound::PcmLoad(7);
    EXPECT_EQ(sound::Sound.PcmSize, 10000u);
    const std::uint32_t start = GetTickCount();
    const std::size_t mark = Mark();
    sound::PcmPlay(c.loops, 40);
    EXPECT_TRUE(Playing());
    PumpUntil(start + c.ms + 100);
    EXPECT_EQ(Details("wave", mark),
              (Lines{"open 22050 1 16", "write 10000 loops " + std::to_string(c.loops), "done",
                     "reset", "close"}));
    EXPECT_EQ(TimeOfWave("done"), start + c.ms);
    EXPECT_FALSE(Playing());
    EXPECT_EQ(core::GetU16(core::GameState, core::field::kPcmLoops), c.loops);
    EXPECT_EQ(core::GetU16(core::GameState, core::field::kPcmParam), 40);
    EXPECT_EQ(core::GetU8(core::GameState, core::field::kPcmNumber), 7);
  }
}

TEST_F(PcmTest, AnEndlessSoundPlaysUntilStopped) {
  sound::PcmLoad(7);
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::PcmPlay(0, 0);
  PumpUntil(start + 5000);
  EXPECT_TRUE(Playing());
  sound::PcmStop();
  EXPECT_EQ(Details("wave", mark),
            (Lines{"open 22050 1 16", "write 10000 loops endless", "reset", "close"}));
  EXPECT_FALSE(Playing());
  EXPECT_EQ(core::GetU8(core::GameState, core::field::kPcmNumber), 7);
}

TEST_F(PcmTest, FinishFadesAnEndlessSoundIn32StepsAndRestoresTheVolume) {
  sound::PcmLoad(7);
  sound::PcmPlay(0, 0);
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::PcmFinish();
  Lines expected = FadeSteps();
  for (const char* line : {"reset", "volume 65535 65535", "reset", "close"}) {
    expected.push_back(line);
  }
  EXPECT_EQ(Details("wave", mark), expected);
  EXPECT_GE(GetTickCount(), start + 32 * 30);
  EXPECT_FALSE(Playing());
}

TEST_F(PcmTest, FinishStopsAnEndlessSoundAtVolumeZeroWithoutAFade) {
  waveOutSetVolume(nullptr, 0);
  sound::PcmLoad(7);
  sound::PcmPlay(0, 0);
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::PcmFinish();
  EXPECT_EQ(Details("wave", mark), (Lines{"reset", "volume 0 0", "reset", "close"}));
  EXPECT_LT(GetTickCount(), start + 5);
  EXPECT_FALSE(Playing());
}

TEST_F(PcmTest, FinishWaitsForACountedSoundToEnd) {
  sound::PcmLoad(7);
  const std::uint32_t start = GetTickCount();
  sound::PcmPlay(3, 0);
  sound::PcmFinish();
  EXPECT_FALSE(Playing());
  EXPECT_EQ(TimeOfWave("done"), start + 681);
  EXPECT_LE(GetTickCount(), start + 681 + 2);
}

TEST_F(PcmTest, WithPcmOffTheStateIsKeptAndTheDeviceIsNotAsked) {
  core::Settings.Pcm = 0;
  sound::PcmLoad(7);
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::PcmPlay(3, 20);
  PumpUntil(start + 2000);
  EXPECT_TRUE(Playing());
  sound::PcmFinish();  // returns at once
  EXPECT_EQ(GetTickCount(), start + 2000);
  EXPECT_TRUE(Playing());
  sound::PcmStop();
  EXPECT_FALSE(Playing());
  EXPECT_TRUE(Details("wave", mark).empty());
}

TEST_F(PcmTest, PlayWithoutALoadedSoundAndUnloadLeaveNothingPlaying) {
  const std::size_t mark = Mark();
  sound::PcmPlay(0, 0);
  EXPECT_FALSE(Playing());
  sound::PcmLoad(7);
  sound::PcmPlay(0, 0);
  sound::PcmUnload();
  EXPECT_FALSE(Playing());
  EXPECT_EQ(sound::Sound.PcmBlock, 0u);
  EXPECT_EQ(core::GetU8(core::GameState, core::field::kPcmNumber), 255);
  EXPECT_EQ(Details("wave", mark),
            (Lines{"open 22050 1 16", "write 10000 loops endless", "reset", "close"}));
}

TEST_F(PcmTest, AMissingSoundFileEndsTheProgramNamingTheFile) {
  const std::string text = ExpectFatal([] { sound::PcmLoad(9); });
  EXPECT_NE(text.find("HT_VD09.P16"), std::string::npos) << text;
}

TEST_F(PcmTest, TheSettingsDialogStopsAndRestartsARepeatingSoundButNotOnePlayedOnce) {
  struct Case {
    std::uint16_t loops;
    Lines after_on;
  };
  const Case cases[] = {
      {0, {"open 22050 1 16", "write 441000 loops endless"}},
      {1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loops);
    Start(
        "at 1000 menu 40020\nat 1010 dialog Pcm=0 ok\nat 2000 menu 40020\n"
        "at 2010 dialog Pcm=1 ok\n");
    // 10 s: still playing when the dialog opens.
    WriteBytes(dir() / "HT_VD08.P16", Bytes(441000, 0x11));
    sound::PcmLoad(8);
    sound::PcmPlay(c.loops, 0);
    PumpUntil(900);
    std::size_t mark = Mark();
    PumpUntil(1500);
    EXPECT_EQ(Details("wave", mark), (Lines{"reset", "close"}));
    mark = Mark();
    PumpUntil(2500);
    EXPECT_EQ(Details("wave", mark), c.after_on);
    EXPECT_EQ(Playing(), c.loops == 0);
  }
}

TEST_F(PcmTest, PcmSwitchedOffWhileACountedSoundIsFinishedEndsTheWait) {
  Start("at 1000 menu 40020\nat 1010 dialog Pcm=0 ok\n");
  WriteSound();
  sound::PcmLoad(7);
  PumpUntil(900);
  sound::PcmPlay(200, 0);  // 45 s
  const std::size_t mark = Mark();
  sound::PcmFinish();
  // Nothing is heard any more, and the state says so.
  EXPECT_LT(GetTickCount(), 1100u);
  EXPECT_FALSE(Playing());
  EXPECT_EQ(Details("wave", mark), (Lines{"reset", "close"}));
}

TEST_F(PcmTest, PcmSwitchedOffWhileAnEndlessSoundFadesRestoresTheVolume) {
  Start("at 1000 menu 40020\nat 1010 dialog Pcm=0 ok\n");
  WriteSound();
  sound::PcmLoad(7);
  sound::PcmPlay(0, 0);
  PumpUntil(900);
  sound::PcmFinish();
  EXPECT_FALSE(Playing());
  DWORD volume = 0;
  waveOutGetVolume(nullptr, &volume);
  EXPECT_EQ(volume, 0xFFFFFFFFu);
  EXPECT_EQ(Details("wave").back(), "volume 65535 65535");
}

TEST_F(PcmTest, RestoreStateReloadsTheSavedSoundAndPlaysItWithItsLoopCount) {
  WriteScenarioFile(1, hotaru_test::ScenarioBuilder::Assemble("L1:\n    end\n"));
  struct Case {
    std::uint16_t loops;
    bool playing;
    Lines wave;  // after the restore's own stop of the sound playing then
  };
  const Case cases[] = {
      {0, true, {"open 22050 1 16", "write 10000 loops endless"}},
      {20, true, {"open 22050 1 16", "write 10000 loops 20"}},
      {20, false, {}},  // loaded again, but it had ended: it stays silent
  };
  for (const Case& c : cases) {
    scenario::EnterScenario(1, false);
    scenario::SetEventPC(scenario::LabelOffset(1));
    sound::PcmLoad(7);
    sound::PcmPlay(c.loops, 60);
    if (!c.playing) sound::PcmStop();
    scenario::SetResumePoint();
    sound::PcmUnload();
    sound::PcmLoad(7);
    sound::PcmPlay(0, 0);  // another sound playing when the resume point is taken back

    const std::size_t mark = Mark();
    scenario::RestoreState(false);
    Lines wave = Details("wave", mark);
    // The sound playing is stopped first; only what the restore starts afterwards counts.
    const auto open = std::find(wave.begin(), wave.end(), "open 22050 1 16");
    EXPECT_EQ(Lines(open, wave.end()), c.wave) << "loops " << c.loops;
    EXPECT_EQ(core::GetU8(core::GameState, core::field::kPcmNumber), 7);
    EXPECT_EQ(Playing(), c.playing);
    if (c.playing) {
      EXPECT_EQ(core::GetU16(core::GameState, core::field::kPcmLoops), c.loops);
      EXPECT_EQ(core::GetU16(core::GameState, core::field::kPcmParam), 60);
    }
    sound::PcmUnload();
  }
}

}  // namespace
