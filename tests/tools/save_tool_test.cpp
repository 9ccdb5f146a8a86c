// hotaru-tool save: a save shown, unsealed and sealed again, and the files it refuses.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "core/game_state.h"
#include "scenario/save_sealing.h"
#include "scenario/save_slots.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"
#include "support/scenario_builder.h"

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
  for (const char* line :
       {"what it refers to is not checked: no ZEN2DATA.PAK", "saved: 1998-07-09 19:02:03",
        "progress: 4 (shown as 5)", "scenario: 12", "EventPC: 0x0345", "music: none",
        "flags set: 20=3 104=1", "seen scenarios: 12", "seen V pictures: 5",
        "seen H pictures: none", "history: 17 entries"}) {
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

TEST_F(SaveToolTest, WhatASaveRefersToIsCheckedAgainstTheGamesData) {
  // The game: scenario 12 with a short event code; the save at its first instruction shows
  // nothing but its scene's colours.
  const Bytes scenario = hotaru_test::ScenarioBuilder::Assemble("L0:\n    end\nL1:\n    end\n");
  std::filesystem::create_directories(dir() / "game");
  std::filesystem::create_directories(dir() / "other");
  ASSERT_EQ(authoring::WritePack(dir() / "game" / "ZEN2DATA.PAK", {{"012.SCN", scenario}}), "");
  ASSERT_EQ(authoring::WritePack(dir() / "other" / "ZEN2DATA.PAK", {{"013.SCN", scenario}}), "");
  Bytes plain = Plain();
  plain[field::kEventPC] = 514 & 0xFF;
  plain[field::kEventPC + 1] = 514 >> 8;
  for (std::size_t at :
       {field::kBackgroundNumber, field::kShownVPicture, field::kShownHPicture, field::kPcmNumber})
    plain[at] = 255;
  for (std::size_t slot = 0; slot < 3; ++slot) plain[field::kSlotPicture + slot] = 255;
  const auto seal = [this](const Bytes& record, const std::string& name) {
    WriteBytes(dir() / "record.bin", record);
    ASSERT_EQ(Tool({"seal", "record.bin", name}), 0);
  };
  seal(plain, "game/ZEN2_00.SAV");
  Bytes wild = plain;
  wild[field::kEventPC + 1] = 0xFF;
  seal(wild, "game/ZEN2_01.SAV");
  Bytes pictured = plain;
  pictured[field::kSlotPicture + 1] = 0x2A;
  seal(pictured, "game/ZEN2_02.SAV");

  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;
  };
  const Case cases[] = {
      // The save's own folder is the game's by default.
      {{"show", "game/ZEN2_00.SAV"}, 0, "game/ZEN2_00.SAV: a save the game loads"},
      {{"show", "game/ZEN2_01.SAV"},
       1,
       "a damaged save: EventPC 0xff02 is no instruction of 012.SCN's event code (offsets 514 "
       "to 515)"},
      {{"show", "game/ZEN2_02.SAV"}, 1, "a damaged save: its scene shows C2A.VGR"},
      {{"show", "game/ZEN2_00.SAV", "--data", "other"},
       1,
       "a damaged save: its scenario 012.SCN does not exist"},
      {{"show", "game/ZEN2_00.SAV", "--data"}, 2, "wrong number of arguments"},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(Tool(c.args, &output), c.status) << c.args[1] << ": " << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
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
