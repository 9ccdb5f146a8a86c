// Which part of the game runs now, read across subsystems.
#pragma once

#include <cstdint>

namespace flow {

// 0 title, 1 start item, 3 logo and opening, 4 story running, 6 ending. Process lifetime.
extern std::uint16_t GamePhase;
// GamePhase back to the title's phase.
void ResetFlowState();

}  // namespace flow
