#include "core/format_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace resources {
namespace {

using namespace std::string_literals;

struct Case {
  const char* what;
  std::string got;
  std::string want;
};

TEST(FormatTextTest, Conversions) {
  const char* none = nullptr;
  const std::vector<Case> cases = {
      // Numbers.
      {"zero-pad", FormatString("%02d", 7), "07"},
      {"space-pad", FormatString("%2d", 7), " 7"},
      {"left", FormatString("%-3d", 7), "7  "},
      {"left beats zero-pad", FormatString("%-03d", 7), "7  "},
      {"overflow", FormatString("%2d", 123), "--"},
      {"zero", FormatString("%d", 0), "0"},
      {"unsigned", FormatString("%d", 0xFFFFFFFFu), "4294967295"},
      {"hex", FormatString("%x", 255), "FF"},
      {"hex of -1", FormatString("%X", -1), "FFFFFFFF"},
      {"later width wins, others skipped", FormatString("%5.3ld", 7), "  7"},
      {"%% starts the same conversion", FormatString("%%3d", 7), "  7"},
      {"file name", FormatString("S%02d.VGR", 3), "S03.VGR"},
      // Full-width numbers: glyph codes 0x00 n.
      {"full-width blank pad", FormatString("%!2d", 5), "\x00\x00\x00\x21"s},
      {"full-width zero pad", FormatString("%!02d", 5), "\x00\x1C\x00\x21"s},
      {"full-width overflow", FormatString("%!2d", 123), "\x00\xD2\x00\xD2"s},
      {"full-width left", FormatString("%!-3d", 5),
       "\x00\x21"
       "    "s},
      {"full-width hex digits", FormatString("%!x", 0xAF), "\x00\x02\x00\x07"s},
      // Characters.
      {"glyph code by %c%c", FormatString("%c%c", 0x01, 0x23), "\x01\x23"},
      {"%c ignores width", FormatString("%5c", 'A'), "A"},
      {"%c low byte", FormatString("%c", 0x1234), "\x34"},
      // Texts.
      {"text right-aligned", FormatString("%5s", "ab"), "   ab"},
      {"text left-aligned", FormatString("%-5s", "ab"), "ab   "},
      {"text cut", FormatString("%3s", "abcdef"), "abc"},
      {"text cut in columns", FormatString("%4s", "日本語"), "日本"},
      {"wide char passes width", FormatString("%3s", "日本"), "日本"},
      {"wide char pads by columns", FormatString("%5s", "日"), "   日"},
      {"path", FormatString("%s\\%s", "DATA", "A.VGR"), "DATA\\A.VGR"},
      {"no directives in texts", FormatString("%S", "^%d&@#"), "^%d&@#"},
      {"kana in texts", FormatString("@%3s", "\xB1\xB2\xB3"), "アイ"},
      {"half kana cut", FormatString("%3s", "\xB1\xB2\xB3\xB4"), "\xB1\xB2\xB3"},
      // Kana directives.
      {"half-width kept", FormatString("\xB1"), "\xB1"},
      {"katakana", FormatString("@\xB1"), "ア"},
      {"hiragana", FormatString("#\xB1"), "あ"},
      {"back to half-width", FormatString("@\xB1&\xB1"), "ア\xB1"},
      {"first and last entries", FormatString("@\xA0\xDF"), "　゜"},
      {"UTF-8 untouched", FormatString("@日本"), "日本"},
      {"malformed UTF-8 is kana", FormatString("@\xC0\xB1\xB6\xDE"), "タアカ゛"},
      {"stray byte alone", FormatString("\x80x"), "\x80x"},
      // Escapes.
      {"escaped %", FormatString("^%d", 7), "%d"},
      {"escaped kana raw", FormatString("@^\xB1"), "\xB1"},
      {"escaped UTF-8 whole", FormatString("#^日"), "日"},
      // Arguments that are missing or of the wrong sort.
      {"missing", FormatString("[%d][%s][%x]"), "[0][][0]"},
      {"missing %c", FormatString("%c"), "\x00"s},
      {"text for %d", FormatString("%d", "abc"), "0"},
      {"number for %s", FormatString("%s|", 5), "|"},
      {"null text", FormatString("%3s|", none), "   |"},
      // Unfinished format.
      {"ends in conversion", FormatString("ab%05", 7), "ab"},
      {"ends after ^", FormatString("ab^"), "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(FormatTextTest, KanaModeResetsPerCall) {
  FormatString("#");
  EXPECT_EQ(KanaMode, 2);
  EXPECT_EQ(FormatString("\xB1"), "\xB1");
  EXPECT_EQ(KanaMode, 0);
}

// Formats into a 16-byte buffer filled with 'X' and reports the length and the buffer.
struct Bounded {
  int length;
  std::string buffer;
};

template <typename... Args>
Bounded FormatBounded(std::size_t capacity, const char* format, Args... args) {
  char buffer[16];
  std::memset(buffer, 'X', sizeof buffer);
  const int length = FormatTextTo(buffer, capacity, format, {FormatArg(args)...});
  return {length, std::string(buffer, sizeof buffer)};
}

TEST(FormatTextTest, OutputBound) {
  const std::string pad(16, 'X');
  const struct {
    const char* what;
    Bounded got;
    int length;
    std::string buffer;
  } cases[] = {
      {"fits", FormatBounded(8, "abc"), 3, "abc\0"s + pad.substr(4)},
      {"cut", FormatBounded(4, "abcdef"), 3, "abc\0"s + pad.substr(4)},
      {"capacity 0", FormatBounded(0, "abc"), 0, pad},
      {"capacity 1", FormatBounded(1, "abc"), 0, "\0"s + pad.substr(1)},
      {"glyph not split", FormatBounded(4, "%!2d", 12), 2, "\x00\x1D\x00"s + pad.substr(3)},
      {"UTF-8 not split", FormatBounded(6, "a日本"), 4, "a日\0"s + pad.substr(5)},
      {"kana not split", FormatBounded(6, "@\xB1\xB1"), 3, "ア\0"s + pad.substr(4)},
      {"nothing after the cut", FormatBounded(3, "日a"), 0, "\0"s + pad.substr(1)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got.length, c.length) << c.what;
    EXPECT_EQ(c.got.buffer, c.buffer) << c.what;
  }

  char small[5];
  EXPECT_EQ(FormatText(small, "%d", 123456), 4);
  EXPECT_STREQ(small, "1234");
}

TEST(FormatTextTest, ResultLimit) {
  const std::string long_text(40000, 'a');
  std::vector<char> out(50000, 'X');
  EXPECT_EQ(FormatTextTo(out.data(), out.size(), "%s", {long_text.c_str()}), 32767);
  EXPECT_EQ(out[32767], '\0');
  EXPECT_EQ(FormatString("%40000d", 1).size(), 32767u);
}

TEST(FormatTextTest, TextColumns) {
  EXPECT_EQ(TextColumns(""), 0);
  EXPECT_EQ(TextColumns("abc"), 3);
  EXPECT_EQ(TextColumns("日本a"), 5);
  EXPECT_EQ(TextColumns("a\x80"), 2);
  KanaMode = 0;
  EXPECT_EQ(TextColumns("\xB1\xB2"), 2);
  KanaMode = 1;
  EXPECT_EQ(TextColumns("\xB1\xB2"), 4);
  KanaMode = 0;
}

}  // namespace
}  // namespace resources
