// The slot files "ZEN2_%02d.SAV" of the data folder, read and written whole. Shared by the
// slot operations, the slot screen and the restore; the interface for everyone else is
// save_slots.h.
#pragma once

#include <string>

#include "scenario/save_sealing.h"

namespace scenario {

std::string SlotFileName(int slot);

// Reads and unseals slot `slot` into `record`. True when the file is a good save that may
// be loaded: 4206 bytes, its checksum holds, the finished-game request (flag 114) is clear,
// and every file its scene names exists. A missing file is an empty slot, never an error.
bool ReadSlotRecord(int slot, SaveBytes record);

// Whether the scenario, background, pictures and sound that `record` names all exist, so
// that restoring it cannot end the program for a missing file.
bool RecordFilesExist(const core::GameStateRecord& record);

}  // namespace scenario
