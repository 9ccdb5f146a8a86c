// The message backlog: the history of messages shown in this play, and its viewer.
//
// The history keeps no text: each entry is the pair (scenario number, message number), in
// the game state record (count at field::kHistoryCount, entries at field::kHistory), so it
// is saved and loaded with the game. The viewer reads the scenario file again to draw an
// entry.
#pragma once

#include <cstdint>

#include "text/text_state.h"

namespace text {

// Entries the history holds at most; a full history takes no further entries.
constexpr std::uint16_t kHistoryCapacity = 2000;

// The viewer's cache is Text.ViewMessages and Text.ViewScenario (text_state.h).

// Appends (CurrentScenario, message) to the history, unless it is the newest entry already
// or the history is full.
void RecordMessage(std::uint8_t message);

// The history's count as the viewer trusts it: at most kHistoryCapacity, whatever a record
// read from elsewhere says.
std::uint16_t HistoryCount();

// Makes ViewMessages hold scenario `scenario`'s message texts; nothing to do when it holds
// them already. A scenario file that does not exist, or whose texts cannot be unpacked,
// leaves the view empty (ViewMessages 0).
void LoadBacklogMessages(std::uint8_t scenario);

// The viewer: one earlier message at a time over the scene, older and newer by mouse, keys
// and wheel, until cancel or space. Entries whose scenario file does not exist are passed
// over. Leaves the screen without text; the caller redraws its page.
void ShowBacklog();

}  // namespace text
