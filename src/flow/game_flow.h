// The game flow: logo, opening, title screen and the play loop.
#pragma once

#include <cstdint>

#include "core/game_phase.h"

namespace flow {

// Where RunGame begins; the test runner chooses with --new-game and --title.
enum class StartAt : std::uint8_t {
  kLogo,     // the whole game: logo, opening, title
  kTitle,    // the title screen drawn at once, its click wait first
  kNewGame,  // play as the title's new game begins it; the run ends with play
  kNothing,  // no game: start-up and the exit path alone
};

struct FlowState {
  // Chosen by the program before WinMain (the runner's --new-game and --title, the
  // player's HOTARU_START); start-up resets the game after that, so a reset keeps it.
  StartAt StartPoint = StartAt::kLogo;

  bool operator==(const FlowState&) const = default;
};

// Process lifetime.
extern FlowState Flow;
// A fresh FlowState that keeps the program's StartPoint.
void ResetFlowState();

// Runs the whole game. It ends the process itself at the title's quit item; it returns
// only after the story when started at kNewGame.
void RunGame();

}  // namespace flow
