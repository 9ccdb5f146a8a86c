#include "scenario/scenario_loader.h"

#include <string>

#include "core/exit_program.h"
#include "core/flags.h"
#include "core/format_text.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/menu_command_ids.h"
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

// Unpacks and checks the blocks of a scenario file into EventData and MessageData; false,
// with nothing loaded, when the file is damaged.
bool UnpackScenario(const std::uint8_t* file, std::uint32_t size) {
  ReleaseBlocks();
  SetCurrentScenario(kNoScenario);
  if (file == nullptr || size < 4) return false;
  const std::uint32_t event_at = ReadU16(file) * 16u;
  const std::uint32_t message_at = ReadU16(file + 2) * 16u;
  if (event_at >= size || message_at >= size) return false;

  core::Scenario.EventData = resources::UnpackBlock(file + event_at, size - event_at, "EVENT DATA");
  core::Scenario.MessageData =
      resources::UnpackBlock(file + message_at, size - message_at, "MESSAGE DATA");
  if (TableFits(core::Scenario.EventData) && TableFits(core::Scenario.MessageData)) return true;
  ReleaseBlocks();
  return false;
}

}  // namespace

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
