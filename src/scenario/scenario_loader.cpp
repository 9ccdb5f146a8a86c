#include "scenario/scenario_loader.h"

#include <algorithm>
#include <string>

#include "core/exit_program.h"
#include "core/flags.h"
#include "core/format_text.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/menu_command_ids.h"
#include "core/opcode_table.h"
#include "core/scenario_state.h"
#include "core/window_state.h"
#include "resources/block_unpacker.h"
#include "resources/pack_archive.h"
#include "scenario/event_interpreter.h"
#include "sound/cd_audio.h"
#include "sound/sound_state.h"

namespace scenario {
namespace {

std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Whether an unpacked block holds its whole table and every entry points inside it.
bool TableFits(core::MemHandle block) {
  const std::size_t size = GlobalSize(block);
  if (size < kBlockTableEnd) return false;
  const auto* base = static_cast<const std::uint8_t*>(core::MemLock(block));
  bool fits = base != nullptr;
  for (std::size_t entry = 0; fits && entry < 256; ++entry) {
    fits = ReadU16(base + 2 + 2 * entry) < size;
  }
  core::MemUnlock(block);
  return fits;
}

void ReleaseBlocks() {
  core::MemRelease(&core::Scenario.EventData);
  core::MemRelease(&core::Scenario.MessageData);
}

}  // namespace

std::uint8_t CurrentScenario() {
  return core::GetU8(core::GameState, core::field::kCurrentScenario);
}
void SetCurrentScenario(std::uint8_t number) {
  core::SetU8(core::GameState, core::field::kCurrentScenario, number);
}
std::uint16_t EventPC() { return core::GetU16(core::GameState, core::field::kEventPC); }
void SetEventPC(std::uint16_t offset) {
  core::SetU16(core::GameState, core::field::kEventPC, offset);
}

bool ScenarioSeen(const core::GameStateRecord& record, std::uint8_t number) {
  return number < core::kSeenScenarioBits &&
         core::FlagBit(record, core::flag::kSeenScenarios, number);
}

void MarkScenarioSeen(core::GameStateRecord& record, std::uint8_t number) {
  if (number < core::kSeenScenarioBits)
    core::SetFlagBit(record, core::flag::kSeenScenarios, number);
}

void ScenarioBroken(std::uint8_t number) {
  const std::string name = core::FormatString("%03d.SCN", number);
  const std::string message = core::FormatString("シナリオが壊れています : %s", name.c_str());
  core::ExitProgram(message.c_str());
}

void OfferSkipCommand(bool offered) {
  EnableMenuItem(GetMenu(core::Window.MainWindow), core::kCommandSkip,
                 offered ? MF_ENABLED : MF_DISABLED | MF_GRAYED);
  DrawMenuBar(core::Window.MainWindow);
}

namespace {

// The byte offsets of the packed EVENT DATA and MESSAGE DATA blocks; false when the header
// does not fit the file or points past its end.
bool BlockPlaces(const std::uint8_t* file, std::uint32_t size, std::uint32_t* event_at,
                 std::uint32_t* message_at) {
  if (file == nullptr || size < 4) return false;
  *event_at = ReadU16(file) * 16u;
  *message_at = ReadU16(file + 2) * 16u;
  return *event_at < size && *message_at < size;
}

// Unpacks and checks the blocks of a scenario file into `event` and `message`, named as
// given; false, with both released, when the file is damaged.
bool UnpackBlocks(const std::uint8_t* file, std::uint32_t size, core::MemHandle* event,
                  core::MemHandle* message, const char* event_name, const char* message_name) {
  std::uint32_t event_at = 0;
  std::uint32_t message_at = 0;
  if (!BlockPlaces(file, size, &event_at, &message_at)) return false;
  *event = resources::UnpackBlock(file + event_at, size - event_at, event_name);
  *message = resources::UnpackBlock(file + message_at, size - message_at, message_name);
  if (TableFits(*event) && TableFits(*message)) return true;
  core::MemRelease(event);
  core::MemRelease(message);
  return false;
}

// Unpacks and checks the blocks of a scenario file into EventData and MessageData; false,
// with nothing loaded, when the file is damaged.
bool UnpackScenario(const std::uint8_t* file, std::uint32_t size) {
  ReleaseBlocks();
  SetCurrentScenario(kNoScenario);
  return UnpackBlocks(file, size, &core::Scenario.EventData, &core::Scenario.MessageData,
                      "EVENT DATA", "MESSAGE DATA");
}

// Whether neither packed block declares a size that the unpacker refuses as damaged data
// (which would end the program).
bool BlockSizesSane(const std::uint8_t* file, std::uint32_t size) {
  std::uint32_t event_at = 0;
  std::uint32_t message_at = 0;
  if (!BlockPlaces(file, size, &event_at, &message_at)) return true;  // refused later
  return resources::PackedBlockSize(file + event_at, size - event_at) <=
             resources::kMaxUnpackedBlockSize &&
         resources::PackedBlockSize(file + message_at, size - message_at) <=
             resources::kMaxUnpackedBlockSize;
}

}  // namespace

ScenarioCode CheckScenarioCode(std::uint8_t number, std::uint16_t offset) {
  ScenarioCode answer;
  const std::string name = core::FormatString("%03d.SCN", number);
  if (number == kNoScenario || !resources::DataFileExists(name.c_str())) {
    answer.place = CodePlace::kNoFile;
    return answer;
  }
  std::uint32_t size = 0;
  core::MemHandle file = resources::LoadFile(name.c_str(), &size);
  const auto* bytes = static_cast<const std::uint8_t*>(core::MemLock(file));
  if (bytes == nullptr) size = 0;
  core::MemHandle event = 0;
  core::MemHandle message = 0;
  const bool loads = BlockSizesSane(bytes, size) &&
                     UnpackBlocks(bytes, size, &event, &message, "CHECK EVENT", "CHECK MESSAGE");
  core::MemRelease(&file);
  if (!loads) {
    answer.place = CodePlace::kDamagedFile;
    return answer;
  }
  answer.event_size = static_cast<std::uint32_t>(GlobalSize(event));
  const auto* base = static_cast<const std::uint8_t*>(core::MemLock(event));
  core::Instruction ins;
  // The interpreter reads no further than a u16 offset reaches.
  const std::size_t reach = std::min<std::size_t>(answer.event_size, 0x10000);
  answer.place = offset >= kBlockTableEnd && core::DecodeInstruction(base, reach, offset, &ins)
                     ? CodePlace::kInstruction
                     : CodePlace::kOutside;
  core::MemUnlock(event);
  core::MemRelease(&event);
  core::MemRelease(&message);
  return answer;
}

void InstallScenario(std::uint8_t number, const std::uint8_t* file, std::uint32_t size) {
  if (!UnpackScenario(file, size)) ScenarioBroken(number);
  SetCurrentScenario(number);
}

std::uint16_t LabelOffset(std::uint8_t label) {
  const auto* base = static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.EventData));
  // Only a block that passed the load checks is ever EventData.
  if (base == nullptr) ScenarioBroken(CurrentScenario());
  const std::uint16_t offset = ReadU16(base + 2 + 2 * label);
  core::MemUnlock(core::Scenario.EventData);
  return offset;
}

void EnterScenario(std::uint8_t number, bool run) {
  if (number == kNoScenario) ScenarioBroken(number);
  // Seen test first: the scenario being left is marked only afterwards.
  if (ScenarioSeen(core::GameState, number)) {
    OfferSkipCommand(true);
    core::Scenario.SkipAllowed = 1;
  } else {
    OfferSkipCommand(false);
    core::Scenario.SkipAllowed = 0;
    core::Input.SkipMode = 0;
  }
  const std::uint8_t leaving = CurrentScenario();
  if (leaving != kNoScenario) MarkScenarioSeen(core::GameState, leaving);

  if (number != leaving || core::Scenario.EventData == 0) {
    ReleaseBlocks();
    const std::string name = core::FormatString("%03d.SCN", number);
    std::uint32_t size = 0;
    core::MemHandle file = resources::LoadFile(name.c_str(), &size);
    const auto* bytes = static_cast<const std::uint8_t*>(core::MemLock(file));
    const bool loaded = UnpackScenario(bytes, bytes == nullptr ? 0 : size);
    core::MemRelease(&file);
    if (!loaded) ScenarioBroken(number);
    SetCurrentScenario(number);
  }

  if (run) {
    if (sound::Sound.CdPlaying != 1) sound::CdFadeOut();
    SetEventPC(LabelOffset(0));
    // The entry routine's own end never stops the level that asked for the entry.
    const std::uint16_t saved_stop = core::Scenario.ScriptStop;
    RunEvents();
    core::SetFlag(core::flag::kEntryRoutineRan, 1);
    core::Scenario.ScriptStop = saved_stop;
  }
}

void DropScenario(std::uint8_t keep) {
  if (CurrentScenario() == keep) return;
  ReleaseBlocks();
  SetCurrentScenario(kNoScenario);
}

void BeginNewGame() {
  SetCurrentScenario(kNoScenario);
  EnterScenario(0, true);
  SetEventPC(LabelOffset(1));
}

}  // namespace scenario
