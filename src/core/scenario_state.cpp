#include "core/game_state.h"
#include "core/scenario_state.h"

namespace scenario {

GameStateRecord GameState;
GameStateRecord ResumeState;
GameStateRecord SaveImage;

std::uint16_t ScriptStop = 0;
std::uint16_t SkipAllowed = 0;
std::uint16_t ResumeValid = 0;
resources::MemHandle EventData = 0;
resources::MemHandle MessageData = 0;

}  // namespace scenario
