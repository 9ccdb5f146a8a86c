#include "scenario/choices.h"

#include "text/fixed_texts.h"

namespace scenario {

// placeholder; waits for choices and the item selector (always the first option)
std::int16_t Choose(std::uint8_t, const std::uint8_t*, std::uint8_t) { return 0; }
// placeholder; waits for the item selector (always no)
bool AskYesNo(const std::uint8_t*) { return false; }

bool AskScriptQuestion() { return AskYesNo(text::kScriptQuestion); }

}  // namespace scenario
