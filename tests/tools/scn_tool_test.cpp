// hotaru-tool scn, run as a person runs it: assemble a story, disassemble it and assemble it
// again, audit folders and archives, measure the coverage of a story, and the tables of the
// language reference.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "authoring/scn_file.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"
#include "support/scenario_builder.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

class ScnToolTest : public hotaru_test::PlatformTest {
 protected:
  int Tool(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::string ignored;
    std::vector<std::string> all = {"scn"};
    all.insert(all.end(), args.begin(), args.end());
    return hotaru_test::RunProgram(HOTARU_TOOL_PATH, all, dir(), output ? output : &ignored);
  }

  authoring::ScenarioBlocks Unpacked(const std::string& name) {
    authoring::ScenarioBlocks blocks;
    std::vector<std::string> warnings;
    EXPECT_EQ(authoring::UnpackScenarioFile(ReadBytes(dir() / name), &blocks, &warnings), "")
        << name;
    EXPECT_TRUE(warnings.empty()) << name;
    return blocks;
  }

  bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
};

TEST_F(ScnToolTest, AssemblesDisassemblesAndAssemblesTheSameBlocksAgain) {
  WriteText(dir() / "small.tbl", "28=０\n100=あ\n175=れ\n4000=蛍\n");
  WriteText(dir() / "story.scn",
            "L0: end\n"
            "L1:\n"
            "    bg 3\n"
            "    msg \"あれ{wait_line}{nl}\"\n"
            "        \"蛍{bg:2}０{wait_page}\"\n"
            "    jne 5 0 L1\n"
            "    end\n");
  ASSERT_EQ(Tool({"asm", "story.scn", "001.SCN", "--charset", "small.tbl"}), 0);
  ASSERT_EQ(Tool({"disasm", "001.SCN", "--charset", "small.tbl", "-o", "back.scn"}), 0);
  const std::string back = ReadText(dir() / "back.scn");
  EXPECT_TRUE(Has(back, "    msg 0  ; あれ{wait_line}{nl}蛍{bg:2}０{wait_page}\n    jne 5 0 L1\n"))
      << back;
  EXPECT_TRUE(Has(back, "M0:\n    \"あれ{wait_line}{nl}\"\n    \"蛍{bg:2}０{wait_page}\"\n"))
      << back;
  ASSERT_EQ(Tool({"asm", "back.scn", "again.SCN", "--charset", "small.tbl"}), 0);
  const auto first = Unpacked("001.SCN"), again = Unpacked("again.SCN");
  EXPECT_EQ(again.event, first.event);
  EXPECT_EQ(again.messages, first.messages);

  // Without the table, to standard output: glyphs by number, the same blocks again.
  std::string plain;
  ASSERT_EQ(Tool({"disasm", "001.SCN"}, &plain), 0);
  EXPECT_TRUE(Has(plain, "    \"<g100><g175>{wait_line}{nl}\"\n")) << plain;
  WriteText(dir() / "plain.scn", plain);
  ASSERT_EQ(Tool({"asm", "plain.scn", "plain.SCN"}), 0);
  EXPECT_EQ(Unpacked("plain.SCN").messages, first.messages);
}

TEST_F(ScnToolTest, BadSourceAndBadFilesFailWithTheirReason) {
  WriteText(dir() / "bad.scn", "L0: end\nfrob 1\nmsg \"x\"\n");
  std::string output;
  EXPECT_EQ(Tool({"asm", "bad.scn", "bad.SCN"}, &output), 1);
  EXPECT_EQ(output,
            "bad.scn:2:1: unknown instruction 'frob'\n"
            "bad.scn:3:6: 'x' (U+0078) is not in the charset (no charset table was given)\n");
  EXPECT_FALSE(std::filesystem::exists(dir() / "bad.SCN"));

  WriteBytes(dir() / "short.SCN", {1, 0});
  EXPECT_EQ(Tool({"disasm", "short.SCN"}, &output), 1);
  EXPECT_TRUE(Has(output, "short.SCN: does not unpack: the header is cut short")) << output;

  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case usage[] = {
      {{}, "missing subcommand"},
      {{"frob"}, "unknown subcommand 'frob'"},
      {{"asm", "bad.scn"}, "asm takes SOURCE OUT.SCN"},
      {{"disasm", "a", "b"}, "disasm takes one FILE.SCN"},
      {{"disasm", "a", "--charset"}, "--charset needs a value"},
      {{"audit"}, "audit takes one PATH"},
      {{"coverage"}, "coverage takes one PATH"},
      {{"coverage", "data", "--all"}, "unexpected option '--all'"},
  };
  for (const auto& c : usage) {
    EXPECT_EQ(Tool(c.args, &output), 2) << c.message;
    EXPECT_TRUE(Has(output, c.message)) << output;
  }
}

TEST_F(ScnToolTest, AuditPrintsOneLinePerFindingAndExitsWithOneForAny) {
  ScenarioBuilder start, next;
  start.Label(0).Code({0x20}).Label(1).Code({0x24, 1, 0});
  next.Label(0).Code({0x20});
  WriteBytes(dir() / "data" / "000.SCN", start.Build());
  WriteBytes(dir() / "data" / "001.SCN", next.Build());
  std::string output;
  EXPECT_EQ(Tool({"audit", "data"}, &output), 0);
  EXPECT_EQ(output, "");

  ScenarioBuilder broken;
  broken.Label(0).Code({0x24, 7, 0, 0x99});
  Bytes cut = next.Build();
  cut.resize(cut.size() - 20);
  WriteBytes(dir() / "data" / "002.scn", broken.Build());
  WriteBytes(dir() / "data" / "003.SCN", cut);
  WriteBytes(dir() / "data" / "004.SCN", {0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(Tool({"audit", "data"}, &output), 1);
  const std::string expected =
      "002.scn: EVENT DATA 0x0202: scenario to scenario 7, which has no file (007.SCN)\n"
      "003.SCN: damaged: MESSAGE DATA: the stream ends after";
  EXPECT_TRUE(output.starts_with(expected)) << output;
  EXPECT_TRUE(Has(output,
                  "\n004.SCN: does not unpack: EVENT DATA lies at byte 1048560, past the end of "
                  "the file (4 bytes)\n"))
      << output;

  // The same files packed.
  std::vector<authoring::PackSource> sources;
  for (const char* name : {"000.SCN", "001.SCN", "002.scn", "003.SCN", "004.SCN"})
    sources.push_back({name, ReadBytes(dir() / "data" / name)});
  ASSERT_EQ(authoring::WritePack(dir() / "ZEN2DATA.PAK", sources), "");
  std::string packed;
  EXPECT_EQ(Tool({"audit", "ZEN2DATA.PAK"}, &packed), 1);
  EXPECT_TRUE(packed.starts_with("002.SCN: EVENT DATA 0x0202: scenario to scenario 7")) << packed;
  EXPECT_EQ(packed.substr(packed.find('\n')), output.substr(output.find('\n')));

  std::filesystem::create_directories(dir() / "empty");
  EXPECT_EQ(Tool({"audit", "empty"}, &output), 1);
  EXPECT_TRUE(Has(output, "no NNN.SCN files in empty")) << output;
  EXPECT_EQ(Tool({"audit", "missing.pak"}, &output), 1);
}

// A story that reaches everything, written from the tables: every instruction once with
// operands of 0 (those that end the flow under labels it calls), every transition,
// scene-clearing effect, show style, colour effect and place, and one message with every
// text code.
std::string StoryReachingEverything() {
  std::string code = "L0: end\nL1:\n", called;
  for (const auto& row : core::OpcodeTable()) {
    std::string line(row.mnemonic);
    if (row.form == core::OpcodeForm::kSubOperation) {
      line += " 1 M1 0 0";  // a wave scene: its text passes over most codes
    } else if (row.form == core::OpcodeForm::kChoice) {
      line += " M0 M0 0";
    } else {
      for (char letter : row.layout) line += letter == 'm' ? " M0" : letter == 'L' ? " 1" : " 0";
    }
    const auto op = static_cast<core::Op>(row.number);
    if (op == core::Op::End || op == core::Op::Resume || op == core::Op::EnterScenario) {
      const std::string name = "ends_" + std::string(row.mnemonic);
      code += "    call " + name + "\n";
      called += name + ": " + line + "\n";
    } else {
      code += "    " + line + "\n";
    }
  }
  for (int n = 0; n < 20; ++n)
    code += "    transition " + std::to_string(n) + "\n    clear_scene " + std::to_string(n) + "\n";
  for (int n = 0; n < 4; ++n) code += "    show " + std::to_string(n) + " 0\n";
  for (int n = 1; n <= 6; ++n) code += "    colour_set " + std::to_string(n) + "\n";
  for (int n = 0; n < 3; ++n) code += "    chara " + std::to_string(n) + " 1\n";
  std::string text;
  for (const auto& row : core::TextCodeTable()) {
    text += "{" + std::string(row.mnemonic);
    const auto code_number = static_cast<core::TextCode>(row.number);
    const int names = code_number == core::TextCode::SetY ? 1 : row.operand_bytes;
    for (int i = 0; i < names; ++i) text += i == 0 ? ":0" : ",0";
    text += "}";
  }
  return code + "    end\n" + called + ".messages\nM0: \"" + text + "\"\nM1: \"<g1>\"\n";
}

TEST_F(ScnToolTest, CoverageReportsWhatIsReachedAndRequireAllFailsOnAnyGap) {
  WriteText(dir() / "all.hsc", StoryReachingEverything());
  std::filesystem::create_directories(dir() / "data");
  std::string output;
  ASSERT_EQ(Tool({"asm", "all.hsc", "data/000.SCN"}, &output), 0) << output;
  EXPECT_EQ(Tool({"coverage", "data", "--require-all"}, &output), 0) << output;
  EXPECT_TRUE(output.starts_with("scenario files: reached 1 of 1\nopcodes: reached 76 of 76\n"))
      << output;
  EXPECT_TRUE(output.ends_with("findings: 0\nall reached, no findings\n")) << output;

  // One file more that nothing enters: a gap.
  WriteText(dir() / "other.hsc", "L0: end\n");
  ASSERT_EQ(Tool({"asm", "other.hsc", "data/001.SCN"}), 0);
  EXPECT_EQ(Tool({"coverage", "--require-all", "data"}, &output), 1);
  EXPECT_TRUE(Has(output, "scenario files: reached 1 of 2\n  never reached: 001.SCN\n")) << output;
  EXPECT_TRUE(output.ends_with("1 never reached, 0 findings\n")) << output;
  // Without --require-all a gap is only reported.
  EXPECT_EQ(Tool({"coverage", "data"}, &output), 0);

  // The same files packed give the same report.
  ASSERT_EQ(authoring::WritePack(dir() / "ZEN2DATA.PAK",
                                 {{"000.SCN", ReadBytes(dir() / "data" / "000.SCN")},
                                  {"001.SCN", ReadBytes(dir() / "data" / "001.SCN")}}),
            "");
  std::string packed;
  EXPECT_EQ(Tool({"coverage", "ZEN2DATA.PAK"}, &packed), 0);
  EXPECT_EQ(packed, output);

  // Input that cannot be read: status 2 and why.
  std::filesystem::create_directories(dir() / "empty");
  EXPECT_EQ(Tool({"coverage", "empty"}, &output), 2);
  EXPECT_TRUE(Has(output, "no NNN.SCN files in empty")) << output;
  WriteBytes(dir() / "junk.pak", {1, 2, 3});
  EXPECT_EQ(Tool({"coverage", "junk.pak", "--require-all"}, &output), 2);
  EXPECT_TRUE(Has(output, "hotaru-tool scn: junk.pak: ")) << output;
}

TEST_F(ScnToolTest, TheLanguageReferenceHoldsTheTablesAsTheToolPrintsThem) {
  const std::filesystem::path doc =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "docs" /
      "scenario-language.md";
  std::ifstream in(doc);
  ASSERT_TRUE(in) << doc;
  std::stringstream text;
  text << in.rdbuf();
  const std::string reference = text.str();
  const std::string begin = "<!-- hotaru-tool scn opcodes: begin -->\n";
  const std::size_t from = reference.find(begin);
  const std::size_t to = reference.find("<!-- hotaru-tool scn opcodes: end -->");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  std::string tables;
  ASSERT_EQ(Tool({"opcodes"}, &tables), 0);
  EXPECT_EQ(reference.substr(from + begin.size(), to - from - begin.size()), tables)
      << "regenerate the tables of docs/scenario-language.md with hotaru-tool scn opcodes";
}

TEST_F(ScnToolTest, AnOutputThatCannotBeWrittenFailsWithItsReason) {
  // Standard output on a full device: the tool's words are lost at the flush, not at printf.
  std::string output;
  const int status = hotaru_test::RunProgram(
      "/bin/sh", {"-c", std::string("exec '") + HOTARU_TOOL_PATH + "' scn opcodes > /dev/full"},
      dir(), &output);
  EXPECT_EQ(status, 1) << output;
  EXPECT_NE(output.find("hotaru-tool: the output could not be written"), std::string::npos)
      << output;
}

}  // namespace
