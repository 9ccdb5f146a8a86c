// The scenario audit: everything in a set of scenario files that would make the game refuse
// a file, run off its code or show something that is not there.
//
// Per file: a file that does not unpack (or whose stream ends early), a block too short for
// its table, label and message entries past the end of their block, messages that do not end
// in 0xAF. Along the code that the labels reach (following jumps, calls and choices): opcodes
// outside the table, instructions cut by the block's end, code running off the end, jumps,
// calls and messages that point outside the code or the texts, and scenario jumps to a
// scenario that has no file or whose label points outside its code.
#pragma once

#include <string>
#include <vector>

#include "authoring/scn_set.h"

namespace authoring {

// One line per finding, "NAME: BLOCK 0xOFFSET: what" (or "NAME: what" for the whole file), in
// file order and by offset within a file.
std::vector<std::string> AuditScenarios(const std::vector<ScenarioFile>& files);

}  // namespace authoring
