// The operations that both the event script and message text carry out: scene, palette,
// flag and sound operations (the rows of the opcode table marked `in_text`).
#pragma once

#include "core/opcode_table.h"

namespace scenario {

// Carries out one decoded operation. `in_text` gives the differences inside message text:
// 0x33 composes without showing, 0x3A and 0xA6 first present the glyphs drawn so far.
// Any other opcode does nothing.
void RunSceneOperation(const core::Instruction& ins, bool in_text);

}  // namespace scenario
