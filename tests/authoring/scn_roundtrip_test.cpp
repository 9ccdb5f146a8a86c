// Disassembling and assembling again gives the same unpacked blocks, whatever they hold:
// code no label reaches, bytes between instructions, labels and messages at shared, odd or
// outside offsets, texts cut short, bytes after a text's end.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "authoring/scn_assembler.h"
#include "authoring/scn_disassembler.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"
#include "support/scenario_builder.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::kCodeStart;
using hotaru_test::ScenarioBuilder;

authoring::Charset TestCharset() {
  authoring::Charset charset;
  EXPECT_EQ(authoring::Charset::Parse(
                "1=　\n28=０\n100=あ\n175=れ\n300=ァ\n4000=蛍\n500=\"\n501=;\n", "t", &charset),
            "");
  return charset;
}

// The source of the blocks, after checking that it assembles into them again.
std::string RoundTrip(const authoring::ScenarioBlocks& blocks,
                      const authoring::Charset& charset = TestCharset()) {
  const std::string source = authoring::DisassembleScenario(blocks, charset, "test");
  authoring::ScenarioBlocks back;
  EXPECT_EQ(authoring::AssembleScenario(source, "test.scn", charset, &back), "") << source;
  EXPECT_EQ(back.event, blocks.event) << source;
  EXPECT_EQ(back.messages, blocks.messages) << source;
  return source;
}

std::string RoundTrip(const ScenarioBuilder& builder) {
  return RoundTrip({builder.EventBlock(), builder.MessageBlock()});
}

bool Has(const std::string& source, const std::string& part) {
  return source.find(part) != std::string::npos;
}

TEST(ScnRoundTripTest, EveryOpcodeRowInEveryForm) {
  ScenarioBuilder builder;
  builder.Label(0);
  for (const auto& row : core::OpcodeTable()) {
    switch (row.form) {
      case core::OpcodeForm::kFixed: {
        Bytes code = {row.number};
        for (std::size_t i = 0; i < row.layout.size(); ++i) {
          // Displacements of 0 go on with the next instruction.
          const bool jump =
              core::OperandLetterKind(row.layout[i]) == core::OperandKind::kDisplacement;
          code.push_back(jump ? 0 : static_cast<std::uint8_t>(i + 1));
        }
        builder.Code(code);
        break;
      }
      case core::OpcodeForm::kSubOperation:
        builder.Code({row.number, 0}).Code({row.number, 1, 5, 6, 7}).Code({row.number, 2, 5, 6, 7});
        builder.Code({row.number, 9});
        break;
      case core::OpcodeForm::kChoice: {
        builder.Code({row.number, 1, 2, 3, 0, 4, 0xFE}).Code({row.number, 1, 0});
        // A count above 12 reads 12 pairs.
        Bytes many = {row.number, 1, 200};
        for (int i = 0; i < 12; ++i) many.insert(many.end(), {static_cast<std::uint8_t>(i), 0});
        builder.Code(many);
        break;
      }
    }
  }
  builder.Code({0x20});
  const std::string source = RoundTrip(builder);
  for (const auto& row : core::OpcodeTable())
    EXPECT_TRUE(Has(source, "    " + std::string(row.mnemonic) + (row.layout.empty() ? "\n" : " ")))
        << row.mnemonic;
  EXPECT_TRUE(Has(source, "    sub 1 5 6 7\n")) << source;
  EXPECT_TRUE(Has(source, "    choice 1 200 0 J")) << "count kept, targets named";
}

TEST(ScnRoundTripTest, CodeWithStrayBytesCutInstructionsAndOddTargets) {
  ScenarioBuilder builder;
  const std::size_t at = kCodeStart;
  builder.Label(0).Code({0x20});           // 514 end
  builder.Code({0x00, 0xFF, 0x10});        // 515 bytes no instruction starts with
  builder.Label(1).Code({0x41, 5, 3, 2});  // 518 jeq 5 3 → 524
  builder.Code({0x20, 0x20});              // 522 end end
  builder.Code({0x4B, 5, 9});              // 524 set 5 9
  builder.Code({0x40, 0x80});              // 527 jump -128: into the table
  builder.Code({0x30, 7});                 // 529 bg 7, cut by label 2 at 530
  builder.LabelAt(2, static_cast<std::uint16_t>(at + 16));
  builder.Code({0x40, 1});              // 531 jump into the next instruction
  builder.Code({0x41, 1, 2, 3});        // 533
  builder.Code({0x22, 2, 0x40, 0xFE});  // 537 call L2; jump to itself
  builder.Code({0x41, 5});              // 541 cut short by the block's end
  // Six labels at one offset, labels past the end, into the table and at an odd offset.
  for (std::uint8_t n = 10; n < 16; ++n) builder.LabelAt(n, static_cast<std::uint16_t>(at + 10));
  builder.LabelAt(20, 0xFFFF).LabelAt(21, 3).LabelAt(22, static_cast<std::uint16_t>(at + 29));
  const std::string source = RoundTrip(builder);
  EXPECT_TRUE(Has(source, "L0:\nL3:\nL4:\nL5:\n    end\n    db 0x00 0xFF 0x10\n")) << source;
  EXPECT_TRUE(Has(source, "L1:\n    jeq 5 3 L10\n")) << source;
  EXPECT_TRUE(Has(source, "L10:\nL11:\nL12:\nL13:\n    set 5 9\n")) << source;
  EXPECT_TRUE(Has(source, "    jump -128\n    db 0x30\nL2:\n    db 0x07\n    jump J0216\n"))
      << source;
  EXPECT_TRUE(Has(source, "    db 0x41\nJ0216:\n    db 0x01 0x02 0x03\n")) << source;
  EXPECT_TRUE(Has(source, "    call L2\nJ021B:\n    jump J021B\n    db 0x41 0x05\n")) << source;
  EXPECT_TRUE(Has(source,
                  ".label 6-9 L0\n.label 14-15 L10\n.label 16-19 L0\n.label 20 0xFFFF\n"
                  ".label 21 0x0003\n.label 22 0x021F\n.label 23-255 L0\n"))
      << source;
}

TEST(ScnRoundTripTest, JumpsIntoInstructionsSplitThemOrNameAnOffsetInside) {
  // A jump lands inside the next instruction, whose split shows a jump that lands inside the
  // one after: more splits in a row than the disassembler makes, so the last target stays
  // inside an instruction.
  ScenarioBuilder builder;
  builder.Label(0);
  builder.Code({0x40, 0x01});
  for (int i = 0; i < 12; ++i) builder.Code({0x41, 0x40, 0x02, 0x20});
  builder.Code({0x20});
  const std::string source = RoundTrip(builder);
  EXPECT_TRUE(Has(source, "    db 0x41\nJ0205:\n    jump J0209\n    end\n")) << source;
  EXPECT_TRUE(Has(source, "    jump J0220+1\n    end\nJ0220:\n    jeq 64 2 32\n")) << source;
}

TEST(ScnRoundTripTest, MessagesSharedCutAndAfterTheirEnd) {
  ScenarioBuilder builder;
  builder.Label(0).Code({0x50, 0, 0x50, 4, 0x20});
  const std::size_t first = builder.MessageBlock().size();
  // Message 0: glyphs (one ends in the byte 0xAF), codes, an operation, '"' and ';' glyphs.
  builder.Message(0, {0x00, 100,  0x00, 175,  0xB2, 0xB0, 0xB4, 4,  0x30, 3,
                      0x01, 0xF4, 0x01, 0xF5, 0xB0, 0xB0, 0x00, 28, 0xB3, 0xAF});
  builder.MessageAt(1, static_cast<std::uint16_t>(first))
      .MessageAt(2, static_cast<std::uint16_t>(first + 2));
  // Message 3, a text no entry names, bytes that form no text; message 4 inside message 3.
  builder.Message(3, {0x01, 0x2C, 0xAF, 0x00, 28, 0xAF, 0x20, 0x21});
  builder.MessageAt(4, static_cast<std::uint16_t>(first + 21));
  builder.Message(5, {0x0F, 0xA0, 0xB4});  // cut short: no end
  builder.MessageAt(6, 0xFFFF).MessageAt(7, 1);
  const std::string source = RoundTrip(builder);
  EXPECT_TRUE(Has(source,
                  "M0:\nM1:\n    \"あれ{wait_line}{nl}\"\n    \"{colour:4}{bg:3}<g500>;{nl}{nl}\"\n"
                  "    \"０{wait_page}\"\n"));
  EXPECT_TRUE(
      Has(source,
          "M3:\n    \"ァ\"\nT021A:\n    \"０\"\n    db 0x20 0x21\nM5:\n    db 0x0F 0xA0 0xB4\n"))
      << source;
  EXPECT_TRUE(
      Has(source, ".message 2 M0+2\n.message 4 M3+1\n.message 6 0xFFFF\n.message 7 0x0001\n"))
      << source;
  EXPECT_TRUE(Has(source, "    msg 0  ; あれ{wait_line}"));
}

TEST(ScnRoundTripTest, BlocksTooShortForTheirTableAndHeaders) {
  ScenarioBuilder builder;
  Bytes event = builder.EventBlock();
  event[0] = 0x34;
  event[1] = 0x12;
  RoundTrip({event, Bytes{}});
  RoundTrip({Bytes(513, 0x20), Bytes{1, 2, 3}});
  const std::string source = RoundTrip({Bytes{}, builder.MessageBlock()});
  EXPECT_TRUE(Has(source, ".event\n.raw")) << source;
  EXPECT_TRUE(Has(RoundTrip({event, Bytes{}}), ".header 0x1234\n"));
}

TEST(ScnRoundTripTest, WithoutACharsetGlyphsAreNumbers) {
  ScenarioBuilder builder;
  builder.Message(0, {0x00, 100, 0x0F, 0xA0, 0xAF});
  EXPECT_TRUE(Has(RoundTrip({builder.EventBlock(), builder.MessageBlock()}, authoring::Charset()),
                  "\"<g100><g4000>\""));
}

// Blocks of random bytes with tables that point anywhere, mostly into the blocks; the bytes
// are drawn mostly from opcodes, text codes and glyph bytes so that they decode into a mix.
TEST(ScnRoundTripTest, RandomBlocks) {
  std::mt19937 rng(20240611);
  std::vector<std::uint8_t> pool;
  for (const auto& row : core::OpcodeTable()) pool.push_back(row.number);
  for (const auto& row : core::TextCodeTable()) pool.push_back(row.number);
  for (int b = 0; b < 0x20; ++b) pool.push_back(static_cast<std::uint8_t>(b));
  pool.insert(pool.end(), {0xAF, 0xAF, 0xAF, 0xAF});
  auto random_block = [&]() {
    const std::size_t size = rng() % 8 == 0 ? rng() % 600 : kCodeStart + rng() % 700;
    Bytes block(size);
    for (auto& byte : block)
      byte = rng() % 4 == 0 ? static_cast<std::uint8_t>(rng()) : pool[rng() % pool.size()];
    for (std::size_t n = 0; n < 256 && 3 + 2 * n < size; ++n) {
      const unsigned offset = rng() % 4 == 0 ? rng() % 0x10000 : rng() % (size + 4);
      block[2 + 2 * n] = static_cast<std::uint8_t>(offset);
      block[3 + 2 * n] = static_cast<std::uint8_t>(offset >> 8);
    }
    return block;
  };
  for (int i = 0; i < 300; ++i) {
    SCOPED_TRACE(i);
    RoundTrip({random_block(), random_block()});
    if (HasFailure()) break;
  }
}

}  // namespace
