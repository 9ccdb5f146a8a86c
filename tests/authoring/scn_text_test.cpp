// Tagged story text: every text code and every operation text can hold has a tag that reads
// back into the same bytes; glyphs go through the charset table.
#include "authoring/scn_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "authoring/message_text_source.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

authoring::Charset TestCharset() {
  authoring::Charset charset;
  EXPECT_EQ(authoring::Charset::Parse("28=０\n100=あ\n175=れ\n300=ァ\n4000=蛍\n500=\"\n501=}\n",
                                      "t", &charset),
            "");
  return charset;
}

std::string Decode(const Bytes& bytes, const authoring::Charset& charset) {
  std::string problem;
  std::string text = authoring::DecodeTaggedText(bytes, charset, &problem);
  EXPECT_EQ(problem, "") << text;
  return text;
}

Bytes Encode(const std::string& text, const authoring::Charset& charset) {
  Bytes bytes;
  const auto problems = authoring::EncodeTaggedText(text, charset, &bytes);
  for (const auto& p : problems) ADD_FAILURE() << text << ": column " << p.column << ": " << p.what;
  bytes.push_back(0xAF);
  return bytes;
}

// Operand bytes 1, 2, 3 … and, for the position codes, values their tags can show.
Bytes Operands(std::size_t count) {
  Bytes bytes;
  for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(i + 1));
  return bytes;
}

TEST(ScnTextTest, EveryTextCodeAndEveryTextOperationHasATagThatReadsBack) {
  const auto charset = TestCharset();
  std::set<std::string> tags;
  auto check = [&](std::uint8_t number, const Bytes& operands, std::string_view mnemonic) {
    Bytes bytes = {number};
    bytes.insert(bytes.end(), operands.begin(), operands.end());
    bytes.push_back(0xAF);
    const std::string text = Decode(bytes, charset);
    EXPECT_TRUE(text.starts_with("{" + std::string(mnemonic))) << text;
    EXPECT_EQ(Encode(text, charset), bytes) << text;
    EXPECT_TRUE(tags.insert(std::string(mnemonic)).second) << "two tags named " << mnemonic;
  };
  for (const auto& code : core::TextCodeTable())
    check(code.number, Operands(code.operand_bytes), code.mnemonic);
  for (const auto& op : core::OpcodeTable()) {
    if (op.in_text) check(op.number, Operands(op.layout.size()), op.mnemonic);
  }
}

TEST(ScnTextTest, TextsReadAsTheirTaggedForm) {
  const auto charset = TestCharset();
  struct Case {
    Bytes bytes;
    const char* text;
  };
  const Case cases[] = {
      {{0xAF}, ""},
      // A glyph whose second byte is 0xAF does not end the text.
      {{0x00, 100, 0x00, 175, 0xB0, 0xAF}, "あれ{nl}"},
      {{0xB9, 20, 0xBA, 0x2C, 0x01, 0x01, 0x2C, 0xAF}, "{x:160}{y:300}ァ"},
      {{0xB4, 4, 0xBD, 3, 0, 255, 0xB3, 0xAF}, "{colour:4}{bg_change:3,0,255}{wait_page}"},
      {{0x30, 7, 0x4B, 5, 200, 0x26, 0xAF}, "{bg:7}{set:5,200}{click}"},
      // Bytes no code uses, glyphs the table lacks, and a '"' glyph, which quotes cannot hold.
      {{0x20, 0x50, 0xFF, 0x00, 0x00, 0x1F, 0xFF, 0x01, 0xF4, 0x01, 0xF5, 0xAF},
       "{0x20}{0x50}{0xFF}<g0><g8191><g500>}"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(c.bytes, charset), c.text);
    EXPECT_EQ(Encode(c.text, charset), c.bytes) << c.text;
  }
  // The literal '"' character is a glyph of the table too.
  EXPECT_EQ(Encode("\"", charset), (Bytes{0x01, 0xF4, 0xAF}));
}

TEST(ScnTextTest, ReadsEverythingTheFixedTextSourceWrites) {
  const auto charset = TestCharset();
  for (const char* source : {"蛍れ{nl}", "{x:304}{y:24}ァ", "{y:300}<g0><g8191>", "{0xB3}０", ""}) {
    Bytes fixed;
    ASSERT_EQ(authoring::EncodeMessageText(source, charset, &fixed), "") << source;
    EXPECT_EQ(Encode(source, charset), fixed) << source;
  }
}

TEST(ScnTextTest, ReportsBadTagsWithTheirColumns) {
  const auto charset = TestCharset();
  Bytes bytes;
  const auto problems = authoring::EncodeTaggedText(
      "あ{colour}{bg_change:1,2}い{colour:300}{msg:1}{frob}{bg:-1}{x:12}{0xAF}{nl", charset,
      &bytes);
  std::string text;
  for (const auto& p : problems) text += std::to_string(p.column) + ": " + p.what + "\n";
  EXPECT_EQ(text,
            "2: {colour}: colour takes 1 operand (k)\n"
            "10: {bg_change:1,2}: bg_change takes 3 operands (n e t)\n"
            "25: 'い' (U+3044) is not in the charset\n"
            "26: {colour:300}: '300' is not a byte value (0 to 255)\n"
            "38: {msg:1}: msg is an event instruction that text cannot hold\n"
            "45: unknown tag {frob}\n"
            "51: {bg:-1}: '-1' is out of range for n (0 to 255)\n"
            "58: {x:12}: x must be a multiple of 8 from 0 to 2040\n"
            "64: {0xAF}: a raw byte must be from 0x20 to 0xFF and not 0xAF\n"
            "70: '{' without its '}'\n");
}

TEST(ScnTextTest, DecodingReportsBrokenTexts) {
  const auto charset = TestCharset();
  struct Case {
    Bytes bytes;
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {{0x00, 100}, "あ", "byte 2: no end byte"},
      {{0x00}, "", "byte 0: a glyph cut short"},
      {{0xBD, 1, 2}, "", "byte 0: {bg_change} cut short"},
      {{0x37, 1}, "", "byte 0: {chara} cut short"},
      {{0xAF, 0x00}, "", "byte 0: bytes after the end byte"},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_EQ(authoring::DecodeTaggedText(c.bytes, charset, &problem), c.text);
    EXPECT_EQ(problem, c.problem);
  }
}

}  // namespace
