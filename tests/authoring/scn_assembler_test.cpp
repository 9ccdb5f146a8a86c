// Scenario source written by hand: names for labels and messages, messages inline, tables
// filled in; and the problems of bad source, each with its line.
#include "authoring/scn_assembler.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

authoring::Charset TestCharset() {
  authoring::Charset charset;
  EXPECT_EQ(authoring::Charset::Parse("28=０\n100=あ\n175=れ\n300=ァ\n4000=蛍\n", "t", &charset),
            "");
  return charset;
}

// A block: header, table (entries not listed at `rest`), body.
Bytes Block(std::uint16_t header, const std::map<int, int>& entries, int rest, const Bytes& body) {
  Bytes block = {static_cast<std::uint8_t>(header), static_cast<std::uint8_t>(header >> 8)};
  for (int n = 0; n < 256; ++n) {
    auto it = entries.find(n);
    const int offset = it == entries.end() ? rest : it->second;
    block.push_back(static_cast<std::uint8_t>(offset));
    block.push_back(static_cast<std::uint8_t>(offset >> 8));
  }
  block.insert(block.end(), body.begin(), body.end());
  return block;
}

std::string Assemble(const std::string& source, authoring::ScenarioBlocks* blocks) {
  return authoring::AssembleScenario(source, "t.scn", TestCharset(), blocks);
}

TEST(ScnAssemblerTest, HandWrittenSourceWithNamesAndInlineMessages) {
  const std::string source =
      "; a scene\n"
      ".event\n"
      ".header 7\n"
      "L0: end\n"
      "start:\n"
      "    bg 3\n"
      "    msg \"あ{nl}\"   ; the text goes on below\n"
      "        \"れ\"\n"
      "    jeq 5, 1, done\n"
      "    choice \"ァ\" \"あ\" start \"あ\" done\n"
      "    call sub\n"
      "done:\n"
      "    add 5 -1\n"
      "    scenario 2 L1\n"
      "sub:\n"
      "    msg named\n"
      "    msg \"あ{nl}れ\"\n"
      "    end\n"
      "\n"
      ".messages\n"
      "M7: \"０\"\n"
      "named:\n"
      "    \"蛍\"\n";
  authoring::ScenarioBlocks blocks;
  ASSERT_EQ(Assemble(source, &blocks), "");
  // Code from 514: end; bg; msg 0; jeq → done (532); choice q 1, options 2 → start (515) and
  // 2 → done; call label 1 (sub, 538); add 5 255; scenario 2 1; msg 3; msg 0 (the same
  // text once); end.
  EXPECT_EQ(blocks.event,
            Block(7, {{0, 514}, {1, 538}}, 514,
                  {0x20, 0x30, 3, 0x50, 0, 0x41, 5,    1, 9, 0x25, 1, 2,    2, 0xF1, 2,
                   2,    0x22, 1, 0x4C, 5, 0xFF, 0x24, 2, 1, 0x50, 3, 0x50, 0, 0x20}));
  // Texts of .messages first (M7 at 514, named at 517 taking number 3), then the inline ones
  // in the order the code uses them, then the empty text of the entries nothing sets.
  EXPECT_EQ(blocks.messages, Block(0, {{0, 520}, {1, 526}, {2, 529}, {3, 517}, {7, 514}}, 532,
                                   {0x00, 28, 0xAF, 0x0F, 0xA0, 0xAF, 0x00, 100, 0xB0, 0x00, 175,
                                    0xAF, 0x01, 0x2C, 0xAF, 0x00, 100, 0xAF, 0xAF}));
}

TEST(ScnAssemblerTest, TablesDirectivesAndRawBlocks) {
  const std::string source =
      ".event\n"
      ".label 3-5 there+1\n"
      ".label 9 0x10\n"
      "L1:\n"
      "there:\n"
      "    db 1 0x02, 3\n"
      ".messages\n"
      ".raw\n"
      "    db 0xAF 0\n";
  authoring::ScenarioBlocks blocks;
  ASSERT_EQ(Assemble(source, &blocks), "");
  EXPECT_EQ(blocks.event,
            Block(0, {{1, 514}, {3, 515}, {4, 515}, {5, 515}, {9, 16}}, 514, {1, 2, 3}));
  EXPECT_EQ(blocks.messages, (Bytes{0xAF, 0}));
}

TEST(ScnAssemblerTest, ReportsEachProblemWithItsLine) {
  struct Case {
    const char* source;
    const char* problems;
  };
  const Case cases[] = {
      {"bgg 3", "t.scn:1:1: unknown instruction 'bgg'"},
      {"bg", "t.scn:1:1: 'bg' takes 1 operand (n), not 0"},
      {"end 1", "t.scn:1:1: 'end' takes no operands, not 1"},
      {"jeq 5 1", "t.scn:1:1: 'jeq' takes 3 operands (f v d), not 2"},
      {"sub 1 2", "t.scn:1:1: 'sub' 1 takes 4 operands (o m a e), not 2"},
      {"choice 1 3 2 x\nx: end",
       "t.scn:1:1: 'choice': the count '3' does not match the 1 pairs given"},
      {"end\njeq 5 1 nowhere", "t.scn:2:9: undefined label 'nowhere'"},
      {"bg 300", "t.scn:1:4: 'bg' n = 300 is out of range (0 to 255)"},
      {"jump -129", "t.scn:1:6: 'jump' d = -129 is out of range (-128 to 127)"},
      {"bg start", "t.scn:1:4: 'bg' n: 'start' is no value here"},
      {"bg \"あ\"", "t.scn:1:4: a text stands only where a message is expected, not for n"},
      {"msg \"あい\"", "t.scn:1:7: 'い' (U+3044) is not in the charset"},
      {"msg \"{colour:300}\"", "t.scn:1:6: {colour:300}: '300' is not a byte value (0 to 255)"},
      {"msg \"あ", "t.scn:1:5: a string without its closing '\"'"},
      {"msg missing", "t.scn:1:5: undefined message 'missing'"},
      {"call L9", "t.scn:1:6: label 'L9' is not given in this source"},
      {"scenario 3 home\nhome: end",
       "t.scn:1:12: a label of another scenario is written as a number or L<n>, not 'home'"},
      {"a: end\na: end", "t.scn:2:1: 'a' is defined twice (first on line 1)"},
      {"L0: end\n.label 0 0x300", "t.scn:2:10: label 0 is given twice (first on line 1)"},
      {"L256: end", "t.scn:1:1: 'L256' is no label number: they are L0 to L255"},
      {".label 300 x", "t.scn:1:8: '300' is no label number (0 to 255) or range N-M"},
      {".label 1 x y", "t.scn:1:1: usage: .label N[-M] TARGET"},
      {".message 1 x", "t.scn:1:1: '.message' belongs in .messages"},
      {".frob", "t.scn:1:1: unknown directive '.frob'"},
      {".header 70000", "t.scn:1:9: .header takes a value from 0 to 65535"},
      {"end\n.raw", "t.scn:2:1: .raw must come first in .event"},
      {".raw\nend", "t.scn:2:1: a .raw block holds only db lines"},
      {"db 256 -1",
       "t.scn:1:4: db takes byte values (0 to 255), not '256'\n"
       "t.scn:1:8: db takes byte values (0 to 255), not '-1'"},
      {"end\n  \"あ\"",
       "t.scn:2:3: a text line continues the message that ends the line above, and there is none"},
      {".messages\nend", "t.scn:2:1: expected a text, db or a directive in .messages, not 'end'"},
      {".messages\nM0: \"あ\" db", "t.scn:2:9: a text line holds only strings, not 'db'"},
      {".messages\n.raw\nmsg \"あ\"\n.event\nmsg \"あ\"",
       "t.scn:3:1: expected a text, db or a directive in .messages, not 'msg'\n"
       "t.scn:5:5: a message written inline needs the message table, and .messages is .raw"},
      // Every problem of a source, in line order.
      {"bg 1 2\n\nfrob\nmsg \"い\"",
       "t.scn:1:1: 'bg' takes 1 operand (n), not 2\n"
       "t.scn:3:1: unknown instruction 'frob'\n"
       "t.scn:4:6: 'い' (U+3044) is not in the charset"},
  };
  for (const auto& c : cases) {
    authoring::ScenarioBlocks blocks;
    blocks.event = {1};
    EXPECT_EQ(Assemble(c.source, &blocks), c.problems) << c.source;
    EXPECT_EQ(blocks.event, Bytes{1}) << "left alone on failure";
  }
}

TEST(ScnAssemblerTest, JumpsReachAsFarAsTheirByte) {
  // Forward 127 bytes after the jump reach, 128 do not; backward 128 bytes before its end
  // reach, 129 do not.
  for (const int gap : {127, 128}) {
    std::string bytes;
    for (int i = 0; i < gap; ++i) bytes += " 0";
    const std::string forward = "jump far\ndb" + bytes + "\nfar: end";
    const std::string backward = "back: db" + bytes.substr(2) + "\njump back";
    for (const std::string& source : {forward, backward}) {
      authoring::ScenarioBlocks blocks;
      const std::string problems = Assemble(source, &blocks);
      if (gap == 127) {
        EXPECT_EQ(problems, "") << source;
      } else {
        EXPECT_NE(problems.find("is " + std::string(source == forward ? "128" : "-129") +
                                " bytes away; a jump reaches -128 to 127"),
                  std::string::npos)
            << problems;
      }
    }
  }
}

TEST(ScnAssemblerTest, RunsOutOfMessageNumbersAfter256) {
  std::string source;
  for (int i = 0; i < 257; ++i)
    source += "msg \"{pause:" + std::to_string(i % 256) + "}" + (i >= 256 ? "あ" : "") + "\"\n";
  authoring::ScenarioBlocks blocks;
  EXPECT_EQ(Assemble(source, &blocks),
            "t.scn:257:5: no free message number for the text: all 256 are taken");
}

TEST(ScnAssemblerTest, WithoutACharsetSaysSo) {
  authoring::ScenarioBlocks blocks;
  EXPECT_EQ(authoring::AssembleScenario("msg \"あ<g5>\"", "t.scn", authoring::Charset(), &blocks),
            "t.scn:1:6: 'あ' (U+3042) is not in the charset (no charset table was given)");
  ASSERT_EQ(authoring::AssembleScenario("msg \"<g5>\"", "t.scn", authoring::Charset(), &blocks),
            "");
}

}  // namespace
