// The scenario assembler: scenario source (docs/scenario-language.md) into the two unpacked
// blocks of a scenario file. Instructions are read through the opcode table, text through
// the charset table and the tags of scn_text.h.
//
// Source written by the disassembler comes back byte for byte. Source written by hand may
// leave things out: names stand for label and message numbers (a name used where a number
// is expected gets the lowest number no other entry takes), messages may be written inline
// where an instruction expects one, table entries that nothing sets point at the first
// instruction (labels) or at an empty text (messages).
#pragma once

#include <string>
#include <string_view>

#include "authoring/charset.h"
#include "authoring/scn_file.h"

namespace authoring {

// Assembles `source`; `source_name` prefixes the problems. Returns "" on success, else one
// line per problem, "NAME:LINE: what" or "NAME:LINE:COLUMN: what" in line order; *out is
// left alone then.
std::string AssembleScenario(std::string_view source, std::string_view source_name,
                             const Charset& charset, ScenarioBlocks* out);

}  // namespace authoring
