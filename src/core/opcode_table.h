// The event script's opcodes: the one table of them, and the decoder that reads an
// instruction's operands from it. The interpreter, the op trace, the assembler, the
// disassembler and the audit all read this table. Its rows, and the enumerators of `Op`, are
// made from the one list of opcodes in core/opcode_list.h.
//
// An instruction is one opcode byte and its operand bytes. The operands of a row are given
// by its layout, one letter per operand byte, in order:
//
//   n t p k r a e  a number passed on (picture, track, slot, style, loop count, the
//                  start and end modes of 0x21 …)
//   f              a flag number
//   v              a byte value for a flag
//   b              a bit number 0 … 7
//   d              a signed displacement (8-bit two's complement), counted from the first
//                  byte after the whole instruction
//   L              a label of the loaded scenario
//   s              a scenario number
//   m q            a message number of the loaded scenario
//   o              0x21's sub-operation
//   c              0x25's number of options
//
// Two rows have a variable length (their form says which):
//   0x21 "omae"  o, then m a e only when o is 1 or 2.
//   0x25 "qcmd"  q c, then the pair m d repeated c times; a count above 12 is taken as 12
//                (the instruction then ends after the 12th pair).
// Opcodes not in the table take no operands and do nothing (one-byte instructions).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace core {

// The opcodes by name, one enumerator per row of the list.
enum class Op : std::uint8_t {
#define HOTARU_OPCODE(number, Name, mnemonic, form, layout, in_text, effect) Name = number,
#include "core/opcode_list.h"
#undef HOTARU_OPCODE
};

enum class OperandKind : std::uint8_t {
  kNumber,
  kFlag,
  kValue,
  kBit,
  kDisplacement,
  kLabel,
  kScenario,
  kMessage,
  kSelector,
  kCount,
};

enum class OpcodeForm : std::uint8_t {
  kFixed,         // exactly the layout's operands
  kSubOperation,  // 0x21
  kChoice,        // 0x25
};

struct OpcodeInfo {
  std::uint8_t number;
  std::string_view mnemonic;
  OpcodeForm form;
  std::string_view layout;  // operand letters, see above
  bool in_text;             // also an embedded operation inside message text
  std::string_view effect;
};

// The rows in ascending opcode order.
std::span<const OpcodeInfo> OpcodeTable();
// The row of an opcode or mnemonic, or null.
const OpcodeInfo* FindOpcode(std::uint8_t number);
const OpcodeInfo* FindOpcode(std::string_view mnemonic);
// The kind of a layout letter (kNumber for the number letters and anything unknown).
OperandKind OperandLetterKind(char letter);

constexpr std::size_t kMaxChoiceOptions = 12;
constexpr std::size_t kMaxOperands = 2 + 2 * kMaxChoiceOptions;

// One decoded instruction.
struct Instruction {
  std::uint8_t opcode = 0;
  const OpcodeInfo* info = nullptr;  // null: an opcode outside the table
  std::uint8_t operand_count = 0;
  std::uint8_t operands[kMaxOperands] = {};  // the bytes as stored
  OperandKind kinds[kMaxOperands] = {};
  std::uint32_t length = 1;  // bytes, the opcode included

  // Operand i as a value: displacements sign-extended, everything else unsigned.
  std::int32_t Value(std::size_t i) const {
    return kinds[i] == OperandKind::kDisplacement ? static_cast<std::int8_t>(operands[i])
                                                  : operands[i];
  }
};

// Decodes the instruction at offset `pos` of a block of `size` bytes. Returns false, and
// leaves *out unspecified, when the opcode or any byte of its operands lies at or beyond
// `size`: nothing past the block is ever read.
bool DecodeInstruction(const std::uint8_t* block, std::size_t size, std::size_t pos,
                       Instruction* out);

// Whether a level stops going on with the next byte after this instruction: the end, the
// unconditional and scenario jumps, the return to the resume point, a choice (it always
// jumps to an option; a choice of no option goes on), and 0x21 with sub-operation 0.
bool EndsFlow(const Instruction& instruction);

// The operands as the trace and the disassembler print them: decimal, space-separated,
// displacements signed.
std::string FormatOperands(const Instruction& instruction);

}  // namespace core
