#include "scenario/event_interpreter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

#include "core/flags.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/opcode_table.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "platform/trace.h"
#include "scenario/choices.h"
#include "scenario/ending_sequence.h"
#include "scenario/engine_state.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "scenario/scene_operations.h"
#include "scenario/script_messages.h"
#include "scenario/shake_and_attacks.h"
#include "visuals/effect_frames.h"
#include "visuals/screen_show.h"

namespace scenario {
namespace {

// EventPC is 16 bits: code beyond this offset cannot be reached.
constexpr std::size_t kAddressable = 0x10000;

class LevelCount {
 public:
  LevelCount() {
    if (Engine.EventLevels >= kMaxEventLevels) ScenarioBroken(CurrentScenario());
    ++Engine.EventLevels;
  }
  ~LevelCount() { --Engine.EventLevels; }
  LevelCount(const LevelCount&) = delete;
  LevelCount& operator=(const LevelCount&) = delete;
};

// One level's view of the EVENT DATA block it wired.
struct Level {
  core::MemHandle block = 0;
  const std::uint8_t* base = nullptr;
  std::size_t size = 0;
  std::size_t pc = 0;  // the next instruction
  bool running = true;

  // Wires the loaded EVENT DATA and reads from it from now on.
  void Wire() {
    block = core::Scenario.EventData;
    base = static_cast<const std::uint8_t*>(core::MemWire(block));
    size = GlobalSize(block);
    if (base == nullptr || size < kBlockTableEnd) ScenarioBroken(CurrentScenario());
  }
  bool Reachable(std::int64_t offset) const {
    return offset >= 0 && static_cast<std::size_t>(offset) < std::min(size, kAddressable);
  }
  // Labels were checked against the block when it was loaded.
  std::size_t Label(std::uint8_t label) const {
    return static_cast<std::size_t>(base[2 + 2 * label] | base[3 + 2 * label] << 8);
  }
  // A jump lands relative to the first byte after the whole instruction (pc by then).
  void JumpBy(std::int32_t displacement) {
    const std::int64_t target = static_cast<std::int64_t>(pc) + displacement;
    if (!Reachable(target)) ScenarioBroken(CurrentScenario());
    pc = static_cast<std::size_t>(target);
  }
};

void TraceInstruction(const core::Instruction& ins, std::size_t offset) {
  std::string line = std::to_string(CurrentScenario()) + ' ' + std::to_string(offset) + ' ';
  if (ins.info != nullptr) {
    line += ins.info->mnemonic;
  } else {
    line += "byte " + std::to_string(ins.opcode);
  }
  if (ins.operand_count > 0) line += ' ' + core::FormatOperands(ins);
  platform::Trace("op", line);
}

bool FlagTest(core::Op opcode, std::uint8_t flag_value, std::uint8_t v) {
  switch (opcode) {
    case core::Op::JumpIfEqual: return flag_value == v;
    case core::Op::JumpIfNotEqual: return flag_value != v;
    case core::Op::JumpIfGreater: return flag_value > v;
    case core::Op::JumpIfLess: return flag_value < v;
    case core::Op::JumpIfGreaterOrEqual: return flag_value >= v;
    default: return flag_value <= v;  // Op::JumpIfLessOrEqual
  }
}

int CountMarks() {
  int count = 0;
  for (int i = 0; i < core::kMarkBits / 8; ++i)
    count += std::popcount(core::Flag(core::flag::kMarks + i));
  return count;
}

// 0x96: flag 115 tells whether this mark was the 17th.
void SetMark(std::uint8_t n) {
  const int before = CountMarks();
  if (n < core::kMarkBits) core::SetFlagBit(core::GameState, core::flag::kMarks, n);
  const int after = CountMarks();
  core::SetFlag(core::flag::kMarksReached17, before == 16 && after == 17 ? 1 : 0);
}

// The script's yes/no question, its answer in the runner's trace.
bool TracedQuestion() {
  const bool yes = AskScriptQuestion();
  platform::Trace("choice", yes ? "question yes" : "question no");
  return yes;
}

// 0x25. A choice of no option is not offered (nothing could ever be chosen): play goes on
// after the instruction with flag 104 = 255, the value of a choice with no answer.
void RunChoice(Level& level, const core::Instruction& ins) {
  core::Present(&core::Screen.UpdateRect);
  const std::uint8_t count = static_cast<std::uint8_t>((ins.operand_count - 2) / 2);
  if (count == 0) {
    core::SetFlag(core::flag::kChosenOption, 255);
    return;
  }
  CheckMessage(ins.operands[0]);
  for (std::uint8_t i = 0; i < count; ++i) CheckMessage(ins.operands[2 + 2 * i]);
  const std::int16_t chosen = Choose(ins.operands[0], &ins.operands[2], count);
  if (core::Scenario.ScriptStop != 0) {
    level.running = false;
    return;
  }
  if (chosen >= 0 && chosen < count) {
    // The runner's trace names the option taken, counted from 0, of the question's options.
    platform::Trace("choice", "question " + std::to_string(ins.operands[0]) + " option " +
                                  std::to_string(chosen) + " of " + std::to_string(count));
    level.JumpBy(ins.Value(3 + 2 * chosen));
  }
}

void Execute(Level& level, const core::Instruction& ins) {
  const auto op = [&ins](std::size_t i) { return ins.operands[i]; };
  const core::Op opcode = static_cast<core::Op>(ins.opcode);
  switch (opcode) {
    case core::Op::End:
      core::Scenario.ScriptStop = 1;
      level.running = false;
      break;
    case core::Op::SubOperation:
      if (op(0) == 0) core::Scenario.ScriptStop = 1;
      if (op(0) == 1 || op(0) == 2) {
        PlayWaveScene(
            op(1), op(2), op(3),
            op(0) == 1 ? text::WaveDirection::kHorizontal : text::WaveDirection::kVertical);
      }
      if (core::Scenario.ScriptStop != 0) level.running = false;
      break;
    case core::Op::Call:
      SetEventPC(static_cast<std::uint16_t>(level.Label(op(0))));
      RunEvents();
      break;
    case core::Op::Wait: core::Wait(op(0)); break;
    case core::Op::EnterScenario:
      core::MemUnwire(level.block);
      EnterScenario(op(0), true);
      level.Wire();
      level.pc = level.Label(op(1));
      break;
    case core::Op::Choice: RunChoice(level, ins); break;
    case core::Op::SetResumePoint:  // a restore goes on after this instruction
      SetEventPC(static_cast<std::uint16_t>(level.pc));
      SetResumePoint();
      break;
    case core::Op::Resume:
      RestoreState(true);
      core::Scenario.ScriptStop = 2;
      level.running = false;
      break;
    case core::Op::Jump: level.JumpBy(ins.Value(0)); break;
    case core::Op::JumpIfEqual:
    case core::Op::JumpIfNotEqual:
    case core::Op::JumpIfGreater:
    case core::Op::JumpIfLess:
    case core::Op::JumpIfGreaterOrEqual:
    case core::Op::JumpIfLessOrEqual:
      if (FlagTest(opcode, core::Flag(op(0)), op(1))) level.JumpBy(ins.Value(2));
      break;
    case core::Op::JumpIfYes:
      if (TracedQuestion()) level.JumpBy(ins.Value(0));
      break;
    case core::Op::JumpIfNo:
      if (!TracedQuestion()) level.JumpBy(ins.Value(0));
      break;
    case core::Op::JumpIfBit:  // a flag has bits 0 … 7 only
      if (op(1) < 8 && (core::Flag(op(0)) >> op(1)) & 1) level.JumpBy(ins.Value(2));
      break;
    case core::Op::JumpIfDecide:
      if (core::Input.InputEvents & core::kInputDecide) level.JumpBy(ins.Value(0));
      break;
    case core::Op::Message:
    case core::Op::MessageThenShow:
      if (ShowScriptMessage(op(0))) break;
      if (core::Scenario.ScriptStop != 0) {
        level.running = false;
      } else if (opcode == core::Op::MessageThenShow) {
        visuals::ShowComposed();
      }
      break;
    case core::Op::ShowComposed: visuals::ShowComposed(); break;
    case core::Op::MarkSeen: MarkScenarioSeen(core::GameState, op(0)); break;
    case core::Op::Quake: Quake(); break;
    case core::Op::Random:  // a value 0 … n - 1
      core::SetFlag(op(0), static_cast<std::uint8_t>(core::Random(2) * op(1) / 256));
      break;
    case core::Op::WriteProgress: WriteProgress(); break;
    case core::Op::Ending:
      core::Scenario.ResumeValid = 0;
      PlayEnding(op(0));
      break;
    case core::Op::SetMark: SetMark(op(0)); break;
    case core::Op::Claw1: ClawEffect1(); break;
    case core::Op::Blood: visuals::BloodEffect(); break;
    case core::Op::Claw2: visuals::ClawEffect2(); break;
    default:  // the operations that message text may embed too
      RunSceneOperation(ins, false);
      break;
  }
}

}  // namespace

void RunEvents() {
  if (core::Scenario.EventData == 0) ScenarioBroken(CurrentScenario());
  LevelCount count;
  Level level;
  level.Wire();
  level.pc = EventPC();
  const bool trace = platform::TraceEnabled("op");
  core::Instruction ins;
  while (level.running) {
    if (!level.Reachable(static_cast<std::int64_t>(level.pc)) ||
        !core::DecodeInstruction(level.base, level.size, level.pc, &ins)) {
      ScenarioBroken(CurrentScenario());
    }
    SetEventPC(static_cast<std::uint16_t>(level.pc));
    if (trace) TraceInstruction(ins, level.pc);
    level.pc += ins.length;
    Execute(level, ins);
    core::Random(1);
    core::PumpMessage();
    // The block this level reads was released under it (a nested scenario jump or
    // restore): it must not be read again.
    if (core::Scenario.EventData != level.block) level.running = false;
  }
  if (core::Scenario.EventData == level.block) core::MemUnwire(level.block);
}

}  // namespace scenario
