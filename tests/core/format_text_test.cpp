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
      {"zero-pad", core::FormatString("%02d", 7), "07"},
      {"space-pad", core::FormatString("%2d", 7), " 7"},
      {"left", core::FormatString("%-3d", 7), "7  "},
      {"left beats zero-pad", core::FormatString("%-03d", 7), "7  "},
      {"overflow", core::FormatString("%2d", 123), "--"},
      {"zero", core::FormatString("%d", 0), "0"},
      {"unsigned", core::FormatString("%d", 0xFFFFFFFFu), "4294967295"},
      {"hex", core::FormatString("%x", 255), "FF"},
      {"hex of -1", core::FormatString("%X", -1), "FFFFFFFF"},
      {"later width wins, others skipped", core::FormatString("%5.3ld", 7), "  7"},
      {"%% starts the same conversion", core::FormatString("%%3d", 7), "  7"},
      {"file name", core::FormatString("S%02d.VGR", 3), "S03.VGR"},
      // Full-width numbers: glyph codes 0x00 n.
      {"full-width blank pad", core::FormatString("%!2d", 5), "\x00\x00\x00\x21"s},
      {"full-width zero pad", core::FormatString("%!02d", 5), "\x00\x1C\x00\x21"s},
      {"full-width overflow", core::FormatString("%!2d", 123), "\x00\xD2\x00\xD2"s},
      {"full-width left", core::FormatString("%!-3d", 5),
       "\x00\x21"
       "    "s},
      {"full-width hex digits", core::FormatString("%!x", 0xAF), "\x00\x02\x00\x07"s},
      // Characters.
      {"glyph code by %c%c", core::FormatString("%c%c", 0x01, 0x23), "\x01\x23"},
      {"%c ignores width", core::FormatString("%5c", 'A'), "A"},
      {"%c low byte", core::FormatString("%c", 0x1234), "\x34"},
      // Texts.
      {"text right-aligned", core::FormatString("%5s", "ab"), "   ab"},
      {"text left-aligned", core::FormatString("%-5s", "ab"), "ab   "},
      {"text cut", core::FormatString("%3s", "abcdef"), "abc"},
      {"text cut in columns", core::FormatString("%4s", "日本語"), "日本"},
      {"wide char passes width", core::FormatString("%3s", "日本"), "日本"},
      {"wide char pads by columns", core::FormatString("%5s", "日"), "   日"},
      {"path", core::FormatString("%s\\%s", "DATA", "A.VGR"), "DATA\\A.VGR"},
      {"no directives in texts", core::FormatString("%S", "^%d&@#"), "^%d&@#"},
      {"kana in texts", core::FormatString("@%3s", "\xB1\xB2\xB3"), "アイ"},
      {"half kana cut", core::FormatString("%3s", "\xB1\xB2\xB3\xB4"), "\xB1\xB2\xB3"},
      // Kana directives.
      {"half-width kept", core::FormatString("\xB1"), "\xB1"},
      {"katakana", core::FormatString("@\xB1"), "ア"},
      {"hiragana", core::FormatString("#\xB1"), "あ"},
      {"back to half-width", core::FormatString("@\xB1&\xB1"), "ア\xB1"},
      {"first and last entries", core::FormatString("@\xA0\xDF"), "　゜"},
      {"UTF-8 untouched", core::FormatString("@日本"), "日本"},
      {"malformed UTF-8 is kana", core::FormatString("@\xC0\xB1\xB6\xDE"), "タアカ゛"},
      {"stray byte alone", core::FormatString("\x80x"), "\x80x"},
      // Escapes.
      {"escaped %", core::FormatString("^%d", 7), "%d"},
      {"escaped kana raw", core::FormatString("@^\xB1"), "\xB1"},
      {"escaped UTF-8 whole", core::FormatString("#^日"), "日"},
      // Arguments that are missing or of the wrong sort.
      {"missing", core::FormatString("[%d][%s][%x]"), "[0][][0]"},
      {"missing %c", core::FormatString("%c"), "\x00"s},
      {"text for %d", core::FormatString("%d", "abc"), "0"},
      {"number for %s", core::FormatString("%s|", 5), "|"},
      {"null text", core::FormatString("%3s|", none), "   |"},
      // Unfinished format.
      {"ends in conversion", core::FormatString("ab%05", 7), "ab"},
      {"ends after ^", core::FormatString("ab^"), "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(FormatTextTest, KanaModeResetsPerCall) {
  core::FormatString("#");
  EXPECT_EQ(core::Formatter.KanaMode, 2);
  EXPECT_EQ(core::FormatString("\xB1"), "\xB1");
  EXPECT_EQ(core::Formatter.KanaMode, 0);
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
  const int length = core::FormatTextTo(buffer, capacity, format, {core::FormatArg(args)...});
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
  EXPECT_EQ(core::FormatText(small, "%d", 123456), 4);
  EXPECT_STREQ(small, "1234");
}

TEST(FormatTextTest, ResultLimit) {
  const std::string long_text(40000, 'a');
  std::vector<char> out(50000, 'X');
  EXPECT_EQ(core::FormatTextTo(out.data(), out.size(), "%s", {long_text.c_str()}), 32767);
  EXPECT_EQ(out[32767], '\0');
  EXPECT_EQ(core::FormatString("%40000d", 1).size(), 32767u);
}

TEST(FormatTextTest, TextColumns) {
  EXPECT_EQ(core::TextColumns(""), 0);
  EXPECT_EQ(core::TextColumns("abc"), 3);
  EXPECT_EQ(core::TextColumns("日本a"), 5);
  EXPECT_EQ(core::TextColumns("a\x80"), 2);
  core::Formatter.KanaMode = 0;
  EXPECT_EQ(core::TextColumns("\xB1\xB2"), 2);
  core::Formatter.KanaMode = 1;
  EXPECT_EQ(core::TextColumns("\xB1\xB2"), 4);
  core::Formatter.KanaMode = 0;
}

}  // namespace
}  // namespace resources
