#include "scenario/engine_state.h"

namespace scenario {

EngineState Engine;

void ResetEngineState() { Engine = EngineState{}; }

}  // namespace scenario
