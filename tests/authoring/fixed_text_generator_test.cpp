#include "authoring/fixed_text_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using authoring::FixedTextLine;

authoring::Charset TestCharset() {
  authoring::Charset charset;
  EXPECT_EQ(authoring::Charset::Parse("100=は\n101=い\n102=え\n175=れ\n", "t.tbl", &charset), "");
  return charset;
}

std::vector<FixedTextLine> Parsed(const std::string& source) {
  std::vector<FixedTextLine> lines;
  EXPECT_EQ(authoring::ParseFixedTexts(source, "f.txt", &lines), "");
  return lines;
}

TEST(FixedTextGeneratorTest, ParsesSinglesAndArrays) {
  const auto lines = Parsed(
      "# comment\n"
      "\n"
      "kYes   はい{nl}  \n"
      "kItems[1]\tいいえ\r\n"
      "  kItems[0] はい\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].name, "kYes");
  EXPECT_EQ(lines[0].index, -1);
  EXPECT_EQ(lines[0].source, "はい{nl}");
  EXPECT_EQ(lines[0].line, 3);
  EXPECT_EQ(lines[1].name, "kItems");
  EXPECT_EQ(lines[1].index, 1);
  EXPECT_EQ(lines[1].source, "いいえ");
  EXPECT_EQ(lines[2].index, 0);
}

TEST(FixedTextGeneratorTest, RejectsBadNamesAndArrays) {
  struct Case {
    const char* source;
    const char* problems;
  };
  const Case cases[] = {
      {"kA はい\nkA いい\n", "f.txt:2: kA is given twice (first on line 1)"},
      {"kA[0] はい\nkA[0] いい\n", "f.txt:2: kA[0] is given twice (first on line 1)"},
      {"kA[0] はい\nkA[2] いい\n", "f.txt:1: kA[1] is missing"},
      {"kA[0] はい\nkA いい\n", "f.txt:2: kA is used both as a single text and as an array"},
      {"9A はい\n", "f.txt:1: expected an identifier and a text"},
      {"kA\n", "f.txt:1: expected blanks and a text after kA"},
      {"kA[x] はい\n", "f.txt:1: expected an index like kA[0]"},
  };
  for (const auto& c : cases) {
    std::vector<FixedTextLine> lines;
    EXPECT_EQ(authoring::ParseFixedTexts(c.source, "f.txt", &lines), c.problems) << c.source;
  }
}

TEST(FixedTextGeneratorTest, FailureNamesTheTextAndTheCharacter) {
  const auto lines = Parsed("kYes はい\nkNo いいえ\nkOdd はれ{nl}ね{zz}\n");
  authoring::GeneratedFixedTexts generated;
  EXPECT_EQ(authoring::GenerateFixedTexts(lines, TestCharset(), "f.txt", "t.tbl", &generated),
            "f.txt:3: kOdd \"はれ{nl}ね{zz}\": column 7: 'ね' (U+306D) is not in the charset\n"
            "f.txt:3: kOdd \"はれ{nl}ね{zz}\": column 8: unknown escape {zz}");
  EXPECT_EQ(generated.header, "");
}

TEST(FixedTextGeneratorTest, WritesByteArraysAndTheCatalogue) {
  const auto lines = Parsed("kYes はれ{nl}\nkItems[1] え\nkItems[0] い\n");
  authoring::GeneratedFixedTexts generated;
  ASSERT_EQ(authoring::GenerateFixedTexts(lines, TestCharset(), "f.txt", "t.tbl", &generated), "");
  const std::string& h = generated.header;
  EXPECT_NE(h.find("inline constexpr std::uint8_t kYes[] = {\n"
                   "    0x00, 0x64, 0x00, 0xAF, 0xB0, 0xAF};\n"
                   "inline constexpr std::size_t kYesLength = sizeof kYes;\n"),
            std::string::npos)
      << h;
  EXPECT_NE(h.find("inline constexpr const std::uint8_t* kItems[2] = {\n"
                   "    fixed_text_elements::kItems_0,\n"
                   "    fixed_text_elements::kItems_1,\n};\n"),
            std::string::npos)
      << h;
  EXPECT_NE(h.find("inline constexpr std::uint8_t kItems_1[] = {\n    0x00, 0x66, 0xAF};"),
            std::string::npos)
      << h;
  EXPECT_NE(h.find("extern const FixedTextSource kFixedTextSources[3];"), std::string::npos);
  EXPECT_NE(generated.source.find("{\"kItems[0]\", \"い\", fixed_text_elements::kItems_0, "
                                  "sizeof fixed_text_elements::kItems_0},"),
            std::string::npos)
      << generated.source;
}

}  // namespace
