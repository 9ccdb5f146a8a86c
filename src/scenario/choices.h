// Choices and questions put to the reader by the event script.
#pragma once

#include <cstdint>

namespace scenario {

// The choice of opcode 0x25: shows question message `question`, then offers the `count`
// options (1 … 12; more are taken as 12) whose (message, displacement) pairs are at
// `options`, as stored. Sets flag 104 to the answer. Answers the chosen index, or -1 when
// ScriptStop was raised; a choice of no options answers -1 at once with flag 104 = 255.
// The interpreter makes the jump, so the displacement is checked against the block there.
std::int16_t Choose(std::uint8_t question, const std::uint8_t* options, std::uint8_t count);

// The yes/no question: `question` (message text) with the question suffix, over the scene
// without its text. Answers true for yes.
bool AskYesNo(const std::uint8_t* question);

// The yes/no question of opcodes 0x47 and 0x48, with their own fixed question text.
// Answers true for yes.
bool AskScriptQuestion();

}  // namespace scenario
