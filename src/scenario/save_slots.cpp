#include "scenario/save_slots.h"

#include <cstring>

#include "core/game_state.h"

namespace scenario {

void TakeSaveSnapshot() { std::memcpy(SaveImage, GameState, kGameStateSize); }

void SetResumePoint() {}    // placeholder; waits for the save slots and resume point
void RestoreState(bool) {}  // placeholder; waits for the save slots and resume point
void WriteProgress() {}     // placeholder; waits for the save slots and resume point

}  // namespace scenario
