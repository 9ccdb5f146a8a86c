#include "scenario/choices.h"

namespace scenario {

// placeholder; waits for choices and the item selector (always the first option)
std::int16_t Choose(std::uint8_t, const std::uint8_t*, std::uint8_t) { return 0; }
// placeholder; waits for the yes/no question and its fixed text (always no)
bool AskScriptQuestion() { return false; }

}  // namespace scenario
