#include "core/game_phase.h"

namespace flow {

std::uint16_t GamePhase = kPhaseTitle;

void ResetFlowState() { GamePhase = 0; }

}  // namespace flow
