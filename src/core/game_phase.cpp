#include "core/game_phase.h"

namespace flow {

std::uint16_t GamePhase = kPhaseTitle;

}  // namespace flow
