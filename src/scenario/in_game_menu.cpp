#include "scenario/in_game_menu.h"

namespace scenario {

// placeholder; waits for the in-game menu and its item selector (closes at once)
void InGameMenu() {}

}  // namespace scenario
