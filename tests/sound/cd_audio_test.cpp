// CD music on the virtual clock: track files in the data folder play for their length.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "core/format_text.h"
#include "core/game_state.h"
#include "core/settings.h"
#include "sound/sound_state.h"
#include "sound_fixture.h"
#include "support/scenario_builder.h"
#include "visuals/background_table.h"

namespace {

using Lines = std::vector<std::string>;

class CdAudioTest : public hotaru_test::SoundTest {
 protected:
  std::uint8_t Track() { return core::GetU8(core::GameState, core::field::kCdTrack); }
  std::uint32_t TimeOf(const std::string& details, std::uint32_t from) {
    for (const auto& line : TimedTraceOf("cd")) {
      if (line.ms >= from && line.details == details) return line.ms;
    }
    ADD_FAILURE() << "no cd line " << details;
    return 0;
  }
};

TEST_F(CdAudioTest, TheDeviceOpensInTracksFormatWithoutAnyTrackFile) {
  EXPECT_EQ(Details("cd"), (Lines{"open \"cdaudio\" device 1", "set tmsf"}));
  EXPECT_EQ(sound::Sound.CdState, 4u);
  EXPECT_EQ(Track(), 255);
  EXPECT_TRUE(backend().message_boxes().empty());
}

TEST_F(CdAudioTest, ARepeatingTrackRestartsWhenItHasPlayedOut) {
  WriteBytes(dir() / "track05.wav", hotaru_test::WavFile(1000));
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::CdPlay(3);
  PumpUntil(start + 2500);
  const Lines cd = Details("cd", mark);
  ASSERT_GE(cd.size(), 5u);
  EXPECT_EQ(Lines(cd.begin(), cd.begin() + 5),
            (Lines{"play 5 6", "status mode play", "status mode stop", "stop", "play 5 6"}));
  // Polled every 10 timer ticks: the restart comes at most 600 ms and a tick after the end.
  const std::uint32_t restart = TimeOf("play 5 6", start + 1);
  EXPECT_GE(restart, start + 1000);
  EXPECT_LE(restart, start + 1000 + 660);
  EXPECT_EQ(sound::Sound.CdPlaying, 1u);
  EXPECT_EQ(Track(), 3);
}

TEST_F(CdAudioTest, TheSameMusicAgainLeavesTheTrackRunning) {
  WriteBytes(dir() / "track05.wav", hotaru_test::WavFile(5000));
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::CdPlay(3);
  PumpUntil(start + 100);
  sound::CdPlay(3);
  EXPECT_EQ(Details("cd", mark), (Lines{"play 5 6"}));
}

TEST_F(CdAudioTest, MusicPlayedOnceIsWaitedForToItsEndAndNotRestarted) {
  struct Case {
    const char* name;
    void (*play)();
    const char* file;
    const char* range;
  };
  const Case cases[] = {
      {"music 0 plays once", [] { sound::CdPlay(0); }, "track02.wav", "play 2 3"},
      {"CdPlayOnce", [] { sound::CdPlayOnce(4); }, "track06.wav", "play 6 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start("");
    WriteBytes(dir() / c.file, hotaru_test::WavFile(1000));
    const std::uint32_t start = GetTickCount();
    const std::size_t mark = Mark();
    c.play();
    EXPECT_EQ(sound::Sound.CdLoop, 0);
    PumpUntil(start + 1800);  // the poll leaves a track played once alone
    sound::CdWaitEnd();
    const Lines cd = Details("cd", mark);
    ASSERT_FALSE(cd.empty());
    EXPECT_EQ(cd.front(), c.range);
    EXPECT_EQ(std::count(cd.begin(), cd.end(), std::string(c.range)), 1);
    EXPECT_EQ(cd.back(), "stop");
    EXPECT_EQ(sound::Sound.CdPlaying, 0u);
    EXPECT_EQ(Track(), 255);
  }
}

TEST_F(CdAudioTest, WaitEndWaitsInStepsOf600MsForATrackPlayedOnce) {
  WriteBytes(dir() / "track02.wav", hotaru_test::WavFile(1000));
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::CdPlay(0);
  sound::CdWaitEnd();
  EXPECT_EQ(Details("cd", mark), (Lines{"play 2 3", "status mode play", "status mode play",
                                        "status mode stop", "stop"}));
  EXPECT_GE(GetTickCount(), start + 1200);
  EXPECT_LT(GetTickCount(), start + 1300);
}

TEST_F(CdAudioTest, WaitEndStopsARepeatingTrackAtOnce) {
  WriteBytes(dir() / "track05.wav", hotaru_test::WavFile(5000));
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::CdPlay(3);
  sound::CdWaitEnd();
  EXPECT_EQ(Details("cd", mark), (Lines{"play 5 6", "stop"}));
  EXPECT_LT(GetTickCount(), start + 5);
}

TEST_F(CdAudioTest, TrackFilesAreFoundByTheNamesRippersGive) {
  struct Case {
    const char* file;
    bool found;
  };
  const Case cases[] = {
      {"track05.wav", true},    {"TRACK05.WAV", true},      {"Track 5.wav", true},
      {"cd/track05.wav", true}, {"CD/Track 5.Wav", true},   {"track5.wav", false},
      {"track06.wav", false},   {"track05.wav.txt", false}, {"music/track05.wav", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Start("");
    std::filesystem::remove_all(dir() / "cd");
    std::filesystem::remove_all(dir() / "CD");
    std::filesystem::remove_all(dir() / "music");
    for (const auto& entry : std::filesystem::directory_iterator(dir())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("track", 0) == 0 || name.rfind("TRACK", 0) == 0 ||
          name.rfind("Track", 0) == 0) {
        std::filesystem::remove(entry.path());
      }
    }
    std::filesystem::create_directories((dir() / c.file).parent_path());
    WriteBytes(dir() / c.file, hotaru_test::WavFile(500));
    const std::size_t mark = Mark();
    sound::CdPlay(3);
    EXPECT_EQ(Details("cd", mark), (Lines{c.found ? "play 5 6" : "play 5 6 refused"}));
    EXPECT_EQ(sound::Sound.CdPlaying, c.found ? 1u : 0u);
  }
}

TEST_F(CdAudioTest, ATrackThatIsNoGoodAudioFileIsRefusedLikeAMissingOne) {
  // A WAV file's format chunk: channels at byte 22, rate at 24, block align at 32, bits at 34.
  auto with = [](std::size_t offset, std::uint8_t value, std::size_t width) {
    hotaru_test::Bytes wav = hotaru_test::WavFile(500);
    for (std::size_t i = 0; i < width; ++i) wav[offset + i] = i == 0 ? value : 0;
    return wav;
  };
  auto cut = [](std::size_t size) {
    hotaru_test::Bytes wav = hotaru_test::WavFile(500);
    wav.resize(size);
    return wav;
  };
  const struct {
    const char* what;
    hotaru_test::Bytes bytes;
  } cases[] = {
      {"no channels", with(22, 0, 2)},          {"no sample rate", with(24, 0, 4)},
      {"no block alignment", with(32, 0, 2)},   {"no sample size", with(34, 0, 2)},
      {"cut inside its format chunk", cut(30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start("");
    WriteBytes(dir() / "track05.wav", c.bytes);
    const std::size_t mark = Mark();
    sound::CdPlay(3);
    EXPECT_EQ(Details("cd", mark), (Lines{"play 5 6 refused"}));
  }
  // A long chunk before the format chunk (a ripper's tags) is stepped over, not refused.
  {
    Start("");
    hotaru_test::Bytes wav = hotaru_test::WavFile(500);
    hotaru_test::Bytes tags = {'L', 'I', 'S', 'T', 0x88, 0x13, 0, 0};  // 5000 bytes follow
    tags.resize(tags.size() + 5000, 0);
    wav.insert(wav.begin() + 12, tags.begin(), tags.end());
    WriteBytes(dir() / "track05.wav", wav);
    const std::size_t mark = Mark();
    sound::CdPlay(3);
    EXPECT_EQ(Details("cd", mark), (Lines{"play 5 6"}));
  }
  // A FIFO with a track's name neither blocks nor counts; a good file under another of the
  // track's names is still found.
  Start("");
  std::filesystem::remove(dir() / "track05.wav");
  ASSERT_EQ(::mkfifo((dir() / "track05.ogg").c_str(), 0600), 0);
  WriteBytes(dir() / "track 5.wav", hotaru_test::WavFile(500));
  const std::size_t mark = Mark();
  sound::CdPlay(3);
  EXPECT_EQ(Details("cd", mark), (Lines{"play 5 6"}));
}

TEST_F(CdAudioTest, AMissingTrackIsRefusedSilentlyAndTriedAgainNextTime) {
  const std::size_t mark = Mark();
  sound::CdPlay(4);
  EXPECT_EQ(Details("cd", mark), (Lines{"play 6 7 refused"}));
  EXPECT_EQ(sound::Sound.CdPlaying, 0u);
  EXPECT_EQ(Track(), 4);
  EXPECT_TRUE(backend().message_boxes().empty());
  WriteBytes(dir() / "track06.wav", hotaru_test::WavFile(500));
  sound::CdPlay(4);
  EXPECT_EQ(Details("cd", mark), (Lines{"play 6 7 refused", "play 6 7"}));
  EXPECT_EQ(sound::Sound.CdPlaying, 1u);
}

TEST_F(CdAudioTest, FadeOutLowersTheVolumeIn32StepsThenStopsAndRestoresIt) {
  WriteBytes(dir() / "track05.wav", hotaru_test::WavFile(5000));
  sound::CdPlay(3);
  sound::CdMarkFade();
  EXPECT_EQ(sound::Sound.CdPlaying, 2u);
  const std::uint32_t start = GetTickCount();
  const std::size_t mark = Mark();
  sound::CdFadeOut();
  Lines expected;
  for (int i = 31; i >= 0; --i) {
    const int v = (65535 * i) >> 5;
    expected.push_back("volume " + std::to_string(v) + " " + std::to_string(v));
  }
  expected.push_back("stop");
  expected.push_back("volume 65535 65535");
  EXPECT_EQ(Details("cd", mark), expected);
  // Each step waits 30 ms.
  EXPECT_GE(GetTickCount(), start + 32 * 30);
  EXPECT_LT(GetTickCount(), start + 32 * 30 + 50);
  EXPECT_EQ(sound::Sound.CdPlaying, 0u);
  EXPECT_EQ(Track(), 255);
}

TEST_F(CdAudioTest, WithMusicOffPlayIsLogicalAndTheDeviceIsNotAsked) {
  core::Settings.Music = 0;
  const std::size_t mark = Mark();
  sound::CdPlay(4);
  EXPECT_EQ(sound::Sound.CdPlaying, 1u);
  EXPECT_EQ(Track(), 4);
  sound::CdMarkFade();
  sound::CdFadeOut();
  EXPECT_TRUE(Details("cd", mark).empty());
  EXPECT_EQ(sound::Sound.CdPlaying, 0u);
}

TEST_F(CdAudioTest, TheSettingsDialogSwitchesMusicOffAndOnAgainWithTheLogicalTrack) {
  WriteBytes(dir() / "track06.wav", hotaru_test::WavFile(5000));
  Start(
      "at 1000 menu 40020\nat 1010 dialog Music=0 ok\nat 2000 menu 40020\n"
      "at 2010 dialog Music=1 ok\n");
  sound::CdPlay(4);
  std::size_t mark = Mark();
  PumpUntil(1500);
  EXPECT_EQ(Details("cd", mark, false), (Lines{"stop"}));
  EXPECT_EQ(sound::Sound.CdPlaying, 1u);
  EXPECT_EQ(Track(), 4);
  mark = Mark();
  PumpUntil(2500);
  EXPECT_EQ(Details("cd", mark, false), (Lines{"play 6 7"}));
  EXPECT_EQ(sound::Sound.CdPlaying, 1u);
}

TEST_F(CdAudioTest, MusicSwitchedOnWithAFadePendingKeepsTheFadeForTheSceneChange) {
  WriteBytes(dir() / "track05.wav", hotaru_test::WavFile(5000));
  Start("at 1000 menu 40020\nat 1010 dialog Music=1 ok\n");
  core::Settings.Music = 0;
  sound::CdPlay(3);
  sound::CdMarkFade();
  const std::size_t before = Mark();
  PumpUntil(1500);
  EXPECT_EQ(Details("cd", before).front(), "play 5 6");
  // Heard and marked: the next scene change fades it out and plays the queued music.
  EXPECT_EQ(sound::Sound.CdPlaying, 2u);
  const std::size_t mark = Mark();
  sound::CdFadeOut();
  EXPECT_EQ(Details("cd", mark).size(), 34u);
  EXPECT_EQ(sound::Sound.CdPlaying, 0u);
}

class CdDeviceFailureTest : public hotaru_test::SoundTest {
 protected:
  void SetUp() override { PlatformTest::SetUp(); }
};

TEST_F(CdDeviceFailureTest, ADeviceThatCannotOpenIsReportedOnceAndMusicPlaysLogically) {
  const char* no_cd = "ＣＤオーディオが使用できないため、音楽は演奏されません。\n";
  struct Case {
    MCIERROR error;
    std::string text;
  };
  const Case cases[] = {
      {MCIERR_DEVICE_OPEN, std::string(no_cd) + "音楽を演奏する場合は、他のＣＤを使用しているプログ"
                                                "ラムを終了して\n再起動してください。\n"},
      {MCIERR_MUST_USE_SHAREABLE,
       std::string(no_cd) + "音楽を演奏する場合は、他のＣＤを使用しているプログラムを終了して\n再起"
                            "動してください。\n"},
      {MCIERR_HARDWARE, no_cd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    platform::headless::Options options;
    options.cd_open_error = c.error;
    Start("", options);
    ASSERT_EQ(backend().message_boxes().size(), 1u);
    EXPECT_EQ(backend().message_boxes()[0].caption, "デバイスがオープンできません。");
    EXPECT_EQ(backend().message_boxes()[0].text, c.text);
    EXPECT_EQ(backend().message_boxes()[0].type, MB_ICONHAND);
    EXPECT_EQ(sound::Sound.CdState, 0u);
    // Every play retries the open silently and plays logically while it fails.
    sound::CdPlay(3);
    EXPECT_EQ(backend().message_boxes().size(), 1u);
    EXPECT_EQ(sound::Sound.CdPlaying, 1u);
    const Lines cd = Details("cd");
    EXPECT_EQ(cd.size(), 2u);
    EXPECT_EQ(cd.back(), "open \"cdaudio\" error " + std::to_string(c.error));
  }
}

}  // namespace

namespace {

// The message text's scene change: a fade marked by the script happens there, and the
// music queued for the scene starts after it.
TEST_F(CdAudioTest, ASceneChangeFadesTheMarkedMusicAndPlaysTheQueuedOne) {
  const authoring::PictureImage image{8, 8, std::vector<std::uint8_t>(64, 2)};
  hotaru_test::Bytes picture;
  ASSERT_EQ(authoring::BuildPictureFile(image, authoring::PictureOptions{}, &picture), "");
  WriteBytes(dir() / core::FormatString("S%02d.VGR", visuals::BackgroundRecord(1)[0]), picture);
  WriteBytes(dir() / "track05.wav", hotaru_test::WavFile(20000));
  WriteBytes(dir() / "track06.wav", hotaru_test::WavFile(20000));
  WriteScenarioFile(1, hotaru_test::ScenarioBuilder::Assemble(R"(
    .event
    L0:
        end
    L1:
        cd_play 3
        cd_mark_fade
        cd_queue 4
        msg "{bg_always:1,255,255}"
        end
  )"));
  const std::size_t mark = Mark();
  RunLabel(1, 1);
  Lines expected = {"play 5 6"};
  for (int i = 31; i >= 0; --i) {
    const int v = (65535 * i) >> 5;
    expected.push_back("volume " + std::to_string(v) + " " + std::to_string(v));
  }
  for (const char* line : {"stop", "volume 65535 65535", "play 6 7"}) expected.push_back(line);
  EXPECT_EQ(Details("cd", mark, false), expected);
  EXPECT_EQ(sound::Sound.CdPlaying, 1u);
  EXPECT_EQ(Track(), 4);
  EXPECT_EQ(Flag(100), 0);
}

}  // namespace
