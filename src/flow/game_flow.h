// The game flow: logo, opening, title screen and the play loop.
#pragma once

#include <cstdint>

#include "core/game_phase.h"

namespace flow {

// Set by the test runner's --new-game: play starts as the title's new game would and the
// run ends with play.
extern bool NewGameOnly;

// Runs the whole game; returns when it is over.
void RunGame();

}  // namespace flow
