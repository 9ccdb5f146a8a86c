// Sound end to end: hotaru-headless with track files beside the pack and the CD device made
// to fail by the runner's switch.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/audio_files.h"
#include "support/runner_fixture.h"
#include "support/scenario_builder.h"

namespace {

using hotaru_test::ScenarioBuilder;
using Lines = std::vector<std::string>;

class SoundE2E : public hotaru_test::RunnerTest {
 protected:
  // The story with its sound 2 of 100 ms: music 3, the sound three times, waits for both.
  void PackStory() {
    AddFile("HT_VD02.P16", std::vector<std::uint8_t>(4410, 0));
    Pack(ScenarioBuilder::Assemble(R"(
      .event
      L0:
          end
      L1:
          cd_play 3
          pcm_load 2
          pcm_play 3 1
          pcm_finish
          cd_wait_end
          end
    )"));
  }
  Lines Details(const std::string& kind) const {
    Lines out;
    for (const TraceLine& line : Trace(kind)) out.push_back(line.details);
    return out;
  }
};

TEST_F(SoundE2E, ADeviceThatCannotOpenIsReportedAtStartUpAndTheGameGoesOnSilently) {
  const std::string no_cd = "ＣＤオーディオが使用できないため、音楽は演奏されません。\\n";
  const std::string in_use =
      "音楽を演奏する場合は、他のＣＤを使用しているプログラムを終了して\\n再起動してください。\\n";
  PackStory();
  struct Case {
    const char* kind;
    std::string text;
  };
  for (const Case& c : {Case{"in-use", no_cd + in_use}, Case{"other", no_cd}}) {
    SCOPED_TRACE(c.kind);
    ASSERT_EQ(Run("", {"--cd-error", c.kind}), 1) << output();
    EXPECT_EQ(Details("msgbox"),
              (Lines{"\"デバイスがオープンできません。\" \"" + c.text + "\" ok"}));
    // Played on: the sound and the end of the script.
    EXPECT_EQ(Details("wave").size(), 5u);
    EXPECT_EQ(Details("exit"), (Lines{"1"}));
  }
}

TEST_F(SoundE2E, TrackFilesBesideThePackPlayAndTheSoundEndsOnTheVirtualClock) {
  const hotaru_test::Bytes wav = hotaru_test::WavFile(500);
  std::ofstream(dir() / "Track05.WAV", std::ios::binary)
      .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
  PackStory();
  ASSERT_EQ(Run(""), 1) << output();
  const auto wave = Trace("wave");
  ASSERT_EQ(wave.size(), 5u);
  EXPECT_EQ(wave[1].details, "write 4410 loops 3");
  EXPECT_EQ(wave[2].details, "done");
  EXPECT_EQ(wave[2].ms - wave[1].ms, 300u);  // three plays of 100 ms
  const Lines cd = Details("cd");
  ASSERT_GE(cd.size(), 4u);
  EXPECT_EQ(cd[2], "play 5 6");
  EXPECT_EQ(cd.back(), "close");
}

}  // namespace
