// The event script's opcodes: the one table of them, and the decoder that reads an
// instruction's operands from it. The interpreter, the op trace, the assembler, the
// disassembler and the audit all read this table; no other place lists opcodes.
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

// The opcodes by name, one enumerator per row of the table (a check beside the table keeps
// the two equal).
enum class Op : std::uint8_t {
  End = 0x20,
  SubOperation = 0x21,
  Call = 0x22,
  Wait = 0x23,
  EnterScenario = 0x24,
  Choice = 0x25,
  WaitClick = 0x26,
  SetResumePoint = 0x27,
  Resume = 0x28,
  ShowBackground = 0x30,
  RestoreBackground = 0x31,
  ForgetBackground = 0x32,
  FillBackground = 0x33,
  ClearScene = 0x34,
  ShowEventPictureH = 0x35,
  ShowEventPictureV = 0x36,
  ShowCharacter = 0x37,
  ShowInStyle = 0x38,
  Transition = 0x39,
  ColourFade = 0x3A,
  ColourPending = 0x3B,
  ColourSet = 0x3C,
  Jump = 0x40,
  JumpIfEqual = 0x41,
  JumpIfNotEqual = 0x42,
  JumpIfGreater = 0x43,
  JumpIfLess = 0x44,
  JumpIfGreaterOrEqual = 0x45,
  JumpIfLessOrEqual = 0x46,
  JumpIfYes = 0x47,
  JumpIfNo = 0x48,
  JumpIfBit = 0x49,
  JumpIfDecide = 0x4A,
  SetFlag = 0x4B,
  AddToFlag = 0x4C,
  Message = 0x50,
  MessageThenShow = 0x51,
  ShowComposed = 0x52,
  ApplyPalette = 0x60,
  Black = 0x61,
  FadeOut = 0x62,
  FadeIn = 0x63,
  SavePalette = 0x64,
  RestorePalette = 0x65,
  White = 0x66,
  FadeToWhite = 0x67,
  FadeFromWhite = 0x68,
  Undim = 0x69,
  Dim = 0x6A,
  FadeInDim = 0x6B,
  FadeOutDim = 0x6C,
  CdPlay = 0x80,
  CdMarkFade = 0x81,
  CdStop = 0x82,
  Skip83 = 0x83,
  Skip84 = 0x84,
  CdFadeOut = 0x85,
  CdWaitEnd = 0x86,
  CdQueue = 0x87,
  MarkSeen = 0x90,
  Nop = 0x91,
  Quake = 0x92,
  Random = 0x93,
  WriteProgress = 0x94,
  Ending = 0x95,
  SetMark = 0x96,
  Claw1 = 0x97,
  Blood = 0x98,
  Claw2 = 0x99,
  PcmLoad = 0xA0,
  PcmUnload = 0xA1,
  PcmPlay = 0xA2,
  PcmStop = 0xA3,
  SkipA4 = 0xA4,
  SkipA5 = 0xA5,
  PcmFinish = 0xA6,
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
