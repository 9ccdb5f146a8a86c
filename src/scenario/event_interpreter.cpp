#include "scenario/event_interpreter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

#include "core/flags.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/opcode_table.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "platform/trace.h"
#include "scenario/choices.h"
#include "scenario/ending_sequence.h"
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

int g_levels = 0;

class LevelCount {
 public:
  LevelCount() {
    if (g_levels >= kMaxEventLevels) ScenarioBroken(CurrentScenario());
    ++g_levels;
  }
  ~LevelCount() { --g_levels; }
  LevelCount(const LevelCount&) = delete;
  LevelCount& operator=(const LevelCount&) = delete;
};

// One level's view of the EVENT DATA block it wired.
struct Level {
  resources::MemHandle block = 0;
  const std::uint8_t* base = nullptr;
  std::size_t size = 0;
  std::size_t pc = 0;  // the next instruction
  bool running = true;

  // Wires the loaded EVENT DATA and reads from it from now on.
  void Wire() {
    block = EventData;
    base = static_cast<const std::uint8_t*>(resources::MemWire(block));
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

void TraceInstruction(const Instruction& ins, std::size_t offset) {
  std::string line = std::to_string(CurrentScenario()) + ' ' + std::to_string(offset) + ' ';
  if (ins.info != nullptr) {
    line += ins.info->mnemonic;
  } else {
    line += "byte " + std::to_string(ins.opcode);
  }
  if (ins.operand_count > 0) line += ' ' + FormatOperands(ins);
  platform::Trace("op", line);
}

bool FlagTest(Op opcode, std::uint8_t flag_value, std::uint8_t v) {
  switch (opcode) {
    case Op::JumpIfEqual: return flag_value == v;
    case Op::JumpIfNotEqual: return flag_value != v;
    case Op::JumpIfGreater: return flag_value > v;
    case Op::JumpIfLess: return flag_value < v;
    case Op::JumpIfGreaterOrEqual: return flag_value >= v;
    default: return flag_value <= v;  // Op::JumpIfLessOrEqual
  }
}

int CountMarks() {
  int count = 0;
  for (int i = 0; i < kMarkBits / 8; ++i) count += std::popcount(Flag(flag::kMarks + i));
  return count;
}

// 0x96: flag 115 tells whether this mark was the 17th.
void SetMark(std::uint8_t n) {
  const int before = CountMarks();
  if (n < kMarkBits) SetFlagBit(GameState, flag::kMarks, n);
  const int after = CountMarks();
  SetFlag(flag::kMarksReached17, before == 16 && after == 17 ? 1 : 0);
}

// The script's yes/no question, its answer in the runner's trace.
bool TracedQuestion() {
  const bool yes = AskScriptQuestion();
  platform::Trace("choice", yes ? "question yes" : "question no");
  return yes;
}

// 0x25. A choice of no option is not offered (nothing could ever be chosen): play goes on
// after the instruction with flag 104 = 255, the value of a choice with no answer.
void RunChoice(Level& level, const Instruction& ins) {
  shell::Present(&visuals::UpdateRect);
  const std::uint8_t count = static_cast<std::uint8_t>((ins.operand_count - 2) / 2);
  if (count == 0) {
    SetFlag(flag::kChosenOption, 255);
    return;
  }
  CheckMessage(ins.operands[0]);
  for (std::uint8_t i = 0; i < count; ++i) CheckMessage(ins.operands[2 + 2 * i]);
  const std::int16_t chosen = Choose(ins.operands[0], &ins.operands[2], count);
  if (ScriptStop != 0) {
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

void Execute(Level& level, const Instruction& ins) {
  const auto op = [&ins](std::size_t i) { return ins.operands[i]; };
  const Op opcode = static_cast<Op>(ins.opcode);
  switch (opcode) {
    case Op::End:
      ScriptStop = 1;
      level.running = false;
      break;
    case Op::SubOperation:
      if (op(0) == 0) ScriptStop = 1;
      if (op(0) == 1 || op(0) == 2) {
        PlayWaveScene(
            op(1), op(2), op(3),
            op(0) == 1 ? text::WaveDirection::kHorizontal : text::WaveDirection::kVertical);
      }
      if (ScriptStop != 0) level.running = false;
      break;
    case Op::Call:
      SetEventPC(static_cast<std::uint16_t>(level.Label(op(0))));
      RunEvents();
      break;
    case Op::Wait: shell::Wait(op(0)); break;
    case Op::EnterScenario:
      resources::MemUnwire(level.block);
      EnterScenario(op(0), true);
      level.Wire();
      level.pc = level.Label(op(1));
      break;
    case Op::Choice: RunChoice(level, ins); break;
    case Op::SetResumePoint:  // a restore goes on after this instruction
      SetEventPC(static_cast<std::uint16_t>(level.pc));
      SetResumePoint();
      break;
    case Op::Resume:
      RestoreState(true);
      ScriptStop = 2;
      level.running = false;
      break;
    case Op::Jump: level.JumpBy(ins.Value(0)); break;
    case Op::JumpIfEqual:
    case Op::JumpIfNotEqual:
    case Op::JumpIfGreater:
    case Op::JumpIfLess:
    case Op::JumpIfGreaterOrEqual:
    case Op::JumpIfLessOrEqual:
      if (FlagTest(opcode, Flag(op(0)), op(1))) level.JumpBy(ins.Value(2));
      break;
    case Op::JumpIfYes:
      if (TracedQuestion()) level.JumpBy(ins.Value(0));
      break;
    case Op::JumpIfNo:
      if (!TracedQuestion()) level.JumpBy(ins.Value(0));
      break;
    case Op::JumpIfBit:  // a flag has bits 0 … 7 only
      if (op(1) < 8 && (Flag(op(0)) >> op(1)) & 1) level.JumpBy(ins.Value(2));
      break;
    case Op::JumpIfDecide:
      if (shell::InputEvents & shell::kInputDecide) level.JumpBy(ins.Value(0));
      break;
    case Op::Message:
    case Op::MessageThenShow:
      if (ShowScriptMessage(op(0))) break;
      if (ScriptStop != 0) {
        level.running = false;
      } else if (opcode == Op::MessageThenShow) {
        visuals::ShowComposed();
      }
      break;
    case Op::ShowComposed: visuals::ShowComposed(); break;
    case Op::MarkSeen: MarkScenarioSeen(GameState, op(0)); break;
    case Op::Quake: Quake(); break;
    case Op::Random:  // a value 0 … n - 1
      SetFlag(op(0), static_cast<std::uint8_t>(shell::Random(2) * op(1) / 256));
      break;
    case Op::WriteProgress: WriteProgress(); break;
    case Op::Ending:
      ResumeValid = 0;
      PlayEnding(op(0));
      break;
    case Op::SetMark: SetMark(op(0)); break;
    case Op::Claw1: ClawEffect1(); break;
    case Op::Blood: visuals::BloodEffect(); break;
    case Op::Claw2: visuals::ClawEffect2(); break;
    default:  // the operations that message text may embed too
      RunSceneOperation(ins, false);
      break;
  }
}

}  // namespace

void RunEvents() {
  if (EventData == 0) ScenarioBroken(CurrentScenario());
  LevelCount count;
  Level level;
  level.Wire();
  level.pc = EventPC();
  const bool trace = platform::TraceEnabled("op");
  Instruction ins;
  while (level.running) {
    if (!level.Reachable(static_cast<std::int64_t>(level.pc)) ||
        !DecodeInstruction(level.base, level.size, level.pc, &ins)) {
      ScenarioBroken(CurrentScenario());
    }
    SetEventPC(static_cast<std::uint16_t>(level.pc));
    if (trace) TraceInstruction(ins, level.pc);
    level.pc += ins.length;
    Execute(level, ins);
    shell::Random(1);
    shell::PumpMessage();
    // The block this level reads was released under it (a nested scenario jump or
    // restore): it must not be read again.
    if (EventData != level.block) level.running = false;
  }
  if (EventData == level.block) resources::MemUnwire(level.block);
}

}  // namespace scenario
