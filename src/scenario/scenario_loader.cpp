#include "scenario/scenario_loader.h"

#include <string>

#include "core/exit_program.h"
#include "core/flags.h"
#include "core/format_text.h"
#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
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
bool TableFits(resources::MemHandle block) {
  const std::size_t size = GlobalSize(block);
  if (size < kBlockTableEnd) return false;
  const auto* base = static_cast<const std::uint8_t*>(resources::MemLock(block));
  bool fits = base != nullptr;
  for (std::size_t entry = 0; fits && entry < 256; ++entry) {
    fits = ReadU16(base + 2 + 2 * entry) < size;
  }
  resources::MemUnlock(block);
  return fits;
}

void ReleaseBlocks() {
  resources::MemRelease(&EventData);
  resources::MemRelease(&MessageData);
}

}  // namespace

std::uint8_t CurrentScenario() { return GetU8(GameState, field::kCurrentScenario); }
void SetCurrentScenario(std::uint8_t number) { SetU8(GameState, field::kCurrentScenario, number); }
std::uint16_t EventPC() { return GetU16(GameState, field::kEventPC); }
void SetEventPC(std::uint16_t offset) { SetU16(GameState, field::kEventPC, offset); }

bool ScenarioSeen(const GameStateRecord& record, std::uint8_t number) {
  return number < kSeenScenarioBits && FlagBit(record, flag::kSeenScenarios, number);
}

void MarkScenarioSeen(GameStateRecord& record, std::uint8_t number) {
  if (number < kSeenScenarioBits) SetFlagBit(record, flag::kSeenScenarios, number);
}

void ScenarioBroken(std::uint8_t number) {
  const std::string name = resources::FormatString("%03d.SCN", number);
  const std::string message = resources::FormatString("シナリオが壊れています : %s", name.c_str());
  shell::ExitProgram(message.c_str());
}

void OfferSkipCommand(bool offered) {
  EnableMenuItem(GetMenu(shell::MainWindow), shell::kCommandSkip,
                 offered ? MF_ENABLED : MF_DISABLED | MF_GRAYED);
  DrawMenuBar(shell::MainWindow);
}

namespace {

// Unpacks and checks the blocks of a scenario file into EventData and MessageData; false,
// with nothing loaded, when the file is damaged.
bool UnpackScenario(const std::uint8_t* file, std::uint32_t size) {
  ReleaseBlocks();
  SetCurrentScenario(kNoScenario);
  if (file == nullptr || size < 4) return false;
  const std::uint32_t event_at = ReadU16(file) * 16u;
  const std::uint32_t message_at = ReadU16(file + 2) * 16u;
  if (event_at >= size || message_at >= size) return false;

  EventData = resources::UnpackBlock(file + event_at, size - event_at, "EVENT DATA");
  MessageData = resources::UnpackBlock(file + message_at, size - message_at, "MESSAGE DATA");
  if (TableFits(EventData) && TableFits(MessageData)) return true;
  ReleaseBlocks();
  return false;
}

}  // namespace

void InstallScenario(std::uint8_t number, const std::uint8_t* file, std::uint32_t size) {
  if (!UnpackScenario(file, size)) ScenarioBroken(number);
  SetCurrentScenario(number);
}

std::uint16_t LabelOffset(std::uint8_t label) {
  const auto* base = static_cast<const std::uint8_t*>(resources::MemLock(EventData));
  // Only a block that passed the load checks is ever EventData.
  if (base == nullptr) ScenarioBroken(CurrentScenario());
  const std::uint16_t offset = ReadU16(base + 2 + 2 * label);
  resources::MemUnlock(EventData);
  return offset;
}

void EnterScenario(std::uint8_t number, bool run) {
  if (number == kNoScenario) ScenarioBroken(number);
  // Seen test first: the scenario being left is marked only afterwards.
  if (ScenarioSeen(GameState, number)) {
    OfferSkipCommand(true);
    SkipAllowed = 1;
  } else {
    OfferSkipCommand(false);
    SkipAllowed = 0;
    shell::SkipMode = 0;
  }
  const std::uint8_t leaving = CurrentScenario();
  if (leaving != kNoScenario) MarkScenarioSeen(GameState, leaving);

  if (number != leaving || EventData == 0) {
    ReleaseBlocks();
    const std::string name = resources::FormatString("%03d.SCN", number);
    std::uint32_t size = 0;
    resources::MemHandle file = resources::LoadFile(name.c_str(), &size);
    const auto* bytes = static_cast<const std::uint8_t*>(resources::MemLock(file));
    const bool loaded = UnpackScenario(bytes, bytes == nullptr ? 0 : size);
    resources::MemRelease(&file);
    if (!loaded) ScenarioBroken(number);
    SetCurrentScenario(number);
  }

  if (run) {
    if (sound::CdPlaying != 1) sound::CdFadeOut();
    SetEventPC(LabelOffset(0));
    // The entry routine's own end never stops the level that asked for the entry.
    const std::uint16_t saved_stop = ScriptStop;
    RunEvents();
    SetFlag(flag::kEntryRoutineRan, 1);
    ScriptStop = saved_stop;
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
