#include "core/opcode_table.h"

#include <algorithm>
#include <array>

namespace core {
namespace {

constexpr OpcodeInfo kOpcodes[] = {
#define HOTARU_OPCODE(number, Name, mnemonic, form, layout, in_text, effect) \
  {number, mnemonic, OpcodeForm::form, layout, in_text, effect},
#include "core/opcode_list.h"
#undef HOTARU_OPCODE
};

constexpr OperandKind KindOf(char letter) {
  switch (letter) {
    case 'f': return OperandKind::kFlag;
    case 'v': return OperandKind::kValue;
    case 'b': return OperandKind::kBit;
    case 'd': return OperandKind::kDisplacement;
    case 'L': return OperandKind::kLabel;
    case 's': return OperandKind::kScenario;
    case 'm':
    case 'q': return OperandKind::kMessage;
    case 'o': return OperandKind::kSelector;
    case 'c': return OperandKind::kCount;
    default: return OperandKind::kNumber;
  }
}

// Row index by opcode, -1 for none; built once at compile time.
constexpr std::array<std::int16_t, 256> kRowOf = [] {
  std::array<std::int16_t, 256> rows{};
  rows.fill(-1);
  for (std::size_t i = 0; i < std::size(kOpcodes); ++i) {
    rows[kOpcodes[i].number] = static_cast<std::int16_t>(i);
  }
  return rows;
}();

constexpr bool RowsAscendAndFit() {
  for (std::size_t i = 0; i < std::size(kOpcodes); ++i) {
    if (i > 0 && kOpcodes[i].number <= kOpcodes[i - 1].number) return false;
    if (kOpcodes[i].layout.size() > 4) return false;
  }
  return true;
}
static_assert(RowsAscendAndFit(), "opcode rows must ascend and carry at most four letters");

}  // namespace

std::span<const OpcodeInfo> OpcodeTable() { return kOpcodes; }

const OpcodeInfo* FindOpcode(std::uint8_t number) {
  const std::int16_t row = kRowOf[number];
  return row < 0 ? nullptr : &kOpcodes[row];
}

const OpcodeInfo* FindOpcode(std::string_view mnemonic) {
  auto it = std::find_if(std::begin(kOpcodes), std::end(kOpcodes),
                         [&](const OpcodeInfo& row) { return row.mnemonic == mnemonic; });
  return it == std::end(kOpcodes) ? nullptr : &*it;
}

OperandKind OperandLetterKind(char letter) { return KindOf(letter); }

bool DecodeInstruction(const std::uint8_t* block, std::size_t size, std::size_t pos,
                       Instruction* out) {
  if (pos >= size) return false;
  const std::size_t available = size - pos - 1;  // operand bytes inside the block
  const std::uint8_t* operands = block + pos + 1;
  out->opcode = block[pos];
  out->info = FindOpcode(out->opcode);
  out->operand_count = 0;
  out->length = 1;
  if (out->info == nullptr) return true;

  const std::string_view layout = out->info->layout;
  std::size_t count = 0;
  switch (out->info->form) {
    case OpcodeForm::kFixed: count = layout.size(); break;
    case OpcodeForm::kSubOperation:
      if (available < 1) return false;
      count = operands[0] == 1 || operands[0] == 2 ? 4 : 1;
      break;
    case OpcodeForm::kChoice:
      if (available < 2) return false;
      count = 2 + 2 * std::min<std::size_t>(operands[1], kMaxChoiceOptions);
      break;
  }
  if (count > available) return false;
  for (std::size_t i = 0; i < count; ++i) {
    out->operands[i] = operands[i];
    // The choice's pairs repeat the layout's last two letters.
    const std::size_t letter = i < layout.size() ? i : 2 + (i - 2) % 2;
    out->kinds[i] = KindOf(layout[letter]);
  }
  out->operand_count = static_cast<std::uint8_t>(count);
  out->length = static_cast<std::uint32_t>(1 + count);
  return true;
}

std::string FormatOperands(const Instruction& instruction) {
  std::string text;
  for (std::size_t i = 0; i < instruction.operand_count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(instruction.Value(i));
  }
  return text;
}

bool EndsFlow(const Instruction& instruction) {
  switch (static_cast<Op>(instruction.opcode)) {
    case Op::End:
    case Op::EnterScenario:
    case Op::Resume:
    case Op::Jump: return true;
    case Op::SubOperation: return instruction.operand_count > 0 && instruction.operands[0] == 0;
    case Op::Choice: return instruction.operand_count > 2;
    default: return false;
  }
}

}  // namespace core
