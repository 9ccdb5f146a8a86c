#include "authoring/message_text_source.h"

#include <gtest/gtest.h>

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

TEST(MessageTextSourceTest, EncodesGlyphsAndControlCodes) {
  const auto charset = TestCharset();
  struct Case {
    const char* source;
    Bytes bytes;
  };
  const Case cases[] = {
      {"", {0xAF}},
      {"あ", {0x00, 100, 0xAF}},
      {"蛍れ{nl}", {0x0F, 0xA0, 0x00, 0xAF, 0xB0, 0xAF}},
      {"{x:304}{y:24}ァ", {0xB9, 38, 0xBA, 24, 0, 0x01, 0x2C, 0xAF}},
      {"{y:300}<g0><g8191>", {0xBA, 0x2C, 0x01, 0x00, 0x00, 0x1F, 0xFF, 0xAF}},
      {"{0xB3}０", {0xB3, 0x00, 28, 0xAF}},
  };
  for (const auto& c : cases) {
    Bytes bytes;
    ASSERT_EQ(authoring::EncodeMessageText(c.source, charset, &bytes), "") << c.source;
    EXPECT_EQ(bytes, c.bytes) << c.source;
    // Decoding walks glyphs as pairs, so a glyph whose low byte is 0xAF does not end it.
    std::string problem;
    EXPECT_EQ(authoring::DecodeMessageText(bytes, charset, &problem), c.source);
    EXPECT_EQ(problem, "");
  }
}

TEST(MessageTextSourceTest, ReportsBadEscapesAndCharactersWithColumns) {
  const auto charset = TestCharset();
  Bytes bytes = {1};
  EXPECT_EQ(
      authoring::EncodeMessageText("あ{x:300}い{y:70000}{br}{0xAF}{0x1F}{nl", charset, &bytes),
      "column 2: {x:300}: x must be a multiple of 8 from 0 to 2040\n"
      "column 9: 'い' (U+3044) is not in the charset\n"
      "column 10: {y:70000}: y must be from 0 to 65535\n"
      "column 19: unknown escape {br}\n"
      "column 23: {0xAF}: a raw byte must be from 0x20 to 0xFF and not 0xAF\n"
      "column 29: {0x1F}: a raw byte must be from 0x20 to 0xFF and not 0xAF\n"
      "column 35: '{' without its '}'");
  EXPECT_EQ(bytes, Bytes{1}) << "left alone on failure";
}

TEST(MessageTextSourceTest, DecodingReportsBrokenText) {
  const auto charset = TestCharset();
  struct Case {
    Bytes bytes;
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {{0x00, 100}, "あ", "byte 2: no end byte"},
      {{0x00}, "", "byte 0: a glyph cut short"},
      {{0x00, 100, 0xAF, 0x00}, "あ", "byte 2: bytes after the end byte"},
      {{0xBA, 1}, "", "byte 0: {y:} cut short"},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_EQ(authoring::DecodeMessageText(c.bytes, charset, &problem), c.text);
    EXPECT_EQ(problem, c.problem);
  }
}

TEST(MessageTextSourceTest, OtherCodesDecodeAsOneRawByteAndTheBytesAfterAsText) {
  // Only {nl}, {x:N} and {y:N} have names here: a code with operands, an embedded operation
  // or an ignored byte is written alone, and its operand bytes are read as text again, as
  // the encoder makes them from {0xNN} followed by text.
  const auto charset = TestCharset();
  struct Case {
    const char* what;
    Bytes bytes;
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {"a colour code", {0xB4, 0x00, 100, 0xAF}, "{0xB4}あ", ""},
      {"an embedded flag set", {0x4B, 0x00, 100, 0xAF}, "{0x4B}あ", ""},
      {"an ignored byte", {0x50, 0xAF}, "{0x50}", ""},
      {"a code whose operands are cut short", {0xC5, 0x01}, "{0xC5}", "byte 1: a glyph cut short"},
      {"a code with nothing after it", {0xB4}, "{0xB4}", "byte 1: no end byte"},
  };
  for (const auto& c : cases) {
    std::string problem;
    const std::string text = authoring::DecodeMessageText(c.bytes, charset, &problem);
    EXPECT_EQ(text, c.text) << c.what;
    EXPECT_EQ(problem, c.problem) << c.what;
    if (problem.empty()) {
      Bytes again;
      ASSERT_EQ(authoring::EncodeMessageText(text, charset, &again), "") << c.what;
      EXPECT_EQ(again, c.bytes) << c.what;
    }
  }
}

}  // namespace
