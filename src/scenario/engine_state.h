// The scenario engine's own state, which no other layer reads. What the other layers read
// of the engine is core::Scenario (core/scenario_state.h).
#pragma once

namespace scenario {

struct EngineState {
  // Levels of RunEvents now running: the play loop's and one for every call or entry
  // routine nested in it. The interpreter refuses to go deeper than kMaxEventLevels.
  int EventLevels = 0;

  bool operator==(const EngineState&) const = default;
};

// Process lifetime.
extern EngineState Engine;
void ResetEngineState();

}  // namespace scenario
