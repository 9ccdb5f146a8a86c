#include "flow/game_flow.h"

namespace flow {

std::uint16_t GamePhase = 0;
bool NewGameOnly = false;

void RunGame() {
  // The logo, opening, title screen and play loop are built on the scenario engine, the
  // screen pictures and the sound, which are not in the program yet: the game is over at
  // once and the program ends normally.
}

}  // namespace flow
