// The scenario loader: which scenario is loaded, its two unpacked blocks (EventData and
// MessageData, scenario_state.h), which scenarios the reader has been through, and from
// that whether the command that skips to the next choice is offered.
//
// A scenario file "%03d.SCN" starts with two u16 values E and M: the packed EVENT DATA
// block lies at byte E × 16, the packed MESSAGE DATA block at M × 16. Each unpacked block
// starts with a u16 that nothing reads and a table of 256 u16 offsets from the block's
// start (labels, messages), the code or the texts behind it.
//
// A scenario is checked when it is loaded, so that play never stops in the middle of a scene
// for data that was bad from the start: the header must fit and point into the file, each
// block must hold its whole table, and every label and message offset must lie inside its
// block. A file that fails ends the program with "シナリオが壊れています : NNN.SCN".
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace scenario {

constexpr std::uint8_t kNoScenario = 255;
// Bytes before the code or texts of a block: the unread u16 and the 256-entry table.
constexpr std::uint32_t kBlockTableEnd = 2 + 2 * 256;

// Fields of the live game state record.
std::uint8_t CurrentScenario();
void SetCurrentScenario(std::uint8_t number);
std::uint16_t EventPC();
void SetEventPC(std::uint16_t offset);

// SeenScenarios (flags 40 … 69 of a record): scenario n has bit n. Numbers 240 and above
// have no bit: never seen, never marked.
bool ScenarioSeen(const core::GameStateRecord& record, std::uint8_t number);
void MarkScenarioSeen(core::GameStateRecord& record, std::uint8_t number);

// Makes `number` the loaded scenario and, with `run`, runs its entry routine (label 0)
// keeping the caller's ScriptStop. Decides SkipAllowed and the skip command from whether
// `number` was seen before, then marks the scenario being left as seen. The scenario
// already loaded is not loaded again. 255 names no scenario: entering it is broken data.
void EnterScenario(std::uint8_t number, bool run);
// Releases the loaded scenario unless it is `keep` (255 drops whatever is loaded).
void DropScenario(std::uint8_t keep);
// The start of a new game: nothing loaded, scenario 0 entered with run, EventPC at label 1.
void BeginNewGame();

// Replaces the loaded scenario by the scenario file `file` of `size` bytes as scenario
// `number` (EnterScenario's loading step without the file access), with all its checks.
void InstallScenario(std::uint8_t number, const std::uint8_t* file, std::uint32_t size);

// Where a saved EventPC falls in a scenario's event code, found by loading the scenario's
// file apart from play (nothing loaded changes) with the checks EnterScenario makes.
enum class CodePlace {
  kNoFile,       // no such scenario (255, or no file "%03d.SCN")
  kDamagedFile,  // its file fails the load checks: entering it would end the program
  kOutside,      // no whole instruction at the offset, behind the label table
  kInstruction,  // an instruction the interpreter can run
};
struct ScenarioCode {
  CodePlace place = CodePlace::kNoFile;
  std::uint32_t event_size = 0;  // the unpacked EVENT DATA's size, when the file loads
};
// Never ends the program for the scenario file itself.
ScenarioCode CheckScenarioCode(std::uint8_t number, std::uint16_t offset);

// Label L's offset in the loaded EVENT DATA.
std::uint16_t LabelOffset(std::uint8_t label);

// Offers (enables) or withdraws (grays) the menu command that skips to the next choice.
void OfferSkipCommand(bool offered);

// Ends the program for damaged data of scenario `number`.
[[noreturn]] void ScenarioBroken(std::uint8_t number);

}  // namespace scenario
