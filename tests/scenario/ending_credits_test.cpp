// The credit block the ending prints: fourteen pages of lines, each line opening with glyph
// delay 0 and its own place, each page closed by one more end byte.
#include <gtest/gtest.h>

#include "core/text_code_table.h"
#include "scenario/ending_credits.h"

namespace {

TEST(EndingCreditsTest, FourteenPagesOfPlacedLinesShownAtOnce) {
  const auto credits = scenario::CreditText();
  int pages = 0;
  std::size_t pos = 0;
  while (pos < credits.size()) {
    int lines = 0;
    while (pos < credits.size() && credits[pos] != core::kTextEnd) {
      EXPECT_EQ(credits[pos], 0xB6) << "page " << pages;
      EXPECT_EQ(credits[pos + 1], 0) << "page " << pages;
      EXPECT_EQ(credits[pos + 2], 0xB9) << "page " << pages;
      const auto end = core::MessageEnd(credits.data(), credits.size(), pos);
      ASSERT_TRUE(end.has_value()) << "page " << pages;
      pos = *end;
      ++lines;
    }
    EXPECT_GE(lines, 1) << "page " << pages;
    ++pages;
    ++pos;
  }
  EXPECT_EQ(pos, credits.size());
  EXPECT_EQ(pages, scenario::kCreditPages);
}

}  // namespace
