// The slot files "ZEN2_%02d.SAV" of the data folder, read and written whole. Shared by the
// slot operations, the slot screen and the restore; the interface for everyone else is
// save_slots.h.
#pragma once

#include <string>

#include "scenario/save_sealing.h"

namespace scenario {

std::string SlotFileName(int slot);

// Why a sealed save cannot be continued with the story data at hand. Such a save is never
// restored (restoring it would end the program) and never deleted: the slot shows it as
// damaged, and saving into the slot replaces it only when the reader chooses so.
enum class SaveDamage {
  kNone,
  kNoScenario,        // its scenario is 255 or has no file
  kScenarioDamaged,   // its scenario's file fails the load checks
  kEventPCOutside,    // EventPC names no instruction of the scenario's event code
  kSceneFileMissing,  // a background, picture or sound of its scene has no file
};

struct SaveCheck {
  SaveDamage damage = SaveDamage::kNone;
  std::string file;              // the file missing or damaged, or the scenario's file
  std::uint32_t event_size = 0;  // the scenario's EVENT DATA size, when it loads
};

// Checks what a saved record refers to: its scenario (loaded apart from play), its EventPC in
// that scenario's event code, and every file its scene names.
SaveCheck CheckSavedRecord(const core::GameStateRecord& record);

enum class SlotState {
  kEmpty,    // missing, of another size, failing its checksum, or cleared (flag 114)
  kDamaged,  // a sealed save whose references fail CheckSavedRecord
  kGood,     // a save that may be loaded
};

// Reads and unseals slot `slot` into `record` and checks it. A missing file is an empty
// slot, never an error.
SlotState ReadSlotRecord(int slot, SaveBytes record);

}  // namespace scenario
