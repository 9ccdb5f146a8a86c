// hotaru-tool save: a save shown, unsealed and sealed again, and the files it refuses.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace field = core::field;

class SaveToolTest : public hotaru_test::PlatformTest {
 protected:
  int Tool(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::vector<std::string> all{"save"};
    all.insert(all.end(), args.begin(), args.end());
    std::string ignored;
    return hotaru_test::RunProgram(HOTARU_TOOL_PATH, all, dir(), output ? output : &ignored);
  }
  // A plain record: scenario 12 at 0x0345, flags 20 = 3 and 104 = 1, scenario 12 and "V"
  // picture 5 seen, 17 history entries, dated, progress count 4.
  static Bytes Plain() {
    std::array<std::uint8_t, core::kGameStateSize> r{};
    r[field::kCurrentScenario] = 12;
    r[field::kEventPC] = 0x45;
    r[field::kEventPC + 1] = 0x03;
    r[field::kCdTrack] = 255;
    r[field::kFlags + 20] = 3;
    r[field::kFlags + 104] = 1;
    r[field::kFlags + 41] = 0x10;
    r[field::kFlags + 70] = 0x20;
    r[field::kHistoryCount] = 17;
    r[166] = 1998 & 0xFF;
    r[167] = 1998 >> 8;
    r[168] = 7;
    r[169] = 9;
    r[170] = 19;
    r[171] = 2;
    r[172] = 3;
    r[173] = 4;
    return Bytes(r.begin(), r.end());
  }
};

TEST_F(SaveToolTest, ARecordSealedShowsWhatItHoldsAndUnsealsBackUnchanged) {
  WriteBytes(dir() / "plain.bin", Plain());
  ASSERT_EQ(Tool({"seal", "plain.bin", "ZEN2_00.SAV"}), 0);
  Bytes file = ReadBytes(dir() / "ZEN2_00.SAV");
  ASSERT_EQ(file.size(), core::kGameStateSize);
  ASSERT_TRUE(scenario::UnsealSaveRecord(file)) << "the game reads what the tool seals";

  std::string shown;
  ASSERT_EQ(Tool({"show", "ZEN2_00.SAV"}, &shown), 0) << shown;
  for (const char* line : {"a save the game loads", "saved: 1998-07-09 19:02:03",
                           "progress: 4 (shown as 5)", "scenario: 12", "EventPC: 0x0345",
                           "music: none", "flags set: 20=3 104=1", "seen scenarios: 12",
                           "seen V pictures: 5", "seen H pictures: none", "history: 17 entries"}) {
    EXPECT_NE(shown.find(line), std::string::npos) << line << " in\n" << shown;
  }

  ASSERT_EQ(Tool({"unseal", "ZEN2_00.SAV", "back.bin"}), 0);
  const Bytes back = ReadBytes(dir() / "back.bin");
  const Bytes plain = Plain();
  ASSERT_EQ(back.size(), plain.size());
  for (std::size_t i = 37; i < plain.size() - 1; ++i) {
    if (i == field::kChecksum || i == field::kChecksum + 1) continue;
    ASSERT_EQ(back[i], plain[i]) << "byte " << i;
  }
}

TEST_F(SaveToolTest, WrongSizesBadChecksumsAndClearedSlotsAreSaidPlainly) {
  WriteBytes(dir() / "short.bin", Bytes(4205, 0));
  WriteBytes(dir() / "zeros.sav", Bytes(4206, 0));
  Bytes cleared = Plain();
  cleared[174] = 1;
  WriteBytes(dir() / "cleared.bin", cleared);
  ASSERT_EQ(Tool({"seal", "cleared.bin", "cleared.sav"}), 0);
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {{"show", "short.bin"}, 1, "4205 bytes; a save file and its record are 4206 bytes"},
      {{"seal", "short.bin", "x.sav"}, 1, "4205 bytes"},
      {{"unseal", "zeros.sav", "x.bin"}, 1, "the checksum does not hold"},
      {{"show", "zeros.sav"}, 1, "the checksum does not hold"},
      {{"show", "missing.sav"}, 1, "missing.sav"},
      {{"show", "cleared.sav"}, 1, "a cleared slot"},
      {{"show"}, 2, "wrong number of arguments"},
      {{"mend", "x"}, 2, "unknown subcommand 'mend'"},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(Tool(c.args, &output), c.status) << c.args[0] << ": " << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
  }
  EXPECT_TRUE(ReadBytes(dir() / "x.bin").empty()) << "nothing written for a damaged file";
}

}  // namespace
