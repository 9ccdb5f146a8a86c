// The opcode and text code tables and the decoders that read them.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using core::DecodeInstruction;
using core::Instruction;

TEST(OpcodeTable, RowsAreFoundByNumberAndMnemonicAndUseKnownLetters) {
  std::set<std::string_view> mnemonics;
  for (const core::OpcodeInfo& row : core::OpcodeTable()) {
    EXPECT_TRUE(mnemonics.insert(row.mnemonic).second) << row.mnemonic;
    EXPECT_EQ(core::FindOpcode(row.number), &row);
    EXPECT_EQ(core::FindOpcode(row.mnemonic), &row);
    EXPECT_FALSE(row.effect.empty()) << row.mnemonic;
    for (char letter : row.layout) {
      EXPECT_NE(std::string_view("ntpkraefvbdLsmqoc").find(letter), std::string_view::npos)
          << row.mnemonic;
    }
  }
  EXPECT_EQ(core::OpcodeTable().size(), 76u);
  EXPECT_EQ(core::FindOpcode(std::uint8_t{0x29}), nullptr);
  EXPECT_EQ(core::FindOpcode("no_such"), nullptr);
}

TEST(OpcodeTable, EmbeddedTextOperationsAreExactlyTheTextOnes) {
  std::set<int> expected = {0x26, 0x4B, 0x4C};
  for (int op = 0x30; op <= 0x3C; ++op) expected.insert(op);
  for (int op = 0x60; op <= 0x6C; ++op) expected.insert(op);
  for (int op = 0x80; op <= 0x87; ++op) expected.insert(op);
  for (int op = 0xA0; op <= 0xA6; ++op) expected.insert(op);
  std::set<int> marked;
  for (const auto& row : core::OpcodeTable()) {
    if (row.in_text) marked.insert(row.number);
  }
  EXPECT_EQ(marked, expected);
}

TEST(OpcodeTable, DecodesEveryFormAndNeverReadsPastTheBlock) {
  Bytes thirteen = {0x25, 9, 13};
  for (int i = 0; i < 13; ++i) thirteen.insert(thirteen.end(), {static_cast<std::uint8_t>(i), 0});
  std::vector<std::int32_t> twelve_pairs = {9, 13};
  for (int i = 0; i < 12; ++i) twelve_pairs.insert(twelve_pairs.end(), {i, 0});

  struct Case {
    const char* what;
    Bytes block;  // exactly the block: a read past it shows under ASan
    std::size_t pos;
    bool ok;
    std::uint32_t length;
    std::vector<std::int32_t> values;
  } cases[] = {
      {"flag jump", {0x41, 5, 3, 2}, 0, true, 4, {5, 3, 2}},
      {"signed displacement", {0x40, 0xFE}, 0, true, 2, {-2}},
      {"no operands", {0x20}, 0, true, 1, {}},
      {"outside the table: one byte", {0xFF, 1, 2}, 0, true, 1, {}},
      {"sub 0 takes one byte", {0x21, 0, 9, 9, 9}, 0, true, 2, {0}},
      {"sub 1 takes four", {0x21, 1, 7, 0, 2}, 0, true, 5, {1, 7, 0, 2}},
      {"sub 2 takes four", {0x21, 2, 7, 1, 1}, 0, true, 5, {2, 7, 1, 1}},
      {"sub 3 takes one", {0x21, 3}, 0, true, 2, {3}},
      {"choice of two", {0x25, 9, 2, 1, 5, 2, 0xFB}, 0, true, 7, {9, 2, 1, 5, 2, -5}},
      {"choice of none", {0x25, 9, 0}, 0, true, 3, {9, 0}},
      {"choice of 13 reads 12 pairs", thirteen, 0, true, 27, twelve_pairs},
      {"at an offset", {0x20, 0x4B, 7, 200}, 1, true, 3, {7, 200}},
      {"operand cut off", {0x41, 5, 3}, 0, false, 0, {}},
      {"sub without its selector", {0x21}, 0, false, 0, {}},
      {"sub 1 cut off", {0x21, 1, 7, 0}, 0, false, 0, {}},
      {"choice pair cut off", {0x25, 9, 2, 1, 5, 2}, 0, false, 0, {}},
      {"choice without its count", {0x25, 9}, 0, false, 0, {}},
      {"position at the end", {0x20}, 1, false, 0, {}},
  };
  for (const Case& c : cases) {
    Instruction ins;
    ASSERT_EQ(DecodeInstruction(c.block.data(), c.block.size(), c.pos, &ins), c.ok) << c.what;
    if (!c.ok) continue;
    EXPECT_EQ(ins.length, c.length) << c.what;
    std::vector<std::int32_t> values;
    for (std::size_t i = 0; i < ins.operand_count; ++i) values.push_back(ins.Value(i));
    EXPECT_EQ(values, c.values) << c.what;
  }
}

TEST(OpcodeTable, OperandsPrintAsTheTableDecodesThem) {
  const Bytes block = {0x25, 9, 2, 1, 5, 2, 0xFB};
  Instruction ins;
  ASSERT_TRUE(DecodeInstruction(block.data(), block.size(), 0, &ins));
  EXPECT_EQ(core::FormatOperands(ins), "9 2 1 5 2 -5");
  EXPECT_EQ(ins.kinds[0], core::OperandKind::kMessage);
  EXPECT_EQ(ins.kinds[1], core::OperandKind::kCount);
  EXPECT_EQ(ins.kinds[4], core::OperandKind::kMessage);
  EXPECT_EQ(ins.kinds[5], core::OperandKind::kDisplacement);
}

TEST(TextCodeTable, OneRowPerCodeWithItsOperandBytes) {
  ASSERT_EQ(core::TextCodeTable().size(), 30u);
  const std::pair<int, int> counts[] = {{0xB0, 0}, {0xB4, 1}, {0xB6, 1}, {0xB9, 1}, {0xBA, 2},
                                        {0xBD, 3}, {0xC0, 3}, {0xC1, 2}, {0xC3, 2}, {0xC4, 5},
                                        {0xC5, 6}, {0xC6, 6}, {0xC8, 2}, {0xCC, 2}, {0xCD, 0}};
  for (const auto& [code, bytes] : counts) {
    const auto* row = core::FindTextCode(static_cast<std::uint8_t>(code));
    ASSERT_NE(row, nullptr) << code;
    EXPECT_EQ(row->operand_bytes, bytes) << code;
    EXPECT_EQ(core::FindTextCode(row->mnemonic), row);
  }
  EXPECT_EQ(core::FindTextCode(std::uint8_t{0xAF}), nullptr);
  EXPECT_EQ(core::FindTextCode(std::uint8_t{0xCE}), nullptr);
}

TEST(TextCodeTable, MessageEndWalksItemsWithinTheBytesGiven) {
  struct Case {
    const char* what;
    Bytes text;
    std::optional<std::size_t> end;
  } cases[] = {
      {"two glyphs", {0x00, 0x26, 0x00, 0x27, 0xAF}, 5},
      {"a glyph's second byte may be 0xAF", {0x01, 0xAF, 0xAF}, 3},
      {"a code's operand may be 0xAF", {0xB4, 0xAF, 0xAF}, 3},
      {"an embedded set takes its two operands", {0x4B, 0xAF, 3, 0xAF}, 4},
      {"a byte that is neither is ignored", {0x50, 0xAF}, 2},
      {"three characters", {0xC5, 1, 2, 3, 4, 5, 6, 0xAF}, 8},
      {"a glyph cut off", {0x1F}, std::nullopt},
      {"a code's operands cut off", {0xBA, 1}, std::nullopt},
      {"an embedded operation cut off", {0x37, 1}, std::nullopt},
      {"no end", {0x00, 0x26, 0xB0}, std::nullopt},
      {"empty", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(core::MessageEnd(c.text.data(), c.text.size(), 0), c.end) << c.what;
  }
}

TEST(TextCodeTable, ItemsCarryGlyphNumbersCodesAndOperations) {
  const Bytes text = {0x1F, 0xFF, 0xBA, 0x2C, 0x01, 0x3A, 4, 0xAF};
  core::TextItem item;
  ASSERT_TRUE(core::ScanTextItem(text.data(), text.size(), 0, &item));
  EXPECT_EQ(item.kind, core::TextItemKind::kGlyph);
  EXPECT_EQ(item.glyph, 0x1FFF);
  ASSERT_TRUE(core::ScanTextItem(text.data(), text.size(), 2, &item));
  EXPECT_EQ(item.kind, core::TextItemKind::kCode);
  EXPECT_EQ(item.code->mnemonic, "y");
  EXPECT_EQ(item.operands[0] + 256 * item.operands[1], 300);
  ASSERT_TRUE(core::ScanTextItem(text.data(), text.size(), 5, &item));
  EXPECT_EQ(item.kind, core::TextItemKind::kOperation);
  EXPECT_EQ(item.operation.info->mnemonic, "colour_fade");
  EXPECT_EQ(item.length, 2u);
  ASSERT_TRUE(core::ScanTextItem(text.data(), text.size(), 7, &item));
  EXPECT_EQ(item.kind, core::TextItemKind::kEnd);
}

}  // namespace
