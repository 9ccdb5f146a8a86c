// The in-game menu, opened by a cancel press at a reader wait during play.
#pragma once

namespace scenario {

// Shows the menu until the reader leaves it; may set ScriptStop to 1 or 2.
void InGameMenu();

}  // namespace scenario
