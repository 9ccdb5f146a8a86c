#include "authoring/charset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using authoring::Charset;

Charset Parsed(const std::string& table) {
  Charset charset;
  EXPECT_EQ(Charset::Parse(table, "t.tbl", &charset), "");
  return charset;
}

TEST(CharsetTest, ReadsEntriesCommentsAndBlankLines) {
  const Charset charset = Parsed(
      "# header\n"
      "\n"
      "1=\u3000  # the full-width space\n"
      "  28=０\r\n"
      "35=#\n"  // a '#' right after '=' is the character
      "36 =い\n"
      "100=あ");
  EXPECT_EQ(charset.GlyphOf(U'\u3000'), 1);
  EXPECT_EQ(charset.GlyphOf(U'０'), 28);
  EXPECT_EQ(charset.GlyphOf(U'#'), 35);
  EXPECT_EQ(charset.GlyphOf(U'い'), 36);
  EXPECT_EQ(charset.GlyphOf(U'あ'), 100);
  EXPECT_EQ(charset.CharacterOf(100), U'あ');
  EXPECT_EQ(charset.CharacterOf(99), std::nullopt);
  EXPECT_EQ(charset.CharacterOf(60000), std::nullopt);
  EXPECT_EQ(charset.highest_glyph(), 100);
  ASSERT_EQ(charset.entries().size(), 5u);
  EXPECT_EQ(charset.entries().front().line, 3);
}

TEST(CharsetTest, ReportsEveryProblemWithItsLine) {
  struct Case {
    const char* table;
    std::vector<std::string> problems;
  };
  const Case cases[] = {
      {"1=あ\n2=い\n1=う\n", {"t.tbl:3: glyph 1 is given twice (first on line 1)"}},
      {"1=あ\n\n5=あ\n", {"t.tbl:3: 'あ' (U+3042) is given twice (glyph 1 on line 1)"}},
      {"8192=あ\n", {"t.tbl:1: glyph number 8192 is too large: glyph numbers are below 8192"}},
      {"123456789012=あ\n",
       {"t.tbl:1: glyph number 123456789012 is too large: glyph numbers are below 8192"}},
      {"0=あ\n", {"t.tbl:1: glyph 0 is the blank and shows no character"}},
      {"8191=あ\n", {"t.tbl:1: glyph 8191 is drawn as a blank and cannot show a character"}},
      {"7=あい\n", {"t.tbl:1: more than one character after '='"}},
      {"7=\n8= \n",
       {"t.tbl:1: no character after '='",
        "t.tbl:2: no character after '=' (blanks and control characters cannot be glyphs)"}},
      {"x=あ\n=い\n9あ\n",
       {"t.tbl:1: expected NUMBER=CHARACTER", "t.tbl:2: expected NUMBER=CHARACTER",
        "t.tbl:3: expected NUMBER=CHARACTER"}},
      {"3=\xE3\x81\n", {"t.tbl:1: invalid UTF-8"}},
      {"3=<\n4={\n",
       {"t.tbl:1: '<' and '{' begin the escapes of story text and cannot be glyphs",
        "t.tbl:2: '<' and '{' begin the escapes of story text and cannot be glyphs"}},
  };
  for (const auto& c : cases) {
    Charset charset;
    std::string expected;
    for (const auto& p : c.problems) expected += (expected.empty() ? "" : "\n") + p;
    EXPECT_EQ(Charset::Parse(c.table, "t.tbl", &charset), expected) << c.table;
  }
}

TEST(CharsetTest, TextAndGlyphsRoundTrip) {
  const Charset charset = Parsed("1=\u3000\n9=。\n100=あ\n101=い\n175=れ\n400=蛍\n");
  std::vector<std::uint16_t> glyphs;
  ASSERT_EQ(charset.Encode("蛍あ\u3000いれ。", &glyphs), "");
  EXPECT_EQ(glyphs, (std::vector<std::uint16_t>{400, 100, 1, 101, 175, 9}));
  EXPECT_EQ(charset.Decode(glyphs), "蛍あ\u3000いれ。");
}

TEST(CharsetTest, GlyphsWithoutCharacterBecomeExplicitNumbersAndBack) {
  const Charset charset = Parsed("100=あ\n");
  const std::vector<std::uint16_t> glyphs = {100, 0, 1234, 8191, 100};
  const std::string text = charset.Decode(glyphs);
  EXPECT_EQ(text, "あ<g0><g1234><g8191>あ");
  std::vector<std::uint16_t> back;
  ASSERT_EQ(charset.Encode(text, &back), "");
  EXPECT_EQ(back, glyphs);
}

TEST(CharsetTest, UnknownCharactersAreReportedWithTheirColumns) {
  const Charset charset = Parsed("100=あ\n");
  std::vector<std::uint16_t> glyphs = {7};
  EXPECT_EQ(charset.Encode("あ蝉あx", &glyphs),
            "column 2: '蝉' (U+8749) is not in the charset\n"
            "column 4: 'x' (U+0078) is not in the charset");
  EXPECT_EQ(glyphs, std::vector<std::uint16_t>{7}) << "left alone on failure";
  // A form that is not a whole explicit glyph is read as characters.
  EXPECT_EQ(charset.Encode("<g>", &glyphs),
            "column 1: '<' (U+003C) is not in the charset\n"
            "column 2: 'g' (U+0067) is not in the charset\n"
            "column 3: '>' (U+003E) is not in the charset");
  EXPECT_EQ(charset.Encode("あ\xFF", &glyphs), "column 2: invalid UTF-8");
}

}  // namespace
