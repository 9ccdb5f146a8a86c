// The audit of scenario files: each kind of finding once, damaged files as findings, a clean
// set without any; and which files of a folder or an archive are scenario files.
#include "authoring/scn_audit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/pack_writer.h"
#include "support/platform_fixture.h"
#include "support/scenario_builder.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

authoring::ScenarioFile File(int number, const Bytes& bytes) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d.SCN", number);
  return {number, name, bytes, {}};
}

// Scenario 0 shows a message and jumps to scenario 1, which ends.
std::vector<authoring::ScenarioFile> CleanSet() {
  ScenarioBuilder first;
  first.Label(0).Code({0x20}).Label(1).Code({0x50, 0, 0x24, 1, 0}).Message(0, {0x00, 100, 0xAF});
  ScenarioBuilder second;
  second.Label(0).Code({0x20}).LabelAt(3, 0);
  return {File(0, first.Build()), File(1, second.Build())};
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

TEST(ScnAuditTest, ACleanSetHasNoFindings) {
  EXPECT_EQ(Joined(authoring::AuditScenarios(CleanSet())), "");
}

TEST(ScnAuditTest, FindsWhatTheCodeAndTheTablesGetWrong) {
  ScenarioBuilder broken;
  broken.Label(0).Code({0x55, 0x40, 0x80});  // unknown opcode; jump into the table
  broken.Label(1).Code({0x22, 7, 0x50, 9, 0x51, 3, 0x24, 9, 0});  // call, msg, message, no file
  broken.Label(2).Code({0x24, 1, 3});                             // a label of 001 into its table
  broken.Label(3).Code({0x24, 255, 0});
  broken.Label(4).Code({0x30, 1});  // runs off the end
  broken.LabelAt(7, 10).LabelAt(8, 0xFFFF);
  broken.Message(3, {0x00, 100}).MessageAt(9, 4).MessageAt(10, 0x2000);
  ScenarioBuilder cut;
  cut.Label(0).Code({0x41, 5});
  std::vector<authoring::ScenarioFile> files = CleanSet();
  files.push_back(File(2, broken.Build()));
  files.push_back(File(3, cut.Build()));
  EXPECT_EQ(
      Joined(authoring::AuditScenarios(files)),
      "002.SCN: EVENT DATA 0x0012: label 8 points to 0xFFFF, past the end of the block (534 "
      "bytes)\n"
      "002.SCN: EVENT DATA 0x0202: unknown opcode 0x55\n"
      "002.SCN: EVENT DATA 0x0203: jump to 0x0185, outside the code (0x0202 to 0x0216)\n"
      "002.SCN: EVENT DATA 0x0205: call of label 7, which points to 0x000A, outside the code\n"
      "002.SCN: EVENT DATA 0x0207: msg of message 9, which points to 0x0004, into the table\n"
      "002.SCN: EVENT DATA 0x020B: scenario to scenario 9, which has no file (009.SCN)\n"
      "002.SCN: EVENT DATA 0x020E: scenario to label 3 of 001.SCN, which points to 0x0000, outside "
      "its code\n"
      "002.SCN: EVENT DATA 0x0211: scenario to scenario 255, which has no file (255 is no "
      "scenario)\n"
      "002.SCN: EVENT DATA 0x0214: the code runs past the end of the block\n"
      "002.SCN: MESSAGE DATA 0x0016: message 10 points to 0x2000, past the end of the block (517 "
      "bytes)\n"
      "002.SCN: MESSAGE DATA 0x0203: message 3 does not end (no 0xAF before the block's end)\n"
      "003.SCN: EVENT DATA 0x0202: the instruction 0x41 is cut short by the end of the block\n");
}

TEST(ScnAuditTest, DamagedFilesAreFindings) {
  const Bytes messages = authoring::PackBlock(ScenarioBuilder().MessageBlock());
  // A file with the message block at 16 and the event block, packed as given, last: its
  // stream runs to the end of the file.
  auto with_event = [&](const Bytes& packed_event) {
    Bytes file(16, 0);
    file[2] = 1;
    file.insert(file.end(), messages.begin(), messages.end());
    file.resize((file.size() + 15) / 16 * 16, 0);
    file[0] = static_cast<std::uint8_t>(file.size() / 16);
    file[1] = static_cast<std::uint8_t>(file.size() / 16 >> 8);
    file.insert(file.end(), packed_event.begin(), packed_event.end());
    return file;
  };
  Bytes far = ScenarioBuilder().Build();
  far[0] = 0;
  far[1] = 1;  // the event block at 4096
  const std::vector<authoring::ScenarioFile> files = {
      File(4, {1, 2, 3}),
      File(5, far),
      File(6, with_event({0x58, 0x02, 0, 0})),  // 600 bytes declared, no stream
      File(7, with_event(authoring::PackBlock(Bytes(10, 0x20)))),
      File(8, with_event({0xFF, 0xFF, 0xFF, 0x7F})),
      {9, "009.SCN", {}, "cannot open 009.SCN"},
  };
  EXPECT_EQ(
      Joined(authoring::AuditScenarios(files)),
      "004.SCN: does not unpack: the header is cut short (3 bytes, 4 needed)\n"
      "005.SCN: does not unpack: EVENT DATA lies at byte 4096, past the end of the file (" +
          std::to_string(far.size()) +
          " bytes)\n"
          "006.SCN: damaged: EVENT DATA: the stream ends after 0 of 600 bytes (the rest is 0)\n"
          "006.SCN: EVENT DATA 0x0002: label 0 (the entry routine) points to 0x0000, into the "
          "table\n"
          "007.SCN: EVENT DATA is 10 bytes, too short for its table (514)\n"
          "008.SCN: does not unpack: EVENT DATA declares 2147483647 bytes; the game unpacks at "
          "most 16777216\n"
          "009.SCN: cannot be read: cannot open 009.SCN\n");
}

class ScnAuditFilesTest : public hotaru_test::PlatformTest {};

TEST_F(ScnAuditFilesTest, CollectsTheScenarioFilesOfAFolderOrAnArchive) {
  const auto set = CleanSet();
  WriteBytes(dir() / "in" / "000.SCN", set[0].bytes);
  WriteBytes(dir() / "in" / "001.scn", set[1].bytes);
  for (const char* other : {"255.SCN", "12.SCN", "0001.SCN", "notes.txt", "sub/002.SCN"})
    WriteBytes(dir() / "in" / other, {1});
  std::vector<authoring::ScenarioFile> files;
  ASSERT_EQ(authoring::CollectScenarioFiles(dir() / "in", &files), "");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "000.SCN");
  EXPECT_EQ(files[1].name, "001.scn");
  EXPECT_EQ(files[1].number, 1);
  EXPECT_EQ(files[1].bytes, set[1].bytes);

  // In an archive the first entry of a name is the one the game loads.
  authoring::PackBuildOptions options;
  options.allow_duplicate_names = true;
  ASSERT_EQ(authoring::WritePack(dir() / "D.PAK",
                                 {{"001.SCN", set[1].bytes},
                                  {"S01.VGR", {1}},
                                  {"001.SCN", {9}},
                                  {"000.SCN", set[0].bytes}},
                                 options),
            "");
  ASSERT_EQ(authoring::CollectScenarioFiles(dir() / "D.PAK", &files), "");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].bytes, set[0].bytes);
  EXPECT_EQ(files[1].bytes, set[1].bytes);

  EXPECT_NE(authoring::CollectScenarioFiles(dir() / "missing", &files), "");
  WriteBytes(dir() / "junk.pak", {1, 2, 3});
  EXPECT_NE(authoring::CollectScenarioFiles(dir() / "junk.pak", &files), "");
}

}  // namespace
