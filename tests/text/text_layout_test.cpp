// The pen codes that message text, the typewriter and the page redraw share.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "core/text_code_table.h"
#include "text/text_layout.h"

namespace {

using core::TextCode;

// A pen in the middle of a line, away from every default, so that a field a code leaves
// alone shows as unchanged.
text::TextPen MidLine() {
  text::TextPen pen;
  pen.x = 112;
  pen.y = 70;
  pen.colour = 7;
  pen.shadow = 2;
  pen.left_margin = 40;
  return pen;
}

bool Same(const text::TextPen& a, const text::TextPen& b) {
  return a.x == b.x && a.y == b.y && a.colour == b.colour && a.shadow == b.shadow &&
         a.left_margin == b.left_margin && a.wrapped == b.wrapped;
}

// Scans `bytes` as one item and applies it to `pen`.
bool Apply(text::TextPen& pen, const std::vector<std::uint8_t>& bytes) {
  core::TextItem item;
  EXPECT_TRUE(core::ScanTextItem(bytes.data(), bytes.size(), 0, &item));
  return text::ApplyPenCode(pen, item);
}

TEST(ApplyPenCode, EachPenCodeMovesThePenItsOwnWay) {
  struct Case {
    TextCode code;
    int x, y, colour, shadow, left_margin;
  } cases[] = {
      {TextCode::NewLine, 40, 100, 7, 2, 40}, {TextCode::CarriageReturn, 0, 100, 7, 2, 40},
      {TextCode::Colour, 112, 70, 3, 2, 40},  {TextCode::Shadow, 112, 70, 7, 3, 40},
      {TextCode::SetX, 24, 70, 7, 2, 24},    // x and the margin: 3 × 8
      {TextCode::SetY, 112, 259, 7, 2, 40},  // 3 + 256 × 1: low byte first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    text::TextPen pen = MidLine();
    EXPECT_TRUE(Apply(pen, {static_cast<std::uint8_t>(c.code), 3, 1}));
    EXPECT_EQ(pen.x, c.x);
    EXPECT_EQ(pen.y, c.y);
    EXPECT_EQ(pen.colour, c.colour);
    EXPECT_EQ(pen.shadow, c.shadow);
    EXPECT_EQ(pen.left_margin, c.left_margin);
    EXPECT_FALSE(pen.wrapped);
  }
}

TEST(ApplyPenCode, EveryOtherItemLeavesThePenAlone) {
  std::set<TextCode> pen_codes = {TextCode::NewLine, TextCode::CarriageReturn, TextCode::Colour,
                                  TextCode::Shadow,  TextCode::SetX,           TextCode::SetY};
  std::vector<std::vector<std::uint8_t>> others = {
      {0x00, 40},        // a glyph
      {core::kTextEnd},  // the end
      {0x4B, 12, 7},     // an embedded operation
      {0x70},            // an ignored byte
  };
  for (const core::TextCodeInfo& row : core::TextCodeTable()) {
    if (pen_codes.count(static_cast<TextCode>(row.number)) == 0) {
      others.push_back(std::vector<std::uint8_t>(1 + row.operand_bytes, 1));
      others.back()[0] = row.number;
    }
  }
  for (const auto& bytes : others) {
    SCOPED_TRACE(static_cast<int>(bytes[0]));
    text::TextPen pen = MidLine();
    EXPECT_FALSE(Apply(pen, bytes));
    EXPECT_TRUE(Same(pen, MidLine()));
  }
}

}  // namespace
