// The fixed texts compiled at build time: whole message texts that read back as their
// source through the charset table, laid out so that the screens that show them work.
#include "text/fixed_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "authoring/charset.h"
#include "authoring/message_text_source.h"

namespace {

// The arrays the screens index by position.
static_assert(std::size(text::kTitleItems) == 5);
static_assert(std::size(text::kContinueItems) == 2);
static_assert(std::size(text::kClearSlotQuestions) == 3);
static_assert(std::size(text::kYesNoItems) == 2);
static_assert(std::size(text::kGameMenuItems) == 6);
static_assert(std::size(text::kSlotTitles) == 3);
static_assert(std::size(text::kSlotLabels) == 3);
static_assert(std::size(text::kMusicCommands) == 3);
static_assert(std::size(text::kMusicTitles) == 26);
static_assert(std::size(text::kMusicKinds) == 5);

const std::filesystem::path kCharsetTable =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "demo" /
    "charset.tbl";

std::span<const std::uint8_t> Bytes(const std::uint8_t* text) {
  std::size_t n = 0;
  for (;;) {
    if (text[n] < 0x20) {
      n += 2;
    } else if (text[n] == 0xAF) {
      return {text, n + 1};
    } else {
      n += text[n] == 0xB9 ? 2 : text[n] == 0xBA ? 3 : 1;
    }
  }
}

// The glyphs of a text in one line, as the layout rules count them.
int GlyphCount(const std::uint8_t* text) {
  int glyphs = 0;
  for (std::size_t n = 0; text[n] != 0xAF;) {
    if (text[n] < 0x20)
      ++glyphs, n += 2;
    else
      n += text[n] == 0xB9 ? 2 : text[n] == 0xBA ? 3 : 1;
  }
  return glyphs;
}

TEST(FixedTextsTest, EveryTextEndsInTheEndByteAndReadsBackAsItsSource) {
  authoring::Charset charset;
  ASSERT_EQ(authoring::Charset::Read(kCharsetTable, &charset), "");
  ASSERT_GT(std::size(text::kFixedTextSources), 60u);
  for (const auto& entry : text::kFixedTextSources) {
    ASSERT_GE(entry.length, 1u) << entry.name;
    EXPECT_EQ(entry.bytes[entry.length - 1], 0xAF) << entry.name;
    // Walked as message text, the end byte is the last byte (a glyph's second byte may be
    // 0xAF too, as in れ).
    std::string problem;
    EXPECT_EQ(authoring::DecodeMessageText({entry.bytes, entry.length}, charset, &problem),
              entry.source)
        << entry.name;
    EXPECT_EQ(problem, "") << entry.name;
    EXPECT_EQ(Bytes(entry.bytes).size(), entry.length) << entry.name;
  }
  EXPECT_EQ(text::kSaveDoneLength, sizeof text::kSaveDone);
  EXPECT_EQ(text::kMusicTitlesLength[3], Bytes(text::kMusicTitles[3]).size());
}

TEST(FixedTextsTest, StackedMenuItemsEndTheirLine) {
  auto ends_line = [](const std::uint8_t* item) {
    const auto bytes = Bytes(item);
    return bytes.size() >= 2 && bytes[bytes.size() - 2] == 0xB0;
  };
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ends_line(text::kTitleItems[i])) << i;
  for (const auto* item : text::kContinueItems) EXPECT_TRUE(ends_line(item));
  for (const auto* item : text::kYesNoItems) EXPECT_TRUE(ends_line(item));
  for (const auto* item : text::kGameMenuItems) EXPECT_TRUE(ends_line(item));
  // The question suffix ends the question's line, so the answers come below it.
  EXPECT_TRUE(ends_line(text::kQuestionSuffix));
}

TEST(FixedTextsTest, ItemsWithTheirOwnPlaceStartWithIt) {
  const auto music = Bytes(text::kTitleItems[4]);
  ASSERT_GE(music.size(), 5u);
  EXPECT_EQ(music[0], 0xB9);
  EXPECT_EQ(music[1] * 8, 304);
  EXPECT_EQ(music[2], 0xBA);
  EXPECT_EQ(music[3] | music[4] << 8, 24);
  for (const auto* command : text::kMusicCommands) EXPECT_EQ(command[0], 0xB9);
}

// The music mode names every piece by its title: no two share one, and no title reads as a
// description (those are shared by every piece of a kind).
TEST(FixedTextsTest, EveryPieceHasATitleOfItsOwn) {
  std::set<std::vector<std::uint8_t>> seen;
  for (const auto* kind : text::kMusicKinds) {
    const auto bytes = Bytes(kind);
    seen.emplace(bytes.begin(), bytes.end());
  }
  for (std::size_t i = 0; i < std::size(text::kMusicTitles); ++i) {
    const auto bytes = Bytes(text::kMusicTitles[i]);
    EXPECT_TRUE(seen.emplace(bytes.begin(), bytes.end()).second) << "title " << i;
  }
}

TEST(FixedTextsTest, TextsFitTheirLines) {
  // A line wraps at x 592: titles start at x 384, descriptions at 240, questions at 224
  // with the suffix after them on the same line.
  for (const auto* title : text::kMusicTitles) EXPECT_LE(GlyphCount(title), (592 - 384 + 23) / 24);
  for (const auto* kind : text::kMusicKinds) EXPECT_LE(GlyphCount(kind), (592 - 240 + 23) / 24);
  const int suffix = GlyphCount(text::kQuestionSuffix);
  for (const auto* question :
       {text::kLoadQuestion, text::kSaveQuestion, text::kReturnQuestion, text::kEndQuestion,
        text::kScriptQuestion, text::kClearSlotQuestions[0], text::kClearSlotQuestions[1],
        text::kClearSlotQuestions[2]})
    EXPECT_LE(GlyphCount(question) + suffix, (592 - 224 + 23) / 24);
}

TEST(FixedTextsTest, GlyphsTheScreensUseDirectly) {
  // The slot screen writes each unit's glyph code (the first two bytes) after a number.
  for (const auto* unit : {text::kUnitYear, text::kUnitMonth, text::kUnitDay, text::kUnitHour,
                           text::kUnitMinute, text::kUnitSecond})
    EXPECT_EQ(Bytes(unit).size(), 3u);
  EXPECT_EQ(text::kSlotCountSuffixLength, 5u) << "a two-glyph suffix";
  // The music number's two digits are set by adding to the glyph of ０ (28).
  EXPECT_EQ(text::kMusicNumberLength, 5u);
  EXPECT_EQ(text::kMusicNumber[0] << 8 | text::kMusicNumber[1], 28);
  EXPECT_EQ(text::kMusicNumber[2] << 8 | text::kMusicNumber[3], 28);
}

}  // namespace
