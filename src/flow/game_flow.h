// The game flow: logo, opening, title screen and the play loop.
#pragma once

#include <cstdint>

namespace flow {

// 0 title, 1 start item, 3 logo and opening, 4 story running, 6 ending. Process lifetime.
extern std::uint16_t GamePhase;
// Set by the test runner's --new-game: play starts as the title's new game would and the
// run ends with play.
extern bool NewGameOnly;

// Runs the whole game; returns when it is over.
void RunGame();

}  // namespace flow
