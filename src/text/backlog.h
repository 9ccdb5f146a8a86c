// The message backlog: the history of messages shown in this play, and its viewer.
#pragma once

#include <cstdint>

namespace text {

// Appends (CurrentScenario, message) to the message history of the game state record.
void RecordMessage(std::uint8_t message);

}  // namespace text
