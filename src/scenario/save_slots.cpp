#include "scenario/save_slots.h"

#include <cstring>

#include "core/game_state.h"

namespace scenario {

std::uint8_t LastUsedSlot = 0;

void TakeSaveSnapshot() { std::memcpy(SaveImage, GameState, kGameStateSize); }

// Placeholders below; they wait for the save slots and the resume point. Until then every
// slot reads as empty and the slot screen answers as if cancelled.
void SetResumePoint() {}
void RestoreState(bool) {}
void CarryOverFlags() {}
void WriteProgress() {}
bool SaveSlot(int) { return false; }
bool LoadSlot(int) { return false; }
SlotInfo ReadSlotInfo(int) { return {}; }
bool UnsealSaveRecord(std::span<std::uint8_t>) { return false; }
bool ReadUnsealedSlot(int, std::span<std::uint8_t, kGameStateSize>) { return false; }
int SlotScreen(int) { return -1; }

}  // namespace scenario
