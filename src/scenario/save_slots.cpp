#include "scenario/save_slots.h"

namespace scenario {

void SetResumePoint() {}  // placeholder; waits for the save slots and resume point
void RestoreState(bool) {}  // placeholder; waits for the save slots and resume point
void WriteProgress() {}  // placeholder; waits for the save slots and resume point

}  // namespace scenario
