// The walk along a scenario's event code that the audit and the coverage share: from the
// places it is started at, instruction after instruction and both ways of every jump, until
// the flow ends (an end, an unconditional or scenario jump, a choice, a return to the resume
// point) or meets code it has walked already. Each instruction is met once. Calls and
// scenario jumps are left to the visitor: it starts the walk again where they lead.
//
// Nothing outside the block is ever read, whatever the bytes hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/opcode_table.h"

namespace authoring {

class CodeWalk {
 public:
  class Visitor {
   public:
    virtual ~Visitor() = default;
    // Every instruction reached, once; an opcode outside the table comes with a null info
    // and the walk goes on with the next byte, as the game does.
    virtual void Instruction(std::size_t pos, const core::Instruction& instruction) = 0;
    // A jump of the instruction at pos to `target`, outside the code: not followed.
    virtual void JumpOutside(std::size_t /*pos*/, const core::Instruction& /*instruction*/,
                             std::int64_t /*target*/) {}
    // The instruction at pos is cut short by the end of the block.
    virtual void CutShort(std::size_t /*pos*/) {}
    // The code runs past the end of the block after the instruction at `last`.
    virtual void RunsPastEnd(std::size_t /*last*/) {}
  };

  // `code` is a whole EVENT DATA block; it must outlive the walk.
  explicit CodeWalk(std::span<const std::uint8_t> code);

  // Whether offset lies in the code (after the label table, inside the block).
  bool InCode(std::size_t offset) const;
  // Queues a start; false, and nothing queued, when `offset` is outside the code.
  bool Start(std::size_t offset);
  // Queues the place label L points to; false as Start, or when the block has no table.
  bool StartLabel(std::uint8_t label);
  // The offset label L points to (0 when the block has no table).
  std::size_t LabelOffset(std::uint8_t label) const;

  bool Pending() const { return !work_.empty(); }
  // Walks from every queued start, including those the visitor queues meanwhile.
  void Run(Visitor& visitor);

 private:
  void WalkFrom(std::size_t pos, Visitor& visitor);

  std::span<const std::uint8_t> code_;
  std::vector<bool> walked_;
  std::vector<std::size_t> work_;
};

}  // namespace authoring
