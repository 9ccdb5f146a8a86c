#include "core/game_phase.h"

namespace core {

PhaseState Phase;

void ResetPhaseState() { Phase = PhaseState{}; }

}  // namespace core
