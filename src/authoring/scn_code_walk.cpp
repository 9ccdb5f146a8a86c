#include "authoring/scn_code_walk.h"

#include "authoring/scn_file.h"

namespace authoring {

CodeWalk::CodeWalk(std::span<const std::uint8_t> code) : code_(code), walked_(code.size()) {}

bool CodeWalk::InCode(std::size_t offset) const {
  return offset >= kScnBodyStart && offset < code_.size();
}

bool CodeWalk::Start(std::size_t offset) {
  if (!InCode(offset)) return false;
  work_.push_back(offset);
  return true;
}

std::size_t CodeWalk::LabelOffset(std::uint8_t label) const {
  return code_.size() < kScnBodyStart ? 0 : ScnTableEntry(code_, label);
}

bool CodeWalk::StartLabel(std::uint8_t label) { return Start(LabelOffset(label)); }

void CodeWalk::Run(Visitor& visitor) {
  while (!work_.empty()) {
    const std::size_t pos = work_.back();
    work_.pop_back();
    WalkFrom(pos, visitor);
  }
}

void CodeWalk::WalkFrom(std::size_t pos, Visitor& visitor) {
  std::size_t last = pos;
  while (true) {
    if (pos >= code_.size()) {
      visitor.RunsPastEnd(last);
      return;
    }
    if (walked_[pos]) return;
    walked_[pos] = true;
    core::Instruction instruction;
    if (!core::DecodeInstruction(code_.data(), code_.size(), pos, &instruction)) {
      visitor.CutShort(pos);
      return;
    }
    last = pos;
    visitor.Instruction(pos, instruction);
    if (instruction.info == nullptr) {
      ++pos;
      continue;
    }
    for (std::size_t i = 0; i < instruction.operand_count; ++i) {
      if (instruction.kinds[i] != core::OperandKind::kDisplacement) continue;
      const std::int64_t target =
          static_cast<std::int64_t>(pos + instruction.length) + instruction.Value(i);
      if (target < 0 || !Start(static_cast<std::size_t>(target)))
        visitor.JumpOutside(pos, instruction, target);
    }
    if (core::EndsFlow(instruction)) return;
    pos += instruction.length;
  }
}

}  // namespace authoring
